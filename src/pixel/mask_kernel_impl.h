#pragma once
// The row kernels of the mask work routines, one source compiled once per instruction set
// (mask_work_sse2.cpp, mask_work_avx2.cpp; see gdi/simd_kernel.h). The level-range copy and the
// graded fade touch few pixels a frame: they look at VecBytes mask bytes at once and go on at the
// next group when none of them is in range, so a frame costs about one read of the mask. Mixing
// works on 16-bit lanes; the same unpacks widen pixels and fade steps, so the pack that ends a
// step puts every byte back in its place at both widths. The rest of a row goes through the
// one-pixel steps of mask_kernels.h.
#include <cstdint>
#include <cstring>

#include "gdi/prefetch.h"
#include "pixel/mask_kernels.h"

namespace vte::VTE_SIMD_NAMESPACE {
namespace {

// All ones in the bytes whose value lies in Low..High (given as broadcast bytes, Low <= High).
inline TVec InRange(TVec V, TVec Low, TVec High) { return CmpEq8(MinU8(MaxU8(V, Low), High), V); }

// The mask bytes of the pixels of one vector of Bytes-byte pixels, each repeated for every byte
// of its pixel.
template <int Bytes> inline TVec PixelLevels(const std::uint8_t* Mask) {
  if constexpr (Bytes == 1) return LoadU<TVec>(Mask);
  else return SpreadEachByte<Bytes>(Mask);
}

template <int Bytes>
void LevelRangeRow(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t* Mask, int Count, int Low,
                   int High) {
  const TVec Lo = Broadcast8<TVec>(Low), Hi = Broadcast8<TVec>(High);
  int I = 0;
  for (; I + VecBytes <= Count; I += VecBytes) {
    if (!AnyByteSet(InRange(LoadU<TVec>(Mask + I), Lo, Hi))) continue;
    if constexpr (Bytes == 3) {
      LevelRangePixels(Work, New, Mask, I, I + VecBytes, Low, High, 3);
    } else {
      constexpr int Lanes = VecBytes / Bytes;  // pixels a vector of pixels
      for (int K = I; K < I + VecBytes; K += Lanes) {
        const TVec Take = InRange(PixelLevels<Bytes>(Mask + K), Lo, Hi);
        std::uint8_t* To = Work + K * Bytes;
        StoreU(To, Select(Take, LoadU<TVec>(New + K * Bytes), LoadU<TVec>(To)));
      }
    }
  }
  LevelRangePixels(Work, New, Mask, I, Count, Low, High, Bytes);
}

// Two pixels a byte: the vector only says which groups to look at.
void LevelRangeRow4(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t* Mask, int Count, int Low,
                    int High) {
  const TVec Lo = Broadcast8<TVec>(Low), Hi = Broadcast8<TVec>(High);
  for (int I = 0; I < Count; I += VecBytes) {
    const int End = I + VecBytes < Count ? I + VecBytes : Count;
    if (End - I == VecBytes && !AnyByteSet(InRange(LoadU<TVec>(Mask + I), Lo, Hi))) continue;
    LevelRangeNibbles(Work, New, Mask, I, End, Low, High);
  }
}

// The period's bytes laid over as many vectors as it takes to come back to the period's start (one,
// or two or three for 24 bytes and for 32 bytes in 16-byte vectors), then a bitwise select a
// vector at a time: every byte of the row is read and written once, with no look at single bits.
void PatternRow(std::uint8_t* Dest, const std::uint8_t* New, const std::uint8_t* Take, int Period, int Count) {
  int Vectors = 1;
  while (Vectors * VecBytes % Period != 0) ++Vectors;
  alignas(VecBytes) std::uint8_t Lanes[3 * VecBytes];
  for (int B = 0; B < Vectors * VecBytes; ++B) Lanes[B] = Take[B % Period];
  TVec T[3];
  for (int V = 0; V < Vectors; ++V) T[V] = LoadA<TVec>(Lanes + V * VecBytes);
  const auto Step = [&](int I, TVec M) {
    StoreU(Dest + I, Or(AndNot(M, LoadU<TVec>(Dest + I)), And(M, LoadU<TVec>(New + I))));
  };
  int I = 0;
  const int Block = Vectors * VecBytes;
  for (; I + Block <= Count; I += Block)
    for (int V = 0; V < Vectors; ++V) Step(I + V * VecBytes, T[V]);
  for (int V = 0; I + VecBytes <= Count; I += VecBytes, ++V) Step(I, T[V]);
  PatternBytes(Dest, New, Take, Period, I, Count);
}

void AgeRow(std::uint8_t* Dest, const std::uint8_t* Source, int Count, int Fade) {
  const TVec By = Broadcast8<TVec>(Fade), White = Broadcast8<TVec>(255);
  int I = 0;
  for (; I + VecBytes <= Count; I += VecBytes) {
    const TVec S = LoadU<TVec>(Source + I);
    const TVec Keep = CmpEq8(S, White);
    if (AllBytesSet(Keep)) continue;
    StoreU(Dest + I, Select(Keep, LoadU<TVec>(Dest + I), SubsU8(S, By)));
  }
  AgeBytes(Dest, Source, I, Count, Fade);
}

// The 16-bit halves of a vector of bytes (UnpackLo8 / UnpackHi8 with zero; PackUs16 undoes it).
struct TWide {
  TVec Lo, Hi;
  explicit TWide(TVec V) : Lo(UnpackLo8(V, Zero<TVec>())), Hi(UnpackHi8(V, Zero<TVec>())) {}
};

inline TVec SmoothHalf(TVec Old, TVec New, TVec L, TVec Bias, TVec Reciprocal) {
  // Old L + New (255 - L) = 255 New + (Old - New) L. Both lie in 0..65025, so the 16-bit lanes'
  // wrap-around gives the sum exactly although the product is signed: one multiply, not two.
  // Then T / 255 rounded to nearest is ((T + 127) * 0x8081) >> 23 for every such T: the high
  // half of the product and one shift.
  const TVec T = Add16(Sub16(Slli16<8>(New), New), Mullo16(Sub16(Old, New), L));
  return Srli16<7>(MulhiU16(Add16(T, Bias), Reciprocal));
}

void SmoothRow(std::uint8_t* Work, const std::uint8_t* Old, const std::uint8_t* New, const std::uint8_t* Mask,
               int Count) {
  constexpr int Pixels = VecBytes / 4;
  const TVec Bias = Broadcast16<TVec>(127), Reciprocal = Broadcast16<TVec>(0x8081);
  int I = 0;
  for (; I + Pixels <= Count; I += Pixels) {
    // A third of a frame's groups lie wholly before the edge (255) or behind it (0), where the mix
    // is the old or the new pixels themselves: copied without the arithmetic.
    static_assert(Pixels <= 8);
    std::uint64_t Levels = 0;
    std::memcpy(&Levels, Mask + I, Pixels);
    if (Levels == 0 || Levels == ~std::uint64_t{0} >> (64 - 8 * Pixels)) {
      StoreU(Work + 4 * I, LoadU<TVec>((Levels == 0 ? New : Old) + 4 * I));
      continue;
    }
    const TWide O(LoadU<TVec>(Old + 4 * I)), N(LoadU<TVec>(New + 4 * I)), L(SpreadEachByte<4>(Mask + I));
    StoreU(Work + 4 * I, PackUs16(SmoothHalf(O.Lo, N.Lo, L.Lo, Bias, Reciprocal),
                                  SmoothHalf(O.Hi, N.Hi, L.Hi, Bias, Reciprocal)));
  }
  SmoothPixels(Work, Old, New, Mask, I, Count);
}

// The fade steps D = clamp(v - Level, 0, F) are taken on the levels as bytes: v + max(-Level, 0)
// less max(Level, 0), both saturated, then at most F (Level is -127 .. 254, F at most 128; where
// the sum saturates Level is below 0 and D is F either way). The mix is then Old plus the
// difference's share: (Old * (F - D) + New * D + F / 2) >> s = Old + (((New - Old) * D + F / 2)
// >> s), exact because Old * F is a whole multiple of F, with every term in a 16-bit lane
// (|New - Old| * D + F / 2 <= 255 * 128 + 64) and the shift arithmetic.
struct TGradedConsts {
  TVec Raise, Lower, Fade, Half;
  TShift Shift;
  explicit TGradedConsts(const TGradedLevels& L)
      : Raise(Broadcast8<TVec>(L.Level < 0 ? -L.Level : 0)), Lower(Broadcast8<TVec>(L.Level > 0 ? L.Level : 0)),
        Fade(Broadcast8<TVec>(1 << L.FadeShift)), Half(Broadcast16<TVec>((1 << L.FadeShift) >> 1)),
        Shift(ShiftCount(L.FadeShift)) {}
};

inline TVec FadeSteps(TVec Levels, const TGradedConsts& C) {
  return MinU8(SubsU8(AddsU8(Levels, C.Raise), C.Lower), C.Fade);
}

inline TVec GradedHalf(TVec Old, TVec New, TVec D, const TGradedConsts& C) {
  return Add16(Old, Sra16(Add16(Mullo16(Sub16(New, Old), D), C.Half), C.Shift));
}

// How a group of VecBytes pixels lies to the window: none of its levels in it, some, or all.
enum TGroupInWindow : std::uint8_t { gwNone, gwSome, gwWhole };
inline TGroupInWindow GroupInWindow(const std::uint8_t* Mask, TVec Lo, TVec Hi) {
  const TVec In = InRange(LoadU<TVec>(Mask), Lo, Hi);
  return AllBytesSet(In) ? gwWhole : AnyByteSet(In) ? gwSome : gwNone;
}

// Groups looked at ahead of the one mixed: their pixels are asked for from memory when they will
// be mixed (the groups mixed lie apart, where the processor would not see the streams of lines by
// itself), and what the look found is kept for when the loop gets there.
constexpr int GradedAhead = 32;

void GradedRow(std::uint8_t* Work, const std::uint8_t* Old, const std::uint8_t* New, const std::uint8_t* Mask,
               int Count, const TGradedLevels& Levels) {
  if (Levels.WindowHigh < Levels.WindowLow) return;
  constexpr int Pixels = VecBytes / 4;
  const TVec Lo = Broadcast8<TVec>(Levels.WindowLow), Hi = Broadcast8<TVec>(Levels.WindowHigh);
  const TGradedConsts C(Levels);
  TGroupInWindow Seen[GradedAhead];
  const int Groups = Count / VecBytes;
  for (int G = 0; G < Groups && G < GradedAhead; ++G) Seen[G] = GroupInWindow(Mask + G * VecBytes, Lo, Hi);
  int I = 0;
  for (int G = 0; G < Groups; ++G, I += VecBytes) {
    const TGroupInWindow Here = Seen[G % GradedAhead];
    if (const int Next = G + GradedAhead; Next < Groups) {
      const TGroupInWindow There = Seen[G % GradedAhead] = GroupInWindow(Mask + Next * VecBytes, Lo, Hi);
      if (There != gwNone) {
        const std::ptrdiff_t At = 4 * static_cast<std::ptrdiff_t>(Next) * VecBytes;
        PrefetchLines(4 * VecBytes, Old + At, New + At, Work + At);
      }
    }
    if (Here == gwNone) continue;
    // A group wholly in the window (most of them, away from its edges) is mixed and stored
    // without a look at single pixels.
    const bool Whole = Here == gwWhole;
    for (int K = I; K < I + VecBytes; K += Pixels) {
      const TVec Levels4 = SpreadEachByte<4>(Mask + K);
      TVec Take{};
      if (!Whole && !AnyByteSet(Take = InRange(Levels4, Lo, Hi))) continue;
      const TWide O(LoadU<TVec>(Old + 4 * K)), N(LoadU<TVec>(New + 4 * K)), D(FadeSteps(Levels4, C));
      const TVec Mixed = PackUs16(GradedHalf(O.Lo, N.Lo, D.Lo, C), GradedHalf(O.Hi, N.Hi, D.Hi, C));
      std::uint8_t* To = Work + 4 * K;
      StoreU(To, Whole ? Mixed : Select(Take, Mixed, LoadU<TVec>(To)));
    }
  }
  GradedPixels(Work, Old, New, Mask, I, Count, Levels);
}

}  // namespace

const TMaskKernels MaskKernels{
    {LevelRangeRow4, LevelRangeRow<1>, LevelRangeRow<2>, LevelRangeRow<3>, LevelRangeRow<4>}, PatternRow, AgeRow, SmoothRow,
    GradedRow};

}  // namespace vte::VTE_SIMD_NAMESPACE
