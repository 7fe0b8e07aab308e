#pragma once
// The row kernels of the shaded roll band, one source compiled once per instruction set
// (roll_shade_sse2.cpp, roll_shade_avx2.cpp; see gdi/simd_kernel.h). The pixels are widened to
// 16-bit lanes (B, G, R, X) so that the product c * M (at most 255 * 256) stays exact; the X lane
// multiplies by 256 and adds 0, which keeps that byte. A step shades the pixels of one vector
// (four or eight), wider sets then one four-pixel step, and the rest of a row goes through the
// one-pixel rule. Across a band the lanes of up to 64 pixels are worked out once and serve every
// row.
#include "gdi/prefetch.h"
#include "pixel/roll_shade.h"
#include "pixel/roll_shade_kernels.h"

namespace vte::VTE_SIMD_NAMESPACE {
namespace {

constexpr int Chunk = 64;
constexpr int Wide = VecBytes / 4;  // pixels a step
constexpr bool FourAfterWide = Wide > 4;

// The lanes of the pixels of a vector: multipliers for the low and the high unpack of each
// 128-bit half, and the bytes to add. The unpacks and the pack work within halves, so a half's
// four pixels come back in order: pixels 0, 1 | 4, 5 in the low unpack of a 256-bit vector,
// 2, 3 | 6, 7 in the high one.
template <int Bytes> struct TLanes {
  TVecOf<Bytes> MulLo, MulHi, Add;
};

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

// The lanes of four pixels whose entries are the four words of E.
inline TLanes<16> ExpandFour(__m128i E) {
  TLanes<16> L;
  __m128i AddLo, AddHi;
  ExpandTwo(E, L.MulLo, AddLo);
  ExpandTwo(_mm_unpackhi_epi64(E, E), L.MulHi, AddHi);
  L.Add = PackUs16(AddLo, AddHi);
  return L;
}

// The lanes of a vector from those of its halves.
template <int Bytes> inline TLanes<Bytes> Join(const TLanes<16>* Halves) {
  constexpr int Count = Bytes / 16;
  __m128i MulLo[Count], MulHi[Count], Add[Count];
  for (int H = 0; H < Count; ++H) {
    MulLo[H] = Halves[H].MulLo;
    MulHi[H] = Halves[H].MulHi;
    Add[H] = Halves[H].Add;
  }
  return {JoinHalves<TVecOf<Bytes>>(MulLo), JoinHalves<TVecOf<Bytes>>(MulHi), JoinHalves<TVecOf<Bytes>>(Add)};
}

// The lanes of the pixels of a vector whose entries start at Entries.
template <int Bytes> inline TLanes<Bytes> ExpandAt(const std::uint32_t* Entries) {
  TLanes<16> Halves[Bytes / 16];
  for (int H = 0; H < Bytes / 16; ++H) Halves[H] = ExpandFour(LoadU<__m128i>(Entries + 4 * H));
  return Join<Bytes>(Halves);
}

template <int Bytes> inline void ShadeAt(std::uint8_t* D, const std::uint8_t* S, const TLanes<Bytes>& L) {
  using V = TVecOf<Bytes>;
  const V P = LoadU<V>(S), None = Zero<V>();
  const V Lo = Srli16<8>(Mullo16(UnpackLo8(P, None), L.MulLo));
  const V Hi = Srli16<8>(Mullo16(UnpackHi8(P, None), L.MulHi));
  StoreU(D, AddsU8(PackUs16(Lo, Hi), L.Add));
}

void Across(std::uint8_t* Dest, std::ptrdiff_t DestStride, const std::uint8_t* Src, std::ptrdiff_t SrcStride,
            int Rows, int Count, const std::uint32_t* Entries) {
  // A band across the rows touches a new page in every row, a piece of a few cache lines each:
  // the lines of the row a few ahead are asked for while this one is shaded.
  constexpr int Ahead = 8;
  for (int C0 = 0; C0 < Count; C0 += Chunk) {
    const int N = Count - C0 < Chunk ? Count - C0 : Chunk, Steps = N / Wide;
    const bool Four = FourAfterWide && N % Wide >= 4;
    TLanes<VecBytes> Lanes[Chunk / Wide];
    for (int S = 0; S < Steps; ++S) Lanes[S] = ExpandAt<VecBytes>(Entries + C0 + Wide * S);
    TLanes<16> Last{};
    if (Four) Last = ExpandAt<16>(Entries + C0 + Wide * Steps);
    const int Done = Wide * Steps + (Four ? 4 : 0);
    std::uint8_t* R = Dest + 4 * C0;
    const std::uint8_t* F = Src + 4 * C0;
    for (int Y = 0; Y < Rows; ++Y, R += DestStride, F += SrcStride) {
      PrefetchLines(static_cast<std::size_t>(4 * N), F + Ahead * SrcStride, R + Ahead * DestStride);
      for (int S = 0; S < Steps; ++S) ShadeAt(R + VecBytes * S, F + VecBytes * S, Lanes[S]);
      if (Four) ShadeAt(R + VecBytes * Steps, F + VecBytes * Steps, Last);
      for (int I = Done; I < N; ++I) ShadeRollPixel(R + 4 * I, F + 4 * I, Entries[C0 + I]);
    }
  }
}

void Along(std::uint8_t* Dest, const std::uint8_t* Src, int Count, std::uint32_t Entry) {
  const TLanes<16> Four = ExpandFour(_mm_set1_epi32(static_cast<int>(Entry)));
  TLanes<16> Same[Wide / 4];
  for (TLanes<16>& H : Same) H = Four;
  const TLanes<VecBytes> Lanes = Join<VecBytes>(Same);
  int I = 0;
  for (; I + Wide <= Count; I += Wide) ShadeAt(Dest + 4 * I, Src + 4 * I, Lanes);
  if (FourAfterWide && I + 4 <= Count) {
    ShadeAt(Dest + 4 * I, Src + 4 * I, Four);
    I += 4;
  }
  for (; I < Count; ++I) ShadeRollPixel(Dest + 4 * I, Src + 4 * I, Entry);
}

}  // namespace

const TRollShadeKernels RollShadeKernels = {Across, Along};

}  // namespace vte::VTE_SIMD_NAMESPACE
