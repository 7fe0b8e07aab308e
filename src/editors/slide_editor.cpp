#include "editors/slide_editor.h"

#include <QCheckBox>

#include "editors/click_label.h"
#include "effects/slide.h"
#include "editors/editor_helpers.h"

namespace vte {

TSlideTransitionEditor::TSlideTransitionEditor(QObject* Owner) : TTransitionEffectEditor(Owner) {
  std::tie(LabelSlideOut, CheckBoxSlideOut) = AddCheckRow(QStringLiteral("&Slide out"), FirstOwnRow);
  std::tie(LabelElasticSrc, CheckBoxElasticSrc) = AddCheckRow(QStringLiteral("&Elastic src"), FirstOwnRow + 1);
  std::tie(LabelElasticDst, CheckBoxElasticDst) = AddCheckRow(QStringLiteral("E&lastic dst"), FirstOwnRow + 2);

  NameControls({
      {LabelSlideOut, "LabelSlideOut"}, {CheckBoxSlideOut, "CheckBoxSlideOut"},
      {LabelElasticSrc, "LabelElasticSrc"}, {CheckBoxElasticSrc, "CheckBoxElasticSrc"},
      {LabelElasticDst, "LabelElasticDst"}, {CheckBoxElasticDst, "CheckBoxElasticDst"}});
}

TSlideTransition* TSlideTransitionEditor::Slide() const { return qobject_cast<TSlideTransition*>(Transition()); }

void TSlideTransitionEditor::LoadValues() {
  TTransitionEffectEditor::LoadValues();
  TSlideTransition* T = Slide();
  if (!T) return;
  CheckBoxSlideOut->setChecked(T->SlideOut());
  CheckBoxElasticSrc->setChecked(T->ElasticSrc());
  CheckBoxElasticDst->setChecked(T->ElasticDst());
}

void TSlideTransitionEditor::StoreValues() {
  TTransitionEffectEditor::StoreValues();
  TSlideTransition* T = Slide();
  if (!T) return;
  T->SetSlideOut(CheckBoxSlideOut->isChecked());
  T->SetElasticSrc(CheckBoxElasticSrc->isChecked());
  T->SetElasticDst(CheckBoxElasticDst->isChecked());
}

}  // namespace vte
