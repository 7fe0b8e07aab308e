#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "gdi/bitmap.h"
#include "gdi/canvas.h"
#include "gdi/random.h"
#include "gdi/rasterizer.h"
#include "support/bitmap_support.h"

namespace vte {
namespace {

using Pixels = std::set<std::pair<int, int>>;  // (x, y)

// The colour a format actually stores for C (palette formats: the nearest entry).
TColor Stored(const TBitmap& B, TColor C) {
  return QRgbToColor(DecodePixel(B.PixelFormat(), B.Palette(),
                                 EncodePixel(B.PixelFormat(), B.Palette(), ColorToQRgb(C))));
}

Pixels PixelsOf(const TBitmap& B, TColor C) {
  Pixels Out;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (B.PixelColor(X, Y) == C) Out.insert({X, Y});
  return Out;
}

Pixels PixelsOf(const std::vector<TRect>& Spans) {
  Pixels Out;
  for (const TRect& R : Spans)
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) Out.insert({X, Y});
  return Out;
}

// The pixel-centre rule written out per pixel, independent of the row solving of the rasteriser:
// (2x+1 - (L+R))^2 (B-T)^2 + (2y+1 - (T+B))^2 (R-L)^2 <= (R-L)^2 (B-T)^2.
bool InEllipse(const TRect& R, int X, int Y) {
  const std::int64_t A2 = R.Right - R.Left, B2 = R.Bottom - R.Top;
  const std::int64_t Dx = 2 * std::int64_t{X} + 1 - (std::int64_t{R.Left} + R.Right);
  const std::int64_t Dy = 2 * std::int64_t{Y} + 1 - (std::int64_t{R.Top} + R.Bottom);
  return Dx * Dx * B2 * B2 + Dy * Dy * A2 * A2 <= A2 * A2 * B2 * B2;
}

// Even-odd by pixel centres, counted per pixel with exact cross-multiplied comparisons: an edge
// counts when its half-open y range holds the centre row and it crosses at or left of the centre.
bool InPolygon(const std::vector<TPoint>& P, int X, int Y) {
  bool In = false;
  for (std::size_t I = 0; I < P.size(); ++I) {
    TPoint A = P[I], B = P[(I + 1) % P.size()];
    if (A.Y == B.Y) continue;
    if (A.Y > B.Y) std::swap(A, B);
    if (Y < A.Y || Y >= B.Y) continue;
    const std::int64_t Dy = B.Y - A.Y;
    // 2 Xi <= 2x + 1, times Dy > 0.
    if (2 * std::int64_t{A.X} * Dy + std::int64_t{B.X - A.X} * (2 * Y + 1 - 2 * A.Y) <= (2 * std::int64_t{X} + 1) * Dy)
      In = !In;
  }
  return In;
}

// Paints the whole bitmap, leaving the canvas state as it was.
void Fill(TBitmap& B, TColor C) {
  TCanvas& Cv = B.Canvas();
  const int Saved = Cv.SaveDC();
  Cv.SelectClipRect(nullptr);
  Cv.SetWindowOrigin(Point(0, 0));
  Cv.Brush() = TBrush{};
  Cv.Brush().Color = C;
  Cv.Pen().Style = psClear;
  Cv.Rectangle(Rect(0, 0, B.Width(), B.Height()));
  Cv.RestoreDC(Saved);
}

// ---------------------------------------------------------------------------------------------
// Ellipses

TEST(ShapeEllipse, RowsFollowThePixelCentreRule) {
  // Odd and even extents, thin ones, negative positions: the solved row intervals must agree with
  // the per-pixel inequality on every pixel of the bounding box and one pixel around it.
  for (int W = 1; W <= 23; ++W)
    for (int H = 1; H <= 23; H += (H < 6 ? 1 : 4)) {
      const TRect R = Bounds(-7 + W % 5, 3 - H % 4, W, H);
      for (int Y = R.Top - 1; Y <= R.Bottom; ++Y) {
        int L = 0, Rt = 0;
        const bool Any = EllipseRow(R, Y, L, Rt);
        for (int X = R.Left - 1; X <= R.Right; ++X) {
          const bool Expected = InEllipse(R, X, Y) && X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
          ASSERT_EQ(Any && X >= L && X < Rt, Expected) << W << "x" << H << " at " << X << "," << Y;
        }
      }
    }
  int L = 0, Rt = 0;
  EXPECT_FALSE(EllipseRow(Rect(5, 5, 5, 9), 6, L, Rt));  // empty rect
}

TEST(ShapeEllipse, LargeRowsAndTheInlineCircleRowsFollowThePixelCentreRule) {
  // Axes about 2^15, where the row bound leaves 64-bit arithmetic: the pixels at both ends of
  // each sampled row and just outside them.
  for (const TRect& R : {Bounds(-3, 5, 32767, 20001), Bounds(11, -2, 32768, 32767), Bounds(0, 0, 40001, 39998)})
    for (int Y = R.Top; Y < R.Bottom; Y += 997) {
      int L = 0, Rt = 0;
      ASSERT_TRUE(EllipseRow(R, Y, L, Rt));
      EXPECT_TRUE(InEllipse(R, L, Y) && InEllipse(R, Rt - 1, Y)) << Y;
      EXPECT_FALSE(InEllipse(R, L - 1, Y) || InEllipse(R, Rt, Y)) << Y;
    }
  // Circles up to the largest radius the inline rows take; rows through the middle, the edges
  // and at random, each checked against the exact inequality and against EllipseRow.
  RandSeed = 3;
  for (const int R : {0, 1, 2, 7, 1000, 40000, (1 << 24) - 1}) {
    const TPoint C{R % 13 - 5, 17 - R % 7};
    for (int I = 0; I < 300; ++I) {
      const int Y = I < 8 ? C.Y - R - 1 + I : I < 16 ? C.Y + R - 12 + I : C.Y - R + Random(2 * R + 1);
      const int Half = CircleRowHalf(R, Y, C.Y);
      const auto Inside = [&](int X) {
        const std::int64_t Dx = 2 * (std::int64_t{X} - C.X) + 1, Dy = 2 * (std::int64_t{Y} - C.Y) + 1;
        return Dx * Dx + Dy * Dy <= 4 * std::int64_t{R} * R;
      };
      ASSERT_EQ(Half > 0, Inside(C.X)) << R << " row " << Y;
      if (Half > 0) ASSERT_TRUE(Inside(C.X - Half) && !Inside(C.X - Half - 1) && !Inside(C.X + Half)) << R << " row " << Y;
      int L = 0, Rt = 0;
      EllipseRow(Rect(C.X - R, C.Y - R, C.X + R, C.Y + R), Y, L, Rt);
      ASSERT_EQ(Rt - L, 2 * Half) << R << " row " << Y;
    }
  }
  // The double's root next to perfect squares, up to the 2^52 limit.
  for (const std::uint64_t K : {1ull, 2ull, 46341ull, (1ull << 26) - 1, (1ull << 26)})
    for (const std::uint64_t N : {K * K - 1, K * K, K * K + 2 * K})
      if (N < (1ull << 52)) EXPECT_EQ(FloorSqrt(N), N == K * K - 1 ? K - 1 : K) << N;
}

TEST(ShapeEllipse, DiscsOfOneCentreNestAndAreRound) {
  const int Cx = 205, Cy = 203, Size = 410;
  TBitmap Bmp(Size, Size, pf8bit);
  TCanvas& C = Bmp.Canvas();
  std::vector<char> Previous(Size * Size, 0), Disc(Size * Size, 0);
  std::size_t PreviousCount = 0;
  for (int R = 1; R <= 200; ++R) {
    Fill(Bmp, clWhite);
    C.Pen().Color = clBlack;
    C.Brush().Color = clBlack;
    C.Ellipse(Rect(Cx - R, Cy - R, Cx + R, Cy + R));
    std::size_t Count = 0;
    std::fill(Disc.begin(), Disc.end(), 0);
    for (int Y = 0; Y < Size; ++Y)
      for (int X = 0; X < Size; ++X)
        if (Bmp.PixelColor(X, Y) == clBlack) Disc[Y * Size + X] = 1, ++Count;
    for (int Y = 0; Y < Size; ++Y)
      for (int X = 0; X < Size; ++X) {
        const char In = Disc[Y * Size + X];
        ASSERT_TRUE(In || !Previous[Y * Size + X]) << "r=" << R << " lost " << X << "," << Y;
        if (!In) continue;
        // Four-fold symmetry about the centre (a pixel corner), and the diagonal one of a circle.
        ASSERT_TRUE(Disc[Y * Size + (2 * Cx - 1 - X)]) << "r=" << R << " " << X << "," << Y;
        ASSERT_TRUE(Disc[(2 * Cy - 1 - Y) * Size + X]) << "r=" << R << " " << X << "," << Y;
        ASSERT_TRUE(Disc[(X - Cx + Cy) * Size + (Y - Cy + Cx)]) << "r=" << R << " " << X << "," << Y;
      }
    ASSERT_GT(Count, PreviousCount) << "r=" << R;
    // Plausibility only: the pixel count of a disc is close to its area.
    if (R >= 10) {
      const double Area = 3.14159265358979 * R * R;
      ASSERT_NEAR(static_cast<double>(Count), Area, 0.03 * Area) << "r=" << R;
    }
    std::swap(Previous, Disc);
    PreviousCount = Count;
  }
  EXPECT_EQ(PreviousCount, PixelsOf(EllipseInsideSpans(Rect(Cx - 200, Cy - 200, Cx + 200, Cy + 200),
                                                       -1000, 1000)).size());
}

TEST(ShapeEllipse, PenOnTheOutlineBrushInsideWithinTheRect) {
  for (const TRect& R : {Rect(10, 20, 71, 44), Rect(3, 4, 30, 61), Rect(5, 5, 45, 7), Rect(8, 9, 9, 30)}) {
    TBitmap Bmp(80, 70, pf32bit);
    TCanvas& C = Bmp.Canvas();
    C.Pen().Color = clRed;
    C.Brush().Color = clBlue;
    C.Ellipse(R);
    const Pixels Red = PixelsOf(Bmp, clRed), Blue = PixelsOf(Bmp, clBlue);
    int MinX = 1000, MaxX = -1, MinY = 1000, MaxY = -1;
    for (int Y = 0; Y < Bmp.Height(); ++Y)
      for (int X = 0; X < Bmp.Width(); ++X) {
        const bool In = InEllipse(R, X, Y) && PtInRect(R, Point(X, Y));
        const bool Border = In && !(InEllipse(R, X - 1, Y) && InEllipse(R, X + 1, Y) &&
                                    InEllipse(R, X, Y - 1) && InEllipse(R, X, Y + 1));
        const TColor Want = !In ? clWhite : Border ? clRed : clBlue;
        ASSERT_EQ(Bmp.PixelColor(X, Y), Want) << X << "," << Y;
        if (In) {
          MinX = std::min(MinX, X), MaxX = std::max(MaxX, X);
          MinY = std::min(MinY, Y), MaxY = std::max(MaxY, Y);
        }
      }
    // Inscribed: stays inside and touches all four sides. (A very flat one, 40 x 2, has no pixel
    // centre near its narrow ends: its first row starts 3 pixels in.)
    EXPECT_EQ(MinY, R.Top);
    EXPECT_EQ(MaxY, R.Bottom - 1);
    EXPECT_EQ(MinX, R.Height() == 2 ? R.Left + 3 : R.Left);
    EXPECT_EQ(MaxX, R.Height() == 2 ? R.Right - 4 : R.Right - 1);
    EXPECT_FALSE(Red.empty());
    // The thin ellipses are all outline.
    EXPECT_EQ(Blue.empty(), R.Height() <= 2 || R.Width() <= 2);
  }
}

TEST(ShapeEllipse, ClearPenLetsTheBrushCoverTheWholeEllipse) {
  const TRect R = Rect(4, 6, 37, 27);
  TBitmap Bmp(40, 30, pf24bit);
  TCanvas& C = Bmp.Canvas();
  C.Pen().Style = psClear;
  C.Brush().Color = clGreen;
  C.Ellipse(R);
  Pixels Want;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X)
      if (InEllipse(R, X, Y)) Want.insert({X, Y});
  EXPECT_EQ(PixelsOf(Bmp, clGreen), Want);
  // A clear brush with a solid pen leaves the inside alone.
  Fill(Bmp, clWhite);
  C.Pen().Style = psSolid;
  C.Brush().Style = bsClear;
  C.Ellipse(R);
  EXPECT_EQ(Bmp.PixelColor(20, 16), clWhite);
  EXPECT_EQ(Bmp.PixelColor(R.Left, 16), clBlack);
}

