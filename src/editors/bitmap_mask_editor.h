#pragma once
// The page of the bitmap mask transition: the grey picture that orders the change (shown on a
// small panel, chosen from a .bmp file) and the smoothing level.
#include "editors/transition_effect_editor.h"

class QFileDialog;

namespace vte {

class TBmpMaskTransition;

class TBmpMaskTransitionEditor : public TTransitionEffectEditor {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TBmpMaskTransitionEditor(QObject* Owner = nullptr);

  void LoadValues() override;
  // Raises ETransitionEffectError when the chosen picture is not 8 bits a pixel.
  void StoreValues() override;
  // Opens the file dialog; a confirmed file is shown on the panel (stored by StoreValues).
  void ChooseMask();
  // What the file dialog does once a file is chosen; std::runtime_error for an unreadable file.
  void LoadMask(const QString& FileName);

  TClickLabel* LabelMask;
  QToolButton* SpeedButtonMask;
  TEffectsPanel* EffectsPanelMask;
  QFileDialog* OpenPictureDialog;
  TClickLabel* LabelSmoothingLevel;
  QLineEdit* EditSmoothingLevel;
  TUpDown* UpDownSmoothingLevel;

private:
  TBmpMaskTransition* BmpMask() const;
};

}  // namespace vte
