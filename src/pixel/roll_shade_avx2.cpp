// AVX2 kernels of the shaded roll band: eight pixels a step, the SSE2 scheme of roll_shade_lanes.h
// in both 128-bit halves (widening, lane shuffles and packing all stay inside a half, so the
// pixels come back in order), then one four-pixel step and the one-pixel rule for the rest of a
// row. Across a band the lanes of up to 64 pixels are worked out once and serve every row.
#include <immintrin.h>

#include "pixel/roll_shade_kernels.h"
#include "pixel/roll_shade_lanes.h"

namespace vte {

namespace {

constexpr int Chunk = 64;

struct TEightLanes {
  __m256i MulLo, MulHi, Add;
};

inline TEightLanes ExpandEight(const std::uint32_t* Entries) {
  // Each half holds two pixels' lanes of its four: pixels 0, 1 | 4, 5 for the low unpack,
  // 2, 3 | 6, 7 for the high one, as _mm256_unpack{lo,hi}_epi8 split the pixels.
  const TFourLanes A = ExpandFour(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Entries)));
  const TFourLanes B = ExpandFour(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Entries + 4)));
  return {_mm256_set_m128i(B.MulLo, A.MulLo), _mm256_set_m128i(B.MulHi, A.MulHi), _mm256_set_m128i(B.Add, A.Add)};
}

inline void ShadeEightAt(std::uint8_t* D, const std::uint8_t* S, const TEightLanes& L) {
  const __m256i V = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(S));
  const __m256i Zero = _mm256_setzero_si256();
  const __m256i Lo = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(V, Zero), L.MulLo), 8);
  const __m256i Hi = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(V, Zero), L.MulHi), 8);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(D), _mm256_adds_epu8(_mm256_packus_epi16(Lo, Hi), L.Add));
}

void AcrossAVX2(std::uint8_t* Dest, std::ptrdiff_t DestStride, const std::uint8_t* Src, std::ptrdiff_t SrcStride,
                int Rows, int Count, const std::uint32_t* Entries) {
  for (int C0 = 0; C0 < Count; C0 += Chunk) {
    const int N = Count - C0 < Chunk ? Count - C0 : Chunk, Steps = N / 8;
    const bool Four = N % 8 >= 4;
    TEightLanes Lanes[Chunk / 8];
    for (int S = 0; S < Steps; ++S) Lanes[S] = ExpandEight(Entries + C0 + 8 * S);
    TFourLanes Last{};
    if (Four) Last = ExpandFour(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Entries + C0 + 8 * Steps)));
    const int Done = 8 * Steps + (Four ? 4 : 0);
    std::uint8_t* R = Dest + 4 * C0;
    const std::uint8_t* F = Src + 4 * C0;
    for (int Y = 0; Y < Rows; ++Y, R += DestStride, F += SrcStride) {
      PrefetchAhead(R, DestStride, F, SrcStride, 4 * N);
      for (int S = 0; S < Steps; ++S) ShadeEightAt(R + 32 * S, F + 32 * S, Lanes[S]);
      if (Four) ShadeFourAt(R + 32 * Steps, F + 32 * Steps, Last);
      for (int I = Done; I < N; ++I) ShadeOnePixel(R + 4 * I, F + 4 * I, Entries[C0 + I]);
    }
  }
}

void AlongAVX2(std::uint8_t* Dest, const std::uint8_t* Src, int Count, std::uint32_t Entry) {
  const TFourLanes Four = ExpandFour(_mm_set1_epi32(static_cast<int>(Entry)));
  const TEightLanes Eight{_mm256_set_m128i(Four.MulLo, Four.MulLo), _mm256_set_m128i(Four.MulHi, Four.MulHi),
                          _mm256_set_m128i(Four.Add, Four.Add)};
  int I = 0;
  for (; I + 8 <= Count; I += 8) ShadeEightAt(Dest + 4 * I, Src + 4 * I, Eight);
  if (I + 4 <= Count) {
    ShadeFourAt(Dest + 4 * I, Src + 4 * I, Four);
    I += 4;
  }
  for (; I < Count; ++I) ShadeOnePixel(Dest + 4 * I, Src + 4 * I, Entry);
}

}  // namespace

const TRollShadeKernels RollShadeKernelsAVX2 = {AcrossAVX2, AlongAVX2};

}  // namespace vte
