#include "editors/modal_editor.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "container/effects_panel.h"
#include "container/form_container.h"
#include "container/form_transitions.h"
#include "editors/editor_helpers.h"
#include "editors/transition_editor.h"
#include "editors/transition_effect_editor.h"

namespace vte {

TTransitionModalEditor::TTransitionModalEditor(QObject* Owner) : TForm(Owner) {
  setObjectName(QStringLiteral("TransitionModalEditor"));
  SetCaption(QStringLiteral("Transition editor"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(412);
  SetClientHeight(TTransitionEffectEditor::PageHeight + 36);
  setFont(EditorFont());

  auto* Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->setSpacing(0);
  EditorPanel = new TEffectsPanel(this);
  EditorPanel->SetBevelOuter(bvNone);
  auto* EditorLayout = new QVBoxLayout(EditorPanel);
  EditorLayout->setContentsMargins(0, 0, 0, 0);
  FormContainer = new TFormContainer(EditorPanel);
  EditorLayout->addWidget(FormContainer);
  Layout->addWidget(EditorPanel, 1);

  ButtonsPanel = new TEffectsPanel(this);
  ButtonsPanel->setFixedHeight(34);
  Layout->addWidget(ButtonsPanel);
  BitBtnOk = new QPushButton(QStringLiteral("OK"), ButtonsPanel);
  BitBtnOk->setGeometry(412 - 2 * 81 - 8, 5, 75, 25);
  BitBtnOk->setDefault(true);
  BitBtnCancel = new QPushButton(QStringLiteral("Cancel"), ButtonsPanel);
  BitBtnCancel->setGeometry(412 - 81 - 2, 5, 75, 25);
  BitBtnOk->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  BitBtnCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  connect(BitBtnOk, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  connect(BitBtnCancel, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });

  FormTransitions = new TFormTransitions(this);

  NameControls({
      {EditorPanel, "EditorPanel"}, {FormContainer, "FormContainer"}, {ButtonsPanel, "ButtonsPanel"},
      {BitBtnOk, "BitBtnOk"}, {BitBtnCancel, "BitBtnCancel"}, {FormTransitions, "FormTransitions"}});
}

TTransitionModalEditor::~TTransitionModalEditor() = default;

TTransitionModalEditor::TModalResult TTransitionModalEditor::ShowModal() {
  FModalResult = mrNone;
  setWindowModality(Qt::ApplicationModal);
  show();
  QEventLoop Loop;
  FLoop = &Loop;
  if (isVisible() && FModalResult == mrNone) Loop.exec(QEventLoop::DialogExec);
  FLoop = nullptr;
  hide();
  return FModalResult == mrNone ? mrCancel : FModalResult;
}

void TTransitionModalEditor::SetModalResult(TModalResult Result) {
  FModalResult = Result;
  if (Result != mrNone) hide();
}

void TTransitionModalEditor::hideEvent(QHideEvent* Event) {
  TForm::hideEvent(Event);
  if (FModalResult == mrNone) FModalResult = mrCancel;
  if (FLoop) FLoop->quit();
}

void TTransitionModalEditor::keyPressEvent(QKeyEvent* Event) {
  // Escape is the Cancel button's, as in any dialog.
  if (Event->key() == Qt::Key_Escape) {
    SetModalResult(mrCancel);
    return;
  }
  TForm::keyPressEvent(Event);
}

std::unique_ptr<TTransitionModalEditor> CreateTransitionModalEditor(TTransitionEffect*& Transition) {
  auto Dialog = std::make_unique<TTransitionModalEditor>();
  auto* Editor = qobject_cast<TTransitionEditor*>(Dialog->FormContainer->CreateForm(&TTransitionEditor::staticMetaObject));
  Dialog->Editor = Editor;
  Editor->EditTransitionRef(Transition);
  Dialog->FormContainer->ShowForm(Editor, true);
  return Dialog;
}

bool EditTransitionModal(TTransitionEffect*& Transition) {
  if (!Transition) return false;
  const std::unique_ptr<TTransitionModalEditor> Dialog = CreateTransitionModalEditor(Transition);
  if (Dialog->ShowModal() != TTransitionModalEditor::mrOk || !Dialog->Editor) return false;
  Dialog->Editor->ApplyChanges();
  return true;
}

}  // namespace vte
