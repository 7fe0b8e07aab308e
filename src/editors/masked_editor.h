#pragma once
// The page of the effects that paint a growing shape into a mask: the style, the substyle and the
// smoothing level. A style or substyle of 0 means a new one is drawn for every run ("Random"); a
// random style forces a random substyle. The substyle's range follows the style shown.
#include "editors/transition_effect_editor.h"

namespace vte {

class TMaskedTransition;

class TMaskedTransitionEditor : public TTransitionEffectEditor {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TMaskedTransitionEditor(QObject* Owner = nullptr);

  void SetupEditor(TTransitionEffect* Transition) override;
  void LoadValues() override;
  void StoreValues() override;

  // The style number shown changed: the substyle's maximum becomes the new style's substyle
  // count, and unless the page is being loaded the substyle goes back to 1.
  void EditStyleChange();
  // One of the two "Random" boxes was clicked (StyleBox: the style's).
  void RandomClick(bool StyleBox);

  TClickLabel* LabelStyle;
  QLineEdit* EditStyle;
  TUpDown* UpDownStyle;
  QCheckBox* CheckBoxRndStyle;
  TClickLabel* LabelRndStyle;
  TClickLabel* LabelSubstyle;
  QLineEdit* EditSubstyle;
  TUpDown* UpDownSubstyle;
  QCheckBox* CheckBoxRndSubstyle;
  TClickLabel* LabelRndSubstyle;
  TClickLabel* LabelSmoothingLevel;
  QLineEdit* EditSmoothingLevel;
  TUpDown* UpDownSmoothingLevel;

protected:
  TMaskedTransition* Masked() const;

private:
  bool FLoading = false;
};

}  // namespace vte
