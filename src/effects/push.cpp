#include "effects/push.h"

#include "gdi/canvas.h"
#include "gdi/raster_op.h"

namespace vte {

TPushTransition::TPushTransition(QObject* Owner) : TTimedTransitionEffect(Owner) {
  SetAllowedDirections(DirectionSet(tedRight, tedLeft, tedDown, tedUp));
  InitDirection(tedDown);
}

// Only a painted old look is kept as a bitmap: a screen copy is already on the render target.
bool TPushTransition::NeedSrcImage() const { return Run().OldLookPainted(); }

void TPushTransition::Initialize(TTETransitionData& Data, int& Frames) {
  TTimedTransitionEffect::Initialize(Data, Frames);
  const TTEEffectDirection D = DirectionToUse();
  Frames = (D == tedRight || D == tedLeft) ? Data.Width : Data.Height;
  // Drawing from bitmaps needs the old one; a run handed none can only scroll.
  FDrawFromBitmaps = Run().OldLookPainted() && Data.SrcBmp;
  // A work bitmap must start as the old look: the scroll way moves what it holds.
  if (Data.WorkBitmap && Data.SrcBmp)
    Data.WorkBitmap->Canvas().BitBlt(0, 0, Data.Width, Data.Height, Data.SrcBmp->Canvas(), 0, 0, SRCCOPY);
}

// Frame f shows the new image f pixels deep from the side it enters and the old image pushed on
// by f. The scroll way reaches the same picture from the last frame: everything moves by Step and
// the Step-deep strip of new image that enters is drawn.
void TPushTransition::ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                                   int LastExecutedFrame) {
  TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
  const int W = Data.Width, H = Data.Height, F = CurrentFrame;
  TCanvas& Canvas = Data.Canvas();
  TCanvas& New = Data.DstBmp->Canvas();
  const TRect Full = Rect(0, 0, W, H);
  const TTEEffectDirection D = DirectionToUse();
  if (FDrawFromBitmaps) {
    TCanvas& Old = Data.SrcBmp->Canvas();
    switch (D) {
      case tedRight:
        Canvas.BitBlt(F, 0, W - F, H, Old, 0, 0, SRCCOPY);
        Canvas.BitBlt(0, 0, F, H, New, W - F, 0, SRCCOPY);
        break;
      case tedLeft:
        Canvas.BitBlt(0, 0, W - F, H, Old, F, 0, SRCCOPY);
        Canvas.BitBlt(W - F, 0, F, H, New, 0, 0, SRCCOPY);
        break;
      case tedDown:
        Canvas.BitBlt(0, F, W, H - F, Old, 0, 0, SRCCOPY);
        Canvas.BitBlt(0, 0, W, F, New, 0, H - F, SRCCOPY);
        break;
      case tedUp:
        Canvas.BitBlt(0, 0, W, H - F, Old, 0, F, SRCCOPY);
        Canvas.BitBlt(0, H - F, W, F, New, 0, 0, SRCCOPY);
        break;
      default:
        return;
    }
  } else {
    switch (D) {
      case tedRight:
        Canvas.ScrollDC(Step, 0, Full, Full);
        Canvas.BitBlt(0, 0, Step, H, New, W - F, 0, SRCCOPY);
        break;
      case tedLeft:
        Canvas.ScrollDC(-Step, 0, Full, Full);
        Canvas.BitBlt(W - Step, 0, Step, H, New, F - Step, 0, SRCCOPY);
        break;
      case tedDown:
        Canvas.ScrollDC(0, Step, Full, Full);
        Canvas.BitBlt(0, 0, W, Step, New, 0, H - F, SRCCOPY);
        break;
      case tedUp:
        Canvas.ScrollDC(0, -Step, Full, Full);
        Canvas.BitBlt(0, H - Step, W, Step, New, 0, F - Step, SRCCOPY);
        break;
      default:
        return;
    }
  }
  // Everything moves: the whole area changes every frame.
  UpdateRect = Full;
}

}  // namespace vte
