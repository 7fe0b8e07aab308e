#include "engine/blend_transition.h"

#include "gdi/canvas.h"
#include "gdi/raster_op.h"
#include "pixel/blend_work.h"
#include "render/device.h"

namespace vte {

TBlendTransition::TBlendTransition(QObject* Owner) : TTimedTransitionEffect(Owner) {}

TBlendTransition::~TBlendTransition() = default;

TPixelFormat TBlendTransition::GetPixelFormat() const { return DevicePixelFormat(); }

bool TBlendTransition::WorkOnOldImage() const { return !IsHighColorDevice(); }

void TBlendTransition::Initialize(TTETransitionData& Data, int& Frames) {
  TTimedTransitionEffect::Initialize(Data, Frames);
  if (Data.HighColor) {
    // 5-bit channels have 32 weights that stay exact; 8-bit ones 256.
    Frames = Data.PixelFormat == pf15bit || Data.PixelFormat == pf16bit ? 32 : 255;
    // Counted once a run: pictures that change only in parts make the frames skip the rest.
    const long long Words =
        static_cast<long long>(BitmapScanlineBytes(*Data.WorkBitmap, Data.PixelFormat)) * Data.Height / 4;
    FSimilarity = 0;
    if (Words >= 1) {
      const std::size_t Equal = CountEqualWords(Data.DstBmp->Bits(), Data.SrcBmp->Bits(), static_cast<std::size_t>(Words));
      FSimilarity = static_cast<int>(static_cast<long long>(Equal) * 100 / Words);
    }
  } else {
    FPattern = std::make_unique<TBitmap>(8, 8, pf1bit);  // a new bitmap is white
    FPattern->SetMonochrome(true);
    Frames = 64;
  }
  // A frame of many colours comes from the two images alone, so where the render target holds the
  // looks' pixels as they are (with their row length) it is blended there straight away: the
  // whole-frame copy from a work bitmap would cost as much again as the blend's own writes.
  // Elsewhere every frame is computed into the work bitmap, which starts as the old look (on
  // palette screens it is the old image itself).
  const TBitmap* Target = Data.RenderCanvas ? Data.RenderCanvas->Bitmap() : nullptr;
  FOnTarget = Data.HighColor && Data.CanDrawOnRenderTarget() &&
              Target->ScanlineBytes() == Data.DstBmp->ScanlineBytes() &&
              Target->Height() == Data.DstBmp->Height() && Data.SrcBmp &&
              Data.SrcBmp->ScanlineBytes() == Data.DstBmp->ScanlineBytes();
  if (!FOnTarget && Data.WorkBitmap != Data.SrcBmp)
    Data.WorkBitmap->Canvas().BitBlt(0, 0, Data.Width, Data.Height, Data.SrcBmp->Canvas(), 0, 0, SRCCOPY);
}

void TBlendTransition::ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                                    int LastExecutedFrame) {
  TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
  // Each frame comes from the two images alone, so frames the pacing skips cost nothing.
  BlendFrame(FOnTarget ? *Data.RenderCanvas->Bitmap() : *Data.WorkBitmap, *Data.DstBmp, *Data.SrcBmp, FSimilarity, CurrentFrame, Data.PixelFormat,
             FPattern.get());
  UpdateRect = Rect(0, 0, Data.Width, Data.Height);
}

void TBlendTransition::Finalize(TTETransitionData& Data) {
  FPattern.reset();
  FOnTarget = false;
  TTimedTransitionEffect::Finalize(Data);
}

}  // namespace vte
