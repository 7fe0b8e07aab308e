#include "editors/roll_editor.h"

#include <QCheckBox>
#include <QLineEdit>

#include "editors/click_label.h"
#include "editors/up_down.h"
#include "effects/roll.h"
#include "editors/editor_helpers.h"

namespace vte {

TRollTransitionEditor::TRollTransitionEditor(QObject* Owner) : TTransitionEffectEditor(Owner) {
  std::tie(EditRollSize, UpDownRollSize) = AddNumber(FirstOwnRow, 0, 1000, 5, false);
  LabelRollSize = AddLabel(QStringLiteral("Roll &size"), FirstOwnRow, EditRollSize);
  CallOnExit(EditRollSize, [this] { EditRollSizeExit(); });
  std::tie(Label3D, CheckBox3D) = AddCheckRow(QStringLiteral("&3D"), FirstOwnRow + 1);
  std::tie(LabelUnroll, CheckBoxUnroll) = AddCheckRow(QStringLiteral("&Unroll"), FirstOwnRow + 2);

  NameControls({
      {LabelRollSize, "LabelRollSize"}, {EditRollSize, "EditRollSize"}, {UpDownRollSize, "UpDownRollSize"},
      {Label3D, "Label3D"}, {CheckBox3D, "CheckBox3D"}, {LabelUnroll, "LabelUnroll"},
      {CheckBoxUnroll, "CheckBoxUnroll"}});
}

TRollTransition* TRollTransitionEditor::Roll() const { return qobject_cast<TRollTransition*>(Transition()); }

void TRollTransitionEditor::LoadValues() {
  TTransitionEffectEditor::LoadValues();
  TRollTransition* T = Roll();
  if (!T) return;
  UpDownRollSize->SetPosition(T->Size());
  CheckBox3D->setChecked(T->Use3D());
  CheckBoxUnroll->setChecked(T->Unroll());
}

void TRollTransitionEditor::StoreValues() {
  TTransitionEffectEditor::StoreValues();
  TRollTransition* T = Roll();
  if (!T) return;
  T->SetSize(UpDownRollSize->Position());
  T->SetUse3D(CheckBox3D->isChecked());
  T->SetUnroll(CheckBoxUnroll->isChecked());
}

void TRollTransitionEditor::EditRollSizeExit() { ConvertEditText(UpDownRollSize); }

}  // namespace vte
