#pragma once
// The Execute tab of the custom transition pages: the transition editor, hosted in a panel, edits
// and previews the page's custom transition.
#include <QPointer>

#include "container/embedded_form.h"
#include "editors/transition_editor.h"

class QLabel;

namespace vte {
class TEffectsPanel;
class TFormContainer;
class TTransitionEffect;
}  // namespace vte

namespace vte::demo {

class TFormCustomTransitionExec : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormCustomTransitionExec(QObject* Owner = nullptr);

  // Creates the editor for Transition (which must outlive this form) and shows it.
  void SetCustomTransition(TTransitionEffect* Transition);
  TTransitionEditor* Editor() const { return FEditor; }

  QLabel* LabelHint;
  TEffectsPanel* Panel;
  TFormContainer* FormContainerEditor;

protected:
  void resizeEvent(QResizeEvent* Event) override;

private:
  QPointer<TTransitionEditor> FEditor;
};

}  // namespace vte::demo
