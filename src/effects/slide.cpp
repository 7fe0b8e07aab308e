#include "effects/slide.h"

#include <algorithm>
#include <cstdint>

#include "gdi/canvas.h"
#include "gdi/raster_op.h"

namespace vte {

namespace {

bool IsStraight(TTEEffectDirection D) { return D == tedRight || D == tedLeft || D == tedDown || D == tedUp; }

// Numerator / Denominator rounded to the nearest integer, halves to even; exact for the products
// of a size and a frame number, where a floating quotient could miss a half by a rounding error.
int RoundHalfEven(std::int64_t Numerator, std::int64_t Denominator) {
  std::int64_t Q = Numerator / Denominator;
  const std::int64_t Twice = 2 * (Numerator % Denominator);
  if (Twice > Denominator || (Twice == Denominator && (Q & 1))) ++Q;
  return static_cast<int>(Q);
}

// The unit step of a direction: which way the moving image travels on each axis.
TPoint Heading(TTEEffectDirection D) {
  switch (D) {
    case tedRight: return {1, 0};
    case tedLeft: return {-1, 0};
    case tedDown: return {0, 1};
    case tedUp: return {0, -1};
    case tedDownRight: return {1, 1};
    case tedDownLeft: return {-1, 1};
    case tedUpRight: return {1, -1};
    case tedUpLeft: return {-1, -1};
    default: return {0, 0};
  }
}

TRect Moved(TRect R, TPoint By) {
  OffsetRect(R, By.X, By.Y);
  return R;
}

TRect Intersection(const TRect& A, const TRect& B) {
  TRect R;
  IntersectRect(R, A, B);
  return R;
}

// The parts of A outside B: the bands above and below B first, then the ones left and right of
// it, so that the strips along a moving horizontal edge come before those along a vertical one.
template <class F> void ForEachPieceOutside(const TRect& A, const TRect& B, F&& Piece) {
  if (A.IsEmpty()) return;
  const TRect In = Intersection(A, B);
  if (In.IsEmpty()) {
    Piece(A);
    return;
  }
  if (A.Top < In.Top) Piece(Rect(A.Left, A.Top, A.Right, In.Top));
  if (In.Bottom < A.Bottom) Piece(Rect(A.Left, In.Bottom, A.Right, A.Bottom));
  if (A.Left < In.Left) Piece(Rect(A.Left, In.Top, In.Left, In.Bottom));
  if (In.Right < A.Right) Piece(Rect(In.Right, In.Top, A.Right, In.Bottom));
}

// Dest's part R from an image lying at Offset (screen = image + offset).
void CopyAt(TCanvas& Dest, const TRect& R, TCanvas& Image, TPoint Offset) {
  if (R.IsEmpty()) return;
  Dest.BitBlt(R.Left, R.Top, R.Width(), R.Height(), Image, R.Left - Offset.X, R.Top - Offset.Y, SRCCOPY);
}

// The whole image stretched or squeezed onto R.
void StretchOnto(TCanvas& Dest, const TRect& R, TBitmap& Image) {
  if (R.IsEmpty()) return;
  Dest.StretchBlt(R.Left, R.Top, R.Width(), R.Height(), Image.Canvas(), 0, 0, Image.Width(), Image.Height(),
                  SRCCOPY);
}

// What a scroll of Scroll by By leaves in place of the moved pixels (the canvas scrolls only
// inside the scroll rectangle).
TRect ScrolledInto(const TRect& Scroll, TPoint By) { return Intersection(Scroll, Moved(Scroll, By)); }

}  // namespace

TSlideTransition::TSlideTransition(QObject* Owner) : TTimedTransitionEffect(Owner) {
  SetAllowedDirections(DirectionSet(tedRight, tedLeft, tedDown, tedUp, tedDownRight, tedDownLeft, tedUpRight,
                                    tedUpLeft, tedIn, tedOut));
  InitDirection(tedDown);
}

void TSlideTransition::Assign(const TTransitionEffect& Source) {
  TTimedTransitionEffect::Assign(Source);
  if (const auto* Slide = qobject_cast<const TSlideTransition*>(&Source)) {
    FElasticSrc = Slide->FElasticSrc;
    FElasticDst = Slide->FElasticDst;
    FSlideOut = Slide->FSlideOut;
  }
}

void TSlideTransition::Initialize(TTETransitionData& Data, int& Frames) {
  TTimedTransitionEffect::Initialize(Data, Frames);
  const int W = Data.Width, H = Data.Height;
  FRunDirection = DirectionToUse();
  // Reversed plays the slide backwards in time: in and out swap, and so do the images' roles.
  const bool Reversed = ReversedToUse();
  const bool Out = FSlideOut != Reversed;
  const bool ElasticNew = Reversed ? FElasticSrc : FElasticDst;
  const bool ElasticOld = Reversed ? FElasticDst : FElasticSrc;
  if (IsStraight(FRunDirection)) {
    FMode = Out ? smSlideOut : smSlideIn;
    FStretchNew = ElasticNew;
    FSqueezeOld = ElasticOld;
  } else if (FRunDirection == tedIn || FRunDirection == tedOut) {
    FMode = FRunDirection == tedIn ? smIn : smOut;
    FStretchNew = FSqueezeOld = false;
  } else {
    // A corner holds one moving image only: a stretched new image wins, then a squeezed old one.
    FMode = (!ElasticNew && (ElasticOld || Out)) ? smSlideOut : smSlideIn;
    FStretchNew = ElasticNew;
    FSqueezeOld = !ElasticNew && ElasticOld;
  }
  FFull = Rect(0, 0, W, H);
  FDrawFromBitmaps = Run().OldLookPainted();
  FSavedStretchMode = Data.Canvas().StretchMode();
  Data.Canvas().SetStretchMode(COLORONCOLOR);

  switch (FRunDirection) {
    case tedDown:
    case tedUp: Frames = H; break;
    case tedRight:
    case tedLeft: Frames = W; break;
    case tedIn:
    case tedOut: Frames = std::max(W, H) / 2; break;
    default: Frames = std::max(W, H); break;
  }
}

void TSlideTransition::Finalize(TTETransitionData& Data) {
  Data.Canvas().SetStretchMode(FSavedStretchMode);
  FrameEnabled = true;
  TTimedTransitionEffect::Finalize(Data);
}

// Straight runs advance Frame pixels a frame on their axis; diagonal ones cover both sides in the
// same number of frames, each at its own speed.
TSlideTransition::TPlace TSlideTransition::PlaceAt(int Frame, int TotalFrames) const {
  const int W = FFull.Right, H = FFull.Bottom;
  int X = Frame, Y = Frame;
  if (!IsStraight(FRunDirection)) {
    X = RoundHalfEven(std::int64_t{W} * Frame, TotalFrames);
    Y = RoundHalfEven(std::int64_t{H} * Frame, TotalFrames);
  }
  const TPoint U = Heading(FRunDirection);
  TPlace P;
  // The new image travels in from beyond the side it enters; the old one leaves from home.
  P.NewOffset = {U.X * (X - W), U.Y * (Y - H)};
  P.OldOffset = {U.X * X, U.Y * Y};
  P.Entry = Intersection(FFull, Moved(FFull, P.NewOffset));
  P.Remaining = Intersection(FFull, Moved(FFull, P.OldOffset));
  return P;
}

TRect TSlideTransition::CentreAt(int Frame, int TotalFrames) const {
  const int W = FFull.Right, H = FFull.Bottom;
  const int X = RoundHalfEven(std::int64_t{W} * Frame, TotalFrames);
  const int Y = RoundHalfEven(std::int64_t{H} * Frame, TotalFrames);
  const int A = FMode == smIn ? X / 2 : (W - X) / 2;
  const int B = FMode == smIn ? Y / 2 : (H - Y) / 2;
  return Rect(A, B, W - A, H - B);
}

void TSlideTransition::ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                                    int LastExecutedFrame) {
  TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
  TCanvas& Canvas = Data.Canvas();
  switch (FMode) {
    case smSlideIn:
      SlideInFrame(Data, PlaceAt(LastExecutedFrame, TotalFrames), PlaceAt(CurrentFrame, TotalFrames));
      break;
    case smSlideOut:
      SlideOutFrame(Data, PlaceAt(LastExecutedFrame, TotalFrames), PlaceAt(CurrentFrame, TotalFrames));
      break;
    case smIn: {
      // The new image shows in place around the shrinking old one.
      const TRect P = CentreAt(LastExecutedFrame, TotalFrames), R = CentreAt(CurrentFrame, TotalFrames);
      TCanvas& New = Data.DstBmp->Canvas();
      CopyAt(Canvas, Rect(P.Left, R.Bottom, P.Right, P.Bottom), New, {});
      CopyAt(Canvas, Rect(P.Left, P.Top, P.Right, R.Top), New, {});
      CopyAt(Canvas, Rect(P.Left, R.Top, R.Left, R.Bottom), New, {});
      CopyAt(Canvas, Rect(R.Right, R.Top, P.Right, R.Bottom), New, {});
      StretchOnto(Canvas, R, *Data.SrcBmp);
      UpdateRect = P;
      break;
    }
    case smOut: {
      const TRect R = CentreAt(CurrentFrame, TotalFrames);
      StretchOnto(Canvas, R, *Data.DstBmp);
      UpdateRect = R;
      break;
    }
  }
  // A frame that changed nothing (a corner still 0 pixels deep on one side) is not shown: an
  // empty UpdateRect would stand for the whole area.
  FrameEnabled = !UpdateRect.IsEmpty();
}

