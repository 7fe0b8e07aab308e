#pragma once
// The SSE2 side of the kernel pattern (gdi/simd_kernel.h): included first by the files named
// *_sse2.cpp, which are compiled with -msse2. Vectors of 16 bytes.
#if defined(VTE_SIMD_NAMESPACE)
#error "a file compiles its kernels for one instruction set"
#endif
#if !defined(__SSE2__)
#error "gdi/simd_sse2.h belongs to files named *_sse2.cpp (compiled with -msse2)"
#endif
#include <emmintrin.h>

#define VTE_SIMD_NAMESPACE simd_sse2
#include "gdi/simd_kernel.h"

namespace vte::simd_sse2 {
namespace {

using TVec = __m128i;
inline constexpr int VecBytes = 16;

// IfSet where Mask is all ones, IfClear where it is all zeros (lane by lane); SSE2 has no byte
// blend, so three logic steps.
inline TVec Select(TVec Mask, TVec IfSet, TVec IfClear) {
  return _mm_or_si128(_mm_and_si128(Mask, IfSet), _mm_andnot_si128(Mask, IfClear));
}

// (X * K) mod 2^32 in every 32-bit lane, for K below 2^16 given as Mul32Factor(K). SSE2 has no
// 32-bit multiply: the low halves' full products plus the high halves' low products moved up.
inline TVec Mul32Factor(std::uint32_t K) { return _mm_set1_epi16(static_cast<short>(K)); }
inline TVec Mul32(TVec X, TVec Factor) {
  return _mm_add_epi32(_mm_mullo_epi16(X, Factor), _mm_slli_epi32(_mm_mulhi_epu16(X, Factor), 16));
}

// The VecBytes bytes at P as 16-bit lanes, in order: the first half in Lo, the second in Hi.
inline void WidenBytes(const void* P, TVec& Lo, TVec& Hi) {
  const TVec V = _mm_loadu_si128(static_cast<const TVec*>(P)), Zero = _mm_setzero_si128();
  Lo = _mm_unpacklo_epi8(V, Zero);
  Hi = _mm_unpackhi_epi8(V, Zero);
}
// The 16-bit lanes of Lo, then of Hi, as unsigned saturated bytes in order (WidenBytes undone).
inline TVec PackUs16InOrder(TVec Lo, TVec Hi) { return _mm_packus_epi16(Lo, Hi); }

// Byte lane k := byte VecBytes / 8 - 1 - k / 8 of Bits: the bytes of Bits, highest first, each
// spread over eight lanes.
inline TVec SpreadBytesBy8(std::uint32_t Bits) {
  return _mm_unpacklo_epi64(_mm_set1_epi8(static_cast<char>(Bits >> 8)), _mm_set1_epi8(static_cast<char>(Bits & 0xFF)));
}

// The VecBytes / Times bytes at P in order, each repeated Times (2 or 4) times: one mask byte for
// every byte of its 16- or 32-bit pixel.
template <int Times> inline TVec SpreadEachByte(const std::uint8_t* P) {
  if constexpr (Times == 4) {
    int Word;
    __builtin_memcpy(&Word, P, 4);
    const TVec V = _mm_cvtsi32_si128(Word);
    const TVec Twice = _mm_unpacklo_epi8(V, V);
    return _mm_unpacklo_epi16(Twice, Twice);
  } else {
    const TVec V = _mm_loadl_epi64(reinterpret_cast<const TVec*>(P));
    return _mm_unpacklo_epi8(V, V);
  }
}

}  // namespace
}  // namespace vte::simd_sse2
