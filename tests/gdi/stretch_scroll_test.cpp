// StretchBlt, CopyRect and ScrollDC: fixed cases whose results are known by hand (double, half,
// mirrors, uncovered strips), and per-pixel oracles over formats, operations, clipping and origins.
#include <gtest/gtest.h>

#include <functional>

#include "gdi/bitmap.h"
#include "gdi/canvas.h"
#include "support/bitmap_support.h"

namespace vte {
namespace {

using test::FillNoise;
using test::BlitConvertValue;
using test::RandomPalette;
using test::Raw;
using test::AllFormats;
using test::Mod;
using test::SameMemory;

long long FloorDiv(long long A, long long B) { return A >= 0 ? A / B : -((-A + B - 1) / B); }

std::uint32_t Pix(const TBitmap& B, int X, int Y) { return ReadPixel(B.ScanLine(Y), X, B.PixelFormat()); }

// The expected stretch in device coordinates (extents may be negative): destination pixel i of
// the normalised extent reads source S0 + floor((2i+1) * WS / 2W).
void OracleStretch(TBitmap& Dest, int X, int Y, int W, int H, const TBitmap& Src, int XS, int YS,
                   int WS, int HS, std::uint8_t Code, const TBitmap* Pattern = nullptr,
                   TPoint Origin = {}, const std::function<bool(int, int)>& Drawable = {}) {
  if (W < 0) { X += W; W = -W; XS += WS; WS = -WS; }
  if (H < 0) { Y += H; H = -H; YS += HS; HS = -HS; }
  const TPixelFormat F = Dest.PixelFormat();
  for (int J = 0; J < H; ++J)
    for (int I = 0; I < W; ++I) {
      const int Dx = X + I, Dy = Y + J;
      if (Dx < 0 || Dy < 0 || Dx >= Dest.Width() || Dy >= Dest.Height()) continue;
      if (Drawable && !Drawable(Dx, Dy)) continue;
      const int Sx = XS + static_cast<int>(FloorDiv((2LL * I + 1) * WS, 2LL * W));
      const int Sy = YS + static_cast<int>(FloorDiv((2LL * J + 1) * HS, 2LL * H));
      if (Sx < 0 || Sy < 0 || Sx >= Src.Width() || Sy >= Src.Height()) continue;
      const std::uint32_t S = BlitConvertValue(Src, Pix(Src, Sx, Sy), Dest);
      const std::uint32_t P =
          Pattern ? BlitConvertValue(*Pattern, Pix(*Pattern, Mod(Dx - Origin.X, 8), Mod(Dy - Origin.Y, 8)), Dest)
                  : EncodePixel(F, Dest.Palette(), ColorToQRgb(clWhite));
      WritePixel(Dest.ScanLine(Dy), Dx, F, RopBits<std::uint32_t>(Code, P, S, Pix(Dest, Dx, Dy)));
    }
}

// --- stretch: cases known by hand ---

TEST(StretchBlt, IdentityExtentsEqualBitBlt) {
  for (TPixelFormat F : {pf1bit, pf4bit, pf24bit, pf32bit}) {
    TBitmap Src(40, 20, F), A(40, 20, F);
    FillNoise(Src, 1);
    FillNoise(A, 2);
    TBitmap B(A), C(A), D(A);
    A.Canvas().StretchBlt(3, 2, 29, 15, Src.Canvas(), 5, 1, 29, 15, 0x001B0000);
    B.Canvas().BitBlt(3, 2, 29, 15, Src.Canvas(), 5, 1, 0x001B0000);
    ASSERT_TRUE(SameMemory(A, B)) << "pf" << F;
    // Both extents negative: the same rectangles counted from the other corner, not mirrored.
    C.Canvas().StretchBlt(32, 17, -29, -15, Src.Canvas(), 34, 16, -29, -15, SRCCOPY);
    D.Canvas().BitBlt(3, 2, 29, 15, Src.Canvas(), 5, 1, SRCCOPY);
    ASSERT_TRUE(SameMemory(C, D)) << "pf" << F;
  }
}

TEST(StretchBlt, DoubleHalfAndMirrors) {
  for (TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit}) {
    TBitmap Src(20, 14, F);
    FillNoise(Src, 11);
    TBitmap Big(40, 28, F);
    Big.Canvas().StretchBlt(0, 0, 40, 28, Src.Canvas(), 0, 0, 20, 14, SRCCOPY);
    for (int Y = 0; Y < 28; ++Y)
      for (int X = 0; X < 40; ++X) ASSERT_EQ(Pix(Big, X, Y), Pix(Src, X / 2, Y / 2)) << "pf" << F;
    // Halving reads the source pixel under each destination centre: 2x + 1.
    TBitmap Small(10, 7, F);
    Small.Canvas().StretchBlt(0, 0, 10, 7, Src.Canvas(), 0, 0, 20, 14, SRCCOPY);
    for (int Y = 0; Y < 7; ++Y)
      for (int X = 0; X < 10; ++X) ASSERT_EQ(Pix(Small, X, Y), Pix(Src, 2 * X + 1, 2 * Y + 1));
    TBitmap H(20, 14, F), V(20, 14, F), Both(20, 14, F), DestMirror(20, 14, F);
    H.Canvas().StretchBlt(0, 0, 20, 14, Src.Canvas(), 20, 0, -20, 14, SRCCOPY);
    V.Canvas().StretchBlt(0, 0, 20, 14, Src.Canvas(), 0, 14, 20, -14, SRCCOPY);
    Both.Canvas().StretchBlt(0, 0, 20, 14, Src.Canvas(), 20, 14, -20, -14, SRCCOPY);
    DestMirror.Canvas().StretchBlt(20, 0, -20, 14, Src.Canvas(), 0, 0, 20, 14, SRCCOPY);
    for (int Y = 0; Y < 14; ++Y)
      for (int X = 0; X < 20; ++X) {
        ASSERT_EQ(Pix(H, X, Y), Pix(Src, 19 - X, Y)) << "pf" << F;
        ASSERT_EQ(Pix(V, X, Y), Pix(Src, X, 13 - Y)) << "pf" << F;
        ASSERT_EQ(Pix(Both, X, Y), Pix(Src, 19 - X, 13 - Y)) << "pf" << F;
        ASSERT_EQ(Pix(DestMirror, X, Y), Pix(Src, 19 - X, Y)) << "pf" << F;
      }
  }
}

// --- stretch: oracle ---

TEST(StretchBlt, OracleOverFormatsRatiosAndOperations) {
  struct TGeometry { int X, Y, W, H, XS, YS, WS, HS; };
  const TGeometry Cases[] = {
      {2, 1, 29, 19, 1, 2, 13, 9},     // enlarge by uneven factors
      {1, 3, 13, 7, 0, 0, 31, 22},     // shrink
      {30, 2, -23, 17, 3, 20, 17, -15},  // mirrored destination and source
      {-5, -3, 41, 30, -2, -1, 27, 26},  // past the destination and the source
  };
  const std::uint32_t Rops[] = {SRCCOPY, SRCINVERT, PSDPxax, 0x001B0000};
  for (TPixelFormat F : AllFormats) {
    TBitmap Src(27, 24, F), Dst(33, 24, F), Pat(8, 8, F);
    FillNoise(Src, 21);
    FillNoise(Dst, 22);
    FillNoise(Pat, 23);
    for (const TGeometry& G : Cases)
      for (std::uint32_t Rop : Rops) {
        TBitmap Out(Dst), Expected(Dst);
        Out.Canvas().Brush().Bitmap = &Pat;
        Out.Canvas().SetBrushOrigin({3, -5});
        Out.Canvas().StretchBlt(G.X, G.Y, G.W, G.H, Src.Canvas(), G.XS, G.YS, G.WS, G.HS, Rop);
        OracleStretch(Expected, G.X, G.Y, G.W, G.H, Src, G.XS, G.YS, G.WS, G.HS, RopCode(Rop), &Pat, {3, -5});
        ASSERT_TRUE(SameMemory(Out, Expected))
            << "pf" << F << " rop 0x" << std::hex << Rop << std::dec << " case " << (&G - Cases);
      }
  }
}

TEST(StretchBlt, AcrossFormats) {
  const std::pair<TPixelFormat, TPixelFormat> Pairs[] = {
      {pf1bit, pf32bit}, {pf32bit, pf8bit}, {pf24bit, pf16bit}, {pf32bit, pf1bit}, {pf8bit, pf4bit}};
  for (const auto& [SF, DF] : Pairs)
    for (std::uint32_t Rop : {SRCCOPY, SRCAND}) {
      TBitmap Src(17, 11, SF), Dst(30, 25, DF);
      FillNoise(Src, 31);
      FillNoise(Dst, 32);
      TBitmap Expected(Dst);
      Dst.Canvas().StretchBlt(1, 2, 28, 21, Src.Canvas(), 16, 0, -15, 11, Rop);
      OracleStretch(Expected, 1, 2, 28, 21, Src, 16, 0, -15, 11, RopCode(Rop));
      ASSERT_TRUE(SameMemory(Dst, Expected)) << "pf" << SF << " -> pf" << DF;
    }
}

TEST(StretchBlt, ClipRegionOriginsCopyRectAndSelfStretch) {
  TBitmap Src(20, 16, pf4bit), Dst(40, 30, pf4bit);
  FillNoise(Src, 41);
  FillNoise(Dst, 42);
  TBitmap Expected(Dst);
  TCanvas& C = Dst.Canvas();
  C.SetWindowOrigin({3, -2});  // device = logical + (-3, 2)
  Src.Canvas().SetWindowOrigin({-1, 1});
  C.IntersectClipRect(Rect(5, 0, 35, 25));  // device (2, 2) - (32, 27)
  C.ExcludeClipRect(Rect(12, 8, 20, 14));   // device (9, 10) - (17, 16)
  C.SetCopyMode(SRCINVERT);
  C.CopyRect(Rect(4, 1, 40, 27), Src.Canvas(), Rect(-1, 1, 17, 14));
  Src.Canvas().SetWindowOrigin({0, 0});
  OracleStretch(Expected, 1, 3, 36, 26, Src, 0, 0, 18, 13, RopCode(SRCINVERT), nullptr, {},
                [](int X, int Y) {
                  const bool In = X >= 2 && X < 32 && Y >= 2 && Y < 27;
                  const bool Out = X >= 9 && X < 17 && Y >= 10 && Y < 16;
                  return In && !Out;
                });
  ASSERT_TRUE(SameMemory(Dst, Expected));

  // A stretch within one bitmap reads the pixels as they were before it.
  TBitmap Self(30, 24, pf32bit);
  FillNoise(Self, 43);
  TBitmap Copy(Self), Want(Self);
  Want.Canvas().StretchBlt(4, 3, 25, 20, Copy.Canvas(), 1, 1, 12, 10, SRCCOPY);
  Self.Canvas().StretchBlt(4, 3, 25, 20, Self.Canvas(), 1, 1, 12, 10, SRCCOPY);
  ASSERT_TRUE(SameMemory(Self, Want));
}

// --- scroll ---

// Expected ScrollDC in device coordinates on a canvas without origin.
void OracleScroll(TBitmap& Expected, const TBitmap& Original, int Dx, int Dy, const TRect& Scroll,
                  const TRect& Clip, const std::function<bool(int, int)>& Drawable = {}) {
  for (int Y = 0; Y < Original.Height(); ++Y)
    for (int X = 0; X < Original.Width(); ++X) {
      const int Sx = X - Dx, Sy = Y - Dy;
      if (!PtInRect(Scroll, {X, Y}) || !PtInRect(Clip, {X, Y}) || !PtInRect(Scroll, {Sx, Sy})) continue;
      if (Sx < 0 || Sy < 0 || Sx >= Original.Width() || Sy >= Original.Height()) continue;
      if (Drawable && !Drawable(X, Y)) continue;
      WritePixel(Expected.ScanLine(Y), X, Original.PixelFormat(), Pix(Original, Sx, Sy));
    }
}

TEST(ScrollDC, EveryDirectionMatchesOracle) {
  const TPoint Moves[] = {{7, 0}, {-7, 0}, {0, 5}, {0, -5}, {3, 4}, {-3, -4}, {5, -2}, {-1, 6}, {9, 0}};
  for (TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit})
    for (const TPoint M : Moves) {
      TBitmap Bmp(50, 34, F);
      FillNoise(Bmp, 51);
      const TBitmap Original(Bmp);
      TBitmap Expected(Bmp);
      const TRect Scroll = Rect(3, 2, 45, 30), Clip = Rect(0, 0, 50, 34);
      Bmp.Canvas().ScrollDC(M.X, M.Y, Scroll, Clip);
      OracleScroll(Expected, Original, M.X, M.Y, Scroll, Clip);
      ASSERT_TRUE(SameMemory(Bmp, Expected)) << "pf" << F << " move (" << M.X << "," << M.Y << ")";
    }
}