// The new image moves in over the old one. Drawn from its bitmap it is copied whole into its area;
// on the scroll way what it showed last frame is scrolled on and only what that leaves out is
// drawn: the same pixels.
void TSlideTransition::SlideInFrame(TTETransitionData& Data, const TPlace& Prev, const TPlace& Now) {
  TCanvas& Canvas = Data.Canvas();
  TCanvas& New = Data.DstBmp->Canvas();
  if (FStretchNew) {
    StretchOnto(Canvas, Now.Entry, *Data.DstBmp);
  } else if (FDrawFromBitmaps) {
    CopyAt(Canvas, Now.Entry, New, Now.NewOffset);
  } else {
    const TPoint By{Now.NewOffset.X - Prev.NewOffset.X, Now.NewOffset.Y - Prev.NewOffset.Y};
    if (!Prev.Entry.IsEmpty()) Canvas.ScrollDC(By.X, By.Y, Prev.Entry, FFull);
    ForEachPieceOutside(Now.Entry, ScrolledInto(Prev.Entry, By),
                        [&](const TRect& Piece) { CopyAt(Canvas, Piece, New, Now.NewOffset); });
  }
  UpdateRect = Now.Entry;
  if (FSqueezeOld) {
    StretchOnto(Canvas, Now.Remaining, *Data.SrcBmp);
    UpdateRect = FFull;
  }
}

