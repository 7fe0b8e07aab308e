// SSE2 kernels of the wipe band: sixteen bytes a step, a mask lane per pixel made by comparing the
// pixel's own bit; the rest of a row pixel by pixel.
#include <emmintrin.h>

#include "pixel/wipe_band.h"

namespace vte {

namespace {

using wipe_band_detail::BitsAt;
using wipe_band_detail::SelectPixels;

__attribute__((target("sse2"))) inline __m128i Select(__m128i White, __m128i Old, __m128i New) {
  return _mm_or_si128(_mm_and_si128(White, Old), _mm_andnot_si128(White, New));
}

__attribute__((target("sse2"))) inline void Step(std::uint8_t* Dest, const std::uint8_t* Old,
                                                 const std::uint8_t* New, __m128i White) {
  const __m128i O = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Old));
  const __m128i N = _mm_loadu_si128(reinterpret_cast<const __m128i*>(New));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(Dest), Select(White, O, N));
}

// Eight pixels of four bytes a step (two stores), their eight bits split in halves.
__attribute__((target("sse2"))) void Row4(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New,
                                          const std::uint8_t* MaskRow, int MaskBit, int Count) {
  const __m128i Sel = _mm_setr_epi32(8, 4, 2, 1);
  const int Shift = MaskBit & 7;
  int I = 0;
  for (; I + 8 <= Count; I += 8) {
    const std::uint32_t Bits = BitsAt<8>(MaskRow + ((MaskBit + I) >> 3), Shift);
    const __m128i High = _mm_and_si128(_mm_set1_epi32(static_cast<int>(Bits >> 4)), Sel);
    const __m128i Low = _mm_and_si128(_mm_set1_epi32(static_cast<int>(Bits & 15)), Sel);
    Step(Dest + 4 * I, Old + 4 * I, New + 4 * I, _mm_cmpeq_epi32(High, Sel));
    Step(Dest + 4 * I + 16, Old + 4 * I + 16, New + 4 * I + 16, _mm_cmpeq_epi32(Low, Sel));
  }
  SelectPixels<4>(Dest + 4 * I, Old + 4 * I, New + 4 * I, MaskRow, MaskBit + I, Count - I);
}

// Eight pixels of two bytes a step.
__attribute__((target("sse2"))) void Row2(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New,
                                          const std::uint8_t* MaskRow, int MaskBit, int Count) {
  const __m128i Sel = _mm_setr_epi16(0x80, 0x40, 0x20, 0x10, 8, 4, 2, 1);
  const int Shift = MaskBit & 7;
  int I = 0;
  for (; I + 8 <= Count; I += 8) {
    const std::uint32_t Bits = BitsAt<8>(MaskRow + ((MaskBit + I) >> 3), Shift);
    const __m128i Lanes = _mm_and_si128(_mm_set1_epi16(static_cast<short>(Bits)), Sel);
    Step(Dest + 2 * I, Old + 2 * I, New + 2 * I, _mm_cmpeq_epi16(Lanes, Sel));
  }
  SelectPixels<2>(Dest + 2 * I, Old + 2 * I, New + 2 * I, MaskRow, MaskBit + I, Count - I);
}

// Sixteen pixels of one byte a step: each half of the sixteen bits spread over eight byte lanes.
__attribute__((target("sse2"))) void Row1(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New,
                                          const std::uint8_t* MaskRow, int MaskBit, int Count) {
  const __m128i Sel = _mm_setr_epi8(-128, 0x40, 0x20, 0x10, 8, 4, 2, 1, -128, 0x40, 0x20, 0x10, 8, 4, 2, 1);
  const int Shift = MaskBit & 7;
  int I = 0;
  for (; I + 16 <= Count; I += 16) {
    const std::uint32_t Bits = BitsAt<16>(MaskRow + ((MaskBit + I) >> 3), Shift);
    const __m128i Spread = _mm_unpacklo_epi64(_mm_set1_epi8(static_cast<char>(Bits >> 8)),
                                              _mm_set1_epi8(static_cast<char>(Bits & 0xFF)));
    Step(Dest + I, Old + I, New + I, _mm_cmpeq_epi8(_mm_and_si128(Spread, Sel), Sel));
  }
  SelectPixels<1>(Dest + I, Old + I, New + I, MaskRow, MaskBit + I, Count - I);
}

// Three-byte pixels do not fill lanes evenly: whole pixels one by one.
void Row3(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New, const std::uint8_t* MaskRow,
          int MaskBit, int Count) {
  SelectPixels<3>(Dest, Old, New, MaskRow, MaskBit, Count);
}

}  // namespace

namespace wipe_band_detail {
const TBandRowKernels SSE2Kernels{{nullptr, Row1, Row2, Row3, Row4}};
}  // namespace wipe_band_detail

}  // namespace vte
