#pragma once
// The pixel sets of the canvas's shapes, as device rectangles (rows of one pixel, or for steep
// lines columns of one pixel) ready for TCanvas::FillSpans. Pure integer arithmetic: a shape drawn
// twice, or by two neighbouring calls, covers exactly the same pixels, so effects that build a
// picture from many small shapes (wedges, discs of growing radius) leave no seams.
//
// A pixel (x, y) stands for its centre (x + 1/2, y + 1/2); all decisions are made in doubled
// coordinates so that centres are odd integers and never fall on an integer vertex.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "gdi/geometry.h"

namespace vte {

// The row interval [Left, Right) of the ellipse inscribed in Bounds on row Y: the pixels whose
// centres lie inside or on the ellipse of centre ((L+R)/2, (T+B)/2) and semi-axes (R-L)/2,
// (B-T)/2. False (and an empty interval) when the row has no such pixel.
bool EllipseRow(const TRect& Bounds, int Y, int& Left, int& Right);

// floor(sqrt(N)) for N < 2^52, where a double holds N exactly and its rounded root is off by at
// most one, which the two checks mend.
inline std::uint64_t FloorSqrt(std::uint64_t N) {
  std::uint64_t X = static_cast<std::uint64_t>(__builtin_sqrt(static_cast<double>(N)));
  if (X * X > N) --X;
  else if ((X + 1) * (X + 1) <= N) ++X;
  return X;
}

// Row Y of the circle of radius R (0 <= R < 2^24) about the pixel corner C: EllipseRow of
// Rect(C.X - R, C.Y - R, C.X + R, C.Y + R) is [C.X - h, C.X + h) for the h returned (0: empty).
// Inline and without division, for effects that walk a circle's rows every frame.
inline int CircleRowHalf(int R, int Y, int CentreY) {
  // Doubled: the pixel centre's offset Dy is odd; inside when Dx^2 + Dy^2 <= (2R)^2, and with
  // an even doubled centre the admissible |Dx| <= D give ceil(D / 2) pixels each side.
  const std::int64_t Dy = 2 * (std::int64_t{Y} - CentreY) + 1, R2 = 2 * std::int64_t{R};
  if (Dy >= R2 || -Dy >= R2) return 0;
  const std::uint64_t D = FloorSqrt(static_cast<std::uint64_t>(R2 * R2 - Dy * Dy));
  return static_cast<int>((D + 1) / 2);
}

struct TEllipseSpans {
  std::vector<TRect> Interior;  // inside pixels whose four neighbours are all inside
  std::vector<TRect> Outline;   // inside pixels with a 4-neighbour outside
};

// The ellipse's rows FirstRow <= y < LastRow (clamped to Bounds), split into interior and outline.
// Rows outside the range are still consulted as neighbours, so a limited range gives the same
// pixels as the full ellipse would on those rows.
TEllipseSpans EllipseSpans(const TRect& Bounds, int FirstRow, int LastRow);
// All inside pixels of those rows, one span a row.
std::vector<TRect> EllipseInsideSpans(const TRect& Bounds, int FirstRow, int LastRow);

// Alternate (even-odd) fill of the closed polygon on rows FirstRow <= y < LastRow: a pixel is
// inside when its centre is. Edges are half-open in y; a centre exactly on a left edge is inside,
// on a right edge outside, so polygons sharing an edge split its pixels without gap or overlap.
std::vector<TRect> PolygonSpans(const std::vector<TPoint>& Points, int FirstRow, int LastRow);
void AppendPolygonSpans(const std::vector<TPoint>& Points, int FirstRow, int LastRow, std::vector<TRect>& Out);
// The outline the canvas's pen gives a polygon, only the pixels inside Limit: each side from its
// vertex to the next one without that one (where the next side starts); a vertex whose side has
// no length alone.
void AppendPolygonOutline(const std::vector<TPoint>& Points, const TRect& Limit, std::vector<TRect>& Out);

// The one-pixel line from From to To without To, only the pixels inside Limit. Along the major
// axis (x when |dx| >= |dy|) there is one pixel per step; the minor coordinate is the ideal one
// rounded half up, computed from the fixed endpoints, so the line's pixels do not depend on the
// direction it is drawn in (apart from the left-out end). From == To gives nothing.
std::vector<TRect> LineSpans(TPoint From, TPoint To, const TRect& Limit);

// The Append forms add to Out: no allocation once Out has room, for shapes drawn every frame.
void AppendLineSpans(TPoint From, TPoint To, const TRect& Limit, std::vector<TRect>& Out);

// Where the walk along a line's major axis u starts: the set-up of the line's pixels, so that the
// walk itself needs no 128-bit arithmetic and no test per pixel. Every u in [First, Last) is drawn
// (the left-out end and the pixels outside the limit are already cut off); at First v = VA + Q,
// and each step along u adds TwoDv to the remainder Rem (0 <= Rem < Den), Q moving by one where
// Rem leaves that range.
struct TLineWalk {
  bool XMajor = true;
  std::int64_t First = 0, Last = 0;
  std::int64_t VA = 0, Q = 0, Rem = 0, TwoDv = 0, Den = 1;
};
TLineWalk StartLineWalk(TPoint From, TPoint To, const TRect& Limit);

// Calls Run(R) for each rectangle of LineSpans(From, To, Limit), in the same order, without a
// list: for a line drawn every frame, straight into the work.
template <class F> void ForEachLineRun(TPoint From, TPoint To, const TRect& Limit, F&& Run) {
  TLineWalk W = StartLineWalk(From, To, Limit);
  if (W.First >= W.Last) return;
  const auto Emit = [&](std::int64_t U0, std::int64_t U1) {
    const int A = static_cast<int>(U0), B = static_cast<int>(U1), C = static_cast<int>(W.VA + W.Q);
    Run(W.XMajor ? Rect(A, C, B, C + 1) : Rect(C, A, C + 1, B));
  };
  if (W.TwoDv == 0) return Emit(W.First, W.Last);
  // Run by run rather than pixel by pixel: the steps from a run's first pixel to the next v come
  // from the remainder. After the first run the remainder lies within one step's worth of a
  // change of v, where the count of steps takes only two neighbouring values: one comparison a
  // run picks it.
  const bool Up = W.TwoDv > 0;
  const std::int64_t Step = Up ? W.TwoDv : -W.TwoDv;
  const auto StepsFrom = [&](std::int64_t Rem) { return Up ? (W.Den - Rem + Step - 1) / Step : Rem / Step + 1; };
  const std::int64_t Fewest = Up ? StepsFrom(Step - 1) : StepsFrom(W.Den - Step);
  std::int64_t U = W.First, Steps = StepsFrom(W.Rem);
  for (;;) {
    const std::int64_t End = std::min(U + Steps, W.Last);
    Emit(U, End);
    if (End >= W.Last) return;
    U = End;
    if (Up) {
      W.Rem += Steps * Step - W.Den;
      ++W.Q;
      Steps = W.Rem + Fewest * Step >= W.Den ? Fewest : Fewest + 1;
    } else {
      W.Rem += W.Den - Steps * Step;
      --W.Q;
      Steps = W.Rem - Fewest * Step < 0 ? Fewest : Fewest + 1;
    }
  }
}

}  // namespace vte
