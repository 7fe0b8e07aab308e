#pragma once
// The AVX2 side of the kernel pattern (gdi/simd_kernel.h): included first by the files named
// *_avx2.cpp, which are compiled with -mavx2. Vectors of 32 bytes; the 128-bit wrappers are
// there too, for the last steps of a row.
#if defined(VTE_SIMD_NAMESPACE)
#error "a file compiles its kernels for one instruction set"
#endif
#if !defined(__AVX2__)
#error "gdi/simd_avx2.h belongs to files named *_avx2.cpp (compiled with -mavx2)"
#endif
#include <immintrin.h>

#define VTE_SIMD_NAMESPACE simd_avx2
#include "gdi/simd_kernel.h"

#define VTE_LANES_VEC __m256i
#define VTE_LANES_OP(Name) _mm256_##Name
#define VTE_LANES_SI(Name) _mm256_##Name##_si256
#include "gdi/simd_lanes.h"
#undef VTE_LANES_VEC
#undef VTE_LANES_OP
#undef VTE_LANES_SI

namespace vte::simd_avx2 {
namespace {

using TVec = __m256i;
inline constexpr int VecBytes = 32;

template <> struct TVecOfBytes<32> {
  using T = __m256i;
};
template <> inline __m256i JoinHalves<__m256i>(const __m128i* H) { return _mm256_set_m128i(H[1], H[0]); }

// IfSet where Mask is all ones, IfClear where it is all zeros (lane by lane): a byte blend.
inline TVec Select(TVec Mask, TVec IfSet, TVec IfClear) { return _mm256_blendv_epi8(IfClear, IfSet, Mask); }

// (X * K) mod 2^32 in every 32-bit lane, K given as Mul32Factor(K).
inline TVec Mul32Factor(std::uint32_t K) { return _mm256_set1_epi32(static_cast<int>(K)); }
inline TVec Mul32(TVec X, TVec Factor) { return _mm256_mullo_epi32(X, Factor); }

// The VecBytes bytes at P as 16-bit lanes, in order: the first half in Lo, the second in Hi
// (widened half by half; the unpacks would interleave the 128-bit halves).
inline void WidenBytes(const void* P, TVec& Lo, TVec& Hi) {
  const auto* Half = static_cast<const __m128i*>(P);
  Lo = _mm256_cvtepu8_epi16(_mm_loadu_si128(Half));
  Hi = _mm256_cvtepu8_epi16(_mm_loadu_si128(Half + 1));
}
// The 16-bit lanes of Lo, then of Hi, as unsigned saturated bytes in order (WidenBytes undone):
// the pack works within 128-bit halves, the permute puts the quarters in order again.
inline TVec PackUs16InOrder(TVec Lo, TVec Hi) {
  return _mm256_permute4x64_epi64(_mm256_packus_epi16(Lo, Hi), 0xD8);
}

// Byte lane k := byte VecBytes / 8 - 1 - k / 8 of Bits: the bytes of Bits, highest first, each
// spread over eight lanes. The byte shuffle works within 128-bit halves: both hold all four.
inline TVec SpreadBytesBy8(std::uint32_t Bits) {
  const TVec Spread = _mm256_setr_epi8(3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0,
                                       0, 0, 0, 0, 0, 0);
  return _mm256_shuffle_epi8(_mm256_set1_epi32(static_cast<int>(Bits)), Spread);
}

// The VecBytes / Times bytes at P in order, each repeated Times (2 or 4) times: one mask byte for
// every byte of its 16- or 32-bit pixel. Widened first, so that no byte crosses a 128-bit half.
template <int Times> inline TVec SpreadEachByte(const std::uint8_t* P) {
  if constexpr (Times == 4) {
    const TVec Wide = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(P)));
    const TVec Spread = _mm256_setr_epi8(0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12, 0, 0, 0, 0, 4, 4, 4, 4, 8,
                                         8, 8, 8, 12, 12, 12, 12);
    return _mm256_shuffle_epi8(Wide, Spread);
  } else {
    const TVec Wide = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(P)));
    return _mm256_or_si256(Wide, _mm256_slli_epi16(Wide, 8));
  }
}

}  // namespace
}  // namespace vte::simd_avx2
