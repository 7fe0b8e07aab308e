#include "editors/masked_editor.h"

#include <QCheckBox>
#include <QLineEdit>

#include "editors/click_label.h"
#include "editors/up_down.h"
#include "effects/masked_transition.h"
#include "editors/editor_helpers.h"

namespace vte {

namespace {
// The number edits leave room for the "Random" box beside their up-down.
constexpr int NumberWidth = 36, RandomLeft = 152;
}  // namespace

TMaskedTransitionEditor::TMaskedTransitionEditor(QObject* Owner) : TTransitionEffectEditor(Owner) {
  const int StyleRow = FirstOwnRow, SubstyleRow = FirstOwnRow + 1, SmoothingRow = FirstOwnRow + 2;
  std::tie(EditStyle, UpDownStyle) = AddNumber(StyleRow, 1, 30000, 1, true, NumberWidth);
  LabelStyle = AddLabel(QStringLiteral("St&yle"), StyleRow, EditStyle);
  std::tie(CheckBoxRndStyle, LabelRndStyle) = AddCheck(this, QStringLiteral("Random"), RandomLeft, RowTop(StyleRow) + 2);

  std::tie(EditSubstyle, UpDownSubstyle) = AddNumber(SubstyleRow, 1, 30000, 1, true, NumberWidth);
  LabelSubstyle = AddLabel(QStringLiteral("Su&bstyle"), SubstyleRow, EditSubstyle);
  std::tie(CheckBoxRndSubstyle, LabelRndSubstyle) =
      AddCheck(this, QStringLiteral("Random"), RandomLeft, RowTop(SubstyleRow) + 2);

  std::tie(EditSmoothingLevel, UpDownSmoothingLevel) = AddNumber(SmoothingRow, 0, 6, 1, true, NumberWidth);
  UpDownSmoothingLevel->SetPosition(1);
  LabelSmoothingLevel = AddLabel(QStringLiteral("&Smoothing level"), SmoothingRow, EditSmoothingLevel);

  connect(EditStyle, &QLineEdit::textChanged, this, [this] { EditStyleChange(); });
  connect(CheckBoxRndStyle, &QCheckBox::toggled, this, [this] { RandomClick(true); });
  connect(CheckBoxRndSubstyle, &QCheckBox::toggled, this, [this] { RandomClick(false); });

  NameControls({
      {LabelStyle, "LabelStyle"}, {EditStyle, "EditStyle"}, {UpDownStyle, "UpDownStyle"},
      {CheckBoxRndStyle, "CheckBoxRndStyle"}, {LabelRndStyle, "LabelRndStyle"},
      {LabelSubstyle, "LabelSubstyle"}, {EditSubstyle, "EditSubstyle"}, {UpDownSubstyle, "UpDownSubstyle"},
      {CheckBoxRndSubstyle, "CheckBoxRndSubstyle"}, {LabelRndSubstyle, "LabelRndSubstyle"},
      {LabelSmoothingLevel, "LabelSmoothingLevel"}, {EditSmoothingLevel, "EditSmoothingLevel"},
      {UpDownSmoothingLevel, "UpDownSmoothingLevel"}});
}

TMaskedTransition* TMaskedTransitionEditor::Masked() const { return qobject_cast<TMaskedTransition*>(Transition()); }

void TMaskedTransitionEditor::SetupEditor(TTransitionEffect* Transition) {
  TTransitionEffectEditor::SetupEditor(Transition);
  FLoading = true;
  const QMetaObject* Class = Transition->metaObject();
  const bool HasStyle = PublishesInteger(Class, "Style");
  LabelStyle->setEnabled(HasStyle);
  EditStyle->setEnabled(HasStyle);
  for (QWidget* W : {static_cast<QWidget*>(UpDownStyle), static_cast<QWidget*>(CheckBoxRndStyle),
                     static_cast<QWidget*>(LabelRndStyle)})
    W->setVisible(HasStyle);
  const bool HasSubstyle = PublishesInteger(Class, "Substyle");
  LabelSubstyle->setEnabled(HasSubstyle);
  EditSubstyle->setEnabled(HasSubstyle);
  for (QWidget* W : {static_cast<QWidget*>(UpDownSubstyle), static_cast<QWidget*>(CheckBoxRndSubstyle),
                     static_cast<QWidget*>(LabelRndSubstyle)})
    W->setVisible(HasSubstyle);
  const bool HasSmoothing = PublishesInteger(Class, "SmoothingLevel");
  for (QWidget* W : {static_cast<QWidget*>(LabelSmoothingLevel), static_cast<QWidget*>(EditSmoothingLevel),
                     static_cast<QWidget*>(UpDownSmoothingLevel)})
    W->setVisible(HasSmoothing);
}

void TMaskedTransitionEditor::LoadValues() {
  TTransitionEffectEditor::LoadValues();
  TMaskedTransition* T = Masked();
  if (!T) return;
  // The range is the transition's also when it starts at random, so that unticking "Random"
  // cannot step past the last style.
  UpDownStyle->SetMax(T->StyleCount());
  if (T->Style() != 0) {
    UpDownStyle->SetPosition(T->Style());
    // The change handler runs with the loading flag set also when the text stayed the same.
    if (FLoading) EditStyleChange();
  } else {
    CheckBoxRndStyle->setChecked(true);
  }
  if (T->SubStyle() != 0) {
    UpDownSubstyle->SetMax(T->GetSubStyleCount(T->Style()));
    UpDownSubstyle->SetPosition(T->SubStyle());
  } else {
    CheckBoxRndSubstyle->setChecked(true);
  }
  UpDownSmoothingLevel->SetPosition(T->SmoothingLevel());
}

void TMaskedTransitionEditor::StoreValues() {
  TTransitionEffectEditor::StoreValues();
  TMaskedTransition* T = Masked();
  if (!T) return;
  // The style first: a new style sets the substyle back.
  T->SetStyle(UpDownStyle->Position());
  T->SetSubStyle(UpDownSubstyle->Position());
  T->SetSmoothingLevel(UpDownSmoothingLevel->Position());
}

void TMaskedTransitionEditor::EditStyleChange() {
  if (TMaskedTransition* T = Masked()) {
    if (!FLoading && UpDownSubstyle->Position() > 1) UpDownSubstyle->SetPosition(1);
    UpDownSubstyle->SetMax(T->GetSubStyleCount(UpDownStyle->Position()));
    UpDownSubstyle->update();
  }
  FLoading = false;
}

void TMaskedTransitionEditor::RandomClick(bool StyleBox) {
  const bool RandomStyle = CheckBoxRndStyle->isChecked();
  const bool RandomSubstyle = CheckBoxRndSubstyle->isChecked();
  UpDownStyle->setEnabled(!RandomStyle);
  CheckBoxRndSubstyle->setEnabled(!RandomStyle);
  LabelRndSubstyle->setEnabled(!RandomStyle);
  UpDownSubstyle->setEnabled(!RandomStyle && !RandomSubstyle);
  if (StyleBox) {
    if (RandomStyle) {
      UpDownStyle->SetMin(0);
      UpDownStyle->SetPosition(0);
    } else {
      UpDownStyle->SetPosition(1);
      UpDownStyle->SetMin(1);
      UpDownSubstyle->SetMin(1);
    }
  }
  if (!RandomStyle && !RandomSubstyle) {
    UpDownSubstyle->SetPosition(1);
    UpDownSubstyle->SetMin(1);
  } else {
    UpDownSubstyle->SetMin(0);
    UpDownSubstyle->SetPosition(0);
  }
}

}  // namespace vte
