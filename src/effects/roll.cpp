#include "effects/roll.h"

#include <algorithm>

#include "gdi/canvas.h"
#include "gdi/raster_op.h"
#include "pixel/roll_shade.h"
#include "render/device.h"

namespace vte {

TRollTransition::TRollTransition(QObject* Owner) : TTimedTransitionEffect(Owner) {
  SetAllowedDirections(DirectionSet(tedRight, tedLeft, tedDown, tedUp));
  InitDirection(tedDown);
}

TRollTransition::~TRollTransition() = default;

void TRollTransition::Assign(const TTransitionEffect& Source) {
  TTimedTransitionEffect::Assign(Source);
  if (const auto* Roll = qobject_cast<const TRollTransition*>(&Source)) {
    FUse3D = Roll->FUse3D;
    FUnroll = Roll->FUnroll;
    FSize = Roll->FSize;
  }
}

// The shaded band is post-processed four bytes a pixel, on rows a multiple of 8 pixels long.
int TRollTransition::GetBitmapsWidth(int Width) const {
  return FUse3D ? RoundUpTo(Width, 8) : Width;
}

TPixelFormat TRollTransition::GetPixelFormat() const { return FUse3D ? pf32bit : DevicePixelFormat(); }

void TRollTransition::Initialize(TTETransitionData& Data, int& Frames) {
  TTimedTransitionEffect::Initialize(Data, Frames);
  // The settings of the run are kept: changing them while it goes on must not tear the frames
  // (or outgrow the table).
  const int W = Data.Width, H = Data.Height, Z = FRunSize = FSize;
  const TTEEffectDirection Direction = DirectionToUse();
  FRunDirection = Direction;
  FUnrollingRun = Unrolling();
  Frames = (Direction == tedRight || Direction == tedLeft) ? W + 1 : H + 1;

  switch (Direction) {
    case tedRight:
      A = B = FUnrollingRun ? Rect(-Z, 0, 0, H) : Rect(0, 0, 0, H);
      break;
    case tedLeft:
      A = B = FUnrollingRun ? Rect(W, 0, W + Z, H) : Rect(W, 0, W, H);
      break;
    case tedDown:
      A = B = FUnrollingRun ? Rect(0, -Z, W, 0) : Rect(0, 0, W, 0);
      break;
    default:  // tedUp
      if (FUnrollingRun) {
        A = Rect(0, H + Z, W, H + Z);
        B = Rect(0, H, W, H + Z);
      } else {
        A = B = Rect(0, H, W, H);
      }
      break;
  }

  // A frame is the band from the roll bitmap and the strip behind it from the new look, whatever
  // the frame before left: it can be drawn straight onto the render target when that has the
  // looks' format, sparing the copy of every frame from the work bitmap to the screen.
  FOnTarget = Data.CanDrawOnRenderTarget();
  // The shades are worked out in 32 bits a pixel; a run that did not get such bitmaps (Use3D
  // set after the looks were captured) draws the band flat.
  const TBitmap* Drawn = FrameCanvas(Data).Bitmap();
  FShading = FUse3D && Data.PixelFormat == pf32bit && Drawn && Drawn->PixelFormat() == pf32bit;
  FShadeCount = 0;
  if (FShading) {
    FShadeTable.assign(static_cast<std::size_t>(Z) + 2, RollShadeIdentity);
    // Unrolling starts with the band at its full width; rolling builds the table as it grows.
    if (FUnrollingRun) {
      BuildRollShadeTable(FShadeTable.data(), Z);
      FShadeCount = Z;
    }
  }

  FRollBitmap = std::make_unique<TBitmap>();
  SetupBitmap(*FRollBitmap, nullptr, W, H, Data.PixelFormat);
  TBitmap* Rolled = FUnrollingRun ? Data.DstBmp : Data.SrcBmp;
  if (Rolled) {
    if (Direction == tedRight || Direction == tedLeft)
      FRollBitmap->Canvas().StretchBlt(0, 0, W, H, Rolled->Canvas(), W, 0, -W, H, SRCCOPY);
    else
      FRollBitmap->Canvas().StretchBlt(0, 0, W, H, Rolled->Canvas(), 0, H, W, -H, SRCCOPY);
  }
}

void TRollTransition::ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                                   int LastExecutedFrame) {
  TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
  const int W = Data.Width, H = Data.Height, Z = FRunSize;

  int E;
  if (FUnrollingRun) E = TotalFrames - CurrentFrame < Z ? TotalFrames - CurrentFrame - 1 : Z;
  else E = std::min(CurrentFrame, Z);

  // Where the band's first column (or row) comes from in the mirrored roll bitmap.
  TPoint Source;
  switch (FRunDirection) {
    case tedRight:
      if (FUnrollingRun) {
        B.Right += Step;
        B.Left = B.Right - E;
        A.Left = A.Right;
        A.Right = B.Left;
        Source = {W - B.Right - E, 0};
      } else {
        A.Left = A.Right;
        A.Right += Step;
        B.Left = A.Right;
        B.Right = B.Left + E;
        Source = {W - B.Left - 1, 0};
      }
      break;
    case tedLeft:
      if (FUnrollingRun) {
        B.Left -= Step;
        B.Right = B.Left + E;
        A.Right = A.Left;
        A.Left = B.Right;
        Source = {W + E - B.Right - 1, 0};
      } else {
        A.Right = A.Left;
        A.Left -= Step;
        B.Right = A.Left;
        B.Left = A.Left - E;
        Source = {W - B.Right - E, 0};
      }
      break;
    case tedDown:
      if (FUnrollingRun) {
        B.Bottom += Step;
        B.Top = B.Bottom - E;
        A.Top = A.Bottom;
        A.Bottom = B.Top;
        Source = {0, H - B.Bottom - E};
      } else {
        A.Top = A.Bottom;
        A.Bottom += Step;
        B.Top = A.Bottom;
        B.Bottom = B.Top + E;
        Source = {0, H - B.Top - 1};
      }
      break;
    default:  // tedUp
      if (FUnrollingRun) {
        B.Top -= Step;
        B.Bottom = B.Top + E;
        A.Bottom = A.Top;
        A.Top = B.Bottom;
        Source = {0, H + E - B.Bottom - 1};
      } else {
        A.Bottom = A.Top;
        A.Top -= Step;
        B.Bottom = A.Top;
        B.Top = A.Top - E;
        Source = {0, H - B.Bottom - E};
      }
      break;
  }

  // The band (E columns or rows wide) from the roll bitmap; A lies beside it, never over it.
  TCanvas& Canvas = FrameCanvas(Data);
  if (E > 0) {
    if (FShading) ShadeBand(Data, E, Source);
    else Canvas.BitBlt(B.Left, B.Top, B.Width(), B.Height(), FRollBitmap->Canvas(), Source.X, Source.Y, SRCCOPY);
  }
  UnionRect(UpdateRect, UpdateRect, B);

  // A turns inside out only while the band is still coming in from outside the area: nothing of
  // it is visible then.
  if (!A.IsEmpty()) Canvas.BitBlt(A.Left, A.Top, A.Width(), A.Height(), Data.DstBmp->Canvas(), A.Left, A.Top, SRCCOPY);
  UnionRect(UpdateRect, UpdateRect, A);

  IntersectRect(UpdateRect, UpdateRect, Rect(0, 0, W, H));
}

