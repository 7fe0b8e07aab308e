#pragma once
// The transition editor: pick a style among the registered transition classes, edit it on the
// style's page (created by class name inside the form container at the right), preview it on the
// sample area at the left (a yellow "A" changing to a red "B" and back, over the text behind
// them), and apply the result to the transition being edited.
//
// The caller's transition is never edited in place: the editor edits a private copy and writes it
// back only in ApplyChanges, so a host that does not apply leaves it untouched. When the user has
// picked another class, applying replaces the caller's transition by a new one of that class, at
// the same place in the same transition list with the same name, owner and event handlers.
#include <QPointer>
#include <memory>

#include "container/form.h"
#include "editors/transition_effect_editor.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace vte {

class TClickLabel;
class TFormContainer;
class TFormTransitions;
class TTransitionEffect;

class TTransitionEditor : public TForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TTransitionEditor(QObject* Owner = nullptr);
  // Frees the edited copy.
  ~TTransitionEditor() override;

  // Edits the transition Transition refers to; the user may switch to another class, and
  // ApplyChanges may then make Transition refer to a new object. The reference must stay valid
  // until ApplyChanges (or the editor's end). A null transition leaves the editor empty.
  void EditTransitionRef(TTransitionEffect*& Transition);
  // Edits Transition itself; its class cannot change.
  void EditTransition(TTransitionEffect* Transition);
  // Writes the edited copy back into the transition being edited (or its replacement).
  void ApplyChanges();

  // The private copy being edited, and the page that shows it.
  TTransitionEffect* EditedTransition() const { return FEdited.get(); }
  TTransitionEffectEditor* Page() const { return FPage; }

  // The handlers, callable as the controls call them.
  // Another class was picked: its transition takes over the shared settings and gets its page.
  void ComboBoxTransitionsChange();
  // Runs the edited copy over the sample area, from the picture shown to the other one.
  void BitBtnPreviewClick();

  TClickLabel* LabelTransitions;
  QComboBox* ComboBoxTransitions;
  QLabel* Label1;
  QLabel* LabelA;
  QLabel* LabelB;
  QFrame* Bevel;
  QPushButton* BitBtnPreview;
  TFormContainer* FormContainer;
  TFormTransitions* FormTransitions;

protected:
  void resizeEvent(QResizeEvent* Event) override;

private:
  void SetUp(TTransitionEffect** Target, bool ClassChangeAllowed);
  void ShowPage(TTransitionEffect* Transition);
  static const QMetaObject* ClassAt(const QComboBox* ComboBox, int Index);

  TTransitionEffect** FTarget = nullptr;
  TTransitionEffect* FOwnReference = nullptr;
  bool FClassChangeAllowed = false;
  std::unique_ptr<TTransitionEffect> FEdited;
  QPointer<TTransitionEffectEditor> FPage;
};

}  // namespace vte
