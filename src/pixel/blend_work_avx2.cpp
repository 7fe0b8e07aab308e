// AVX2 kernels of the blend work routines: eight 32-bit words (sixteen 16-bit pixels) a step,
// stores aligned on the destination where it holds whole words, the rest of a run through the
// one-word steps of the plain loops.
#include <immintrin.h>

#include "pixel/blend_kernels.h"

namespace vte {

namespace {

// The two channels of a lane, as the plain loop computes them (any masks and lane shift).
struct TLaneMix {
  __m256i Low, High, K;
  __m128i Shift, S;
  explicit TLaneMix(const TBlendLanes& L)
      : Low(_mm256_set1_epi32(static_cast<int>(L.LowMask))), High(_mm256_set1_epi32(static_cast<int>(L.HighMask))),
        K(_mm256_set1_epi32(static_cast<int>(L.K))), Shift(_mm_cvtsi32_si128(static_cast<int>(L.Shift))),
        S(_mm_cvtsi32_si128(static_cast<int>(L.S))) {}
  template <bool Multiply> __m256i Mix(__m256i Wa, __m256i Wb) const {
    const __m256i LoB = _mm256_and_si256(Wb, Low);
    const __m256i HiB = _mm256_srl_epi32(_mm256_and_si256(Wb, High), Shift);
    __m256i Lo = _mm256_sub_epi32(_mm256_and_si256(Wa, Low), LoB);
    __m256i Hi = _mm256_sub_epi32(_mm256_srl_epi32(_mm256_and_si256(Wa, High), Shift), HiB);
    if constexpr (Multiply) {
      Lo = _mm256_mullo_epi32(Lo, K);
      Hi = _mm256_mullo_epi32(Hi, K);
    }
    Lo = _mm256_and_si256(_mm256_add_epi32(_mm256_srl_epi32(Lo, S), LoB), Low);
    Hi = _mm256_and_si256(_mm256_sll_epi32(_mm256_add_epi32(_mm256_srl_epi32(Hi, S), HiB), Shift), High);
    return _mm256_or_si256(Lo, Hi);
  }
};

// Byte channels (masks 0x00FF00FF / 0xFF00FF00, shift 8), one to a 16-bit lane: with a weight of
// at most 128 the product of a channel difference fits 16 signed bits, and its arithmetic shift
// is the floor the 32-bit lanes compute, so the result is the same with fewer and cheaper steps.
struct TByteMix {
  __m256i Byte, K;
  __m128i S;
  explicit TByteMix(const TBlendLanes& L)
      : Byte(_mm256_set1_epi16(0x00FF)), K(_mm256_set1_epi16(static_cast<short>(L.K))),
        S(_mm_cvtsi32_si128(static_cast<int>(L.S))) {}
  template <bool Multiply> __m256i Mix(__m256i Wa, __m256i Wb) const {
    const __m256i LoB = _mm256_and_si256(Wb, Byte), HiB = _mm256_srli_epi16(Wb, 8);
    __m256i Lo = _mm256_sub_epi16(_mm256_and_si256(Wa, Byte), LoB);
    __m256i Hi = _mm256_sub_epi16(_mm256_srli_epi16(Wa, 8), HiB);
    if constexpr (Multiply) {
      Lo = _mm256_mullo_epi16(Lo, K);
      Hi = _mm256_mullo_epi16(Hi, K);
    }
    Lo = _mm256_add_epi16(_mm256_sra_epi16(Lo, S), LoB);
    Hi = _mm256_add_epi16(_mm256_sra_epi16(Hi, S), HiB);
    return _mm256_or_si256(Lo, _mm256_slli_epi16(Hi, 8));
  }
};

template <class TMix, bool Multiply, bool Skip>
void BlendBody(std::uint8_t* Dest, const std::uint8_t* A, const std::uint8_t* B, std::size_t Words,
               const TBlendLanes& L) {
  std::size_t I = 0;
  const std::size_t Misaligned = reinterpret_cast<std::uintptr_t>(Dest) & 31;
  if (Misaligned % 4 == 0 && Misaligned != 0) {
    const std::size_t Head = (32 - Misaligned) / 4;
    I = Head < Words ? Head : Words;
    BlendWordsTail(Dest, A, B, 0, I, L);
  }
  const TMix Mixer(L);
  for (; I + 8 <= Words; I += 8) {
    const __m256i Wa = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(A + 4 * I));
    const __m256i Wb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(B + 4 * I));
    __m256i Equal = _mm256_setzero_si256();
    if constexpr (Skip) {
      Equal = _mm256_cmpeq_epi32(Wa, Wb);
      if (_mm256_movemask_epi8(Equal) == -1) continue;
    }
    __m256i R = Mixer.template Mix<Multiply>(Wa, Wb);
    __m256i* To = reinterpret_cast<__m256i*>(Dest + 4 * I);
    if constexpr (Skip) {
      // Some words equal: those keep what Dest holds.
      if (_mm256_movemask_epi8(Equal) != 0) R = _mm256_blendv_epi8(R, _mm256_loadu_si256(To), Equal);
    }
    _mm256_storeu_si256(To, R);
  }
  BlendWordsTail(Dest, A, B, I, Words, L);
}

template <class TMix>
void BlendWith(std::uint8_t* Dest, const std::uint8_t* A, const std::uint8_t* B, std::size_t Words,
               const TBlendLanes& L) {
  const bool Multiply = L.K != 1;
  if (L.SkipEqual) {
    Multiply ? BlendBody<TMix, true, true>(Dest, A, B, Words, L) : BlendBody<TMix, false, true>(Dest, A, B, Words, L);
  } else {
    Multiply ? BlendBody<TMix, true, false>(Dest, A, B, Words, L) : BlendBody<TMix, false, false>(Dest, A, B, Words, L);
  }
}

