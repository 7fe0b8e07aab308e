#include "effects/wipe.h"

#include <algorithm>
#include <cmath>

#include "gdi/canvas.h"
#include "gdi/random.h"
#include "gdi/raster_op.h"
#include "pixel/wipe_band.h"
#include "render/device.h"

namespace vte {

namespace {

// The mask is this much longer than the band along the edge, so that each frame can read it from
// a random offset and the band flickers instead of standing still.
constexpr int MaskSlack = 75;
// The band pattern is the same for the same size and direction in every run and program.
constexpr std::uint32_t MaskSeed = 1642000;

bool IsStraight(TTEEffectDirection D) { return D == tedRight || D == tedLeft || D == tedDown || D == tedUp; }
bool IsHorizontal(TTEEffectDirection D) { return D == tedRight || D == tedLeft; }

// f * (Size / Frames), to nearest with halves to even.
int Scaled(int Frame, int Size, int Frames) {
  return static_cast<int>(std::lrint(Frame * (static_cast<double>(Size) / Frames)));
}

void ClearMaskPixel(TBitmap& Mask, int X, int Y) {
  Mask.ScanLine(Y)[X >> 3] &= static_cast<std::uint8_t>(~(0x80u >> (X & 7)));
}

}  // namespace

TWipeTransition::TWipeTransition(QObject* Owner) : TTimedTransitionEffect(Owner) {
  SetAllowedDirections(DirectionSet(tedRight, tedLeft, tedDown, tedUp, tedDownRight, tedDownLeft, tedUpRight,
                                    tedUpLeft, tedIn, tedOut));
  InitDirection(tedRight);
}

TWipeTransition::~TWipeTransition() = default;

int TWipeTransition::BandWidth() const { return IsStraight(DirectionToUse()) ? FBandWidth : 0; }

void TWipeTransition::Assign(const TTransitionEffect& Source) {
  TTimedTransitionEffect::Assign(Source);
  if (const auto* Wipe = qobject_cast<const TWipeTransition*>(&Source)) SetBandWidth(Wipe->BandWidth());
}

// Column (row) 0 of the mask lies next to the edge for Right and Down, the last one for Left and
// Up; near the edge almost every pixel is black (new), at the far side only a few in a hundred.
void TWipeTransition::BuildMask(TTEEffectDirection Direction, int MaskWidth, int MaskHeight, int BW) {
  RandSeed = MaskSeed;
  auto Mask = std::make_unique<TBitmap>();
  SetupBitmap(*Mask, nullptr, MaskWidth, MaskHeight, pf1bit);
  const bool Horizontal = IsHorizontal(Direction);
  const bool EdgeFirst = Direction == tedRight || Direction == tedDown;
  // The draws run one past the last pixel: the pattern is defined by this exact sequence.
  const int Length = Horizontal ? MaskHeight : MaskWidth;
  for (int K = 0; K < BW; ++K) {
    const int D = K * 100 / BW;
    int Threshold;
    if (EdgeFirst) Threshold = D == 100 ? 1 : 100 - D;
    else Threshold = D == 0 ? 1 : D;
    for (int I = 0; I <= Length; ++I) {
      const int R = Random(100);
      if (Threshold >= R && I < Length) {
        if (Horizontal) ClearMaskPixel(*Mask, K, I);
        else ClearMaskPixel(*Mask, I, K);
      }
    }
  }
  FMask = std::move(Mask);
  FMaskDirection = Direction;
}

void TWipeTransition::Initialize(TTETransitionData& Data, int& Frames) {
  TTimedTransitionEffect::Initialize(Data, Frames);
  const int W = Data.Width, H = Data.Height, BW = BandWidth();
  const TTEEffectDirection D = DirectionToUse();
  FOldSide.reset();
  FNewSide.reset();
  FDirectBand = false;
  FMaskOffsetX = FMaskOffsetY = 0;

  if (BW != 0) {
    const bool Horizontal = IsHorizontal(D);
    const int MaskWidth = Horizontal ? BW : W + MaskSlack;
    const int MaskHeight = Horizontal ? H + MaskSlack : BW;
    if (!FMask || FMask->Width() != MaskWidth || FMask->Height() != MaskHeight || D != FMaskDirection) {
      FMask.reset();
      BuildMask(D, MaskWidth, MaskHeight, BW);
    }
    // Every pixel of a frame follows from the two looks and the mask alone, so where the render
    // target and the looks share a format of whole bytes (always so on the screens Qt offers) the
    // band is mixed straight onto the target, which shows the old look to begin with: no band
    // buffers, no work bitmap to fill and to copy from.
    FDirectBand = Data.CanDrawOnRenderTarget();
    if (!FDirectBand) {
      const TPalette* Palette = &Data.DstBmp->Palette();
      const int BufferWidth = Horizontal ? BW : W, BufferHeight = Horizontal ? H : BW;
      FOldSide = std::make_unique<TBitmap>();
      SetupBitmap(*FOldSide, Palette, BufferWidth, BufferHeight, Data.PixelFormat);
      FNewSide = std::make_unique<TBitmap>();
      SetupBitmap(*FNewSide, Palette, BufferWidth, BufferHeight, Data.PixelFormat);
      // The band is composed in the work bitmap, which must show the old look around it.
      Data.Canvas().BitBlt(0, 0, W, H, Data.SrcBmp->Canvas(), 0, 0, SRCCOPY);
    }
  } else {
    FMask.reset();
  }

  const int Larger = std::max(W, H);
  switch (D) {
    case tedRight:
      Frames = BW + W;
      FRevealed = Rect(1 - BW, 0, -BW, H);
      FBand = Rect(1 - BW, 0, 1, H);
      break;
    case tedLeft:
      Frames = BW + W;
      FRevealed = Rect(W + BW, 0, W + BW, H);
      FBand = Rect(W - 1, 0, W + BW - 1, H);
      break;
    case tedDown:
      Frames = BW + H;
      FRevealed = Rect(0, -BW, W, -BW);
      FBand = Rect(0, 1 - BW, W, 1);
      break;
    case tedUp:
      Frames = BW + H;
      FRevealed = Rect(0, H + BW, W, H + BW);
      FBand = Rect(0, H - 1, W, H + BW - 1);
      break;
    case tedDownRight:
      Frames = W + H;
      FRevealed = Rect(0, 0, 0, 0);
      break;
    case tedDownLeft:
      Frames = Larger;
      FRevealed = Rect(W, 0, W, 0);
      break;
    case tedUpRight:
      Frames = Larger;
      FRevealed = Rect(0, H, 0, H);
      break;
    case tedUpLeft:
      Frames = Larger;
      FRevealed = Rect(W, H, W, H);
      break;
    case tedIn:
      Frames = Larger / 2;
      FRevealed = Rect(0, 0, W, H);
      break;
    case tedOut:
      Frames = Larger / 2;
      FRevealed = Rect(W / 2, H / 2, W / 2, H / 2);
      break;
    default:
      Frames = 0;
      break;
  }
}

void TWipeTransition::ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                                   int LastExecutedFrame) {
  TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
  const int W = Data.Width, H = Data.Height;
  const bool Banded = FMask != nullptr;
  const int BW = Banded ? BandWidth() : 0;
  TRect& R = FRevealed;
  TRect& B = FBand;
  TRect Pieces[4];
  int Count = 0;

  switch (DirectionToUse()) {
    case tedRight:
      R.Left = R.Right;
      R.Right += Step;
      if (Banded) {
        B.Left = R.Right + 1;
        B.Right = B.Left + BW;
        FMaskOffsetY = Random(MaskSlack);
      }
      Pieces[Count++] = R;
      break;
    case tedLeft:
      R.Right = R.Left;
      R.Left -= Step;
      if (Banded) {
        B.Right = R.Left - 1;
        B.Left = B.Right - BW;
        FMaskOffsetY = Random(MaskSlack);
      }
      Pieces[Count++] = R;
      break;
    case tedDown:
      R.Top = R.Bottom;
      R.Bottom += Step;
      if (Banded) {
        B.Top = R.Bottom + 1;
        B.Bottom = B.Top + BW;
        FMaskOffsetX = Random(MaskSlack);
      }
      Pieces[Count++] = R;
      break;
    case tedUp:
      R.Bottom = R.Top;
      R.Top -= Step;
      if (Banded) {
        // One above the previous top edge: the band's lower end lies under this frame's strip,
        // which is drawn over it.
        B.Bottom = R.Bottom - 1;
        B.Top = B.Bottom - BW;
        FMaskOffsetX = Random(MaskSlack);
      }
      Pieces[Count++] = R;
      break;
    case tedDownRight: {
      const int X = Scaled(CurrentFrame, W, TotalFrames), Y = Scaled(CurrentFrame, H, TotalFrames);
      Pieces[Count++] = Rect(0, R.Bottom, X, Y);
      Pieces[Count++] = Rect(R.Right, 0, X, R.Bottom);
      R.Right = X;
      R.Bottom = Y;
      break;
    }
    case tedDownLeft: {
      const int X = W - Scaled(CurrentFrame, W, TotalFrames), Y = Scaled(CurrentFrame, H, TotalFrames);
      Pieces[Count++] = Rect(X, R.Bottom, W, Y);
      Pieces[Count++] = Rect(X, 0, R.Left, R.Bottom);
      R.Left = X;
      R.Bottom = Y;
      break;
    }
    case tedUpRight: {
      const int X = Scaled(CurrentFrame, W, TotalFrames), Y = H - Scaled(CurrentFrame, H, TotalFrames);
      Pieces[Count++] = Rect(0, Y, X, R.Top);
      Pieces[Count++] = Rect(R.Right, R.Top, X, H);
      R.Right = X;
      R.Top = Y;
      break;
    }
    case tedUpLeft: {
      const int X = W - Scaled(CurrentFrame, W, TotalFrames), Y = H - Scaled(CurrentFrame, H, TotalFrames);
      Pieces[Count++] = Rect(X, Y, W, R.Top);
      Pieces[Count++] = Rect(X, R.Top, R.Left, H);
      R.Left = X;
      R.Top = Y;
      break;
    }
    case tedIn: {
      // R is the part that still shows the old image.
      const int U = Scaled(CurrentFrame, W, TotalFrames) / 2, V = Scaled(CurrentFrame, H, TotalFrames) / 2;
      Pieces[Count++] = Rect(R.Left, R.Top, R.Right, V);
      Pieces[Count++] = Rect(R.Left, V, U, H - V);
      Pieces[Count++] = Rect(W - U, V, R.Right, H - V);
      Pieces[Count++] = Rect(R.Left, H - V, R.Right, R.Bottom);
      R = Rect(U, V, W - U, H - V);
      break;
    }
    case tedOut: {
      // R is the part that shows the new image.
      const int U = (W - Scaled(CurrentFrame, W, TotalFrames)) / 2;
      const int V = (H - Scaled(CurrentFrame, H, TotalFrames)) / 2;
      Pieces[Count++] = Rect(U, V, W - U, R.Top);
      Pieces[Count++] = Rect(U, R.Top, R.Left, H - V);
      Pieces[Count++] = Rect(R.Right, R.Top, W - U, R.Bottom);
      Pieces[Count++] = Rect(U, R.Bottom, W - U, H - V);
      R = Rect(U, V, W - U, H - V);
      break;
    }
    default:
      break;
  }

  if (Banded) DrawBandFrame(Data);
  else DrawPieces(Data, Pieces, Count);
}