TEST(ScrollDC, UncoveredStripKeepsItsPixelsAndClipLimits) {
  TBitmap Bmp(40, 20, pf32bit);
  FillNoise(Bmp, 61);
  const TBitmap Original(Bmp);
  const TRect Scroll = Rect(4, 2, 36, 18);
  Bmp.Canvas().ScrollDC(5, 0, Scroll, Scroll);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 40; ++X) {
      // Moved pixels come from five to the left; the strip they left, and all outside, stays.
      const bool Moved = Y >= 2 && Y < 18 && X >= 9 && X < 36;
      ASSERT_EQ(Pix(Bmp, X, Y), Pix(Original, Moved ? X - 5 : X, Y)) << X << "," << Y;
    }
  // A clip rectangle smaller than the scrolled one limits what changes.
  for (TPixelFormat F : {pf1bit, pf4bit, pf24bit}) {
    TBitmap B(40, 20, F);
    FillNoise(B, 62);
    const TBitmap Before(B);
    TBitmap Expected(B);
    B.Canvas().ScrollDC(-3, 2, Scroll, Rect(10, 5, 25, 30));
    OracleScroll(Expected, Before, -3, 2, Scroll, Rect(10, 5, 25, 30));
    ASSERT_TRUE(SameMemory(B, Expected)) << "pf" << F;
  }
}

