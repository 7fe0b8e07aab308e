// The blend of two pixel blocks: every instruction-set level against the per-channel definition
// (floor of the weighted difference, the sources swapped above level 128), over the formats,
// awkward lengths and alignments, with guard words past the block.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "pixel/blend_work.h"
#include "gdi/simd_level.h"
#include "support/bitmap_support.h"
#include "support/simd_support.h"

namespace vte {
namespace {

int FloorDiv256(int X) { return X >= 0 ? X / 256 : -((-X + 255) / 256); }

// The definition for one channel: a from the first source, b from the second.
int Mix(int A, int B, int Level, bool FiveBit) {
  if (Level <= 128) return B + FloorDiv256((A - B) * Level);
  const int W = (FiveBit ? 256 : 255) - Level;
  return A + FloorDiv256((B - A) * W);
}

// Channel layout of a 16-bit pixel: {shift, width}.
struct TChannel {
  int Shift, Bits;
};
std::vector<TChannel> Channels16(TPixelFormat F) {
  if (F == pf16bit) return {{0, 5}, {5, 6}, {11, 5}};
  return {{0, 5}, {5, 5}, {10, 5}};
}

// What the blocks must hold after BlendMemory: channel by channel (24/32-bit: every byte; 15/16:
// every 16-bit pixel, a 15-bit pixel's top bit 0), equal words kept when skipping.
std::vector<std::uint8_t> Expected(TPixelFormat F, const std::vector<std::uint8_t>& A,
                                   const std::vector<std::uint8_t>& B, const std::vector<std::uint8_t>& Before,
                                   std::size_t Bytes, int Level, bool Skip) {
  std::vector<std::uint8_t> R = Before;
  const bool Five = F == pf15bit || F == pf16bit;
  if (!Five) {
    for (std::size_t I = 0; I < Bytes; ++I) R[I] = static_cast<std::uint8_t>(Mix(A[I], B[I], Level, false));
  } else {
    for (std::size_t I = 0; I < Bytes; I += 2) {
      const int Pa = A[I] | A[I + 1] << 8, Pb = B[I] | B[I + 1] << 8;
      int P = 0;
      for (const TChannel& C : Channels16(F)) {
        const int Mask = (1 << C.Bits) - 1;
        P |= Mix((Pa >> C.Shift) & Mask, (Pb >> C.Shift) & Mask, Level, true) << C.Shift;
      }
      R[I] = static_cast<std::uint8_t>(P);
      R[I + 1] = static_cast<std::uint8_t>(P >> 8);
    }
  }
  if (Skip)
    for (std::size_t I = 0; I < Bytes; I += 4)
      if (std::memcmp(&A[I], &B[I], 4) == 0) std::memcpy(&R[I], &Before[I], 4);
  return R;
}

std::vector<int> LevelsOf(TPixelFormat F) {
  std::vector<int> L;
  if (F == pf15bit || F == pf16bit)
    for (int V = 8; V <= 248; V += 8) L.push_back(V);
  else
    for (int V = 1; V <= 254; ++V) L.push_back(V);
  return L;
}

constexpr std::size_t Guard = 64;

TEST(BlendMemory, EveryLevelFormatAndWidthMatchesThePerChannelFormula) {
  // Two rows (their padding is part of the block) of widths 1..257: every width with a third of
  // the levels and every level with a third of the widths, all short widths with every level.
  // Dest at a different 4-byte offset each width so that every alignment head runs; a third of the
  // words equal in both sources, skipped at odd levels and some even ones.
  std::mt19937 Rng(5);
  int Checked = 0;
  for (TPixelFormat F : test::DirectFormats) {
    SCOPED_TRACE(test::FormatName(F));
    for (int Level : LevelsOf(F)) {
      const bool Skip = Level % 2 == 1 || Level % 16 == 8;
      for (int W = 1; W <= 257; ++W) {
        if (W > 24 && (W + Level) % 3 != 0) continue;
        const std::size_t Bytes = static_cast<std::size_t>(ScanlineBytes(W, F)) * 2;
        std::vector<std::uint8_t> A(Bytes), B(Bytes), Before(Bytes + Guard + 32);
        for (auto& V : A) V = static_cast<std::uint8_t>(Rng());
        for (auto& V : B) V = static_cast<std::uint8_t>(Rng());
        for (auto& V : Before) V = static_cast<std::uint8_t>(Rng());
        for (std::size_t I = 0; I + 4 <= Bytes; I += 12) std::memcpy(&B[I], &A[I], 4);
        const std::size_t Offset = 4 * (W % 8);
        const std::vector<std::uint8_t> BeforeBlock(Before.begin() + Offset, Before.end());
        const std::vector<std::uint8_t> Want = Expected(F, A, B, BeforeBlock, Bytes, Level, Skip);
        test::ForEachSimdLevel([&](TSimdLevel) {
          std::vector<std::uint8_t> D = Before;
          BlendMemory(D.data() + Offset, A.data(), B.data(), Skip ? 10 : 9, Level, Bytes, F);
          ASSERT_TRUE(std::equal(D.begin(), D.begin() + Offset, Before.begin())) << "before the block";
          ASSERT_TRUE(std::equal(Want.begin(), Want.end(), D.begin() + Offset))
              << "level " << Level << " width " << W << " skip " << Skip;
          ++Checked;
        });
      }
    }
  }
  EXPECT_GT(Checked, 0);
}

// Every pair of channel values in every channel position of a word: pair number
// (I * Mul + Add) mod Pairs, Mul odd, runs through all pairs as I does.
void ExhaustivePairs(TPixelFormat F) {
  const bool Five = F == pf15bit || F == pf16bit;
  const std::size_t Words = Five ? 4096 : 65536;
  std::vector<std::uint8_t> A(Words * 4), B(Words * 4);
  if (!Five) {
    const std::uint32_t Mul[4] = {1, 40503, 2897, 65533}, Add[4] = {0, 77, 12345, 999};
    for (std::size_t I = 0; I < Words; ++I)
      for (int J = 0; J < 4; ++J) {
        const std::uint32_t Pair = (static_cast<std::uint32_t>(I) * Mul[J] + Add[J]) & 0xFFFF;
        A[4 * I + J] = static_cast<std::uint8_t>(Pair >> 8);
        B[4 * I + J] = static_cast<std::uint8_t>(Pair);
      }
  } else {
    const std::vector<TChannel> Ch = Channels16(F);
    const std::uint32_t Mul[6] = {1, 3, 5, 7, 11, 13}, Add[6] = {0, 100, 200, 300, 400, 500};
    for (std::size_t I = 0; I < Words; ++I)
      for (int Px = 0; Px < 2; ++Px) {
        // The unused top bit of a 15-bit pixel set in both sources: the blend drops it.
        int Pa = F == pf15bit ? 0x8000 : 0, Pb = Pa;
        for (int C = 0; C < 3; ++C) {
          const int Bits = Ch[C].Bits, K = Px * 3 + C;
          const std::uint32_t Pair = (static_cast<std::uint32_t>(I) * Mul[K] + Add[K]) & ((1u << 2 * Bits) - 1);
          Pa |= static_cast<int>(Pair >> Bits) << Ch[C].Shift;
          Pb |= static_cast<int>(Pair & ((1u << Bits) - 1)) << Ch[C].Shift;
        }
        A[4 * I + 2 * Px] = static_cast<std::uint8_t>(Pa);
        A[4 * I + 2 * Px + 1] = static_cast<std::uint8_t>(Pa >> 8);
        B[4 * I + 2 * Px] = static_cast<std::uint8_t>(Pb);
        B[4 * I + 2 * Px + 1] = static_cast<std::uint8_t>(Pb >> 8);
      }
  }
  std::vector<std::uint8_t> D(A.size());
  for (int Level : LevelsOf(F)) {
    const std::vector<std::uint8_t> Want = Expected(F, A, B, D, A.size(), Level, false);
    test::ForEachSimdLevel([&](TSimdLevel) {
      std::fill(D.begin(), D.end(), 0x5A);
      BlendMemory(D.data(), A.data(), B.data(), 0, Level, A.size(), F);
      ASSERT_TRUE(D == Want) << "level " << Level;
    });
  }
}

TEST(BlendMemory, ExhaustiveOverAllChannelPairsOfEachLane) {
  for (TPixelFormat F : {pf32bit, pf16bit, pf15bit}) {
    SCOPED_TRACE(test::FormatName(F));
    ExhaustivePairs(F);
  }
}

TEST(BlendMemory, EdgeLevelsGiveTheStatedMixes) {
  TBitmap Old(37, 5, pf24bit), New(37, 5, pf24bit), D(37, 5, pf24bit);
  test::FillNoise(Old, 1);
  test::FillNoise(New, 2);
  const std::size_t Bytes = Old.ImageSize();
  test::ForEachSimdLevel([&](TSimdLevel) {
    // 128: the plain average, rounded down; 64: a quarter of the way.
    BlendMemory(D.Bits(), New.Bits(), Old.Bits(), 0, 128, Bytes, pf24bit);
    for (std::size_t I = 0; I < Bytes; ++I) ASSERT_EQ(D.Bits()[I], (Old.Bits()[I] + New.Bits()[I]) / 2) << I;
    BlendMemory(D.Bits(), New.Bits(), Old.Bits(), 0, 64, Bytes, pf24bit);
    for (std::size_t I = 0; I < Bytes; ++I)
      ASSERT_EQ(D.Bits()[I], Old.Bits()[I] + FloorDiv256((New.Bits()[I] - Old.Bits()[I]) * 64)) << I;
  });
  // 254 on 32-bit: the last blended frame is the new image, one step short where the old is lower.
  TBitmap Old32(41, 3, pf32bit), New32(41, 3, pf32bit), D32(41, 3, pf32bit);
  test::FillNoise(Old32, 3);
  test::FillNoise(New32, 4);
  test::ForEachSimdLevel([&](TSimdLevel) {
    BlendMemory(D32.Bits(), New32.Bits(), Old32.Bits(), 0, 254, Old32.ImageSize(), pf32bit);
    for (std::size_t I = 0; I < Old32.ImageSize(); ++I) {
      const int N = New32.Bits()[I], O = Old32.Bits()[I];
      ASSERT_EQ(D32.Bits()[I], O < N ? N - 1 : N) << I;
    }
  });
}

TEST(BlendMemory, IdenticalSixteenBitImagesStayWithAndWithoutTheSkip) {
  TBitmap Image(33, 7, pf16bit), D(33, 7, pf16bit), Garbage(33, 7, pf16bit);
  test::FillNoise(Image, 9);
  test::FillNoise(Garbage, 10);
  test::ForEachSimdLevel([&](TSimdLevel) {
    for (int Level = 8; Level <= 248; Level += 8) {
      // Without the skip every word is written, and the mix of a picture with itself is itself.
      std::memcpy(D.Bits(), Garbage.Bits(), D.ImageSize());
      BlendMemory(D.Bits(), Image.Bits(), Image.Bits(), 9, Level, D.ImageSize(), pf16bit);
      ASSERT_EQ(0, std::memcmp(D.Bits(), Image.Bits(), D.ImageSize())) << Level;
      // With it nothing is written at all.
      std::memcpy(D.Bits(), Garbage.Bits(), D.ImageSize());
      BlendMemory(D.Bits(), Image.Bits(), Image.Bits(), 10, Level, D.ImageSize(), pf16bit);
      ASSERT_EQ(0, std::memcmp(D.Bits(), Garbage.Bits(), D.ImageSize())) << Level;
    }
  });
}

TEST(BlendMemory, FifteenBitTopBitIsZeroAfterABlend) {
  std::vector<std::uint8_t> A(4 * 301), B(4 * 301), D(4 * 301);
  std::mt19937 Rng(11);
  for (std::size_t I = 0; I < A.size(); ++I) {
    // Top bits set in every pixel of both sources.
    A[I] = static_cast<std::uint8_t>(Rng() | (I % 2 ? 0x80 : 0));
    B[I] = static_cast<std::uint8_t>(Rng() | (I % 2 ? 0x80 : 0));
  }
  test::ForEachSimdLevel([&](TSimdLevel) {
    for (int Level = 8; Level <= 248; Level += 8) {
      std::fill(D.begin(), D.end(), 0xFF);
      BlendMemory(D.data(), A.data(), B.data(), 0, Level, D.size(), pf15bit);
      for (std::size_t I = 1; I < D.size(); I += 2) ASSERT_EQ(D[I] & 0x80, 0) << Level << " byte " << I;
    }
  });
}

TEST(BlendMemory, LevelsZeroAndTheTopGiveTheSourcesThemselves) {
  TBitmap A(19, 3, pf32bit), B(19, 3, pf32bit), D(19, 3, pf32bit);
  test::FillNoise(A, 12);
  test::FillNoise(B, 13);
  test::ForEachSimdLevel([&](TSimdLevel) {
    BlendMemory(D.Bits(), A.Bits(), B.Bits(), 0, 0, A.ImageSize(), pf32bit);
    EXPECT_EQ(0, std::memcmp(D.Bits(), B.Bits(), A.ImageSize()));
    BlendMemory(D.Bits(), A.Bits(), B.Bits(), 0, 255, A.ImageSize(), pf32bit);
    EXPECT_EQ(0, std::memcmp(D.Bits(), A.Bits(), A.ImageSize()));
  });
  // A 16-bit weight of 256/256 is the first source exactly.
  TBitmap A16(19, 3, pf16bit), B16(19, 3, pf16bit), D16(19, 3, pf16bit);
  test::FillNoise(A16, 14);
  test::FillNoise(B16, 15);
  BlendMemory(D16.Bits(), A16.Bits(), B16.Bits(), 0, 256, A16.ImageSize(), pf16bit);
  EXPECT_EQ(0, std::memcmp(D16.Bits(), A16.Bits(), A16.ImageSize()));
}

TEST(BlendFrame, BlendsTheWholeBlocksWithSixteenBitLevelsInThirtySeconds) {
  for (TPixelFormat F : test::DirectFormats) {
    SCOPED_TRACE(test::FormatName(F));
    // An odd width: the padding at the end of each row is blended with the pixels.
    TBitmap New(13, 6, F), Old(13, 6, F), D(13, 6, F);
    test::FillNoise(New, 20);
    test::FillNoise(Old, 21);
    const bool Five = F == pf15bit || F == pf16bit;
    for (int Frame : {1, 7, 16, 31}) {
      const int Level = Five ? 8 * Frame : Frame;
      std::vector<std::uint8_t> Want(New.ImageSize());
      BlendMemory(Want.data(), New.Bits(), Old.Bits(), 0, Level, Want.size(), F);
      test::FillNoise(D, 22);
      BlendFrame(D, New, Old, 0, Frame, F, nullptr);
      EXPECT_EQ(0, std::memcmp(D.Bits(), Want.data(), Want.size())) << Frame;
      // Spot check against the formula itself: pixel (5, 2), blue.
      const int Mask = Five ? 31 : 255;
      const int Got = static_cast<int>(test::Raw(D, 5, 2)) & Mask;
      EXPECT_EQ(Got, Mix(static_cast<int>(test::Raw(New, 5, 2)) & Mask, static_cast<int>(test::Raw(Old, 5, 2)) & Mask,
                         Level, Five));
    }
  }
  TBitmap Small(12, 6, pf32bit), Big(13, 6, pf32bit);
  EXPECT_THROW(BlendFrame(Small, Big, Big, 0, 3, pf32bit, nullptr), std::invalid_argument);
}

TEST(BlendFrame, CountEqualWordsOnEveryLevel) {
  // Lengths around the vector widths, blocks starting at every byte offset, a third of the words
  // different in one byte, and different words just past the end that must not count.
  std::mt19937 Rng(31);
  for (std::size_t Words = 0; Words <= 75; ++Words)
    for (std::size_t Offset = 0; Offset < 4; ++Offset) {
      std::vector<std::uint8_t> A(4 * Words + 16), B;
      for (auto& V : A) V = static_cast<std::uint8_t>(Rng());
      B = A;
      std::size_t Equal = Words;
      for (std::size_t I = 0; I < Words; ++I)
        if (Rng() % 3 == 0) {
          B[Offset + 4 * I + Rng() % 4] ^= static_cast<std::uint8_t>(1 + Rng() % 255);
          --Equal;
        }
      B[Offset + 4 * Words] ^= 1;
      test::ForEachSimdLevel([&](TSimdLevel) {
        EXPECT_EQ(CountEqualWords(A.data() + Offset, B.data() + Offset, Words), Equal) << Words << " +" << Offset;
      });
    }
}

TEST(BlendFrame, CopyOpaqueSetsTheFourthByteOnEveryLevel) {
  // Lengths around the vector widths at every byte offset; the guard words past the end must stay.
  std::mt19937 Rng(37);
  for (std::size_t Words = 0; Words <= 75; ++Words)
    for (std::size_t Offset = 0; Offset < 4; ++Offset) {
      std::vector<std::uint8_t> Source(4 * Words + 4), Expected(4 * Words + Offset + 16, 0xA5);
      for (auto& V : Source) V = static_cast<std::uint8_t>(Rng());
      for (std::size_t I = 0; I < 4 * Words; ++I) Expected[Offset + I] = I % 4 == 3 ? 0xFF : Source[I];
      test::ForEachSimdLevel([&](TSimdLevel) {
        std::vector<std::uint8_t> Dest(Expected.size(), 0xA5);
        CopyOpaque(Dest.data() + Offset, Source.data(), Words);
        EXPECT_EQ(Dest, Expected) << Words << " +" << Offset;
      });
    }
}

}  // namespace
}  // namespace vte
