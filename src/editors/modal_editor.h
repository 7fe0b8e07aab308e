#pragma once
// The transition editor in a dialog of its own, with OK and Cancel: EditTransitionModal edits a
// transition and applies the result only when the user confirms.
#include <QPointer>
#include <memory>

#include "container/form.h"

class QEventLoop;
class QPushButton;

namespace vte {

class TEffectsPanel;
class TFormContainer;
class TFormTransitions;
class TTransitionEditor;
class TTransitionEffect;

class TTransitionModalEditor : public TForm {
  Q_OBJECT

public:
  enum TModalResult { mrNone, mrOk, mrCancel };

  Q_INVOKABLE explicit TTransitionModalEditor(QObject* Owner = nullptr);
  ~TTransitionModalEditor() override;

  // Shows the dialog and waits until OK, Cancel or the window's close ends it; closing counts as
  // Cancel.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  // Ends a modal show with Result (as the buttons do).
  void SetModalResult(TModalResult Result);

  TEffectsPanel* EditorPanel;
  TFormContainer* FormContainer;
  TEffectsPanel* ButtonsPanel;
  QPushButton* BitBtnOk;
  QPushButton* BitBtnCancel;
  TFormTransitions* FormTransitions;
  // The editor hosted in FormContainer.
  QPointer<TTransitionEditor> Editor;

protected:
  void hideEvent(QHideEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;

private:
  TModalResult FModalResult = mrNone;
  QEventLoop* FLoop = nullptr;
};

// The dialog, its editor hosted and shown, editing the transition Transition refers to (which it
// may replace on apply); not shown yet. EditTransitionModal's first half, for hosts that show it
// their own way.
std::unique_ptr<TTransitionModalEditor> CreateTransitionModalEditor(TTransitionEffect*& Transition);

// Edits the transition Transition refers to in the modal dialog; on OK the changes are applied
// (Transition may then refer to a new transition of another class) and true is returned; on
// Cancel Transition and the object are left as they were.
bool EditTransitionModal(TTransitionEffect*& Transition);

}  // namespace vte
