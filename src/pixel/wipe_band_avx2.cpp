// AVX2 kernels of the wipe band: thirty-two bytes a step, a mask lane per pixel made by comparing
// the pixel's own bit, then a byte blend; the rest of a row pixel by pixel.
#include <immintrin.h>

#include "pixel/wipe_band.h"

namespace vte {

namespace {

using wipe_band_detail::BitsAt;
using wipe_band_detail::SelectPixels;

__attribute__((target("avx2"))) inline void Step(std::uint8_t* Dest, const std::uint8_t* Old,
                                                 const std::uint8_t* New, __m256i White) {
  const __m256i O = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Old));
  const __m256i N = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(New));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(Dest), _mm256_blendv_epi8(N, O, White));
}

// Eight pixels of four bytes a step.
__attribute__((target("avx2"))) void Row4(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New,
                                          const std::uint8_t* MaskRow, int MaskBit, int Count) {
  const __m256i Sel = _mm256_setr_epi32(0x80, 0x40, 0x20, 0x10, 8, 4, 2, 1);
  const int Shift = MaskBit & 7;
  int I = 0;
  for (; I + 8 <= Count; I += 8) {
    const std::uint32_t Bits = BitsAt<8>(MaskRow + ((MaskBit + I) >> 3), Shift);
    const __m256i Lanes = _mm256_and_si256(_mm256_set1_epi32(static_cast<int>(Bits)), Sel);
    Step(Dest + 4 * I, Old + 4 * I, New + 4 * I, _mm256_cmpeq_epi32(Lanes, Sel));
  }
  SelectPixels<4>(Dest + 4 * I, Old + 4 * I, New + 4 * I, MaskRow, MaskBit + I, Count - I);
}

// Sixteen pixels of two bytes a step.
__attribute__((target("avx2"))) void Row2(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New,
                                          const std::uint8_t* MaskRow, int MaskBit, int Count) {
  const __m256i Sel = _mm256_setr_epi16(-32768, 0x4000, 0x2000, 0x1000, 0x800, 0x400, 0x200, 0x100, 0x80, 0x40,
                                        0x20, 0x10, 8, 4, 2, 1);
  const int Shift = MaskBit & 7;
  int I = 0;
  for (; I + 16 <= Count; I += 16) {
    const std::uint32_t Bits = BitsAt<16>(MaskRow + ((MaskBit + I) >> 3), Shift);
    const __m256i Lanes = _mm256_and_si256(_mm256_set1_epi16(static_cast<short>(Bits)), Sel);
    Step(Dest + 2 * I, Old + 2 * I, New + 2 * I, _mm256_cmpeq_epi16(Lanes, Sel));
  }
  SelectPixels<2>(Dest + 2 * I, Old + 2 * I, New + 2 * I, MaskRow, MaskBit + I, Count - I);
}

// Thirty-two pixels of one byte a step: each of the four mask bytes spread over eight byte lanes.
__attribute__((target("avx2"))) void Row1(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New,
                                          const std::uint8_t* MaskRow, int MaskBit, int Count) {
  const __m256i Sel = _mm256_set1_epi64x(0x0102040810204080LL);
  // Lane k takes mask byte k / 8, the first byte being the most significant of the 32 bits.
  const __m256i Spread = _mm256_setr_epi8(3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 0,
                                          0, 0, 0, 0, 0, 0, 0);
  const int Shift = MaskBit & 7;
  int I = 0;
  for (; I + 32 <= Count; I += 32) {
    const std::uint32_t Bits = BitsAt<32>(MaskRow + ((MaskBit + I) >> 3), Shift);
    // The byte shuffle works within 128-bit halves: both halves hold all four bytes.
    const __m256i Bytes = _mm256_shuffle_epi8(_mm256_set1_epi32(static_cast<int>(Bits)), Spread);
    Step(Dest + I, Old + I, New + I, _mm256_cmpeq_epi8(_mm256_and_si256(Bytes, Sel), Sel));
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
const TBandRowKernels AVX2Kernels{{nullptr, Row1, Row2, Row3, Row4}};
}  // namespace wipe_band_detail

}  // namespace vte