TEST(ShapeEllipse, HugeBoundsStayExact) {
  // A disc far larger than the bitmap covers all of it; only visible rows are computed.
  TBitmap Bmp(64, 48, pf32bit);
  TCanvas& C = Bmp.Canvas();
  C.Pen().Color = clRed;
  C.Brush().Color = clBlue;
  C.Ellipse(Rect(-1000000000, -1000000000, 1000000000, 1000000000));
  EXPECT_EQ(PixelsOf(Bmp, clBlue).size(), 64u * 48u);
  // An extreme rectangle: the middle rows reach exactly to its sides.
  int L = 0, R = 0;
  ASSERT_TRUE(EllipseRow(Rect(INT32_MIN + 1, -3, INT32_MAX, 4), 0, L, R));
  EXPECT_EQ(L, INT32_MIN + 1);
  EXPECT_EQ(R, INT32_MAX);
  ASSERT_TRUE(EllipseRow(Rect(-3, INT32_MIN + 1, 4, INT32_MAX), 0, L, R));
  EXPECT_EQ(L, -3);
  EXPECT_EQ(R, 4);
}

// ---------------------------------------------------------------------------------------------
// Polygons

// Wedges from Centre to consecutive points along the border of Box (corners included, uneven
// spacing so that the sides have many slopes): every pixel of Box is covered exactly once.
void CheckWedgeFan(const TRect& Box, TPoint Centre, const int (&Segments)[4]) {
  std::vector<TPoint> Ring;
  const int W = Box.Width(), H = Box.Height();
  for (int I = 0; I < Segments[0]; ++I) Ring.push_back({Box.Left + W * I * I / (Segments[0] * Segments[0]), Box.Top});
  for (int I = 0; I < Segments[1]; ++I) Ring.push_back({Box.Right, Box.Top + H * I / Segments[1]});
  for (int I = 0; I < Segments[2]; ++I) Ring.push_back({Box.Right - W * I / Segments[2], Box.Bottom});
  for (int I = 0; I < Segments[3]; ++I) Ring.push_back({Box.Left, Box.Bottom - (H * I * 3 + I * I) / (Segments[3] * 3 + Segments[3])});
  std::vector<int> Count(static_cast<std::size_t>(W) * H, 0);
  TBitmap Bmp(W, H, pf8bit);
  TCanvas& C = Bmp.Canvas();
  for (std::size_t I = 0; I < Ring.size(); ++I) {
    Fill(Bmp, clWhite);
    C.Pen().Style = psClear;
    C.Brush().Color = clBlack;
    C.Polygon({Centre, Ring[I], Ring[(I + 1) % Ring.size()]});
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X)
        if (Bmp.PixelColor(X, Y) == clBlack) ++Count[static_cast<std::size_t>(Y) * W + X];
  }
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      ASSERT_EQ(Count[static_cast<std::size_t>(Y) * W + X], 1) << "pixel " << X << "," << Y;
}

