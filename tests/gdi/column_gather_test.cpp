// The column gather of stretches: every level against GatherRowBytes over pixel sizes, squeezes,
// enlargements, mirrored columns and row lengths, with the source row against an inaccessible page
// on either side (a read outside it faults) and guard bytes around the output, with window blocks
// and span blocks of every size forced; which plan a stretch gets at the vector level; and canvas
// stretches that go through it at every level.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "gdi/blit_rows.h"
#include "gdi/canvas.h"
#include "gdi/raster_op.h"
#include "gdi/column_gather.h"
#include "support/bitmap_support.h"
#include "support/simd_support.h"

namespace vte {
namespace {

// Bytes with an inaccessible page right after them (AtEnd) or right before them.
class TGuardedBytes {
public:
  TGuardedBytes(std::size_t Bytes, bool AtEnd) {
    const std::size_t Page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t Data = (Bytes + Page - 1) / Page * Page + Page;
    FLength = Data + Page;
    FBase = static_cast<std::uint8_t*>(mmap(nullptr, FLength, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    if (FBase == MAP_FAILED) throw std::runtime_error("mmap");
    if (AtEnd) {
      mprotect(FBase + Data, Page, PROT_NONE);
      FData = FBase + Data - Bytes;
    } else {
      mprotect(FBase, Page, PROT_NONE);
      FData = FBase + Page;
    }
  }
  ~TGuardedBytes() { munmap(FBase, FLength); }
  TGuardedBytes(const TGuardedBytes&) = delete;
  TGuardedBytes& operator=(const TGuardedBytes&) = delete;
  std::uint8_t* Data() const { return FData; }

private:
  std::uint8_t* FBase;
  std::uint8_t* FData;
  std::size_t FLength;
};

// The columns of a nearest-neighbour stretch of SourceWidth pixels onto Width, mirrored when
// asked, the way the stretch map makes them: the source pixel under each destination centre.
std::vector<int> StretchColumns(int Width, int SourceWidth, bool Mirrored, int Offset) {
  std::vector<int> C(static_cast<std::size_t>(Width));
  for (int I = 0; I < Width; ++I) {
    const long long Q = (2LL * I + 1) * SourceWidth / (2LL * Width);
    C[static_cast<std::size_t>(I)] = Offset + static_cast<int>(Mirrored ? SourceWidth - 1 - Q : Q);
  }
  return C;
}

// Plans Columns over a source row of SourcePixels (against a guard page on the side asked), and
// gathers three different rows with the plan; each must equal the reference, with the guard
// bytes around the output untouched.
void ExpectSameAsReference(const std::vector<int>& Columns, int SourcePixels, int Bpp, std::mt19937& G,
                           const std::string& What, int Windows = -1, TBlockShape Shape = bsWindows) {
  constexpr int Guard = 40;
  const int N = static_cast<int>(Columns.size());
  const std::size_t SourceBytes = static_cast<std::size_t>(SourcePixels) * Bpp;
  const std::size_t OutBytes = static_cast<std::size_t>(N) * Bpp;
  TColumnGather Gather;
  Gather.Plan(Columns.data(), N, SourcePixels, Bpp, 1080, Windows, Shape);
  for (bool AtEnd : {true, false}) {
    TGuardedBytes Source(SourceBytes, AtEnd);
    for (int Pass = 0; Pass < 3; ++Pass) {
      for (std::size_t I = 0; I < SourceBytes; ++I) Source.Data()[I] = static_cast<std::uint8_t>(G());
      std::vector<std::uint8_t> Want(OutBytes + 2 * Guard, 0x5A), Got(OutBytes + 2 * Guard, 0x5A);
      GatherRowBytes(Want.data() + Guard, Source.Data(), Bpp, Columns.data(), N);
      Gather.Gather(Got.data() + Guard, Source.Data());
      ASSERT_EQ(Got, Want) << What << " guard page " << (AtEnd ? "after" : "before") << " windows "
                           << Gather.WindowsPerBlock() << (Gather.SpanBlocks() ? " spans" : "");
    }
  }
}

TEST(ColumnGather, EveryLevelMatchesTheReferenceOverScalesMirrorsAndLengths) {
  // Destination : source widths from a squeeze to a twentieth to a sevenfold enlargement.
  const std::pair<int, int> Ratios[] = {{1, 20}, {1, 7}, {1, 4}, {1, 3}, {10, 21}, {1, 2}, {2, 3}, {3, 4},
                                        {9, 10}, {99, 100}, {1, 1}, {101, 100}, {11, 10}, {3, 2}, {2, 1}, {7, 1}};
  std::vector<int> Lengths;
  for (int N = 1; N <= 67; ++N) Lengths.push_back(N);
  for (int N : {95, 128, 255, 1899, 1901}) Lengths.push_back(N);
  std::mt19937 G(7031);
  test::ForEachSimdLevel([&](TSimdLevel) {
    for (int Bpp = 1; Bpp <= 4; ++Bpp)
      for (auto [Dest, Src] : Ratios)
        for (int N : Lengths)
          for (bool Mirrored : {false, true}) {
            // At least one source pixel; the source row ends with the last column or a few
            // pixels after it, and may start before the first.
            const int SourceWidth = std::max(1, static_cast<int>(static_cast<long long>(N) * Src / Dest));
            const int Before = static_cast<int>(G() % 3 == 0 ? G() % 50 : 0);
            const int After = static_cast<int>(G() % 2 == 0 ? G() % 5 : 0);
            const std::vector<int> Columns = StretchColumns(N, SourceWidth, Mirrored, Before);
            // The vector level also with every number of windows a block, whether it pays or not,
            // in window blocks and in span blocks.
            for (int Windows : {-1, 1, 2, 3, 4})
              for (TBlockShape Shape : {bsWindows, bsSpans}) {
                if (Windows > 0 && CurrentSimdLevel() < slAVX2) break;
                if (Windows < 0 && Shape == bsSpans) continue;
                ExpectSameAsReference(Columns, Before + SourceWidth + After, Bpp, G,
                                      "bpp " + std::to_string(Bpp) + " " + std::to_string(Dest) + ":" +
                                          std::to_string(Src) + " n " + std::to_string(N) +
                                          (Mirrored ? " mirrored" : "") + " windows " + std::to_string(Windows) +
                                          (Shape == bsSpans ? " spans" : ""),
                                      Windows, Shape);
                if (HasFatalFailure()) return;
              }
          }
  });
}

TEST(ColumnGather, PiecesOfAMapAndColumnsThatRepeatOrJump) {
  std::mt19937 G(991);
  test::ForEachSimdLevel([&](TSimdLevel) {
    for (int Bpp = 1; Bpp <= 4; ++Bpp) {
      // A clipped piece starts anywhere in the columns of the whole stretch.
      const std::vector<int> Whole = StretchColumns(700, 1013, false, 0);
      std::vector<int> Jumps(150);
      for (std::size_t I = 0; I < Jumps.size(); ++I) Jumps[I] = I % 9 == 4 ? 499 : I % 11 == 3 ? 0 : static_cast<int>(I);
      for (int Windows = -1; Windows <= 4; ++Windows)
        for (TBlockShape Shape : {bsWindows, bsSpans}) {
          for (int From : {0, 1, 5, 333, 650, 690}) {
            const std::vector<int> Piece(Whole.begin() + From, Whole.end() - (From % 7));
            ExpectSameAsReference(Piece, 1013, Bpp, G, "piece from " + std::to_string(From), Windows, Shape);
          }
          // One column over and over, and columns that jump to either end of the row and back.
          ExpectSameAsReference(std::vector<int>(77, 40), 41, Bpp, G, "one column", Windows, Shape);
          ExpectSameAsReference(Jumps, 500, Bpp, G, "jumps", Windows, Shape);
          if (HasFatalFailure()) return;
        }
    }
  });
}

TEST(ColumnGather, PlanCostsAtTheVectorLevel) {
  if (SupportedSimdLevel() < slAVX2) GTEST_SKIP() << "no AVX2";
  TColumnGather Gather;
  auto WindowsFor = [&](int Width, int SourceWidth, int Bpp, bool Mirrored) {
    const std::vector<int> C = StretchColumns(Width, SourceWidth, Mirrored, 0);
    Gather.Plan(C.data(), Width, SourceWidth, Bpp, 1080);
    return Gather.WindowsPerBlock();
  };
  // Enlarging: eight pixels from one window, one block per eight pixels (plus the last one).
  // These and the halving below are span blocks (see there).
  EXPECT_EQ(WindowsFor(2880, 1920, 4, false), 1);
  EXPECT_EQ(Gather.BlockCount(), 2880 / 8);
  EXPECT_EQ(WindowsFor(2880, 1920, 4, true), 1);  // mirrored: windows end with their first pixel
  EXPECT_EQ(Gather.BlockCount(), 2880 / 8);
  // Squeezed to half, the blocks still hold eight pixels.
  EXPECT_EQ(WindowsFor(960, 1920, 4, false), 2);
  EXPECT_EQ(Gather.BlockCount(), 960 / 8);
  EXPECT_EQ(WindowsFor(960, 1920, 4, true), 2);
  // Four-byte pixels down to a quarter take span blocks: eight pixels a block from adjacent
  // windows, as many as the widest eight columns need, and one block ending with the row.
  struct TSpanCase {
    int Width, Windows;
  };
  // Eight columns of a step 1920 / Width spread over 7 steps + 1 pixels: past 8 below 1:1, past 16
  // below 896, past 24 below 585, past 32 below 434.
  for (const TSpanCase& S : {TSpanCase{2880, 1}, TSpanCase{1921, 1}, TSpanCase{1919, 2}, TSpanCase{960, 2},
                             TSpanCase{896, 2}, TSpanCase{895, 3}, TSpanCase{640, 3}, TSpanCase{584, 4},
                             TSpanCase{480, 4}, TSpanCase{434, 4}})
    for (bool Mirrored : {false, true}) {
      SCOPED_TRACE(std::to_string(S.Width) + (Mirrored ? " mirrored" : ""));
      EXPECT_EQ(WindowsFor(S.Width, 1920, 4, Mirrored), S.Windows);
      EXPECT_TRUE(Gather.SpanBlocks());
      EXPECT_EQ(Gather.BlockCount(), (S.Width + 7) / 8);
    }
  // Below that, some eight columns do not fit four windows; the other sizes have no span blocks.
  EXPECT_FALSE((WindowsFor(433, 1920, 4, false), Gather.SpanBlocks()));
  EXPECT_FALSE((WindowsFor(1280, 1920, 2, false), Gather.SpanBlocks()));
  // Forced: span blocks of the windows asked where the columns fit them, window blocks where not,
  // and window blocks when the source row is shorter than the run of windows.
  const std::vector<int> Half = StretchColumns(960, 1920, false, 0);
  Gather.Plan(Half.data(), 960, 1920, 4, 1080, 4, bsSpans);
  EXPECT_TRUE(Gather.SpanBlocks());
  EXPECT_EQ(Gather.WindowsPerBlock(), 4);
  Gather.Plan(Half.data(), 960, 1920, 4, 1080, 1, bsSpans);
  EXPECT_FALSE(Gather.SpanBlocks());
  EXPECT_EQ(Gather.WindowsPerBlock(), 1);
  const std::vector<int> Short = StretchColumns(40, 20, false, 0);
  Gather.Plan(Short.data(), 40, 20, 4, 1080, 2, bsSpans);
  EXPECT_TRUE(Gather.SpanBlocks());
  Gather.Plan(Short.data(), 40, 20, 4, 1080, 3, bsSpans);
  EXPECT_FALSE(Gather.SpanBlocks());
  // The other sizes take blocks too where a window serves several pixels.
  EXPECT_GE(WindowsFor(1280, 1920, 2, false), 1);
  EXPECT_GE(WindowsFor(1280, 1920, 1, false), 1);
  EXPECT_GE(WindowsFor(1440, 1920, 3, false), 1);
  // Squeezed to a twentieth, a window serves one pixel: pixel by pixel.
  EXPECT_EQ(WindowsFor(96, 1920, 4, false), 0);
  EXPECT_EQ(Gather.BlockCount(), 0);
  // Columns that step by one are a copy, whatever the level.
  EXPECT_EQ(WindowsFor(1920, 1920, 4, false), 0);
  // A plan for a few rows is not worth its blocks.
  const std::vector<int> C = StretchColumns(960, 1920, false, 0);
  Gather.Plan(C.data(), 960, 1920, 4, 4);
  EXPECT_EQ(Gather.WindowsPerBlock(), 0);
}

TEST(ColumnGather, CanvasStretchesAreTheSameAtEveryLevel) {
  struct TCase {
    int X, W, XS, WS;
    std::uint32_t Rop;
  };
  const TCase Cases[] = {
      {3, 391, 0, 517, SRCCOPY},    // squeeze, rows copied straight in
      {0, 517, 517, -517, SRCCOPY},  // mirrored
      {5, 500, 2, 123, SRCCOPY},    // enlarge
      {-20, 560, 4, 451, SRCINVERT},  // through the scratch row, past the left edge
      {1, 99, 0, 517, SRCAND},      // strong squeeze
  };
  for (TPixelFormat F : {pf8bit, pf16bit, pf24bit, pf32bit}) {
    TBitmap Src(517, 23, F), Start(530, 31, F);
    test::FillNoise(Src, 3);
    test::FillNoise(Start, 4);
    for (const TCase& C : Cases) {
      ForceSimdLevel(slScalar);
      TBitmap Want(Start);
      Want.Canvas().StretchBlt(C.X, 2, C.W, 29, Src.Canvas(), C.XS, 0, C.WS, 23, C.Rop);
      ResetSimdLevel();
      test::ForEachSimdLevel([&](TSimdLevel) {
        TBitmap Got(Start);
        Got.Canvas().StretchBlt(C.X, 2, C.W, 29, Src.Canvas(), C.XS, 0, C.WS, 23, C.Rop);
        ASSERT_TRUE(test::SameMemory(Got, Want)) << "pf" << F << " case " << (&C - Cases);
      });
    }
  }
  // The whole bitmap squeezed into itself: the engine reads from a copy of its rows.
  TBitmap Self(300, 9, pf32bit);
  test::FillNoise(Self, 5);
  ForceSimdLevel(slScalar);
  TBitmap Want(Self);
  Want.Canvas().StretchBlt(10, 0, 250, 9, Want.Canvas(), 0, 0, 300, 9, SRCCOPY);
  ResetSimdLevel();
  test::ForEachSimdLevel([&](TSimdLevel) {
    TBitmap Got(Self);
    Got.Canvas().StretchBlt(10, 0, 250, 9, Got.Canvas(), 0, 0, 300, 9, SRCCOPY);
    ASSERT_TRUE(test::SameMemory(Got, Want));
  });
}

}  // namespace
}  // namespace vte
