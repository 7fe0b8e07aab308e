// The glass tint (tables kept between calls, every level the same bits as the tables) and the
// ordered dither of palette screens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "gdi/canvas.h"
#include "pixel/blend_work.h"
#include "gdi/simd_level.h"
#include "support/bitmap_support.h"
#include "support/simd_support.h"

namespace vte {
namespace {

// The tint of one channel as defined, written out again here: c the colour's value, x the
// picture's, r the channel's range.
int Tinted(int Bits, int C, int Level, int X) {
  const int R = 1 << Bits;
  const int E = Bits == 5 ? Level / 8 + 1 : Bits == 6 ? Level / 4 + 1 : Level + 1;
  return ((C + 1) * (R - E) + (X + 1) * E) / R - 1;
}

struct TChannel {
  int Shift, Bits;
};
std::vector<TChannel> ChannelsOf(TPixelFormat F) {
  switch (F) {
    case pf15bit: return {{0, 5}, {5, 5}, {10, 5}};
    case pf16bit: return {{0, 5}, {5, 6}, {11, 5}};
    default: return {{0, 8}, {8, 8}, {16, 8}};
  }
}

// The pixel value a tint must give for raw pixel P of format F with colour Rgb.
std::uint32_t TintedPixel(TPixelFormat F, std::uint32_t P, int Level, TColor Rgb) {
  const std::uint32_t Colour = EncodePixel(F, {}, qRgb(GetRValue(Rgb), GetGValue(Rgb), GetBValue(Rgb)));
  std::uint32_t R = F == pf32bit ? P & 0xFF000000u : 0;
  for (const TChannel& C : ChannelsOf(F)) {
    const int Mask = (1 << C.Bits) - 1;
    R |= static_cast<std::uint32_t>(Tinted(C.Bits, (Colour >> C.Shift) & Mask, Level, (P >> C.Shift) & Mask))
         << C.Shift;
  }
  return R;
}

// Checks a tinted bitmap: pixels inside Area as defined, every other byte of the memory (other
// pixels, the row padding) as before.
void ExpectTint(const TBitmap& Before, const TBitmap& After, const TRect& Area, int Level, TColor Rgb,
                bool PaddingToo) {
  const TPixelFormat F = Before.PixelFormat();
  const int Bytes = PixelFormatStorageBits(F) / 8;
  for (int Y = 0; Y < Before.Height(); ++Y) {
    const std::uint8_t *B = Before.ScanLine(Y), *A = After.ScanLine(Y);
    for (int X = 0; X < Before.Width(); ++X) {
      const std::uint32_t Was = ReadPixel(B, X, F), Is = ReadPixel(A, X, F);
      const bool Inside = PtInRect(Area, {X, Y});
      ASSERT_EQ(Is, Inside ? TintedPixel(F, Was, Level, Rgb) : Was) << "pixel (" << X << "," << Y << ")";
    }
    if (!PaddingToo) {
      ASSERT_EQ(0, std::memcmp(B + Before.Width() * Bytes, A + Before.Width() * Bytes,
                               Before.ScanlineBytes() - Before.Width() * Bytes))
          << "padding of row " << Y;
    }
  }
}

TEST(BlendTint, EveryLevelFormatAndWidthMatchesTheDefinition) {
  // Whole bitmaps (one run over the memory) and inner rectangles (row by row), widths 1..257 so
  // that every vector tail runs, every level in turn; all instruction-set levels give the same.
  std::mt19937 Rng(3);
  for (TPixelFormat F : test::DirectFormats) {
    SCOPED_TRACE(test::FormatName(F));
    for (int W = 1; W <= 257; ++W) {
      const int Level = (W * 37 + F) % 256;
      const TColor Rgb = static_cast<TColor>(Rng() & 0xFFFFFF);
      TBitmap Picture(W, 3, F);
      test::FillNoise(Picture, static_cast<std::uint32_t>(W));
      const TRect Inner = Rect(W / 3, 1, W - W / 4, 3);
      test::ForEachSimdLevel([&](TSimdLevel) {
        TBitmap Whole(Picture), Part(Picture);
        TintBitmap(Whole, nullptr, F, Level, Rect(0, 0, W, 3), Rgb);
        // 16-bit rows run as one block with their padding pixel; 24-bit ones only without padding.
        ExpectTint(Picture, Whole, Rect(0, 0, W, 3), Level, Rgb, F == pf15bit || F == pf16bit);
        TintBitmap(Part, nullptr, F, Level, Inner, Rgb);
        ExpectTint(Picture, Part, Inner, Level, Rgb, false);
      });
    }
  }
}

TEST(BlendTint, EveryLevelAndChannelValueOnEveryInstructionSetLevel) {
  // A picture holding every channel value in every channel; every tint level; colours with the
  // extreme and middle channel values.
  for (TPixelFormat F : test::DirectFormats) {
    SCOPED_TRACE(test::FormatName(F));
    TBitmap Picture(256, 2, F);
    for (int X = 0; X < 256; ++X) {
      std::uint32_t P = 0;
      for (const TChannel& C : ChannelsOf(F)) P |= static_cast<std::uint32_t>((X + C.Shift) & ((1 << C.Bits) - 1)) << C.Shift;
      if (F == pf32bit) P |= static_cast<std::uint32_t>(X) << 24;  // the fourth byte must stay
      WritePixel(Picture.ScanLine(0), X, F, P);
      WritePixel(Picture.ScanLine(1), X, F, P ^ (F == pf15bit ? 0x7FFF : 0xFFFFFF));
    }
    for (TColor Rgb : {RGB(0, 128, 255), RGB(255, 1, 127), RGB(254, 200, 0)})
      for (int Level = 0; Level <= 255; ++Level)
        test::ForEachSimdLevel([&](TSimdLevel) {
          TBitmap B(Picture);
          TintBitmap(B, nullptr, F, Level, Rect(0, 0, 256, 2), Rgb);
          ExpectTint(Picture, B, Rect(0, 0, 256, 2), Level, Rgb, true);
        });
  }
}

TEST(BlendTint, LevelTopLeavesThePictureAndZeroGivesTheColour) {
  for (TPixelFormat F : test::DirectFormats) {
    SCOPED_TRACE(test::FormatName(F));
    TBitmap Picture(61, 9, F);
    test::FillNoise(Picture, 4);
    TBitmap B(Picture);
    TintBitmap(B, nullptr, F, 255, Rect(0, 0, 61, 9), RGB(10, 200, 30));
    EXPECT_EQ(test::DescribeDifference(B, Picture), "");
    // Level 0: within one step of the colour in every channel.
    TintBitmap(B, nullptr, F, 0, Rect(0, 0, 61, 9), RGB(10, 200, 30));
    const std::uint32_t Colour = EncodePixel(F, {}, qRgb(10, 200, 30));
    for (int Y = 0; Y < 9; ++Y)
      for (int X = 0; X < 61; ++X)
        for (const TChannel& C : ChannelsOf(F)) {
          const int Mask = (1 << C.Bits) - 1;
          const int Got = (test::Raw(B, X, Y) >> C.Shift) & Mask, Want = (Colour >> C.Shift) & Mask;
          ASSERT_LE(std::abs(Got - Want), 1) << X << "," << Y;
        }
  }
}

TEST(BlendTint, RectangleAwayFromTheOriginChangesExactlyItsPixels) {
  for (TPixelFormat F : test::DirectFormats) {
    SCOPED_TRACE(test::FormatName(F));
    TBitmap Picture(45, 20, F);
    test::FillNoise(Picture, 5);
    TBitmap B(Picture);
    TintBitmap(B, nullptr, F, 100, Rect(7, 3, 30, 17), RGB(0, 0, 255));
    ExpectTint(Picture, B, Rect(7, 3, 30, 17), 100, RGB(0, 0, 255), false);
    // Reaching past the bitmap: only the part inside.
    TBitmap C(Picture);
    TintBitmap(C, nullptr, F, 100, Rect(40, -5, 60, 4), RGB(0, 0, 255));
    ExpectTint(Picture, C, Rect(40, 0, 45, 4), 100, RGB(0, 0, 255), false);
  }
  // A format that is not the bitmap's would read past its rows.
  TBitmap Small(4, 4, pf24bit);
  EXPECT_THROW(TintBitmap(Small, nullptr, pf32bit, 10, Rect(0, 0, 4, 4), clRed), std::invalid_argument);
}

TEST(BlendTint, TablesAreKeptAndRebuiltPerChannelOnlyWhenTheirParametersChange) {
  TBitmap B32(8, 2, pf32bit), B24(8, 2, pf24bit), B16(8, 2, pf16bit), B15(8, 2, pf15bit);
  auto Builds = [] {
    const TTintTableBuilds T = TintTableBuilds();
    return std::vector<int>{T.Blue, T.Green, T.Red};
  };
  auto Delta = [&](auto&& Do) {
    const std::vector<int> Before = Builds();
    Do();
    const std::vector<int> After = Builds();
    return std::vector<int>{After[0] - Before[0], After[1] - Before[1], After[2] - Before[2]};
  };
  const TRect R = Rect(0, 0, 8, 2);
  // After a call at another level, the first call builds all three.
  TintBitmap(B32, nullptr, pf32bit, 76, R, RGB(1, 2, 3));
  EXPECT_EQ(Delta([&] { TintBitmap(B32, nullptr, pf32bit, 77, R, RGB(1, 2, 3)); }), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(Delta([&] { TintBitmap(B32, nullptr, pf32bit, 77, R, RGB(1, 2, 3)); }), (std::vector<int>{0, 0, 0}));
  // 24 and 32 bits share their 8-bit tables.
  EXPECT_EQ(Delta([&] { TintBitmap(B24, nullptr, pf24bit, 77, R, RGB(1, 2, 3)); }), (std::vector<int>{0, 0, 0}));
  // One channel of the colour: its table alone.
  EXPECT_EQ(Delta([&] { TintBitmap(B32, nullptr, pf32bit, 77, R, RGB(9, 2, 3)); }), (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(Delta([&] { TintBitmap(B32, nullptr, pf32bit, 77, R, RGB(9, 2, 4)); }), (std::vector<int>{1, 0, 0}));
  // The level: all three.
  EXPECT_EQ(Delta([&] { TintBitmap(B32, nullptr, pf32bit, 78, R, RGB(9, 2, 4)); }), (std::vector<int>{1, 1, 1}));
  // Another kind of pixel: all three, then kept.
  EXPECT_EQ(Delta([&] { TintBitmap(B16, nullptr, pf16bit, 78, R, RGB(9, 2, 4)); }), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(Delta([&] { TintBitmap(B16, nullptr, pf16bit, 78, R, RGB(9, 2, 4)); }), (std::vector<int>{0, 0, 0}));
  // A colour change the 5-bit channels do not see (red 9 -> 15 is 1 either way): nothing rebuilt.
  EXPECT_EQ(Delta([&] { TintBitmap(B16, nullptr, pf16bit, 78, R, RGB(15, 2, 4)); }), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Delta([&] { TintBitmap(B15, nullptr, pf15bit, 78, R, RGB(15, 2, 4)); }), (std::vector<int>{1, 1, 1}));
  // And the kept tables still give the right pixels after all these switches.
  TBitmap Picture(8, 2, pf32bit);
  test::FillNoise(Picture, 6);
  TBitmap P(Picture);
  TintBitmap(P, nullptr, pf32bit, 78, R, RGB(9, 2, 4));
  ExpectTint(Picture, P, R, 78, RGB(9, 2, 4), true);
}

TEST(BlendTint, SystemColoursAreResolvedFirst) {
  TBitmap A(16, 4, pf32bit), B(16, 4, pf32bit);
  test::FillNoise(A, 7);
  B.Assign(A);
  TintBitmap(A, nullptr, pf32bit, 90, Rect(0, 0, 16, 4), clBtnFace);
  TintBitmap(B, nullptr, pf32bit, 90, Rect(0, 0, 16, 4), ColorToRGB(clBtnFace));
  EXPECT_EQ(test::DescribeDifference(A, B), "");
}

// --- dither ---

// The pixels of an 8x8 monochrome pattern that are black.
std::vector<TPoint> BlackCells(const TBitmap& Pattern) {
  std::vector<TPoint> P;
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X)
      if (test::Raw(Pattern, X, Y) == 0) P.push_back({X, Y});
  return P;
}

TBitmap WhitePattern() {
  TBitmap P(8, 8, pf1bit);
  P.SetMonochrome(true);
  return P;
}

TEST(BlendDither, CellsBlackenOnePixelEachInTheDitherOrder) {
  TBitmap P = WhitePattern();
  SetDitherCell(P, 0);
  SetDitherCell(P, 65);
  EXPECT_TRUE(BlackCells(P).empty());
  // The first cells: the centre of the block, then its corner, then the two others of that grid.
  const TPoint First[] = {{4, 4}, {0, 0}, {4, 0}, {0, 4}, {6, 6}, {2, 2}};
  std::vector<TPoint> Seen;
  for (int Cell = 1; Cell <= 64; ++Cell) {
    SetDitherCell(P, Cell);
    const std::vector<TPoint> Now = BlackCells(P);
    ASSERT_EQ(Now.size(), static_cast<std::size_t>(Cell)) << "cell " << Cell;
    if (Cell <= 6) {
      EXPECT_NE(std::find(Now.begin(), Now.end(), First[Cell - 1]), Now.end()) << "cell " << Cell;
    }
    // Ordered dither: after 16 cells one pixel of every 2x2 square, after 32 a checkerboard,
    // after 48 three of every 2x2 square.
    for (const TPoint& C : Now) {
      if (Cell == 16) {
        EXPECT_TRUE(C.X % 2 == 0 && C.Y % 2 == 0) << C.X << "," << C.Y;
      } else if (Cell == 32) {
        EXPECT_EQ((C.X + C.Y) % 2, 0) << C.X << "," << C.Y;
      } else if (Cell == 48) {
        EXPECT_FALSE(C.X % 2 == 0 && C.Y % 2 == 1) << C.X << "," << C.Y;
      }
    }
  }
  SetDitherCell(P, 64);
  EXPECT_EQ(BlackCells(P).size(), 64u);
  EXPECT_EQ(test::Raw(P, 2, 5), 0u);  // the last cell
}

TEST(BlendDither, BlendTakesTheSourceWhereThePatternIsBlack) {
  for (TPixelFormat F : {pf8bit, pf32bit, pf16bit}) {
    SCOPED_TRACE(test::FormatName(F));
    // Not a multiple of 8: the pattern is tiled from the bitmap's origin and clipped.
    TBitmap Source(21, 13, F), Dest(21, 13, F);
    test::FillNoise(Source, 8);
    test::FillNoise(Dest, 9);
    TBitmap Pattern = WhitePattern();
    for (int Count : {0, 1, 5, 32, 63, 64}) {
      TBitmap D(Dest);
      DitherBlend(D, Source, Count, Pattern);
      EXPECT_EQ(D.Canvas().Brush().Bitmap, nullptr);
      for (int Y = 0; Y < 13; ++Y)
        for (int X = 0; X < 21; ++X) {
          const bool Takes = test::Raw(Pattern, X % 8, Y % 8) == 0;
          ASSERT_EQ(test::Raw(D, X, Y), test::Raw(Takes ? Source : Dest, X, Y)) << Count << ": " << X << "," << Y;
        }
      // Exactly Count of the 64 pixels of each whole 8x8 block take the source.
      for (int By = 0; By + 8 <= 13; By += 8)
        for (int Bx = 0; Bx + 8 <= 21; Bx += 8) {
          int Taken = 0;
          for (int Y = By; Y < By + 8; ++Y)
            for (int X = Bx; X < Bx + 8; ++X) Taken += test::Raw(Pattern, X % 8, Y % 8) == 0;
          EXPECT_EQ(Taken, Count);
        }
    }
  }
}

TEST(BlendDither, PatternTintLaysTheColourOverTheCellsOfTheRectangle) {
  // An 8-bit picture, level 48 of 63: cells 1..16 take the colour, which is an entry of the
  // palette.
  TBitmap Picture(30, 20, pf8bit);
  test::FillNoise(Picture, 10);
  TBitmap B(Picture), Pattern = WhitePattern();
  const TRect Area = Rect(5, 3, 27, 19);
  TintBitmap(B, &Pattern, pf8bit, 48, Area, clRed);
  EXPECT_EQ(BlackCells(Pattern).size(), 16u);
  EXPECT_EQ(B.Canvas().Brush().Bitmap, nullptr);
  const std::uint32_t Red = static_cast<std::uint32_t>(NearestPaletteIndex(Picture.Palette(), qRgb(255, 0, 0)));
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 30; ++X) {
      // The pattern lies on the bitmap's own grid, not on the rectangle's.
      const bool Colour = PtInRect(Area, {X, Y}) && test::Raw(Pattern, X % 8, Y % 8) == 0;
      ASSERT_EQ(test::Raw(B, X, Y), Colour ? Red : test::Raw(Picture, X, Y)) << X << "," << Y;
    }
}

TEST(BlendDither, FrameWithAPatternIsADitherOfTheNewImage) {
  TBitmap New(16, 16, pf8bit), Old(16, 16, pf8bit);
  test::FillNoise(New, 11);
  test::FillNoise(Old, 12);
  TBitmap Pattern = WhitePattern();
  TBitmap Work(Old);
  BlendFrame(Work, New, Old, 0, 20, pf8bit, &Pattern);
  EXPECT_EQ(BlackCells(Pattern).size(), 20u);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X)
      ASSERT_EQ(test::Raw(Work, X, Y), test::Raw(test::Raw(Pattern, X % 8, Y % 8) == 0 ? New : Old, X, Y));
}

}  // namespace
}  // namespace vte