TEST(ShapePolygon, WedgeFanCoversEveryPixelExactlyOnce) {
  CheckWedgeFan(Rect(0, 0, 240, 160), Point(113, 71), {11, 7, 11, 8});  // 37 wedges
  CheckWedgeFan(Rect(0, 0, 97, 61), Point(3, 58), {13, 9, 5, 17});      // centre near a corner
}

TEST(ShapePolygon, AlternateRuleAgreesPerPixelWithConcaveAndCrossingShapes) {
  const std::vector<std::vector<TPoint>> Shapes = {
      {{50, 2}, {62, 38}, {22, 16}, {78, 16}, {38, 38}},                   // pentagram
      {{2, 2}, {60, 2}, {60, 40}, {40, 40}, {40, 12}, {20, 12}, {20, 40}, {2, 40}},  // concave U
      {{5, 5}, {70, 35}, {70, 5}, {5, 35}},                                 // bow tie
      {{-10, -7}, {33, 49}, {81, -3}, {7, 30}, {90, 28}},                   // beyond the bitmap
      {{10, 10}, {11, 45}, {12, 10}},                                       // a sliver
  };
  for (std::size_t S = 0; S < Shapes.size(); ++S) {
    TBitmap Bmp(80, 44, pf32bit);
    TCanvas& C = Bmp.Canvas();
    C.Pen().Style = psClear;
    C.Brush().Color = clNavy;
    C.Polygon(Shapes[S]);
    for (int Y = 0; Y < Bmp.Height(); ++Y)
      for (int X = 0; X < Bmp.Width(); ++X)
        ASSERT_EQ(Bmp.PixelColor(X, Y) == clNavy, InPolygon(Shapes[S], X, Y))
            << "shape " << S << " at " << X << "," << Y;
  }
  // The pentagram's centre is crossed twice from the left: empty; its points are filled.
  TBitmap Bmp(80, 44, pf32bit);
  TCanvas& C = Bmp.Canvas();
  C.Pen().Style = psClear;
  C.Brush().Color = clNavy;
  C.Polygon(Shapes[0]);
  EXPECT_EQ(Bmp.PixelColor(50, 22), clWhite);
  EXPECT_EQ(Bmp.PixelColor(50, 8), clNavy);
  EXPECT_EQ(Bmp.PixelColor(30, 17), clNavy);
  // The bow tie's halves meet in a point: both halves filled, the ends of the crossing empty.
  C.Polygon(Shapes[2]);
  EXPECT_EQ(Bmp.PixelColor(10, 20), clNavy);
  EXPECT_EQ(Bmp.PixelColor(37, 8), clWhite);
}

