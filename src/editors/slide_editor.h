#pragma once
// The page of the slide transition: sliding the old image out instead of the new one in, and
// stretching either image instead of moving it.
#include "editors/transition_effect_editor.h"

namespace vte {

class TSlideTransition;

class TSlideTransitionEditor : public TTransitionEffectEditor {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TSlideTransitionEditor(QObject* Owner = nullptr);

  void LoadValues() override;
  void StoreValues() override;

  TClickLabel* LabelSlideOut;
  QCheckBox* CheckBoxSlideOut;
  TClickLabel* LabelElasticSrc;
  QCheckBox* CheckBoxElasticSrc;
  TClickLabel* LabelElasticDst;
  QCheckBox* CheckBoxElasticDst;

private:
  TSlideTransition* Slide() const;
};

}  // namespace vte
