#pragma once
// The page of the roll transition: the width of the roll, its lit (3D) look, and unrolling.
#include "editors/transition_effect_editor.h"

namespace vte {

class TRollTransition;

class TRollTransitionEditor : public TTransitionEffectEditor {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TRollTransitionEditor(QObject* Owner = nullptr);

  void LoadValues() override;
  void StoreValues() override;
  // Leaving the size edit: as leaving the duration edit.
  void EditRollSizeExit();

  TClickLabel* LabelRollSize;
  QLineEdit* EditRollSize;
  TUpDown* UpDownRollSize;
  TClickLabel* Label3D;
  QCheckBox* CheckBox3D;
  TClickLabel* LabelUnroll;
  QCheckBox* CheckBoxUnroll;

private:
  TRollTransition* Roll() const;
};

}  // namespace vte
