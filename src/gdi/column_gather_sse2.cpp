// Column gather pixel by pixel, the SSE2 level and the rest of a row at higher levels: a pixel a
// load as in the reference, but several pixels joined in a register for one store, which halves
// the time of the one-store-per-pixel loop.
#include "gdi/simd_sse2.h"

#include <cstring>

#include "gdi/column_gather.h"

namespace vte::simd_sse2 {

namespace {

template <class T>
inline T Load(const std::uint8_t* P) {
  T V;
  std::memcpy(&V, P, sizeof V);
  return V;
}

template <class T>
inline void Store(std::uint8_t* P, T V) {
  std::memcpy(P, &V, sizeof V);
}

// Four pixels a store of sixteen bytes.
void Pixels4(std::uint8_t* Out, const std::uint8_t* Row, const int* C, int N, int) {
  int I = 0;
  for (; I + 4 <= N; I += 4) {
    const __m128i A = _mm_cvtsi32_si128(Load<int>(Row + 4 * C[I]));
    const __m128i B = _mm_cvtsi32_si128(Load<int>(Row + 4 * C[I + 1]));
    const __m128i D = _mm_cvtsi32_si128(Load<int>(Row + 4 * C[I + 2]));
    const __m128i E = _mm_cvtsi32_si128(Load<int>(Row + 4 * C[I + 3]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 4 * I),
                     _mm_unpacklo_epi64(_mm_unpacklo_epi32(A, B), _mm_unpacklo_epi32(D, E)));
  }
  for (; I < N; ++I) std::memcpy(Out + 4 * I, Row + 4 * C[I], 4);
}

// Four pixels a store of eight bytes.
void Pixels2(std::uint8_t* Out, const std::uint8_t* Row, const int* C, int N, int) {
  int I = 0;
  for (; I + 4 <= N; I += 4) {
    const std::uint64_t V = Load<std::uint16_t>(Row + 2 * C[I]) |
                            std::uint64_t{Load<std::uint16_t>(Row + 2 * C[I + 1])} << 16 |
                            std::uint64_t{Load<std::uint16_t>(Row + 2 * C[I + 2])} << 32 |
                            std::uint64_t{Load<std::uint16_t>(Row + 2 * C[I + 3])} << 48;
    Store(Out + 2 * I, V);
  }
  for (; I < N; ++I) std::memcpy(Out + 2 * I, Row + 2 * C[I], 2);
}

// Eight pixels a store of eight bytes.
void Pixels1(std::uint8_t* Out, const std::uint8_t* Row, const int* C, int N, int) {
  int I = 0;
  for (; I + 8 <= N; I += 8) {
    std::uint64_t V = 0;
    for (int J = 7; J >= 0; --J) V = V << 8 | Row[C[I + J]];
    Store(Out + I, V);
  }
  for (; I < N; ++I) Out[I] = Row[C[I]];
}

// Four pixels a group, read four bytes each and joined into twelve bytes for two stores; a group
// that holds the last pixel of the source row (where a fourth byte would be past the row) goes
// pixel by pixel, as do the last pixels of the output.
void Pixels3(std::uint8_t* Out, const std::uint8_t* Row, const int* C, int N, int SourcePixels) {
  constexpr std::uint64_t Low24 = 0xFFFFFF;
  const int Last = SourcePixels - 1;
  int I = 0;
  for (; I + 4 <= N; I += 4) {
    if (C[I] == Last || C[I + 1] == Last || C[I + 2] == Last || C[I + 3] == Last) {
      for (int J = I; J < I + 4; ++J) std::memcpy(Out + 3 * J, Row + 3 * C[J], 3);
      continue;
    }
    const std::uint64_t A = Load<std::uint32_t>(Row + 3 * C[I]) & Low24;
    const std::uint64_t B = Load<std::uint32_t>(Row + 3 * C[I + 1]) & Low24;
    const std::uint64_t D = Load<std::uint32_t>(Row + 3 * C[I + 2]) & Low24;
    const std::uint32_t E = Load<std::uint32_t>(Row + 3 * C[I + 3]);
    Store(Out + 3 * I, A | B << 24 | D << 48);
    Store(Out + 3 * I + 8, static_cast<std::uint32_t>(D >> 16 | static_cast<std::uint64_t>(E) << 8));
  }
  for (; I < N; ++I) std::memcpy(Out + 3 * I, Row + 3 * C[I], 3);
}

}  // namespace

const column_gather_detail::TPixelKernels ColumnGatherPixels{{nullptr, Pixels1, Pixels2, Pixels3, Pixels4}};

}  // namespace vte::simd_sse2