TEST(ShapePolygon, SharedEdgesSplitPixelsBetweenNeighbours) {
  // Triangles ABC and ACD on either side of their common edge AC: together they give exactly the
  // quadrilateral ABCD, and no pixel twice, whatever the slope of AC.
  RandSeed = 99;
  int Tried = 0;
  for (int N = 0; N < 400; ++N) {
    const TPoint A{Random(70) - 5, Random(12) - 5}, B{40 + Random(45), Random(50) - 3},
        Cc{Random(90) - 5, 30 + Random(20)}, D{Random(30) - 5, Random(50) - 3};
    const auto Cross = [&](TPoint P) { return (Cc.X - A.X) * (P.Y - A.Y) - (Cc.Y - A.Y) * (P.X - A.X); };
    if (!((Cross(B) > 0 && Cross(D) < 0) || (Cross(B) < 0 && Cross(D) > 0))) continue;
    ++Tried;
    const Pixels P1 = PixelsOf(PolygonSpans({A, B, Cc}, -100, 100));
    const Pixels P2 = PixelsOf(PolygonSpans({A, Cc, D}, -100, 100));
    for (const auto& P : P1) ASSERT_FALSE(P2.count(P)) << "overlap at " << P.first << "," << P.second;
    for (int Y = -6; Y < 52; ++Y)
      for (int X = -6; X < 90; ++X)
        ASSERT_EQ(P1.count({X, Y}) + P2.count({X, Y}), InPolygon({A, B, Cc, D}, X, Y) ? 1u : 0u)
            << "at " << X << "," << Y << " try " << N;
  }
  EXPECT_GT(Tried, 100);
}

