#pragma once
// The SIMD kernels of the blend work routines, one source compiled once per instruction set
// (blend_work_sse2.cpp, blend_work_avx2.cpp; see gdi/simd_kernel.h): a vector of VecBytes bytes a
// step (four or eight 32-bit words, eight or sixteen 16-bit pixels), stores aligned on the
// destination where it holds whole words, the rest of a run through the one-word steps of the
// plain loops.
#include "pixel/blend_kernels.h"

namespace vte::VTE_SIMD_NAMESPACE {
namespace {

constexpr std::size_t WordsPerVec = VecBytes / 4;

// The two channels of a lane, as the plain loop computes them (any masks and lane shift).
struct TLaneMix {
  TVec Low, High, K;
  TShift Shift, S;
  explicit TLaneMix(const TBlendLanes& L)
      : Low(Broadcast32<TVec>(static_cast<int>(L.LowMask))), High(Broadcast32<TVec>(static_cast<int>(L.HighMask))),
        K(Mul32Factor(L.K)), Shift(ShiftCount(static_cast<int>(L.Shift))), S(ShiftCount(static_cast<int>(L.S))) {}
  template <bool Multiply> TVec Mix(TVec Wa, TVec Wb) const {
    const TVec LoB = And(Wb, Low);
    const TVec HiB = Srl32(And(Wb, High), Shift);
    TVec Lo = Sub32(And(Wa, Low), LoB);
    TVec Hi = Sub32(Srl32(And(Wa, High), Shift), HiB);
    if constexpr (Multiply) {
      Lo = Mul32(Lo, K);
      Hi = Mul32(Hi, K);
    }
    Lo = And(Add32(Srl32(Lo, S), LoB), Low);
    Hi = And(Sll32(Add32(Srl32(Hi, S), HiB), Shift), High);
    return Or(Lo, Hi);
  }
};

// Byte channels (masks 0x00FF00FF / 0xFF00FF00, shift 8), one to a 16-bit lane: with a weight of
// at most 128 the product of a channel difference fits 16 signed bits, and its arithmetic shift
// is the floor the 32-bit lanes compute, so the result is the same with fewer and cheaper steps.
struct TByteMix {
  TVec Byte, K;
  TShift S;
  explicit TByteMix(const TBlendLanes& L)
      : Byte(Broadcast16<TVec>(0x00FF)), K(Broadcast16<TVec>(static_cast<int>(L.K))),
        S(ShiftCount(static_cast<int>(L.S))) {}
  template <bool Multiply> TVec Mix(TVec Wa, TVec Wb) const {
    const TVec LoB = And(Wb, Byte), HiB = Srli16<8>(Wb);
    TVec Lo = Sub16(And(Wa, Byte), LoB);
    TVec Hi = Sub16(Srli16<8>(Wa), HiB);
    if constexpr (Multiply) {
      Lo = Mullo16(Lo, K);
      Hi = Mullo16(Hi, K);
    }
    Lo = Add16(Sra16(Lo, S), LoB);
    Hi = Add16(Sra16(Hi, S), HiB);
    return Or(Lo, Slli16<8>(Hi));
  }
};

template <class TMix, bool Multiply, bool Skip>
void BlendBody(std::uint8_t* Dest, const std::uint8_t* A, const std::uint8_t* B, std::size_t Words,
               const TBlendLanes& L) {
  // Words up to the first vector boundary of Dest one at a time (when Dest holds whole words).
  std::size_t I = 0;
  const std::size_t Misaligned = reinterpret_cast<std::uintptr_t>(Dest) & (VecBytes - 1);
  if (Misaligned % 4 == 0 && Misaligned != 0) {
    const std::size_t Head = (VecBytes - Misaligned) / 4;
    I = Head < Words ? Head : Words;
    BlendWordsTail(Dest, A, B, 0, I, L);
  }
  const TMix Mixer(L);
  for (; I + WordsPerVec <= Words; I += WordsPerVec) {
    const TVec Wa = LoadU<TVec>(A + 4 * I);
    const TVec Wb = LoadU<TVec>(B + 4 * I);
    TVec Equal = Zero<TVec>();
    if constexpr (Skip) {
      Equal = CmpEq32(Wa, Wb);
      if (AllBytesSet(Equal)) continue;
    }
    TVec R = Mixer.template Mix<Multiply>(Wa, Wb);
    std::uint8_t* To = Dest + 4 * I;
    if constexpr (Skip) {
      // Some words equal: those keep what Dest holds.
      if (AnyByteSet(Equal)) R = Select(Equal, LoadU<TVec>(To), R);
    }
    StoreU(To, R);
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
  TVec Sum = Zero<TVec>();  // minus the count, per lane
  std::size_t I = 0;
  for (; I + WordsPerVec <= Words; I += WordsPerVec)
    Sum = Sub32(Sum, CmpEq32(LoadU<TVec>(A + 4 * I), LoadU<TVec>(B + 4 * I)));
  alignas(VecBytes) std::uint32_t Lanes[WordsPerVec];
  StoreA(Lanes, Sum);
  // A lane counts at most a quarter of the words: 32 bits are enough for any bitmap.
  std::size_t N = 0;
  for (std::uint32_t Lane : Lanes) N += Lane;
  return N + CountEqualWordsTail(A, B, I, Words);
}

void OpaqueWords(std::uint8_t* Dest, const std::uint8_t* Source, std::size_t Words) {
  const TVec Top = Broadcast32<TVec>(static_cast<int>(0xFF000000u));
  std::size_t I = 0;
  for (; I + WordsPerVec <= Words; I += WordsPerVec) StoreU(Dest + 4 * I, Or(LoadU<TVec>(Source + 4 * I), Top));
  OpaqueWordsTail(Dest, Source, I, Words);
}

void TintBytes(std::uint8_t* P, std::size_t Count, const TTintBytes& T) {
  // Each byte widened to 16 bits, times its Mul, plus its Add, the high byte kept.
  constexpr std::size_t Half = VecBytes / 2;
  const std::size_t Bytes = Count * T.Period;
  std::size_t Off = 0;
  for (; Off + TintBytesBlock <= Bytes; Off += TintBytesBlock) {
    for (std::size_t J = 0; J < TintBytesBlock; J += VecBytes) {
      TVec Lo, Hi;
      WidenBytes(P + Off + J, Lo, Hi);
      Lo = Srli16<8>(Add16(Mullo16(Lo, LoadA<TVec>(T.Mul + J)), LoadA<TVec>(T.Add + J)));
      Hi = Srli16<8>(Add16(Mullo16(Hi, LoadA<TVec>(T.Mul + J + Half)), LoadA<TVec>(T.Add + J + Half)));
      StoreU(P + Off + J, PackUs16InOrder(Lo, Hi));
    }
  }
  TintBytesTail(P, Off / T.Period, Count, T);
}

void TintWords(std::uint8_t* P, std::size_t Count, const TTintWords& T) {
  constexpr std::size_t PixelsPerVec = VecBytes / 2;
  const TVec Five = Broadcast16<TVec>(31), GreenMask = Broadcast16<TVec>(T.GreenMask);
  const TShift RedShift = ShiftCount(T.RedShift);
  const TVec MulB = Broadcast16<TVec>(T.Mul[0]), AddB = Broadcast16<TVec>(T.Add[0]);
  const TVec MulG = Broadcast16<TVec>(T.Mul[1]), AddG = Broadcast16<TVec>(T.Add[1]);
  const TVec MulR = Broadcast16<TVec>(T.Mul[2]), AddR = Broadcast16<TVec>(T.Add[2]);
  const TShift BitsB = ShiftCount(T.Bits[0]), BitsG = ShiftCount(T.Bits[1]), BitsR = ShiftCount(T.Bits[2]);
  std::size_t I = 0;
  for (; I + PixelsPerVec <= Count; I += PixelsPerVec) {
    std::uint8_t* At = P + 2 * I;
    const TVec V = LoadU<TVec>(At);
    const TVec Blue = And(V, Five);
    const TVec Green = And(Srli16<5>(V), GreenMask);
    const TVec Red = And(Srl16(V, RedShift), Five);
    const TVec B = Srl16(Add16(Mullo16(Blue, MulB), AddB), BitsB);
    const TVec G = Srl16(Add16(Mullo16(Green, MulG), AddG), BitsG);
    const TVec R = Srl16(Add16(Mullo16(Red, MulR), AddR), BitsR);
    StoreU(At, Or(Sll16(R, RedShift), Or(Slli16<5>(G), B)));
  }
  TintWordsTail(P, I, Count, T);
}

}  // namespace

const TBlendKernels BlendKernels = {BlendWords, CountEqualWords, TintBytes, TintWords, OpaqueWords};

}  // namespace vte::VTE_SIMD_NAMESPACE
