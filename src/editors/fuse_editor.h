#pragma once
// The page of the fuse transition: its pattern style, or a new one drawn for every run ("Random").
#include "editors/transition_effect_editor.h"

namespace vte {

class TFuseTransition;

class TFuseTransitionEditor : public TTransitionEffectEditor {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFuseTransitionEditor(QObject* Owner = nullptr);

  void LoadValues() override;
  void StoreValues() override;
  // The "Random" box was clicked: a random style is stored as 0.
  void RandomClick();

  TClickLabel* LabelStyle;
  QLineEdit* EditStyle;
  TUpDown* UpDownStyle;
  QCheckBox* CheckBoxRndStyle;
  TClickLabel* LabelRndStyle;

private:
  TFuseTransition* Fuse() const;
};

}  // namespace vte
