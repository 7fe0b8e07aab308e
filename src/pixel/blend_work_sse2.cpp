// SSE2 kernels of the blend work routines: four 32-bit words (eight 16-bit pixels) a step, stores
// aligned on the destination, the rest of a run through the one-word steps of the plain loops.
#include <emmintrin.h>

#include "pixel/blend_kernels.h"

namespace vte {

namespace {

// (X * K) mod 2^32 per 32-bit lane with K below 2^16, from 16-bit products (SSE2 has no 32-bit
// multiply): the low halves' full products plus the high halves' low products moved up.
inline __m128i MulLanes(__m128i X, __m128i K16) {
  return _mm_add_epi32(_mm_mullo_epi16(X, K16), _mm_slli_epi32(_mm_mulhi_epu16(X, K16), 16));
}

// The two channels of a lane, as the plain loop computes them (any masks and lane shift).
struct TLaneMix {
  __m128i Low, High, K16, Shift, S;
  explicit TLaneMix(const TBlendLanes& L)
      : Low(_mm_set1_epi32(static_cast<int>(L.LowMask))), High(_mm_set1_epi32(static_cast<int>(L.HighMask))),
        K16(_mm_set1_epi16(static_cast<short>(L.K))), Shift(_mm_cvtsi32_si128(static_cast<int>(L.Shift))),
        S(_mm_cvtsi32_si128(static_cast<int>(L.S))) {}
  template <bool Multiply> __m128i Mix(__m128i Wa, __m128i Wb) const {
    const __m128i LoB = _mm_and_si128(Wb, Low);
    const __m128i HiB = _mm_srl_epi32(_mm_and_si128(Wb, High), Shift);
    __m128i Lo = _mm_sub_epi32(_mm_and_si128(Wa, Low), LoB);
    __m128i Hi = _mm_sub_epi32(_mm_srl_epi32(_mm_and_si128(Wa, High), Shift), HiB);
    if constexpr (Multiply) {
      Lo = MulLanes(Lo, K16);
      Hi = MulLanes(Hi, K16);
    }
    Lo = _mm_and_si128(_mm_add_epi32(_mm_srl_epi32(Lo, S), LoB), Low);
    Hi = _mm_and_si128(_mm_sll_epi32(_mm_add_epi32(_mm_srl_epi32(Hi, S), HiB), Shift), High);
    return _mm_or_si128(Lo, Hi);
  }
};

// Byte channels (masks 0x00FF00FF / 0xFF00FF00, shift 8), one to a 16-bit lane: with a weight of
// at most 128 the product of a channel difference fits 16 signed bits, and its arithmetic shift
// is the floor the 32-bit lanes compute, so the result is the same with fewer and cheaper steps.
struct TByteMix {
  __m128i Byte, K, S;
  explicit TByteMix(const TBlendLanes& L)
      : Byte(_mm_set1_epi16(0x00FF)), K(_mm_set1_epi16(static_cast<short>(L.K))),
        S(_mm_cvtsi32_si128(static_cast<int>(L.S))) {}
  template <bool Multiply> __m128i Mix(__m128i Wa, __m128i Wb) const {
    const __m128i LoB = _mm_and_si128(Wb, Byte), HiB = _mm_srli_epi16(Wb, 8);
    __m128i Lo = _mm_sub_epi16(_mm_and_si128(Wa, Byte), LoB);
    __m128i Hi = _mm_sub_epi16(_mm_srli_epi16(Wa, 8), HiB);
    if constexpr (Multiply) {
      Lo = _mm_mullo_epi16(Lo, K);
      Hi = _mm_mullo_epi16(Hi, K);
    }
    Lo = _mm_add_epi16(_mm_sra_epi16(Lo, S), LoB);
    Hi = _mm_add_epi16(_mm_sra_epi16(Hi, S), HiB);
    return _mm_or_si128(Lo, _mm_slli_epi16(Hi, 8));
  }
};

template <class TMix, bool Multiply, bool Skip>
void BlendBody(std::uint8_t* Dest, const std::uint8_t* A, const std::uint8_t* B, std::size_t Words,
               const TBlendLanes& L) {
  // Words up to the first 16-byte boundary of Dest one at a time (when Dest holds whole words).
  std::size_t I = 0;
  const std::size_t Misaligned = reinterpret_cast<std::uintptr_t>(Dest) & 15;
  if (Misaligned % 4 == 0 && Misaligned != 0) {
    const std::size_t Head = (16 - Misaligned) / 4;
    I = Head < Words ? Head : Words;
    BlendWordsTail(Dest, A, B, 0, I, L);
  }
  const TMix Mixer(L);
  for (; I + 4 <= Words; I += 4) {
    const __m128i Wa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(A + 4 * I));
    const __m128i Wb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(B + 4 * I));
    __m128i Equal = _mm_setzero_si128();
    if constexpr (Skip) {
      Equal = _mm_cmpeq_epi32(Wa, Wb);
      if (_mm_movemask_epi8(Equal) == 0xFFFF) continue;
    }
    __m128i R = Mixer.template Mix<Multiply>(Wa, Wb);
    __m128i* To = reinterpret_cast<__m128i*>(Dest + 4 * I);
    if constexpr (Skip) {
      // Some words equal: those keep what Dest holds.
      if (_mm_movemask_epi8(Equal) != 0)
        R = _mm_or_si128(_mm_and_si128(Equal, _mm_loadu_si128(To)), _mm_andnot_si128(Equal, R));
    }
    _mm_storeu_si128(To, R);
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
  __m128i Sum = _mm_setzero_si128();  // minus the count, per lane
  std::size_t I = 0;
  for (; I + 4 <= Words; I += 4) {
    const __m128i Wa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(A + 4 * I));
    const __m128i Wb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(B + 4 * I));
    Sum = _mm_sub_epi32(Sum, _mm_cmpeq_epi32(Wa, Wb));
  }
  alignas(16) std::uint32_t Lanes[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(Lanes), Sum);
  // A lane counts at most a quarter of the words: 32 bits are enough for any bitmap.
  const std::size_t N = std::size_t{Lanes[0]} + Lanes[1] + Lanes[2] + Lanes[3];
  return N + CountEqualWordsTail(A, B, I, Words);
}