// Old and new pixels are mixed through the mask: white mask pixels keep the old pixel, black ones
// take the new one. Then the strip behind the band gets the new image, one pixel wider and taller
// than itself.
void TWipeTransition::DrawBandFrame(TTETransitionData& Data) {
  const TRect& B = FBand;
  const TRect& R = FRevealed;
  const TRect Area = Rect(0, 0, Data.Width, Data.Height);
  if (FDirectBand) {
    // One pass over the parts of the band and the strip inside the area, reading the mask where
    // the buffers would have read it.
    TBitmap& Out = *Data.RenderCanvas->Bitmap();
    TRect Part, Strip;
    IntersectRect(Part, B, Area);
    IntersectRect(Strip, Rect(R.Left, R.Top, R.Right + 1, R.Bottom + 1), Area);
    ComposeBand(Out, *Data.SrcBmp, *Data.DstBmp, *FMask, Part,
                {Part.Left - B.Left + FMaskOffsetX, Part.Top - B.Top + FMaskOffsetY}, Strip);
  } else {
    // The band buffers: the old side keeps the old pixels under white mask pixels (AND), the new
    // side the new pixels under black ones (AND NOT), and OR puts them together.
    TCanvas& Out = Data.Canvas();
    TCanvas& Mask = FMask->Canvas();
    TCanvas& OldSide = FOldSide->Canvas();
    TCanvas& NewSide = FNewSide->Canvas();
    const int BufferWidth = FOldSide->Width(), BufferHeight = FOldSide->Height();
    OldSide.BitBlt(0, 0, BufferWidth, BufferHeight, Data.SrcBmp->Canvas(), B.Left, B.Top, SRCCOPY);
    OldSide.BitBlt(0, 0, BufferWidth, BufferHeight, Mask, FMaskOffsetX, FMaskOffsetY, SRCAND);
    NewSide.BitBlt(0, 0, BufferWidth, BufferHeight, Data.DstBmp->Canvas(), B.Left, B.Top, SRCCOPY);
    NewSide.BitBlt(0, 0, BufferWidth, BufferHeight, Mask, FMaskOffsetX, FMaskOffsetY, DSna);
    NewSide.BitBlt(0, 0, BufferWidth, BufferHeight, OldSide, 0, 0, SRCPAINT);
    Out.BitBlt(B.Left, B.Top, B.Width(), B.Height(), NewSide, 0, 0, SRCCOPY);
    Out.BitBlt(R.Left, R.Top, R.Width() + 1, R.Height() + 1, Data.DstBmp->Canvas(), R.Left, R.Top, SRCCOPY);
  }

  // The band reaches past the area while it enters and leaves; only the area goes to the screen.
  TRect Changed;
  UnionRect(Changed, B, R);
  IntersectRect(Changed, Changed, Area);
  UpdateRect = Changed;
  FrameEnabled = !Changed.IsEmpty();
}

// Without a band the pieces go straight to the render canvas. Each one still has to reach the
// screen, and only it: the pieces of a corner or centre wipe lie apart, so each is a dirty
// rectangle of its own rather than part of one bounding rectangle.
void TWipeTransition::DrawPieces(TTETransitionData& Data, const TRect* Pieces, int Count) {
  TCanvas& Out = Data.Canvas();
  TRect Changed;
  int Drawn = 0;
  for (int I = 0; I < Count; ++I) {
    const TRect& P = Pieces[I];
    if (P.IsEmpty()) continue;
    Out.BitBlt(P.Left, P.Top, P.Width(), P.Height(), Data.DstBmp->Canvas(), P.Left, P.Top, SRCCOPY);
    UnionRect(Changed, Changed, P);
    if (DirtyRects) DirtyRects->Add(P);
    ++Drawn;
  }
  UpdateRect = Changed;
  // A frame that moved no edge by a whole pixel has nothing to show.
  FrameEnabled = Drawn > 0;
}

void TWipeTransition::Finalize(TTETransitionData& Data) {
  FOldSide.reset();
  FNewSide.reset();
  FDirectBand = false;
  FrameEnabled = true;
  TTimedTransitionEffect::Finalize(Data);
}

}  // namespace vte