TEST(ShapePolygon, OutlineInThePenThroughEveryVertex) {
  const std::vector<TPoint> Tri = {{5, 5}, {40, 12}, {17, 33}};
  TBitmap Bmp(48, 40, pf16bit);
  TCanvas& C = Bmp.Canvas();
  C.Pen().Color = clRed;
  C.Brush().Color = clBlue;
  C.Polygon(Tri);
  for (const TPoint& P : Tri) EXPECT_EQ(Bmp.PixelColor(P.X, P.Y), clRed);
  EXPECT_EQ(Bmp.PixelColor(20, 16), clBlue);
  // The red pixels are exactly the three sides as LineTo draws them.
  Pixels Sides;
  for (int I = 0; I < 3; ++I) {
    const Pixels S = PixelsOf(LineSpans(Tri[I], Tri[(I + 1) % 3], Rect(0, 0, 48, 40)));
    Sides.insert(S.begin(), S.end());
  }
  EXPECT_EQ(PixelsOf(Bmp, clRed), Sides);
  // The pen position is not a polygon's business.
  EXPECT_EQ(C.PenPos(), Point(0, 0));
  // A single point is drawn as its vertex.
  C.Polygon({{44, 36}});
  EXPECT_EQ(Bmp.PixelColor(44, 36), clRed);
}

// ---------------------------------------------------------------------------------------------
// Lines

TEST(LineTo, LeavesOutTheEndAndMovesThePen) {
  TBitmap Bmp(30, 20, pf32bit);
  TCanvas& C = Bmp.Canvas();
  C.MoveTo(3, 4);
  EXPECT_EQ(C.PenPos(), Point(3, 4));
  C.LineTo(10, 4);
  EXPECT_EQ(C.PenPos(), Point(10, 4));
  Pixels Want;
  for (int X = 3; X < 10; ++X) Want.insert({X, 4});
  EXPECT_EQ(PixelsOf(Bmp, clBlack), Want);
  // Continuing from there: the joint is drawn once, by the second line.
  C.LineTo(10, 12);
  for (int Y = 4; Y < 12; ++Y) Want.insert({10, Y});
  EXPECT_EQ(PixelsOf(Bmp, clBlack), Want);
  // Zero length: nothing.
  C.LineTo(10, 12);
  EXPECT_EQ(PixelsOf(Bmp, clBlack), Want);
  // Backwards horizontal and vertical lines: again the pixels without the end point.
  Fill(Bmp, clWhite);
  C.MoveTo(25, 2);
  C.LineTo(20, 2);
  C.MoveTo(1, 18);
  C.LineTo(1, 14);
  Want = {{21, 2}, {22, 2}, {23, 2}, {24, 2}, {25, 2}, {1, 15}, {1, 16}, {1, 17}, {1, 18}};
  EXPECT_EQ(PixelsOf(Bmp, clBlack), Want);
  // A clear pen draws nothing but still moves.
  C.Pen().Style = psClear;
  C.LineTo(29, 19);
  EXPECT_EQ(C.PenPos(), Point(29, 19));
  EXPECT_EQ(PixelsOf(Bmp, clBlack), Want);
}

TEST(LineTo, DiagonalsAreExact) {
  TBitmap Bmp(64, 64, pf8bit);
  TCanvas& C = Bmp.Canvas();
  for (int N = 1; N <= 60; N += 7) {
    // All four 45-degree directions from the corners of an n x n square.
    const TPoint Starts[4] = {{0, 0}, {N, 0}, {0, N}, {N, N}};
    for (const TPoint S : Starts) {
      Fill(Bmp, clWhite);
      C.MoveTo(S.X, S.Y);
      C.LineTo(N - S.X, N - S.Y);
      Pixels Want;
      const int Sx = S.X == 0 ? 1 : -1, Sy = S.Y == 0 ? 1 : -1;
      for (int I = 0; I < N; ++I) Want.insert({S.X + Sx * I, S.Y + Sy * I});
      ASSERT_EQ(PixelsOf(Bmp, clBlack), Want) << "n=" << N << " from " << S.X << "," << S.Y;
    }
  }
}