// The band's pixels come from the roll bitmap (band pixel (x, y) from (x + Dx, y + Dy) there)
// and are shaded on the way, in one pass. Where part of that source lay outside the roll bitmap,
// the copy would leave those pixels as they were: then the band is copied by the canvas, which
// clips it so, and shaded where it lies.
void TRollTransition::ShadeBand(TTETransitionData& Data, int BandWidth, TPoint Source) {
  if (BandWidth != FShadeCount) {
    BuildRollShadeTable(FShadeTable.data(), BandWidth);
    FShadeCount = BandWidth;
  }
  TCanvas& Canvas = FrameCanvas(Data);
  TBitmap& Bitmap = *Canvas.Bitmap();
  const bool Across = FRunDirection == tedRight || FRunDirection == tedLeft;
  const int First = Across ? B.Left : B.Top;
  const int Dx = Source.X - B.Left, Dy = Source.Y - B.Top;
  TRect Visible, Inside;
  if (!IntersectRect(Visible, B, Rect(0, 0, Data.Width, Data.Height))) return;
  IntersectRect(Inside, Visible, Rect(-Dx, -Dy, FRollBitmap->Width() - Dx, FRollBitmap->Height() - Dy));
  if (Inside == Visible) {
    ShadeRollBandFrom(Bitmap.ScanLine(0), Bitmap.ScanlineBytes(), FRollBitmap->ScanLine(0),
                      FRollBitmap->ScanlineBytes(), Dx, Dy, Visible.Left, Visible.Top, Visible.Right, Visible.Bottom,
                      Across, First, FShadeTable.data());
    return;
  }
  Canvas.BitBlt(B.Left, B.Top, B.Width(), B.Height(), FRollBitmap->Canvas(), Source.X, Source.Y, SRCCOPY);
  ShadeRollBand(Bitmap.ScanLine(0), Bitmap.ScanlineBytes(), Visible.Left, Visible.Top, Visible.Right, Visible.Bottom,
                Across, First, FShadeTable.data());
}

void TRollTransition::Finalize(TTETransitionData& Data) {
  FShadeTable.clear();
  FShadeTable.shrink_to_fit();
  FShadeCount = 0;
  FRollBitmap.reset();
  FOnTarget = false;
  TTimedTransitionEffect::Finalize(Data);
}

}  // namespace vte
