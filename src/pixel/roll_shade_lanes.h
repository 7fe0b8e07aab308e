#pragma once
// Four-pixel steps of the shaded roll band in SSE2, shared by the SSE2 and AVX2 kernel files.
// The pixels are widened to 16-bit lanes (B, G, R, X) so that the product c * M (at most
// 255 * 256) stays exact; the X lane multiplies by 256 and adds 0, which keeps that byte.
// Internal linkage on purpose: each including file compiles them with its own instruction set,
// and one file's copies must never stand in for another's.
#include <emmintrin.h>

#include <cstdint>

namespace vte {
namespace {

// The one-pixel rule of ShadeRollPixel for the ends of rows. A copy with internal linkage: an
// inline function of a shared header compiled here with AVX2 could otherwise be the copy the
// linker keeps for the plain code too.
inline void ShadeOnePixel(std::uint8_t* D, const std::uint8_t* S, std::uint32_t Entry) {
  const unsigned M = Entry & 0xFFFF, A = (Entry >> 16) & 0xFF;
  for (int C = 0; C < 3; ++C) {
    const unsigned V = ((S[C] * M) >> 8) + A;
    D[C] = static_cast<std::uint8_t>(V > 255 ? 255 : V);
  }
  D[3] = S[3];
}

// A band across the rows touches a new page in every row, a piece of a few cache lines each,
// too short for the processor to see a stream: every line of the row a few ahead is asked for
// while this one is shaded. (A prefetch past the last row is harmless: it never faults.)
inline void PrefetchAhead(const std::uint8_t* Dest, std::ptrdiff_t DestStride, const std::uint8_t* Src,
                          std::ptrdiff_t SrcStride, int Bytes) {
  constexpr int Ahead = 8;
  for (int K = 0; K < Bytes; K += 64) {
    __builtin_prefetch(Src + Ahead * SrcStride + K);
    __builtin_prefetch(Dest + Ahead * DestStride + K, 1);
  }
}

// Lanes (M, M, M, 256) of the two pixels whose entries are in the 32-bit words 0 and 1 of E, and
// (A, A, A, 0) for the same pixels.
inline void ExpandTwo(__m128i E, __m128i& Mul, __m128i& Add) {
  const __m128i KeepColour = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
  const __m128i XMul = _mm_set_epi16(256, 0, 0, 0, 256, 0, 0, 0);
  // Words: M0, A0, M0, A0, M1, A1, M1, A1.
  const __m128i Twice = _mm_unpacklo_epi32(E, E);
  const __m128i M = _mm_shufflehi_epi16(_mm_shufflelo_epi16(Twice, _MM_SHUFFLE(0, 0, 0, 0)), _MM_SHUFFLE(0, 0, 0, 0));
  const __m128i A = _mm_shufflehi_epi16(_mm_shufflelo_epi16(Twice, _MM_SHUFFLE(1, 1, 1, 1)), _MM_SHUFFLE(1, 1, 1, 1));
  Mul = _mm_or_si128(_mm_and_si128(M, KeepColour), XMul);
  Add = _mm_and_si128(A, KeepColour);
}

// The lanes of four pixels whose entries are the four words of E: multipliers for pixels 0-1
// and 2-3, and the sixteen bytes to add.
struct TFourLanes {
  __m128i MulLo, MulHi, Add;
};

inline TFourLanes ExpandFour(__m128i E) {
  TFourLanes L;
  __m128i AddLo, AddHi;
  ExpandTwo(E, L.MulLo, AddLo);
  ExpandTwo(_mm_unpackhi_epi64(E, E), L.MulHi, AddHi);
  L.Add = _mm_packus_epi16(AddLo, AddHi);
  return L;
}

inline __m128i ShadeFour(__m128i P, const TFourLanes& L) {
  const __m128i Zero = _mm_setzero_si128();
  const __m128i Lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(P, Zero), L.MulLo), 8);
  const __m128i Hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(P, Zero), L.MulHi), 8);
  return _mm_adds_epu8(_mm_packus_epi16(Lo, Hi), L.Add);
}

inline void ShadeFourAt(std::uint8_t* D, const std::uint8_t* S, const TFourLanes& L) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(D), ShadeFour(_mm_loadu_si128(reinterpret_cast<const __m128i*>(S)), L));
}

}  // namespace
}  // namespace vte