TEST(LineTo, PixelsFollowTheIdealLineWhicheverWayDrawn) {
  const TRect Big = Rect(-1000, -1000, 1000, 1000);
  RandSeed = 4242;
  for (int N = 0; N < 3400; ++N) {
    // Short lines of every slope, then long ones (runs of many pixels, limits far inside).
    const int Reach = N < 3000 ? 40 : 900;
    const TPoint A{Random(2 * Reach + 1) - Reach, Random(2 * Reach + 1) - Reach},
        B{Random(2 * Reach + 1) - Reach, Random(2 * Reach + 1) - Reach};
    if (A == B) {
      EXPECT_TRUE(LineSpans(A, B, Big).empty());
      continue;
    }
    Pixels Fwd = PixelsOf(LineSpans(A, B, Big)), Back = PixelsOf(LineSpans(B, A, Big));
    ASSERT_FALSE(Fwd.count({B.X, B.Y}));
    ASSERT_TRUE(Fwd.count({A.X, A.Y}));
    const std::int64_t Dx = B.X - A.X, Dy = B.Y - A.Y;
    const bool XMajor = std::abs(Dx) >= std::abs(Dy);
    ASSERT_EQ(static_cast<std::int64_t>(Fwd.size()), std::max(std::abs(Dx), std::abs(Dy)));
    std::set<int> Major;
    for (const auto& [X, Y] : Fwd) {
      // One pixel per step of the major axis, within half a pixel of the ideal line.
      ASSERT_TRUE(Major.insert(XMajor ? X : Y).second);
      const std::int64_t Off = 2 * ((Y - A.Y) * Dx - (X - A.X) * Dy);
      ASSERT_LE(std::abs(Off), XMajor ? std::abs(Dx) : std::abs(Dy))
          << A.X << "," << A.Y << " -> " << B.X << "," << B.Y << " at " << X << "," << Y;
    }
    // The same set both ways once each side's left-out end is added back.
    Fwd.insert({B.X, B.Y});
    Back.insert({A.X, A.Y});
    ASSERT_EQ(Fwd, Back) << A.X << "," << A.Y << " -> " << B.X << "," << B.Y;
    // A limit only removes pixels.
    const TRect Lim = Rect(-11, -7, 13, 19);
    Pixels Cut;
    for (const auto& P : PixelsOf(LineSpans(A, B, Big)))
      if (PtInRect(Lim, Point(P.first, P.second))) Cut.insert(P);
    ASSERT_EQ(PixelsOf(LineSpans(A, B, Lim)), Cut);
  }
}

TEST(LineTo, FarEndpointsAreClippedExactly) {
  TBitmap Bmp(50, 40, pf32bit);
  TCanvas& C = Bmp.Canvas();
  C.MoveTo(-1000000000, -1000000000);
  C.LineTo(1000000000, 1000000000);
  Pixels Want;
  for (int I = 0; I < 40; ++I) Want.insert({I, I});
  EXPECT_EQ(PixelsOf(Bmp, clBlack), Want);
  Fill(Bmp, clWhite);
  C.MoveTo(2000000000, 7);
  C.LineTo(-2000000000, 7);
  Want.clear();
  for (int X = 0; X < 50; ++X) Want.insert({X, 7});
  EXPECT_EQ(PixelsOf(Bmp, clBlack), Want);
}

// ---------------------------------------------------------------------------------------------
// Rectangles

TEST(ShapeRectangle, PenOnTheBorderBrushInside) {
  TBitmap Bmp(20, 16, pf32bit);
  TCanvas& C = Bmp.Canvas();
  C.Pen().Color = clRed;
  C.Brush().Color = clBlue;
  const TRect R = Rect(2, 3, 9, 8);
  C.Rectangle(R);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 20; ++X) {
      const bool In = PtInRect(R, Point(X, Y));
      const bool Edge = In && (X == R.Left || X == R.Right - 1 || Y == R.Top || Y == R.Bottom - 1);
      ASSERT_EQ(Bmp.PixelColor(X, Y), !In ? clWhite : Edge ? clRed : clBlue) << X << "," << Y;
    }
  // Rectangles too small for an inside are all pen.
  Fill(Bmp, clWhite);
  C.Rectangle(Rect(12, 1, 14, 6));
  C.Rectangle(Rect(16, 10, 17, 11));
  EXPECT_EQ(PixelsOf(Bmp, clRed).size(), 11u);
  EXPECT_TRUE(PixelsOf(Bmp, clBlue).empty());
  // A clear pen: the brush covers all of the rectangle.
  Fill(Bmp, clWhite);
  C.Pen().Style = psClear;
  C.Rectangle(R);
  EXPECT_EQ(PixelsOf(Bmp, clBlue).size(), 35u);
  EXPECT_EQ(Bmp.PixelColor(8, 7), clBlue);
  // Empty and inverted rectangles draw nothing.
  Fill(Bmp, clWhite);
  C.Pen().Style = psSolid;
  C.Rectangle(Rect(5, 5, 5, 10));
  C.Rectangle(Rect(9, 9, 4, 4));
  EXPECT_EQ(PixelsOf(Bmp, clWhite).size(), 320u);
}

