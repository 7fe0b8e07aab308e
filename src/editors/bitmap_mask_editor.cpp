#include "editors/bitmap_mask_editor.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QToolButton>

#include "app/application.h"
#include "container/effects_panel.h"
#include "editors/click_label.h"
#include "editors/up_down.h"
#include "effects/bitmap_mask.h"
#include "editors/editor_helpers.h"

namespace vte {

TBmpMaskTransitionEditor::TBmpMaskTransitionEditor(QObject* Owner) : TTransitionEffectEditor(Owner) {
  const int MaskRow = FirstOwnRow, SmoothingRow = FirstOwnRow + 4;
  SpeedButtonMask = new QToolButton(this);
  SpeedButtonMask->setText(QStringLiteral("..."));
  SpeedButtonMask->setGeometry(ControlLeft, RowTop(MaskRow), 24, ControlHeight);
  connect(SpeedButtonMask, &QToolButton::clicked, this, [this] { ChooseMask(); });
  LabelMask = AddLabel(QStringLiteral("Mask"), MaskRow, nullptr);

  // The picture fills the panel as far as its proportions allow.
  EffectsPanelMask = new TEffectsPanel(this);
  EffectsPanelMask->setGeometry(ControlLeft + 28, RowTop(MaskRow), ControlWidth - 28, RowTop(SmoothingRow) - RowTop(MaskRow) - 6);
  EffectsPanelMask->SetBevelOuter(bvNone);
  EffectsPanelMask->SetBevelInner(bvLowered);
  EffectsPanelMask->BackgroundOptions()->SetOpaque(false);
  EffectsPanelMask->BackgroundOptions()->SetPictureMode(fcpmCenterStretch);

  OpenPictureDialog = new QFileDialog(this, QStringLiteral("Mask"));
  OpenPictureDialog->setNameFilter(QStringLiteral("Bitmaps (*.bmp)"));
  OpenPictureDialog->setFileMode(QFileDialog::ExistingFile);
  OpenPictureDialog->setAcceptMode(QFileDialog::AcceptOpen);
  OpenPictureDialog->setOption(QFileDialog::ReadOnly);
  OpenPictureDialog->setOption(QFileDialog::DontUseNativeDialog);

  std::tie(EditSmoothingLevel, UpDownSmoothingLevel) = AddNumber(SmoothingRow, 0, 5, 1, true, 36);
  UpDownSmoothingLevel->SetPosition(1);
  LabelSmoothingLevel = AddLabel(QStringLiteral("&Smoothing level"), SmoothingRow, EditSmoothingLevel);

  NameControls({
      {LabelMask, "LabelMask"}, {SpeedButtonMask, "SpeedButtonMask"}, {EffectsPanelMask, "EffectsPanelMask"},
      {OpenPictureDialog, "OpenPictureDialog"}, {LabelSmoothingLevel, "LabelSmoothingLevel"},
      {EditSmoothingLevel, "EditSmoothingLevel"}, {UpDownSmoothingLevel, "UpDownSmoothingLevel"}});
}

TBmpMaskTransition* TBmpMaskTransitionEditor::BmpMask() const {
  return qobject_cast<TBmpMaskTransition*>(Transition());
}

void TBmpMaskTransitionEditor::LoadValues() {
  TTransitionEffectEditor::LoadValues();
  TBmpMaskTransition* T = BmpMask();
  if (!T) return;
  UpDownSmoothingLevel->SetPosition(T->SmoothingLevel());
  if (!T->Mask().Empty()) EffectsPanelMask->BackgroundOptions()->Picture().SetBitmap(&T->Mask());
}

void TBmpMaskTransitionEditor::StoreValues() {
  TTransitionEffectEditor::StoreValues();
  TBmpMaskTransition* T = BmpMask();
  if (!T) return;
  T->SetSmoothingLevel(UpDownSmoothingLevel->Position());
  const TPicture& Picture = EffectsPanelMask->BackgroundOptions()->Picture();
  T->SetMask(Picture.Empty() ? nullptr : &const_cast<TPicture&>(Picture).Bitmap());
}

void TBmpMaskTransitionEditor::ChooseMask() {
  if (OpenPictureDialog->exec() != QDialog::Accepted || OpenPictureDialog->selectedFiles().isEmpty()) return;
  try {
    LoadMask(OpenPictureDialog->selectedFiles().first());
  } catch (const std::exception& Error) {
    ShowApplicationError(Error.what());
  }
}

void TBmpMaskTransitionEditor::LoadMask(const QString& FileName) {
  EffectsPanelMask->BackgroundOptions()->Picture().LoadFromFile(FileName);
  EffectsPanelMask->update();
}

}  // namespace vte
