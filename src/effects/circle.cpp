#include "effects/circle.h"

#include <algorithm>
#include <cmath>

#include "engine/dirty_rects.h"
#include "gdi/canvas.h"
#include "gdi/rasterizer.h"

namespace vte {

namespace {

// Nearest integer; the square root of an integer never lies halfway.
int RoundSqrt(double Value) { return static_cast<int>(std::lround(std::sqrt(Value))); }

// The depth of the bands that cover a growing ring for the frame's work and screen copy.
constexpr int CoverBand = 16;

TRect Square(TPoint C, int R) { return Rect(C.X - R, C.Y - R, C.X + R, C.Y + R); }

TRect Grown(TRect R, int By) {
  InflateRect(R, By, By);
  return R;
}

}  // namespace

TCircleTransition::TCircleTransition(QObject* Owner) : TMaskedTransition(Owner) { SetStyleCount(3); }

int TCircleTransition::GetSubStyleCount(int Style) const {
  switch (Style) {
    case 0: return 0;
    case 1: return 2;
    case 2:
    case 3: return 8;
    default: return 1;
  }
}

int TCircleTransition::GetReversedSubStyle(int Style, int S) const {
  if (Style == 1 && (S == 1 || S == 2)) return 3 - S;
  if ((Style == 2 || Style == 3) && S >= 1 && S <= 8) return S <= 4 ? S + 4 : S - 4;
  return S;
}

bool TCircleTransition::MaskIsInverted() const {
  const int S = SubStyleToUse();
  return StyleToUse() == 1 ? S == 2 : S >= 5;
}

TPoint TCircleTransition::CircleCentre(int W, int H) const {
  const int S = (SubStyleToUse() - 1) % 4;
  switch (StyleToUse()) {
    case 2: {
      constexpr TPoint Corners[4] = {{0, 0}, {1, 1}, {0, 1}, {1, 0}};
      return {Corners[S].X * W, Corners[S].Y * H};
    }
    case 3: {
      const TPoint Sides[4] = {{0, H / 2}, {W, H / 2}, {W / 2, 0}, {W / 2, H}};
      return Sides[S];
    }
    default: return {W / 2, H / 2};
  }
}

void TCircleTransition::Initialize(TTETransitionData& Data, int& Frames) {
  TMaskedTransition::Initialize(Data, Frames);
  DirtyRects->ClipToBounds = true;
  FRows.assign(static_cast<std::size_t>(Data.Height), {0, 0});
  FRowsRadius = -1;
}

int TCircleTransition::CalcShapeFrames(const TTETransitionData& Data) {
  const double W = Data.Width, H = Data.Height, W2 = Data.Width / 2, H2 = Data.Height / 2;
  switch (StyleToUse()) {
    case 2: return RoundSqrt(H * H + W * W) + 1;
    case 3: return (SubStyleToUse() - 1) % 4 < 2 ? RoundSqrt(H2 * H2 + W * W) + 1 : RoundSqrt(H * H + W2 * W2) + 1;
    default: return RoundSqrt(H2 * H2 + W2 * W2) + 1;
  }
}

int TCircleTransition::Radius(int F) const {
  const int N = ShapeFrames(), R = MaskIsInverted() ? N - F : F;
  // The frame count rounds the distance to the farthest corner, which can leave a corner pixel's
  // centre just outside the circle of the full radius.
  return R >= N ? N + 1 : R;
}

void TCircleTransition::PaintMask(TBitmap& Mask, int Cur, int Step, int /*TotalFrames*/, int Prev,
                                  const TTETransitionData& Data, bool Draw, bool Final) {
  const TPoint C = CircleCentre(Data.Width, Data.Height);
  const auto Square = [&](int R) { return vte::Square(C, R); };
  // The largest axis-aligned square inside the circle of radius R.
  const auto Inscribed = [&](int R) { return Grown(Square(R), RoundSqrt((R * R) / 2) - R); };
  TCanvas& Canvas = Mask.Canvas();

  if (!MaskIsInverted()) {
    UpdateRect = Square(Radius(Cur));
    if (Draw) Canvas.Ellipse(UpdateRect);
    // The square inside the previous circle, which this frame cannot change.
    UnchangedRect = Grown(Inscribed(Radius(Prev)), -1);
    // The frame changes a ring: its pieces, so that the work and the screen copy stay on it. The
    // smoothed ring is wide and every pixel of it mixed: its pieces keep to the level routines'
    // finer groups.
    if (Final) DirtyRects->AddRingCover(C, Radius(Prev), Radius(Cur), CoverBand, WorkAlign());
    return;
  }

  // A shrinking circle is where the old image still shows. The plain path reveals what lies
  // outside the circle of this frame. The smoothed path gives the ring a frame reveals a level by
  // painting the circle before the frame at that level, and the next frame's circle over it.
  const bool Smooth = SmoothingActive();
  const int Before = Radius(Prev), After = Radius(Cur), Painted = Smooth ? Before : After;
  if (StyleToUse() == 1) {
    IntersectRect(UnchangedRect, Inscribed(After), Grown(Square(Before), Step));
    UpdateRect = Square(Before);
    if (!Draw) return;
    // The smoothed path leaves the inside of the square alone: circles painted later in the same
    // frame cover it.
    const bool Clip = Smooth && !UnchangedRect.IsEmpty();
    if (Clip) {
      Canvas.SaveDC();
      Canvas.ExcludeClipRect(Grown(UnchangedRect, -1));
    }
    Canvas.Ellipse(Square(Painted));
    if (Clip) Canvas.RestoreDC(-1);
  } else {
    UpdateRect = Grown(Square(Before), Step);
    UnchangedRect = Inscribed(After);
    if (Draw) Canvas.Ellipse(Square(Painted));
  }
}

// A change turns new the ring between the circles of the two frames' radii: on each row, the
// outer circle's interval minus the inner one's, whichever of the two the frame grew or shrank
// from. The rows are the rasteriser's, so the pixels are those the mask's discs give.
void TCircleTransition::RevealSpans(const TNewSpans& Spans, int Cur, int /*Step*/, int Prev,
                                    const TTETransitionData& Data) {
  const TPoint C = CircleCentre(Data.Width, Data.Height);
  const int From = Radius(Prev), To = Radius(Cur), H = Data.Height;
  const auto RowOf = [&](int Radius, int Y) {
    const int Half = CircleRowHalf(Radius, Y, C.Y);
    return Half > 0 ? std::pair<int, int>{C.X - Half, C.X + Half} : std::pair<int, int>{0, 0};
  };
  if (FRowsRadius != From)
    for (int Y = 0; Y < H; ++Y) FRows[Y] = RowOf(From, Y);
  const int Reach = std::max(From, To), Top = std::max(C.Y - Reach, 0), Bottom = std::min(C.Y + Reach, H);
  for (int Y = Top; Y < Bottom; ++Y) {
    const auto [PL, PR] = FRows[Y];
    const auto [L, R] = FRows[Y] = RowOf(To, Y);
    if (PR <= PL) {
      Spans.Row(Y, L, R);
    } else if (R <= L) {
      Spans.Row(Y, PL, PR);
    } else {
      // Nested intervals: their difference is at each end.
      Spans.Row(Y, std::min(L, PL), std::max(L, PL));
      Spans.Row(Y, std::min(R, PR), std::max(R, PR));
    }
  }
  FRowsRadius = To;
}

}  // namespace vte
