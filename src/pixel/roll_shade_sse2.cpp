// SSE2 kernels of the shaded roll band: four pixels a step (see roll_shade_lanes.h); the rest of
// a row goes through the one-pixel rule. Across a band the lanes of up to 64 pixels are worked out
// once and serve every row.
#include "pixel/roll_shade_kernels.h"
#include "pixel/roll_shade_lanes.h"

namespace vte {

namespace {

constexpr int Chunk = 64;

void AcrossSSE2(std::uint8_t* Dest, std::ptrdiff_t DestStride, const std::uint8_t* Src, std::ptrdiff_t SrcStride,
                int Rows, int Count, const std::uint32_t* Entries) {
  for (int C0 = 0; C0 < Count; C0 += Chunk) {
    const int N = Count - C0 < Chunk ? Count - C0 : Chunk, Steps = N / 4;
    TFourLanes Lanes[Chunk / 4];
    for (int S = 0; S < Steps; ++S)
      Lanes[S] = ExpandFour(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Entries + C0 + 4 * S)));
    std::uint8_t* R = Dest + 4 * C0;
    const std::uint8_t* F = Src + 4 * C0;
    for (int Y = 0; Y < Rows; ++Y, R += DestStride, F += SrcStride) {
      PrefetchAhead(R, DestStride, F, SrcStride, 4 * N);
      for (int S = 0; S < Steps; ++S) ShadeFourAt(R + 16 * S, F + 16 * S, Lanes[S]);
      for (int I = 4 * Steps; I < N; ++I) ShadeOnePixel(R + 4 * I, F + 4 * I, Entries[C0 + I]);
    }
  }
}

void AlongSSE2(std::uint8_t* Dest, const std::uint8_t* Src, int Count, std::uint32_t Entry) {
  const TFourLanes Lanes = ExpandFour(_mm_set1_epi32(static_cast<int>(Entry)));
  int I = 0;
  for (; I + 4 <= Count; I += 4) ShadeFourAt(Dest + 4 * I, Src + 4 * I, Lanes);
  for (; I < Count; ++I) ShadeOnePixel(Dest + 4 * I, Src + 4 * I, Entry);
}

}  // namespace

const TRollShadeKernels RollShadeKernelsSSE2 = {AcrossSSE2, AlongSSE2};

}  // namespace vte
