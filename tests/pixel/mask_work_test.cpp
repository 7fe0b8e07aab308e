// The mask work routines at every instruction-set level against a pixel-by-pixel model of their
// definitions: every image format, widths 1..257, regions of every walk shape (no Inner, Inner
// narrower than the alignment, Inner touching each edge), rows with guard bytes after each (the
// row path) and rows back to back with a guard after the block (the flat path).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "pixel/mask_work.h"
#include "support/simd_support.h"

namespace vte {
namespace {

constexpr int Rows = 3, Guard = 16;
constexpr std::uint8_t GuardByte = 0x5A;

// Rows of Width pixels of Bits each, 32-bit aligned, plus Guard bytes after each row (Padded) or
// after the last one only.
struct TPlane {
  int Stride = 0;
  bool Padded;
  std::vector<std::uint8_t> Bytes;
  TPlane(int Width, int Bits, bool Padded, std::mt19937& G, bool Levels = false) : Padded(Padded) {
    Stride = ScanlineBytes(Width, Bits == 1 ? pf1bit : Bits == 4 ? pf4bit : Bits == 8 ? pf8bit
                                  : Bits == 16 ? pf16bit : Bits == 24 ? pf24bit : pf32bit) + (Padded ? Guard : 0);
    Bytes.assign(static_cast<std::size_t>(Stride) * Rows + Guard, GuardByte);
    for (int Y = 0; Y < Rows; ++Y)
      for (int B = 0; B < Stride - (Padded ? Guard : 0); ++B) {
        // Masks get many of the bytes their routines treat apart: 0x00, 0xFF and 255.
        const unsigned R = G();
        Bytes[static_cast<std::size_t>(Y) * Stride + B] =
            static_cast<std::uint8_t>(Levels && R % 4 == 0 ? ((R >> 8) % 2 ? 0xFF : 0x00) : R >> 16);
      }
  }
  std::uint8_t* Row(int Y) { return Bytes.data() + static_cast<std::size_t>(Y) * Stride; }
};

struct TRegion {
  const char* Name;
  TRect Inner, Outer;
};
// Regions for a picture of width W: the cases of the walk.
std::vector<TRegion> Regions(int W) {
  return {{"whole, no inner", {}, Rect(0, 0, W, Rows)},
          {"part of the rows", {}, Rect(W / 3, 1, W - W / 4, Rows)},
          {"inner narrower than the alignment", Rect(9, 0, 15, 2), Rect(0, 0, W, Rows)},
          {"inner in the middle", Rect(W / 4, 1, W - W / 4, 2), Rect(0, 0, W, Rows)},
          {"inner on the left and top edges", Rect(0, 0, W / 2, 2), Rect(0, 0, W, Rows)},
          {"inner on the right and bottom edges", Rect(W / 2, 1, W, Rows), Rect(0, 0, W, Rows)},
          {"empty outer", Rect(0, 0, W, Rows), Rect(5, 1, 5, 2)}};
}

int FloorTo(int V, int A) { return V / A * A; }
int CeilTo(int V, int A) { return (V + A - 1) / A * A; }

// The region's definition, pixel by pixel.
bool InRegion(const TRegion& R, int Align, int Width, int X, int Y) {
  const bool InOuter = X >= FloorTo(R.Outer.Left, Align) && X < std::min(CeilTo(R.Outer.Right, Align), Width) &&
                       Y >= R.Outer.Top && Y < R.Outer.Bottom && !R.Outer.IsEmpty();
  const int IL = CeilTo(R.Inner.Left, Align), IR = FloorTo(R.Inner.Right, Align);
  const bool InInner = IL < IR && X >= IL && X < IR && Y >= R.Inner.Top && Y < R.Inner.Bottom;
  return InOuter && !InInner;
}

// The pixels of the first Width columns equal to the model's (the padding of a row is free to
// change), and every guard byte as it was.
void ExpectSame(const TPlane& Got, const TPlane& Want, int Width, TPixelFormat F, const std::string& Where) {
  for (int Y = 0; Y < Rows; ++Y)
    for (int X = 0; X < Width; ++X)
      ASSERT_EQ(ReadPixel(Got.Bytes.data() + Y * Got.Stride, X, F), ReadPixel(Want.Bytes.data() + Y * Want.Stride, X, F))
          << Where << ", pixel " << X << "," << Y;
  for (int Y = 0; Y <= Rows; ++Y) {
    const int From = Y < Rows ? (Got.Padded ? Y * Got.Stride + Got.Stride - Guard : -1) : Rows * Got.Stride;
    for (int B = From; B >= 0 && B < From + Guard; ++B)
      ASSERT_EQ(Got.Bytes[static_cast<std::size_t>(B)], GuardByte) << Where << ", guard byte " << B;
  }
}

bool MaskBit(const TPlane& M, int X, int Y) { return (M.Bytes[Y * M.Stride + X / 8] >> (7 - X % 8)) & 1; }

template <class F>
void ForEachCase(F&& Body) {
  std::mt19937 G(4242);
  test::ForEachSimdLevel([&](TSimdLevel) {
    for (int W = 1; W <= 257; ++W)
      for (bool Padded : {true, false})
        for (const TRegion& R : Regions(W)) Body(W, Padded, R, G);
  });
}

TEST(MaskWork, WalkCoversOuterMinusInnerInTheShapeItsCaseCalls) {
  const int W = 64;
  struct TCase {
    TRegion Region;
    TMaskWalkShape Shape;
    int Pieces;
  };
  const TCase Cases[] = {{{"", {}, Rect(0, 0, 60, 3)}, mwsFlat, 1},
                         {{"", Rect(9, 0, 15, 2), Rect(3, 0, 40, 3)}, mwsRect, 1},
                         {{"", Rect(16, 1, 40, 2), Rect(0, 0, W, 3)}, mwsAround, 4},
                         {{"", Rect(0, 0, 24, 3), Rect(0, 0, W, 3)}, mwsAround, 1},
                         {{"", Rect(0, 0, W, 3), Rect(0, 0, W, 3)}, mwsAround, 0},
                         {{"", {}, Rect(10, 2, 10, 3)}, mwsNone, 0}};
  for (const TCase& C : Cases) {
    const TMaskWalk Walk = WalkMaskRegion(C.Region.Inner, C.Region.Outer, 8, W, Rows);
    EXPECT_EQ(Walk.Shape, C.Shape);
    EXPECT_EQ(Walk.Count, C.Pieces);
    for (int Y = 0; Y < Rows; ++Y)
      for (int X = 0; X < W; ++X) {
        int Covered = 0;
        for (int P = 0; P < Walk.Count; ++P) Covered += PtInRect(Walk.Pieces[P], {X, Y});
        EXPECT_EQ(Covered, InRegion(C.Region, 8, W, X, Y) ? 1 : 0) << X << "," << Y;
      }
  }
}

TEST(MaskWork, ComposeThroughMaskCopiesNewPixelsUnderBlackBitsInEveryFormat) {
  ForEachCase([](int W, bool Padded, const TRegion& R, std::mt19937& G) {
    for (TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
      const int Bits = PixelFormatStorageBits(F);
      TPlane Work(W, Bits, Padded, G), New(W, Bits, Padded, G), Mask(W, 1, Padded, G, true);
      TPlane Want = Work;
      if (F != pf1bit)
        for (int Y = 0; Y < Rows; ++Y)
          for (int X = 0; X < W; ++X)
            if (InRegion(R, 8, W, X, Y) && !MaskBit(Mask, X, Y))
              WritePixel(Want.Row(Y), X, F, ReadPixel(New.Row(Y), X, F));
      ComposeThroughMask(Work.Row(0), New.Row(0), Mask.Row(0), R.Inner, R.Outer, F, Mask.Stride, Work.Stride, W, Rows);
      ExpectSame(Work, Want, W, F, std::string(R.Name) + ", format " + std::to_string(F) + ", width " + std::to_string(W));
    }
  });
}

// The tiled 8x8 pattern: rows of 0xFF (untouched), 0x00 (copied whole) and mixed bits, each row
// under its own pattern byte.
TEST(MaskWork, ComposeThroughPatternCopiesNewPixelsUnderTheTiledPatternsBlackBits) {
  std::mt19937 G(99);
  test::ForEachSimdLevel([&](TSimdLevel) {
    for (int W = 1; W <= 257; ++W)
      for (bool Padded : {true, false})
        for (TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
          const int Bits = PixelFormatStorageBits(F);
          TPlane Work(W, Bits, Padded, G), New(W, Bits, Padded, G);
          std::uint8_t Pattern[8];
          for (int R = 0; R < 8; ++R) Pattern[R] = static_cast<std::uint8_t>(G() >> 8);
          // Rows that let one or two pixels of eight through are copied pixel by pixel.
          Pattern[W % Rows] = static_cast<std::uint8_t>(~(0x80u >> (W % 8)) & ~(W % 3 ? 0x01u << (W % 5) : 0u));
          Pattern[(W + 1) % Rows] = W % 2 ? 0x00 : 0xFF;
          TPlane Want = Work;
          if (F != pf1bit)
            for (int Y = 0; Y < Rows; ++Y)
              for (int X = 0; X < W; ++X)
                if (!((Pattern[Y % 8] >> (7 - X % 8)) & 1)) WritePixel(Want.Row(Y), X, F, ReadPixel(New.Row(Y), X, F));
          ComposeThroughPattern(Work.Row(0), New.Row(0), Pattern, F, Work.Stride, W, Rows);
          ExpectSame(Work, Want, W, F, "format " + std::to_string(F) + ", width " + std::to_string(W));
          if (testing::Test::HasFatalFailure()) return;
        }
  });
}

TEST(MaskWork, MaskDifferenceKeepsOnlyFirstBlackBitsAndInversionFlipsWords) {
  ForEachCase([](int W, bool Padded, const TRegion& R, std::mt19937& G) {
    TPlane Mask(W, 1, Padded, G, true), Accum(W, 1, Padded, G, true);
    TPlane WantMask = Mask, WantAccum = Accum;
    // The region takes in the padding bits of the last 32-bit word of a row.
    for (int Y = 0; Y < Rows; ++Y)
      for (int X = 0; X < CeilTo(W, 32); ++X) {
        if (!InRegion(R, 32, CeilTo(W, 32), X, Y)) continue;
        const std::uint8_t Bit = static_cast<std::uint8_t>(0x80 >> (X % 8));
        const bool M = MaskBit(Mask, X, Y), A = MaskBit(Accum, X, Y);
        std::uint8_t &WM = WantMask.Row(Y)[X / 8], &WA = WantAccum.Row(Y)[X / 8];
        WA = (M && A) ? (WA | Bit) : (WA & ~Bit);
        WM = (M || !A) ? (WM | Bit) : (WM & ~Bit);
      }
    MaskDifference(Mask.Row(0), Accum.Row(0), Mask.Stride, R.Inner, R.Outer, W, Rows);
    ExpectSame(Mask, WantMask, CeilTo(W, 32), pf1bit, std::string("mask, ") + R.Name + ", width " + std::to_string(W));
    ExpectSame(Accum, WantAccum, CeilTo(W, 32), pf1bit, std::string("accumulated mask, ") + R.Name + ", width " + std::to_string(W));
  });
  std::vector<std::uint8_t> Words = {0x00, 0xFF, 0x0F, 0xA5, 1, 2, 3, 4, 0x77};
  InvertMaskBits(Words.data(), 2);
  EXPECT_EQ(Words, (std::vector<std::uint8_t>{0xFF, 0x00, 0xF0, 0x5A, 0xFE, 0xFD, 0xFC, 0xFB, 0x77}));
}

TEST(MaskWork, AgeingLowersEveryLevelButWhiteAndNeverBelowZero) {
  ForEachCase([](int W, bool Padded, const TRegion& R, std::mt19937& G) {
    for (int Fade : {0, 1, 37, 255, -1 /* ClearAll */})
      for (bool FromSource : {false, true}) {
        TPlane Dest(W, 8, Padded, G, true), Source(W, 8, Padded, G, true);
        const TPlane& From = FromSource ? Source : Dest;
        TPlane Want = Dest;
        for (int Y = 0; Y < Rows; ++Y)
          for (int X = 0; X < W; ++X) {
            const int S = From.Bytes[Y * From.Stride + X];
            if (InRegion(R, 8, W, X, Y) && S != 255) Want.Row(Y)[X] = static_cast<std::uint8_t>(Fade < 0 ? 0 : std::max(S - Fade, 0));
          }
        const bool ClearAll = Fade < 0;
        if (FromSource)
          AgeMaskFrom(Dest.Row(0), Source.Row(0), Dest.Stride, W, Rows, R.Inner, R.Outer, ClearAll, ClearAll ? 3 : Fade);
        else
          AgeMask(Dest.Row(0), Dest.Stride, W, Rows, R.Inner, R.Outer, ClearAll, ClearAll ? 3 : Fade);
        ExpectSame(Dest, Want, W, pf8bit, std::string(R.Name) + ", fade " + std::to_string(Fade) + ", width " + std::to_string(W));
      }
  });
}

TEST(MaskWork, LevelRangeCopiesExactlyThePixelsBetweenLowAndHigh) {
  ForEachCase([](int W, bool Padded, const TRegion& R, std::mt19937& G) {
    if (R.Name != Regions(W)[0].Name) return;  // the whole picture whatever the region
    for (TPixelFormat F : {pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit})
      for (auto [Low, High] : {std::pair{0, 255}, std::pair{255, 255}, std::pair{0, 0}, std::pair{60, 130},
                               std::pair{200, 100}}) {
        const int Bits = PixelFormatStorageBits(F);
        TPlane Work(W, Bits, Padded, G), New(W, Bits, Padded, G), Mask(W, 8, Padded, G, true);
        TPlane Want = Work;
        for (int Y = 0; Y < Rows; ++Y)
          for (int X = 0; X < W; ++X)
            if (Mask.Row(Y)[X] >= Low && Mask.Row(Y)[X] <= High)
              WritePixel(Want.Row(Y), X, F, ReadPixel(New.Row(Y), X, F));
        CopyLevelRange(Work.Row(0), New.Row(0), Mask.Row(0), F, High, Low, W, Rows, Mask.Stride, Work.Stride);
        ExpectSame(Work, Want, W, F, "format " + std::to_string(F) + ", " + std::to_string(Low) + ".." +
                                            std::to_string(High) + ", width " + std::to_string(W));
      }
  });
}

// round(X / D) with halves up, in plain integer arithmetic.
unsigned RoundedDiv(unsigned X, unsigned D) { return (2 * X + D) / (2 * D); }

TEST(MaskWork, SmoothedComposeIsTheLinearMixRoundedToNearest) {
  ForEachCase([](int W, bool Padded, const TRegion& R, std::mt19937& G) {
    TPlane Work(W, 32, Padded, G), Old(W, 32, Padded, G), New(W, 32, Padded, G), Mask(W, 8, Padded, G, true);
    TPlane Want = Work;
    for (int Y = 0; Y < Rows; ++Y)
      for (int X = 0; X < W; ++X) {
        if (!InRegion(R, 8, W, X, Y)) continue;
        const unsigned L = Mask.Row(Y)[X];
        for (int B = 0; B < 4; ++B) {
          const unsigned O = Old.Row(Y)[4 * X + B], N = New.Row(Y)[4 * X + B];
          Want.Row(Y)[4 * X + B] = static_cast<std::uint8_t>(RoundedDiv(O * L + N * (255 - L), 255));
        }
      }
    ComposeSmoothed(Work.Row(0), Old.Row(0), New.Row(0), Mask.Row(0), R.Inner, R.Outer, W, Rows, Mask.Stride, Work.Stride);
    ExpectSame(Work, Want, W, pf32bit, std::string(R.Name) + ", width " + std::to_string(W));
  });
}

// Frame after frame from the old image, in steps of 1 to 9, the graded compose leaves every pixel
// of the region where the fade of its level has brought it: Old until its level is passed, then
// d / FadeLength of the way to New, New from d = FadeLength on; untouched outside the region.
// Smooth turns the mask into slow ramps, so that whole groups of pixels lie in a frame's window.
void ExpectGradedFrames(int W, bool Padded, const TRegion& R, std::mt19937& G, std::mt19937& Steps, bool Smooth) {
  for (int Fade : {8, 32, 128}) {
    TPlane Old(W, 32, Padded, G), New(W, 32, Padded, G), Mask(W, 8, Padded, G, true);
    if (Smooth)
      for (int Y = 0; Y < Rows; ++Y)
        for (int X = 0; X < W; ++X) Mask.Row(Y)[X] = static_cast<std::uint8_t>((X / 40 + 3 * Y) % 256);
    TPlane Work = Old;
    const TPlane Start = Old;
    int Prev = 255;
    for (int Frame = 1; 255 - Frame > -Fade; Frame += 1 + static_cast<int>(Steps() % 9)) {
      const int Level = 255 - Frame;
      ComposeGraded(Work.Row(0), Old.Row(0), New.Row(0), Mask.Row(0), R.Inner, R.Outer, W, Rows, Mask.Stride,
                    Work.Stride, Level, Prev, Fade);
      Prev = Level;
      TPlane Want = Start;
      for (int Y = 0; Y < Rows; ++Y)
        for (int X = 0; X < W; ++X) {
          if (!InRegion(R, 8, W, X, Y)) continue;
          const unsigned D = static_cast<unsigned>(std::clamp(Mask.Row(Y)[X] - Level, 0, Fade));
          for (int B = 0; B < 4; ++B)
            Want.Row(Y)[4 * X + B] = static_cast<std::uint8_t>(
                RoundedDiv(Old.Row(Y)[4 * X + B] * (Fade - D) + New.Row(Y)[4 * X + B] * D, Fade));
        }
      ExpectSame(Work, Want, W, pf32bit, std::string(R.Name) + ", fade " + std::to_string(Fade) + ", frame " +
                                        std::to_string(Frame) + ", width " + std::to_string(W));
      if (testing::Test::HasFatalFailure()) return;
    }
  }
}

TEST(MaskWork, GradedComposeFadesEachPixelLinearlyFromItsLevelOn) {
  std::mt19937 Steps(77);
  ForEachCase([&Steps](int W, bool Padded, const TRegion& R, std::mt19937& G) {
    if (W % 16 != 1 && W > 40) return;  // the frame sequences make this one slow: fewer widths
    ExpectGradedFrames(W, Padded, R, G, Steps, false);
  });
}

// Rows long enough for the kernels' look ahead to wrap around (thousands of pixels in one run
// when the rows lie back to back), with ramps that put whole groups in the window.
TEST(MaskWork, GradedComposeOverLongRunsOfRampsIsTheSameFade) {
  std::mt19937 G(5), Steps(6);
  test::ForEachSimdLevel([&](TSimdLevel) {
    for (int W : {1440, 1123})
      for (bool Padded : {true, false})
        for (const TRegion& R : {Regions(W)[0], Regions(W)[3]}) {
          ExpectGradedFrames(W, Padded, R, G, Steps, true);
          if (testing::Test::HasFatalFailure()) return;
        }
  });
}

}  // namespace
}  // namespace vte
