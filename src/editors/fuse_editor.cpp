#include "editors/fuse_editor.h"

#include <QCheckBox>
#include <QLineEdit>

#include "editors/click_label.h"
#include "editors/up_down.h"
#include "effects/fuse.h"
#include "editors/editor_helpers.h"

namespace vte {

TFuseTransitionEditor::TFuseTransitionEditor(QObject* Owner) : TTransitionEffectEditor(Owner) {
  std::tie(EditStyle, UpDownStyle) = AddNumber(FirstOwnRow, 1, 30000, 1, true, 36);
  LabelStyle = AddLabel(QStringLiteral("St&yle"), FirstOwnRow, EditStyle);
  std::tie(CheckBoxRndStyle, LabelRndStyle) = AddCheck(this, QStringLiteral("Random"), 152, RowTop(FirstOwnRow) + 2);
  connect(CheckBoxRndStyle, &QCheckBox::toggled, this, [this] { RandomClick(); });

  NameControls({{LabelStyle, "LabelStyle"}, {EditStyle, "EditStyle"},
                                                    {UpDownStyle, "UpDownStyle"},
                                                    {CheckBoxRndStyle, "CheckBoxRndStyle"},
                                                    {LabelRndStyle, "LabelRndStyle"}});
}

TFuseTransition* TFuseTransitionEditor::Fuse() const { return qobject_cast<TFuseTransition*>(Transition()); }

void TFuseTransitionEditor::LoadValues() {
  TTransitionEffectEditor::LoadValues();
  TFuseTransition* T = Fuse();
  if (!T) return;
  UpDownStyle->SetMax(TFuseTransition::StyleCount);
  if (T->Style() != 0)
    UpDownStyle->SetPosition(T->Style());
  else
    CheckBoxRndStyle->setChecked(true);
}

void TFuseTransitionEditor::StoreValues() {
  TTransitionEffectEditor::StoreValues();
  if (TFuseTransition* T = Fuse()) T->SetStyle(UpDownStyle->Position());
}

void TFuseTransitionEditor::RandomClick() {
  const bool Random = CheckBoxRndStyle->isChecked();
  EditStyle->setEnabled(!Random);
  UpDownStyle->setEnabled(!Random);
  if (Random) {
    UpDownStyle->SetMin(0);
    UpDownStyle->SetPosition(0);
  } else {
    UpDownStyle->SetPosition(1);
    UpDownStyle->SetMin(1);
  }
}

}  // namespace vte
