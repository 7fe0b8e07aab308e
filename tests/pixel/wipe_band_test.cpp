// The wipe band's row kernels: every level against the plain reference, and the reference against
// the raster operations it stands for (SRCAND, DSna and SRCPAINT through two buffers).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "gdi/canvas.h"
#include "gdi/raster_op.h"
#include "pixel/wipe_band.h"
#include "support/bitmap_support.h"
#include "support/simd_support.h"

namespace vte {
namespace {

std::vector<std::uint8_t> Noise(std::size_t N, std::mt19937& G) {
  std::vector<std::uint8_t> V(N);
  for (auto& B : V) B = static_cast<std::uint8_t>(G());
  return V;
}

TEST(WipeBand, EveryKernelMatchesTheReferenceOverWidthsAndMaskPhases) {
  constexpr int Guard = 40;
  std::mt19937 G(1642);
  test::ForEachSimdLevel([&](TSimdLevel Level) {
    const TBandRowKernels& K = BandRowKernels(Level);
    for (int Bytes = 1; Bytes <= 4; ++Bytes)
      for (int Count = 1; Count <= 257; ++Count)
        for (int Phase : {0, 1, 3, 7, 8, 13}) {
          const std::size_t Length = static_cast<std::size_t>(Count) * Bytes;
          const std::vector<std::uint8_t> Old = Noise(Length, G), New = Noise(Length, G);
          // Exactly the mask bytes that hold the bits: reading past them would be a fault the
          // address sanitizer build reports.
          const std::vector<std::uint8_t> Mask = Noise(static_cast<std::size_t>((Phase + Count + 7) / 8), G);
          std::vector<std::uint8_t> Want(Length + 2 * Guard, 0xA5), Got(Length + 2 * Guard, 0xA5);
          ComposeBandRowReference(Want.data() + Guard, Old.data(), New.data(), Mask.data(), Phase, Count, Bytes);
          K.Row[Bytes](Got.data() + Guard, Old.data(), New.data(), Mask.data(), Phase, Count);
          ASSERT_EQ(Got, Want) << "bytes " << Bytes << " count " << Count << " phase " << Phase;
        }
  });
}

TEST(WipeBand, ReferenceTakesOldUnderWhiteAndNewUnderBlackAndMayWriteInPlace) {
  // Mask 1010 0000 1111 0000 from bit 2: pixels 0..9 read bits 2..11 = 1 0 0 0 0 0 1 1 1 1.
  const std::uint8_t Mask[] = {0xA0, 0xF0};
  std::vector<std::uint8_t> Old(10 * 3), New(10 * 3);
  for (int I = 0; I < 30; ++I) {
    Old[I] = static_cast<std::uint8_t>(I);
    New[I] = static_cast<std::uint8_t>(200 + I);
  }
  const bool Want[] = {true, false, false, false, false, false, true, true, true, true};
  test::ForEachSimdLevel([&](TSimdLevel Level) {
    std::vector<std::uint8_t> Dest = New;  // in place over the new row
    BandRowKernels(Level).Row[3](Dest.data(), Old.data(), Dest.data(), Mask, 2, 10);
    for (int I = 0; I < 10; ++I)
      for (int B = 0; B < 3; ++B) EXPECT_EQ(Dest[I * 3 + B], (Want[I] ? Old : New)[I * 3 + B]) << I;
  });
}

// The two band buffers and three raster operations of the canvas, over the same area.
TBitmap ThroughBuffers(const TBitmap& Old, const TBitmap& New, TBitmap& Mask, const TRect& Area, TPoint MaskAt,
                       const TBitmap& Start) {
  TBitmap OldSide(Area.Width(), Area.Height(), Old.PixelFormat()), NewSide(Area.Width(), Area.Height(), Old.PixelFormat());
  TBitmap Out(Start.Width(), Start.Height(), Start.PixelFormat());
  Out.Canvas().BitBlt(0, 0, Out.Width(), Out.Height(), const_cast<TBitmap&>(Start).Canvas(), 0, 0, SRCCOPY);
  const int W = Area.Width(), H = Area.Height();
  OldSide.Canvas().BitBlt(0, 0, W, H, const_cast<TBitmap&>(Old).Canvas(), Area.Left, Area.Top, SRCCOPY);
  OldSide.Canvas().BitBlt(0, 0, W, H, Mask.Canvas(), MaskAt.X, MaskAt.Y, SRCAND);
  NewSide.Canvas().BitBlt(0, 0, W, H, const_cast<TBitmap&>(New).Canvas(), Area.Left, Area.Top, SRCCOPY);
  NewSide.Canvas().BitBlt(0, 0, W, H, Mask.Canvas(), MaskAt.X, MaskAt.Y, DSna);
  NewSide.Canvas().BitBlt(0, 0, W, H, OldSide.Canvas(), 0, 0, SRCPAINT);
  Out.Canvas().BitBlt(Area.Left, Area.Top, W, H, NewSide.Canvas(), 0, 0, SRCCOPY);
  return Out;
}

TEST(WipeBand, ComposeBandGivesWhatTheRasterOperationsAndTheStripCopyGiveInEveryByteFormat) {
  constexpr int W = 61, H = 23;
  TBitmap Mask(90, 40, pf1bit);
  test::FillNoise(Mask, 9);
  for (TPixelFormat F : {pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    SCOPED_TRACE(static_cast<int>(F));
    TBitmap Old(W, H, F), New(W, H, F), Start(W, H, F);
    test::FillNoise(Old, 1);
    test::FillNoise(New, 2);
    test::FillNoise(Start, 3);
    struct TCase {
      TRect Area;
      TPoint At;
      TRect Strip;
    };
    // The whole bitmap; an inner band with a strip beside it; a one-column band under a strip
    // that overlaps it and reaches rows the band does not; a strip alone.
    for (const TCase& C : {TCase{Rect(0, 0, W, H), {0, 0}, {}}, TCase{Rect(5, 3, 56, 20), {13, 7}, Rect(0, 3, 5, 20)},
                           TCase{Rect(17, 2, 18, 9), {29, 16}, Rect(10, 6, 20, 15)}, TCase{{}, {}, Rect(3, 0, 4, H)}}) {
      TBitmap Want = C.Area.IsEmpty() ? Start : ThroughBuffers(Old, New, Mask, C.Area, C.At, Start);
      Want.Canvas().BitBlt(C.Strip.Left, C.Strip.Top, C.Strip.Width(), C.Strip.Height(), New.Canvas(), C.Strip.Left,
                           C.Strip.Top, SRCCOPY);
      test::ForEachSimdLevel([&](TSimdLevel) {
        TBitmap Got(W, H, F);
        Got.Canvas().BitBlt(0, 0, W, H, Start.Canvas(), 0, 0, SRCCOPY);
        ASSERT_TRUE(CanComposeBand(Got, Old, New));
        ComposeBand(Got, Old, New, Mask, C.Area, C.At, C.Strip);
        EXPECT_EQ(test::DescribeDifference(Got, Want), "");
      });
    }
  }
}

TEST(WipeBand, MixesOnlyBitmapsWhosePixelBitsMeanTheSame) {
  TBitmap A(8, 8, pf32bit), B(8, 8, pf32bit), C24(8, 8, pf24bit), Four(8, 8, pf4bit);
  EXPECT_TRUE(CanComposeBand(A, A, B));
  EXPECT_FALSE(CanComposeBand(A, C24, B));
  EXPECT_FALSE(CanComposeBand(Four, Four, Four));
  TBitmap P1(8, 8, pf8bit), P2(8, 8, pf8bit), P3(8, 8, pf8bit);
  EXPECT_TRUE(CanComposeBand(P1, P2, P3));
  P3.SetPalette(test::RandomPalette(256, 5));
  EXPECT_FALSE(CanComposeBand(P1, P2, P3));
}

}  // namespace
}  // namespace vte