// Sixteen bytes: each widened to 16 bits, times its Mul, plus its Add, the high byte kept.
inline __m128i TintSixteen(__m128i V, const std::uint16_t* Mul, const std::uint16_t* Add) {
  const __m128i Zero = _mm_setzero_si128();
  __m128i Lo = _mm_unpacklo_epi8(V, Zero), Hi = _mm_unpackhi_epi8(V, Zero);
  Lo = _mm_mullo_epi16(Lo, _mm_load_si128(reinterpret_cast<const __m128i*>(Mul)));
  Hi = _mm_mullo_epi16(Hi, _mm_load_si128(reinterpret_cast<const __m128i*>(Mul + 8)));
  Lo = _mm_srli_epi16(_mm_add_epi16(Lo, _mm_load_si128(reinterpret_cast<const __m128i*>(Add))), 8);
  Hi = _mm_srli_epi16(_mm_add_epi16(Hi, _mm_load_si128(reinterpret_cast<const __m128i*>(Add + 8))), 8);
  return _mm_packus_epi16(Lo, Hi);
}

void TintBytes(std::uint8_t* P, std::size_t Count, const TTintBytes& T) {
  const std::size_t Bytes = Count * T.Period;
  std::size_t Off = 0;
  for (; Off + TintBytesBlock <= Bytes; Off += TintBytesBlock) {
    for (std::size_t J = 0; J < TintBytesBlock; J += 16) {
      __m128i* At = reinterpret_cast<__m128i*>(P + Off + J);
      _mm_storeu_si128(At, TintSixteen(_mm_loadu_si128(At), T.Mul + J, T.Add + J));
    }
  }
  TintBytesTail(P, Off / T.Period, Count, T);
}

void TintWords(std::uint8_t* P, std::size_t Count, const TTintWords& T) {
  const __m128i Five = _mm_set1_epi16(31), GreenMask = _mm_set1_epi16(static_cast<short>(T.GreenMask));
  const __m128i RedShift = _mm_cvtsi32_si128(T.RedShift);
  const __m128i MulB = _mm_set1_epi16(static_cast<short>(T.Mul[0])), AddB = _mm_set1_epi16(static_cast<short>(T.Add[0]));
  const __m128i MulG = _mm_set1_epi16(static_cast<short>(T.Mul[1])), AddG = _mm_set1_epi16(static_cast<short>(T.Add[1]));
  const __m128i MulR = _mm_set1_epi16(static_cast<short>(T.Mul[2])), AddR = _mm_set1_epi16(static_cast<short>(T.Add[2]));
  const __m128i BitsB = _mm_cvtsi32_si128(T.Bits[0]), BitsG = _mm_cvtsi32_si128(T.Bits[1]),
                BitsR = _mm_cvtsi32_si128(T.Bits[2]);
  std::size_t I = 0;
  for (; I + 8 <= Count; I += 8) {
    __m128i* At = reinterpret_cast<__m128i*>(P + 2 * I);
    const __m128i V = _mm_loadu_si128(At);
    const __m128i Blue = _mm_and_si128(V, Five);
    const __m128i Green = _mm_and_si128(_mm_srli_epi16(V, 5), GreenMask);
    const __m128i Red = _mm_and_si128(_mm_srl_epi16(V, RedShift), Five);
    const __m128i B = _mm_srl_epi16(_mm_add_epi16(_mm_mullo_epi16(Blue, MulB), AddB), BitsB);
    const __m128i G = _mm_srl_epi16(_mm_add_epi16(_mm_mullo_epi16(Green, MulG), AddG), BitsG);
    const __m128i R = _mm_srl_epi16(_mm_add_epi16(_mm_mullo_epi16(Red, MulR), AddR), BitsR);
    _mm_storeu_si128(At, _mm_or_si128(_mm_sll_epi16(R, RedShift), _mm_or_si128(_mm_slli_epi16(G, 5), B)));
  }
  TintWordsTail(P, I, Count, T);
}

}  // namespace

const TBlendKernels BlendKernelsSSE2 = {BlendWords, CountEqualWords, TintBytes, TintWords};

}  // namespace vte