TEST(ShapeRectangle, FrameRectUsesTheBrushOnTheBorderOnly) {
  TBitmap Bmp(20, 16, pf4bit);
  TCanvas& C = Bmp.Canvas();
  C.Pen().Color = clRed;
  C.Brush().Color = clBlue;
  C.FrameRect(Rect(1, 2, 12, 9));
  EXPECT_EQ(PixelsOf(Bmp, clBlue).size(), 2u * 11 + 2u * 5);
  EXPECT_EQ(Bmp.PixelColor(5, 5), clWhite);
  EXPECT_EQ(Bmp.PixelColor(11, 8), clBlue);
  EXPECT_TRUE(PixelsOf(Bmp, clRed).empty());
  C.Brush().Style = bsClear;
  C.FrameRect(Rect(0, 0, 20, 16));
  EXPECT_EQ(Bmp.PixelColor(0, 0), clWhite);
}

// ---------------------------------------------------------------------------------------------
// Window origin, clipping, formats

// Every shape kind, drawn at logical positions shifted by Shift.
void DrawScene(TCanvas& C, TPoint Shift) {
  const auto S = [&](int X, int Y) { return Point(X + Shift.X, Y + Shift.Y); };
  const auto R = [&](int L, int T, int Rr, int B) { return Rect(L + Shift.X, T + Shift.Y, Rr + Shift.X, B + Shift.Y); };
  C.Pen().Color = clRed;
  C.Brush().Color = clBlue;
  C.Rectangle(R(2, 2, 30, 20));
  C.Ellipse(R(20, 5, 70, 45));
  C.Brush().Color = clLime;
  C.Polygon({S(5, 40), S(60, 10), S(55, 47), S(30, 25)});
  C.FrameRect(R(40, 30, 66, 46));
  C.MoveTo(S(-5, 3).X, S(-5, 3).Y);
  C.LineTo(S(70, 44).X, S(70, 44).Y);
  C.SetPixel(S(3, 45).X, S(3, 45).Y, clYellow);
  C.SetPixel(S(60, 2).X, S(60, 2).Y, clYellow);
}

TEST(ShapeCanvas, WindowOriginAndClipRegionAreObeyed) {
  TBitmap Plain(68, 48, pf32bit);
  DrawScene(Plain.Canvas(), Point(0, 0));
  TBitmap Clipped(68, 48, pf32bit);
  TCanvas& C = Clipped.Canvas();
  const TPoint Origin{-9, 13};
  C.SetWindowOrigin(Origin);
  // Logical (-9+10, 13+8) .. is device (10, 8) ..; a hole is cut out of the clip rectangle.
  const TRect ClipDev = Rect(10, 8, 58, 40), HoleDev = Rect(25, 15, 35, 30);
  const TRect ClipLog = Rect(ClipDev.Left + Origin.X, ClipDev.Top + Origin.Y, ClipDev.Right + Origin.X, ClipDev.Bottom + Origin.Y);
  C.SelectClipRect(&ClipLog);
  C.ExcludeClipRect(Rect(HoleDev.Left + Origin.X, HoleDev.Top + Origin.Y, HoleDev.Right + Origin.X, HoleDev.Bottom + Origin.Y));
  DrawScene(C, Origin);
  int Drawn = 0;
  for (int Y = 0; Y < 48; ++Y)
    for (int X = 0; X < 68; ++X) {
      const bool Visible = PtInRect(ClipDev, Point(X, Y)) && !PtInRect(HoleDev, Point(X, Y));
      ASSERT_EQ(Clipped.PixelColor(X, Y), Visible ? Plain.PixelColor(X, Y) : clWhite) << X << "," << Y;
      Drawn += Visible && Plain.PixelColor(X, Y) != clWhite;
    }
  EXPECT_GT(Drawn, 500);  // the scene really reaches into the clip area
  // Pixel reads through the origin and the clip region.
  EXPECT_EQ(C.Pixel(12 + Origin.X, 10 + Origin.Y), Plain.PixelColor(12, 10));
  EXPECT_EQ(C.Pixel(30 + Origin.X, 20 + Origin.Y), static_cast<TColor>(-1));  // in the hole
  EXPECT_EQ(C.Pixel(2 + Origin.X, 2 + Origin.Y), static_cast<TColor>(-1));    // outside the clip
}

