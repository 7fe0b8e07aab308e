#include "effects/drip.h"

#include <algorithm>
#include <cstring>

#include "gdi/canvas.h"
#include "gdi/raster_op.h"

namespace vte {

namespace {

bool IsVertical(TTEEffectDirection D) { return D == tedDown || D == tedUp; }

}  // namespace

TDripTransition::TDripTransition(QObject* Owner) : TTimedTransitionEffect(Owner) {
  SetAllowedDirections(DirectionSet(tedRight, tedLeft, tedDown, tedUp));
  InitDirection(tedLeft);
}

bool TDripTransition::NeedWorkBitmap() const { return IsVertical(DirectionToUse()); }

void TDripTransition::Initialize(TTETransitionData& Data, int& Frames) {
  TTimedTransitionEffect::Initialize(Data, Frames);
  const int W = Data.Width, H = Data.Height;
  FRunDirection = DirectionToUse();
  // Every frame is drawn from the new image alone, so where the render target holds the new
  // image's pixels as they are it is drawn on straight away: no copy from a work bitmap a frame.
  FOnTarget = Data.CanWorkInRenderTarget();
  TCanvas& Canvas = FrameCanvas(Data);
  FSavedStretchMode = Canvas.StretchMode();
  Canvas.SetStretchMode(COLORONCOLOR);
  switch (FRunDirection) {
    case tedRight:
      Frames = W;
      FStrip = Rect(W, 0, W, H);
      break;
    case tedDown:
      Frames = H;
      FStrip = Rect(0, H, W, H);
      break;
    case tedUp:
      Frames = H;
      FStrip = Rect(0, 0, W, 0);
      break;
    default:  // tedLeft
      Frames = W;
      FStrip = Rect(0, 0, 0, H);
      break;
  }
  FRemaining = Rect(0, 0, W, H);
}

void TDripTransition::ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                                   int LastExecutedFrame) {
  TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
  TRect& S = FStrip;
  TRect& M = FRemaining;
  switch (FRunDirection) {
    case tedRight:
      S.Right = S.Left;
      S.Left -= Step;
      M.Right = std::min(M.Right, S.Left);
      break;
    case tedDown:
      S.Bottom = S.Top;
      S.Top -= Step;
      M.Bottom = std::min(M.Bottom, S.Top);
      break;
    case tedUp:
      S.Top = S.Bottom;
      S.Bottom += Step;
      M.Top = std::max(M.Top, S.Bottom);
      break;
    default:  // tedLeft
      S.Left = S.Right;
      S.Right += Step;
      M.Left = std::max(M.Left, S.Right);
      break;
  }

  TCanvas& Canvas = FrameCanvas(Data);
  TBitmap& New = *Data.DstBmp;
  Canvas.BitBlt(S.Left, S.Top, S.Width(), S.Height(), New.Canvas(), S.Left, S.Top, SRCCOPY);
  UnionRect(UpdateRect, UpdateRect, S);

  if (!M.IsEmpty()) {
    if (IsVertical(FRunDirection)) {
      // The strip's top row, byte for byte into every row of the remaining part.
      TBitmap& To = *Canvas.Bitmap();
      const std::uint8_t* Line = New.ScanLine(S.Top);
      const std::size_t Bytes = static_cast<std::size_t>(std::min(To.ScanlineBytes(), New.ScanlineBytes()));
      for (int Y = M.Top; Y < M.Bottom; ++Y) std::memcpy(To.ScanLine(Y), Line, Bytes);
    } else {
      // The strip's left column stretched over the remaining part.
      Canvas.StretchBlt(M.Left, M.Top, M.Width(), M.Height(), New.Canvas(), S.Left, S.Top, 1, S.Height(), SRCCOPY);
    }
    UnionRect(UpdateRect, UpdateRect, M);
  }
  IntersectRect(UpdateRect, UpdateRect, Rect(0, 0, Data.Width, Data.Height));
}

void TDripTransition::Finalize(TTETransitionData& Data) {
  FrameCanvas(Data).SetStretchMode(FSavedStretchMode);
  FOnTarget = false;
  TTimedTransitionEffect::Finalize(Data);
}

}  // namespace vte