// The old image moves away and uncovers the new one. Rigid on the scroll way, the old image's
// pixels on the screen are scrolled on: the area it keeps is exactly where they land.
void TSlideTransition::SlideOutFrame(TTETransitionData& Data, const TPlace& Prev, const TPlace& Now) {
  TCanvas& Canvas = Data.Canvas();
  TCanvas& Old = Data.SrcBmp->Canvas();
  if (FSqueezeOld) {
    StretchOnto(Canvas, Now.Remaining, *Data.SrcBmp);
  } else if (FDrawFromBitmaps) {
    CopyAt(Canvas, Now.Remaining, Old, Now.OldOffset);
  } else {
    const TPoint By{Now.OldOffset.X - Prev.OldOffset.X, Now.OldOffset.Y - Prev.OldOffset.Y};
    if (!Prev.Remaining.IsEmpty()) Canvas.ScrollDC(By.X, By.Y, Prev.Remaining, FFull);
    ForEachPieceOutside(Now.Remaining, ScrolledInto(Prev.Remaining, By),
                        [&](const TRect& Piece) { CopyAt(Canvas, Piece, Old, Now.OldOffset); });
  }
  UpdateRect = Prev.Remaining;
  if (FStretchNew) {
    StretchOnto(Canvas, Now.Entry, *Data.DstBmp);
    UnionRect(UpdateRect, UpdateRect, Now.Entry);
  } else {
    TCanvas& New = Data.DstBmp->Canvas();
    ForEachPieceOutside(Prev.Remaining, Now.Remaining,
                        [&](const TRect& Piece) { CopyAt(Canvas, Piece, New, {}); });
  }
}

}  // namespace vte
