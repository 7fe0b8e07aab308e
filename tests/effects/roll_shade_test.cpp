// The shaded roll band's routines: the cylinder's table, the per-pixel rule, the SIMD row kernels
// against the plain ones, and the band walk over a bitmap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gdi/bitmap.h"
#include "pixel/roll_shade.h"
#include "pixel/roll_shade_kernels.h"
#include "gdi/simd_level.h"
#include "support/bitmap_support.h"
#include "support/simd_support.h"

namespace vte {
namespace {

// What a mid grey becomes under an entry: the brightness of the cylinder at that line.
int GreyLevel(std::uint32_t Entry) {
  std::uint8_t P[4] = {128, 128, 128, 0};
  ShadeRollPixel(P, Entry);
  return P[0];
}

std::vector<std::uint32_t> Table(int Lines) {
  // One guard entry past the end: the builder must leave it alone.
  std::vector<std::uint32_t> T(static_cast<std::size_t>(Lines) + 3, 0xDEADBEEFu);
  BuildRollShadeTable(T.data(), Lines);
  EXPECT_EQ(T.back(), 0xDEADBEEFu) << "wrote past Lines + 2 entries";
  T.pop_back();
  return T;
}

TEST(RollShadeTable, HoldsValidEntriesSampledSilhouetteToSilhouette) {
  const std::vector<std::uint32_t> One = Table(1);
  for (int Lines = 0; Lines <= 300; ++Lines) {
    SCOPED_TRACE(Lines);
    const std::vector<std::uint32_t> T = Table(Lines);
    for (std::uint32_t E : T) {
      EXPECT_LE(RollShadeMultiplier(E), 256);
      EXPECT_EQ(E >> 24, 0u);
    }
    // The two silhouettes are the same points of the circle whatever the width.
    EXPECT_EQ(T.front(), One.front());
    EXPECT_EQ(T.back(), One.back());
    // An odd number of lines puts a line on the crest (the centre of a one-line band).
    if (Lines % 2 == 1) {
      EXPECT_EQ(T[(Lines + 1) / 2], One[1]);
    }
  }
}

TEST(RollShadeTable, IsLitAcrossTheMiddleAndDarkTowardsBothEdges) {
  for (int Lines : {8, 9, 20, 60, 61, 200}) {
    SCOPED_TRACE(Lines);
    const std::vector<std::uint32_t> T = Table(Lines);
    std::vector<int> Level;
    for (int J = 1; J <= Lines; ++J) Level.push_back(GreyLevel(T[J]));
    const auto Peak = std::max_element(Level.begin(), Level.end());
    const int PeakAt = static_cast<int>(Peak - Level.begin());
    // The crest of the light lies in the middle half, leaning towards line 0 (the light's side).
    EXPECT_GE(PeakAt, Lines / 4);
    EXPECT_LE(PeakAt, Lines / 2);
    // Both edge lines lie in shadow, the one turned away from the light deepest.
    EXPECT_LT(Level.front() * 5, *Peak * 3);
    EXPECT_LT(Level.back() * 3, *Peak);
    EXPECT_LT(Level.back(), Level.front());
    // From each edge the light rises to the crest without dipping (one level of rounding aside).
    for (int J = 1; J <= PeakAt; ++J) EXPECT_GE(Level[J], Level[J - 1] - 1) << J;
    for (int J = PeakAt + 1; J < Lines; ++J) EXPECT_LE(Level[J], Level[J - 1] + 1) << J;
    // A highlight: the crest goes well past the grey it lights.
    EXPECT_GT(*Peak, 200);
  }
}

TEST(RollShadePixel, ScalesAddsAndSaturatesColourBytesAndKeepsTheFourth) {
  std::uint8_t P[4] = {10, 200, 255, 77};
  ShadeRollPixel(P, RollShadeIdentity);
  EXPECT_EQ(std::vector<int>(P, P + 4), (std::vector<int>{10, 200, 255, 77}));
  ShadeRollPixel(P, RollShadeEntry(128, 0));
  EXPECT_EQ(std::vector<int>(P, P + 4), (std::vector<int>{5, 100, 127, 77}));
  ShadeRollPixel(P, RollShadeEntry(256, 150));
  EXPECT_EQ(std::vector<int>(P, P + 4), (std::vector<int>{155, 250, 255, 77}));
  ShadeRollPixel(P, RollShadeEntry(0, 3));
  EXPECT_EQ(std::vector<int>(P, P + 4), (std::vector<int>{3, 3, 3, 77}));
}

// Random entries over the whole range, with the extremes among them.
std::vector<std::uint32_t> RandomEntries(int Count, std::uint32_t Seed) {
  std::vector<std::uint32_t> E(static_cast<std::size_t>(Count));
  for (int I = 0; I < Count; ++I) {
    Seed = Seed * 1103515245u + 12345u;
    const int M = I % 7 == 0 ? 256 : static_cast<int>((Seed >> 8) % 257);
    const int A = I % 5 == 0 ? 255 : static_cast<int>((Seed >> 20) & 0xFF);
    E[I] = RollShadeEntry(M, A);
  }
  return E;
}

std::vector<std::uint8_t> RandomBytes(std::size_t Count, std::uint32_t Seed) {
  std::vector<std::uint8_t> B(Count);
  for (auto& V : B) {
    Seed = Seed * 1664525u + 1013904223u;
    V = static_cast<std::uint8_t>(Seed >> 24);
  }
  return B;
}

class RollShadeKernelsTest : public ::testing::TestWithParam<TSimdLevel> {
protected:
  void SetUp() override {
    if (SupportedSimdLevel() < GetParam()) GTEST_SKIP() << SimdLevelName(GetParam()) << " not supported here";
  }
};

// Rows of Count pixels with 9 guard bytes before the first and 46 after each, so that the rows
// start at odd addresses and the kernels cannot count on any alignment.
TEST_P(RollShadeKernelsTest, AcrossMatchesThePlainRowsAndStaysInside) {
  const TRollShadeKernels& K = RollShadeKernels(GetParam());
  for (int Count = 0; Count <= 257; ++Count) {
    SCOPED_TRACE(Count);
    const int Rows = 3;
    const std::ptrdiff_t Stride = 4 * Count + 46;
    const std::vector<std::uint32_t> Entries = RandomEntries(Count, 77 + Count);
    const std::vector<std::uint8_t> Start = RandomBytes(Stride * Rows + 9, Count);
    std::vector<std::uint8_t> Want = Start, Got = Start;
    ShadeRollRowsAcrossScalar(Want.data() + 9, Stride, Want.data() + 9, Stride, Rows, Count, Entries.data());
    K.Across(Got.data() + 9, Stride, Got.data() + 9, Stride, Rows, Count, Entries.data());
    ASSERT_EQ(Got, Want);
    // From another bitmap (another stride, rows at odd places): the source's pixels copied and
    // shaded, the destination's bytes around them kept, the source untouched.
    const std::ptrdiff_t SourceStride = 4 * Count + 13;
    const std::vector<std::uint8_t> Source = RandomBytes(SourceStride * Rows + 5, Count + 1000);
    std::vector<std::uint8_t> Copied = Start;
    for (int Y = 0; Y < Rows; ++Y)
      std::copy_n(Source.begin() + 5 + Y * SourceStride, 4 * Count, Copied.begin() + 9 + Y * Stride);
    ShadeRollRowsAcrossScalar(Copied.data() + 9, Stride, Copied.data() + 9, Stride, Rows, Count, Entries.data());
    std::vector<std::uint8_t> From = Start, SourceAfter = Source;
    K.Across(From.data() + 9, Stride, SourceAfter.data() + 5, SourceStride, Rows, Count, Entries.data());
    ASSERT_EQ(From, Copied);
    ASSERT_EQ(SourceAfter, Source);
    // The plain rows touch only the band's pixels, and only their colour bytes.
    for (std::size_t I = 0; I < Start.size(); ++I) {
      const std::ptrdiff_t InRow = (static_cast<std::ptrdiff_t>(I) - 9) % Stride;
      const bool Colour = I >= 9 && InRow < 4 * Count && InRow % 4 != 3;
      if (!Colour) {
        ASSERT_EQ(Want[I], Start[I]) << I;
      }
    }
  }
}

TEST_P(RollShadeKernelsTest, AlongMatchesThePlainRow) {
  const TRollShadeKernels& K = RollShadeKernels(GetParam());
  for (int Count = 0; Count <= 257; ++Count) {
    SCOPED_TRACE(Count);
    for (std::uint32_t Entry : RandomEntries(6, 5 * Count + 1)) {
      for (int Offset : {0, 4, 12}) {
        const std::vector<std::uint8_t> Start = RandomBytes(4 * Count + 64, Count + Entry);
        std::vector<std::uint8_t> Want = Start, Got = Start;
        ShadeRollRowAlongScalar(Want.data() + Offset, Want.data() + Offset, Count, Entry);
        K.Along(Got.data() + Offset, Got.data() + Offset, Count, Entry);
        ASSERT_EQ(Got, Want) << "entry " << std::hex << Entry << " offset " << Offset;
        // From another row: as a copy shaded in place.
        const std::vector<std::uint8_t> Source = RandomBytes(4 * Count + 3, Count + Entry + 7);
        std::vector<std::uint8_t> Copied = Start, From = Start;
        std::copy_n(Source.begin() + 3, 4 * Count, Copied.begin() + Offset);
        ShadeRollRowAlongScalar(Copied.data() + Offset, Copied.data() + Offset, Count, Entry);
        K.Along(From.data() + Offset, Source.data() + 3, Count, Entry);
        ASSERT_EQ(From, Copied) << "entry " << std::hex << Entry << " offset " << Offset;
      }
    }
  }
}

// Every byte value through every multiplier, in the widest kernel of the level.
TEST_P(RollShadeKernelsTest, EveryValueAndMultiplierAgree) {
  const TRollShadeKernels& K = RollShadeKernels(GetParam());
  std::vector<std::uint8_t> Row(256 * 4);
  for (int V = 0; V < 256; ++V) Row[4 * V] = Row[4 * V + 1] = Row[4 * V + 2] = Row[4 * V + 3] = static_cast<std::uint8_t>(V);
  for (int M = 0; M <= 256; ++M)
    for (int A : {0, 1, 128, 255}) {
      std::vector<std::uint8_t> Want = Row, Got = Row;
      ShadeRollRowAlongScalar(Want.data(), Want.data(), 256, RollShadeEntry(M, A));
      K.Along(Got.data(), Got.data(), 256, RollShadeEntry(M, A));
      ASSERT_EQ(Got, Want) << M << " " << A;
    }
}

INSTANTIATE_TEST_SUITE_P(RollShadeLevels, RollShadeKernelsTest, ::testing::Values(slScalar, slSSE2, slAVX2),
                         [](const auto& Info) { return std::string(SimdLevelName(Info.param)); });

// The band walk on a bitmap: the given rectangle only, each line with its own entry, counted from
// the band's first line (which may lie outside the rectangle); shaded in place, or copied from
// another bitmap at an offset and shaded in the same pass. Everything else keeps its bytes.
TEST(RollShadeBand, ShadesTheVisibleRectangleLineByLineInPlaceOrFromAnotherBitmap) {
  const std::vector<std::uint32_t> T = Table(30);
  test::ForEachSimdLevel([&](TSimdLevel) {
    for (bool Across : {true, false})
      for (bool FromSource : {false, true}) {
        SCOPED_TRACE(std::string(Across ? "across" : "along") + (FromSource ? ", from a source" : ", in place"));
        TBitmap B(53, 41, pf32bit), Source(61, 47, pf32bit);
        test::FillNoise(B, 3);
        test::FillNoise(Source, 5);
        const TBitmap Before = B;
        // Lines 5 .. 34 form the band; only lines 9 .. 34 lie inside the rectangle.
        const int First = 5, Dx = 7, Dy = -1;
        const TRect R = Across ? Rect(9, 2, 35, 39) : Rect(1, 9, 52, 35);
        if (FromSource)
          ShadeRollBandFrom(B.ScanLine(0), B.ScanlineBytes(), Source.ScanLine(0), Source.ScanlineBytes(), Dx, Dy,
                            R.Left, R.Top, R.Right, R.Bottom, Across, First, T.data());
        else
          ShadeRollBand(B.ScanLine(0), B.ScanlineBytes(), R.Left, R.Top, R.Right, R.Bottom, Across, First, T.data());
        for (int Y = 0; Y < B.Height(); ++Y)
          for (int X = 0; X < B.Width(); ++X) {
            std::uint32_t Want = test::Raw(Before, X, Y);
            if (PtInRect(R, {X, Y})) {
              if (FromSource) Want = test::Raw(Source, X + Dx, Y + Dy);
              ShadeRollPixel(reinterpret_cast<std::uint8_t*>(&Want), T[(Across ? X : Y) - First + 1]);
            }
            ASSERT_EQ(test::Raw(B, X, Y), Want) << X << "," << Y;
          }
      }
  });
}

}  // namespace
}  // namespace vte