TEST(ScrollDC, WindowOriginClipRegionAndBitmapEdges) {
  for (TPixelFormat F : {pf4bit, pf8bit, pf32bit})
    for (const TPoint M : {TPoint{4, 3}, TPoint{-6, -2}, TPoint{2, -5}}) {
      TBitmap Bmp(44, 30, F);
      FillNoise(Bmp, 71);
      const TBitmap Original(Bmp);
      TBitmap Expected(Bmp);
      TCanvas& C = Bmp.Canvas();
      C.SetWindowOrigin({-2, 5});  // device = logical + (2, -5)
      C.ExcludeClipRect(Rect(10, 15, 20, 22));  // device (12, 10) - (22, 17): several pieces
      // The scroll rectangle reaches past the bitmap: pixels from outside it do not move in.
      C.ScrollDC(M.X, M.Y, Rect(-6, 2, 50, 40), Rect(-10, 0, 60, 60));
      OracleScroll(Expected, Original, M.X, M.Y, Rect(-4, -3, 52, 35), Rect(-8, -5, 62, 55),
                   [](int X, int Y) { return !(X >= 12 && X < 22 && Y >= 10 && Y < 17); });
      ASSERT_TRUE(SameMemory(Bmp, Expected)) << "pf" << F << " move (" << M.X << "," << M.Y << ")";
    }
}

}  // namespace
}  // namespace vte