void BlendWords(std::uint8_t* Dest, const std::uint8_t* A, const std::uint8_t* B, std::size_t Words,
                const TBlendLanes& L) {
  if (IsByteLanes(L))
    BlendWith<TByteMix>(Dest, A, B, Words, L);
  else
    BlendWith<TLaneMix>(Dest, A, B, Words, L);
}

std::size_t CountEqualWords(const std::uint8_t* A, const std::uint8_t* B, std::size_t Words) {
  __m256i Sum = _mm256_setzero_si256();  // minus the count, per lane
  std::size_t I = 0;
  for (; I + 8 <= Words; I += 8) {
    const __m256i Wa = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(A + 4 * I));
    const __m256i Wb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(B + 4 * I));
    Sum = _mm256_sub_epi32(Sum, _mm256_cmpeq_epi32(Wa, Wb));
  }
  alignas(32) std::uint32_t Lanes[8];
  _mm256_store_si256(reinterpret_cast<__m256i*>(Lanes), Sum);
  std::size_t N = 0;
  for (std::uint32_t Lane : Lanes) N += Lane;
  return N + CountEqualWordsTail(A, B, I, Words);
}

// Thirty-two bytes: widened to 16 bits in order, times Mul, plus Add, the high bytes packed back
// (the pack interleaves the 128-bit halves; the permute puts them in order again).
inline __m256i TintThirtyTwo(const std::uint8_t* From, const std::uint16_t* Mul, const std::uint16_t* Add) {
  __m256i Lo = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(From)));
  __m256i Hi = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(From + 16)));
  Lo = _mm256_mullo_epi16(Lo, _mm256_load_si256(reinterpret_cast<const __m256i*>(Mul)));
  Hi = _mm256_mullo_epi16(Hi, _mm256_load_si256(reinterpret_cast<const __m256i*>(Mul + 16)));
  Lo = _mm256_srli_epi16(_mm256_add_epi16(Lo, _mm256_load_si256(reinterpret_cast<const __m256i*>(Add))), 8);
  Hi = _mm256_srli_epi16(_mm256_add_epi16(Hi, _mm256_load_si256(reinterpret_cast<const __m256i*>(Add + 16))), 8);
  return _mm256_permute4x64_epi64(_mm256_packus_epi16(Lo, Hi), 0xD8);
}

void TintBytes(std::uint8_t* P, std::size_t Count, const TTintBytes& T) {
  const std::size_t Bytes = Count * T.Period;
  std::size_t Off = 0;
  for (; Off + TintBytesBlock <= Bytes; Off += TintBytesBlock) {
    for (std::size_t J = 0; J < TintBytesBlock; J += 32) {
      const __m256i R = TintThirtyTwo(P + Off + J, T.Mul + J, T.Add + J);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(P + Off + J), R);
    }
  }
  TintBytesTail(P, Off / T.Period, Count, T);
}

void TintWords(std::uint8_t* P, std::size_t Count, const TTintWords& T) {
  const __m256i Five = _mm256_set1_epi16(31), GreenMask = _mm256_set1_epi16(static_cast<short>(T.GreenMask));
  const __m128i RedShift = _mm_cvtsi32_si128(T.RedShift);
  const __m256i MulB = _mm256_set1_epi16(static_cast<short>(T.Mul[0])), AddB = _mm256_set1_epi16(static_cast<short>(T.Add[0]));
  const __m256i MulG = _mm256_set1_epi16(static_cast<short>(T.Mul[1])), AddG = _mm256_set1_epi16(static_cast<short>(T.Add[1]));
  const __m256i MulR = _mm256_set1_epi16(static_cast<short>(T.Mul[2])), AddR = _mm256_set1_epi16(static_cast<short>(T.Add[2]));
  const __m128i BitsB = _mm_cvtsi32_si128(T.Bits[0]), BitsG = _mm_cvtsi32_si128(T.Bits[1]),
                BitsR = _mm_cvtsi32_si128(T.Bits[2]);
  std::size_t I = 0;
  for (; I + 16 <= Count; I += 16) {
    __m256i* At = reinterpret_cast<__m256i*>(P + 2 * I);
    const __m256i V = _mm256_loadu_si256(At);
    const __m256i Blue = _mm256_and_si256(V, Five);
    const __m256i Green = _mm256_and_si256(_mm256_srli_epi16(V, 5), GreenMask);
    const __m256i Red = _mm256_and_si256(_mm256_srl_epi16(V, RedShift), Five);
    const __m256i B = _mm256_srl_epi16(_mm256_add_epi16(_mm256_mullo_epi16(Blue, MulB), AddB), BitsB);
    const __m256i G = _mm256_srl_epi16(_mm256_add_epi16(_mm256_mullo_epi16(Green, MulG), AddG), BitsG);
    const __m256i R = _mm256_srl_epi16(_mm256_add_epi16(_mm256_mullo_epi16(Red, MulR), AddR), BitsR);
    _mm256_storeu_si256(At, _mm256_or_si256(_mm256_sll_epi16(R, RedShift), _mm256_or_si256(_mm256_slli_epi16(G, 5), B)));
  }
  TintWordsTail(P, I, Count, T);
}

}  // namespace

const TBlendKernels BlendKernelsAVX2 = {BlendWords, CountEqualWords, TintBytes, TintWords};

}  // namespace vte