TEST(ShapeCanvas, EveryPixelFormatGetsTheSameShapes) {
  const TRect E = Rect(3, 2, 40, 25);
  const std::vector<TPoint> Poly = {{45, 3}, {70, 20}, {50, 28}, {60, 12}};
  for (const TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    // Odd width so that rows of the sub-byte formats end inside a byte.
    TBitmap Bmp(73, 30, F);
    TCanvas& C = Bmp.Canvas();
    // pf1bit only has black and white: draw black on white there, colours elsewhere.
    const TColor Pen = F == pf1bit ? clBlack : clRed, Brush = F == pf1bit ? clWhite : clBlue,
                 Fill2 = F == pf1bit ? clBlack : clLime;
    Fill(Bmp, F == pf1bit ? clBlack : clWhite);
    const TColor Back = Stored(Bmp, F == pf1bit ? clBlack : clWhite);
    C.Pen().Color = Pen;
    C.Brush().Color = Brush;
    C.Ellipse(E);
    C.Pen().Style = psClear;
    C.Brush().Color = Fill2;
    C.Polygon(Poly);
    C.Pen().Style = psSolid;
    C.Pen().Color = F == pf1bit ? clWhite : clRed;
    C.MoveTo(1, 28);
    C.LineTo(72, 27);
    const Pixels Line = PixelsOf(LineSpans({1, 28}, {72, 27}, Rect(0, 0, 73, 30)));
    for (int Y = 0; Y < 30; ++Y)
      for (int X = 0; X < 73; ++X) {
        TColor Want = Back;
        if (InEllipse(E, X, Y) && PtInRect(E, Point(X, Y))) {
          const bool Border = !(InEllipse(E, X - 1, Y) && InEllipse(E, X + 1, Y) &&
                                InEllipse(E, X, Y - 1) && InEllipse(E, X, Y + 1));
          Want = Stored(Bmp, Border ? Pen : Brush);
        }
        if (InPolygon(Poly, X, Y)) Want = Stored(Bmp, Fill2);
        if (Line.count({X, Y})) Want = Stored(Bmp, C.Pen().Color);
        ASSERT_EQ(Bmp.PixelColor(X, Y), Want) << "pf" << F << " at " << X << "," << Y;
      }
  }
}

// ---------------------------------------------------------------------------------------------
// Single pixels

TEST(Pixel, ReadAndWriteThroughOriginClipAndPalette) {
  TBitmap B8(10, 10, pf8bit);
  TCanvas& C8 = B8.Canvas();
  C8.SetPixel(3, 4, RGB(250, 3, 2));  // not in the palette: the nearest entry
  EXPECT_EQ(C8.Pixel(3, 4), clRed);
  EXPECT_EQ(C8.Pixel(4, 4), clWhite);
  EXPECT_EQ(C8.Pixel(-1, 4), static_cast<TColor>(-1));
  EXPECT_EQ(C8.Pixel(3, 10), static_cast<TColor>(-1));
  C8.SetPixel(10, 0, clBlack);  // outside: ignored, and nothing else changes
  C8.SetPixel(-1, 0, clBlack);
  EXPECT_EQ(PixelsOf(B8, clWhite).size(), 99u);

  TBitmap B1(13, 3, pf1bit);
  TCanvas& C1 = B1.Canvas();
  C1.SetPixel(9, 1, RGB(60, 60, 60));
  C1.SetPixel(10, 1, RGB(200, 200, 200));
  EXPECT_EQ(C1.Pixel(9, 1), clBlack);
  EXPECT_EQ(C1.Pixel(10, 1), clWhite);
  EXPECT_EQ(C1.Pixel(8, 1), clWhite);
  EXPECT_EQ(PixelsOf(B1, clBlack), (Pixels{{9, 1}}));

  TBitmap B32(10, 10, pf32bit);
  TCanvas& C = B32.Canvas();
  C.SetWindowOrigin(Point(5, -2));  // logical (5,-2) is device (0,0)
  C.SetPixel(7, 1, RGB(1, 2, 3));
  EXPECT_EQ(B32.PixelColor(2, 3), RGB(1, 2, 3));
  EXPECT_EQ(C.Pixel(7, 1), RGB(1, 2, 3));
  EXPECT_EQ(C.Pixel(4, 1), static_cast<TColor>(-1));
  const TRect Clip = Rect(5, -2, 8, 2);  // device (0,0)..(3,4)
  C.SelectClipRect(&Clip);
  C.SetPixel(9, 1, clBlack);  // device (4,3): clipped away
  EXPECT_EQ(B32.PixelColor(4, 3), clWhite);
  EXPECT_EQ(C.Pixel(9, 1), static_cast<TColor>(-1));
  EXPECT_EQ(C.Pixel(7, 1), RGB(1, 2, 3));
  C.SetPixel(5, -2, clBlack);
  EXPECT_EQ(B32.PixelColor(0, 0), clBlack);
}

}  // namespace
}  // namespace vte
