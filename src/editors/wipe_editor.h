#pragma once
// The page of the wipe transition: the width of the soft band between the images.
#include "editors/transition_effect_editor.h"

namespace vte {

class TWipeTransition;

class TWipeTransitionEditor : public TTransitionEffectEditor {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TWipeTransitionEditor(QObject* Owner = nullptr);

  void LoadValues() override;
  void StoreValues() override;
  // Leaving the band width edit: as leaving the duration edit.
  void EditBandWidthExit();

  TClickLabel* LabelBandWidth;
  QLineEdit* EditBandWidth;
  TUpDown* UpDownBandWidth;

private:
  TWipeTransition* Wipe() const;
};

}  // namespace vte
