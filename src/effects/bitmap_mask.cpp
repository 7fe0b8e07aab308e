#include "effects/bitmap_mask.h"

#include <QColor>

#include "engine/errors.h"
#include "gdi/canvas.h"
#include "gdi/raster_op.h"
#include "pixel/mask_work.h"
#include "render/device.h"

namespace vte {

namespace {

constexpr int MaxSmoothingLevel = 5;
constexpr int LevelFrames = 256;  // frame f changes the pixels of level 256 - f

const char* const MaskIsEmpty = "Transition mask is empty";
const char* const MaskNot8Bit = "Transition mask should have 8 bits per pixel";

}  // namespace

TBmpMaskTransition::TBmpMaskTransition(QObject* Owner)
    : TTimedTransitionEffect(Owner), FMask(std::make_unique<TBitmap>(0, 0, pf8bit)) {}

TBmpMaskTransition::~TBmpMaskTransition() = default;

void TBmpMaskTransition::SetMask(const TBitmap* Value) {
  if (Value && !Value->Empty() && Value->PixelFormat() != pf8bit) throw ETransitionEffectError(MaskNot8Bit);
  if (!Value || Value->Empty()) *FMask = TBitmap(0, 0, pf8bit);
  else FMask->Assign(*Value);
}

TBitmap TBmpMaskTransition::LoadMaskFromFile(const QString& FileName) {
  TBitmap Picture;
  Picture.LoadFromFile(FileName);
  if (Picture.PixelFormat() == pf8bit && Picture.Palette() == GreyPalette()) return Picture;
  // Any other picture: the grey level of each pixel's colour, weighed as qGray does (11 red, 16
  // green, 5 blue in 32nds).
  TBitmap Mask(Picture.Width(), Picture.Height(), pf8bit);
  Mask.SetPalette(GreyPalette());
  for (int Y = 0; Y < Picture.Height(); ++Y) {
    std::uint8_t* Row = Mask.ScanLine(Y);
    for (int X = 0; X < Picture.Width(); ++X) {
      const TColor C = Picture.PixelColor(X, Y);
      Row[X] = static_cast<std::uint8_t>(qGray(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF));
    }
  }
  return Mask;
}

void TBmpMaskTransition::SetSmoothingLevel(int Value) {
  if (Value >= 0 && Value <= MaxSmoothingLevel) FSmoothingLevel = Value;
}

int TBmpMaskTransition::FadeLength(int Level) { return Level <= 0 ? 0 : 4 << Level; }

bool TBmpMaskTransition::SmoothingActive() const {
  return FSmoothingLevel != 0 && DeviceShowsSmoothEdges();
}

void TBmpMaskTransition::Assign(const TTransitionEffect& Source) {
  TTimedTransitionEffect::Assign(Source);
  if (const auto* Other = qobject_cast<const TBmpMaskTransition*>(&Source)) {
    SetMask(Other->FMask.get());
    SetSmoothingLevel(Other->FSmoothingLevel);
  }
}

// The level routines take the mask four bytes at a time and, in 4 and 32 bits a pixel, need a
// row of mask bytes to line up with a whole row of image bytes: both hold for these widths.
int TBmpMaskTransition::GetBitmapsWidth(int Width) const {
  if (Width <= 0) return Width;
  return SmoothingActive() || GetPixelFormat() == pf4bit ? RoundUpTo(Width, 8) : RoundUpTo(Width, 4);
}

TPixelFormat TBmpMaskTransition::GetPixelFormat() const { return SmoothingActive() ? pf32bit : DevicePixelFormat(); }

void TBmpMaskTransition::Initialize(TTETransitionData& Data, int& Frames) {
  TTimedTransitionEffect::Initialize(Data, Frames);
  if (FMask->Empty()) throw ETransitionEffectError(MaskIsEmpty);
  if (FMask->PixelFormat() != pf8bit) throw ETransitionEffectError(MaskNot8Bit);

  FRunFade = SmoothingActive() ? FadeLength(FSmoothingLevel) : 0;
  Frames = LevelFrames + (FRunFade > 0 ? FRunFade - 1 : 0);

  const int W = Data.Width, H = Data.Height;
  FStretched = std::make_unique<TBitmap>();
  SetupBitmap(*FStretched, &FMask->Palette(), Data.WorkBitmap->Width(), H, pf8bit);
  // The same palette on both sides: the stretch copies levels as they are, and NOTSRCCOPY turns
  // each level v into 255 - v.
  FStretched->Canvas().SetStretchMode(COLORONCOLOR);
  FStretched->Canvas().StretchBlt(0, 0, W, H, FMask->Canvas(), 0, 0, FMask->Width(), FMask->Height(),
                                  ReversedToUse() ? NOTSRCCOPY : SRCCOPY);
  // A frame writes only the pixels that move in it, over what the frame before left. The render
  // target shows the old image to begin with, so where it holds the looks' pixels as they are
  // (with their row length) the frames go there straight away: no work bitmap copied to it a
  // frame. Otherwise the work bitmap must start as the old image.
  FOnTarget = Data.CanWorkInRenderTarget();
  if (!FOnTarget && Data.WorkBitmap != Data.SrcBmp)
    Data.WorkBitmap->Canvas().BitBlt(0, 0, W, H, Data.SrcBmp->Canvas(), 0, 0, SRCCOPY);
}

void TBmpMaskTransition::ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                                      int LastExecutedFrame) {
  TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
  const int W = Data.Width, H = Data.Height;
  UpdateRect = Rect(0, 0, W, H);
  UnchangedRect = TRect{};
  TBitmap &Work = FOnTarget ? *Data.RenderCanvas->Bitmap() : *Data.WorkBitmap, &New = *Data.DstBmp;
  if (FRunFade == 0) {
    CopyLevelRange(Work.ScanLine(0), New.ScanLine(0), FStretched->ScanLine(0), Data.PixelFormat,
                   LevelFrames - 1 - LastExecutedFrame, LevelFrames - CurrentFrame, W, H, FStretched->ScanlineBytes(),
                   Work.ScanlineBytes());
  } else {
    ComposeGraded(Work.ScanLine(0), Data.SrcBmp->ScanLine(0), New.ScanLine(0), FStretched->ScanLine(0), TRect{},
                  UpdateRect, W, H, FStretched->ScanlineBytes(), Work.ScanlineBytes(), LevelFrames - 1 - CurrentFrame,
                  LevelFrames - 1 - LastExecutedFrame, FRunFade);
  }
}

void TBmpMaskTransition::Finalize(TTETransitionData& Data) {
  FStretched.reset();
  FRunFade = 0;
  FOnTarget = false;
  TTimedTransitionEffect::Finalize(Data);
}

}  // namespace vte
