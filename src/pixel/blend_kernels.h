#pragma once
// The inner loops of the blend work routines, one set per instruction-set level, and the one-word
// and one-pixel steps they share. The SIMD kernels (blend_kernel_impl.h) are compiled with their
// own instruction-set flags, so everything defined in this header has internal linkage (see
// gdi/simd_kernel.h).
//
// Blend: two colour channels per 32-bit lane (see TBlendLanes). Tint: 8-bit channels through
// y = (x * Mul + Add) >> 8, 5- and 6-bit channels through y = (x * Mul + Add) >> Bits; the
// plain variant looks the values up in the tint tables, which hold exactly these values.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "gdi/simd_level.h"

namespace vte {

// How one frame's weight works on a 32-bit word: the channels under LowMask, and those under
// HighMask moved down by Shift, are mixed as two lanes: lane := lane_b + ((lane_a - lane_b) * K >> S)
// in wrapping 32-bit arithmetic. K odd and S = 8 - t for a weight w = K * 2^t (K = 0 for w = 0).
// The gaps between the channels of a lane take the bits the shift brings down from the channel
// above, which is why 5-bit channels need weights in multiples of 8.
struct TBlendLanes {
  std::uint32_t LowMask = 0x00FF00FF;
  std::uint32_t HighMask = 0xFF00FF00;
  std::uint32_t Shift = 8;
  std::uint32_t K = 0;
  std::uint32_t S = 8;
  bool SkipEqual = false;  // a word whose two sources are equal is not written
};

// Tint of 24- and 32-bit pixels as a run of bytes. Mul and Add are indexed by the byte's offset
// from the start of the run modulo 96 (a whole number of pixels and of vectors of 16 and 32
// bytes); Table by the byte's offset inside its pixel. Period: bytes a pixel (3 or 4).
struct TTintBytes {
  const std::uint8_t* Table[4] = {};
  std::uint32_t Period = 4;
  alignas(32) std::uint16_t Mul[96] = {};
  alignas(32) std::uint16_t Add[96] = {};
};
inline constexpr std::size_t TintBytesBlock = 96;

// Tint of 15- and 16-bit pixels: blue in bits 0-4, green from bit 5 (GreenBits wide), red from
// RedShift (5 bits); channel c becomes (c * Mul[c] + Add[c]) >> Bits[c]. Index 0 blue, 1 green,
// 2 red. The top bit of a 15-bit pixel becomes 0.
struct TTintWords {
  const std::uint8_t* Table[3] = {};
  std::uint16_t Mul[3] = {};
  std::uint16_t Add[3] = {};
  std::uint16_t Bits[3] = {5, 5, 5};
  std::uint16_t GreenMask = 31;
  std::uint16_t RedShift = 10;
};

using TBlendWordsKernel = void (*)(std::uint8_t* Dest, const std::uint8_t* A, const std::uint8_t* B,
                                   std::size_t Words, const TBlendLanes& Lanes);
using TCountEqualWordsKernel = std::size_t (*)(const std::uint8_t* A, const std::uint8_t* B, std::size_t Words);
using TOpaqueWordsKernel = void (*)(std::uint8_t* Dest, const std::uint8_t* Source, std::size_t Words);
using TTintBytesKernel = void (*)(std::uint8_t* Pixels, std::size_t Count, const TTintBytes& Tint);
using TTintWordsKernel = void (*)(std::uint8_t* Pixels, std::size_t Count, const TTintWords& Tint);

struct TBlendKernels {
  TBlendWordsKernel BlendWords;
  TCountEqualWordsKernel CountEqualWords;
  TTintBytesKernel TintBytes;  // Count in pixels
  TTintWordsKernel TintWords;  // Count in pixels
  TOpaqueWordsKernel OpaqueWords;
};

// The kernels of one level (a level the processor lacks must not be called), and of the level in
// use.
const TBlendKernels& BlendKernels(TSimdLevel Level);
const TBlendKernels& BlendKernels();

extern const TBlendKernels BlendKernelsScalar;
namespace simd_sse2 {
extern const TBlendKernels BlendKernels;
}
namespace simd_avx2 {
extern const TBlendKernels BlendKernels;
}

// --- one word / one pixel, shared by the plain loops and the SIMD tails ---

static inline std::uint32_t LoadWord(const std::uint8_t* P) {
  std::uint32_t V;
  std::memcpy(&V, P, 4);
  return V;
}

static inline void StoreWord(std::uint8_t* P, std::uint32_t V) { std::memcpy(P, &V, 4); }

static inline std::uint32_t BlendWord(std::uint32_t A, std::uint32_t B, const TBlendLanes& L) {
  const std::uint32_t LoA = A & L.LowMask, LoB = B & L.LowMask;
  const std::uint32_t HiA = (A & L.HighMask) >> L.Shift, HiB = (B & L.HighMask) >> L.Shift;
  const std::uint32_t Lo = ((LoA - LoB) * L.K) >> L.S;
  const std::uint32_t Hi = ((HiA - HiB) * L.K) >> L.S;
  return ((Lo + LoB) & L.LowMask) | (((Hi + HiB) << L.Shift) & L.HighMask);
}

// The lanes of byte channels (24- and 32-bit pixels), where the weight is at most 128 and every
// gap between two channels of a lane is 8 bits wide: the SIMD kernels mix these channels one to
// a 16-bit lane, which gives the same bits.
static inline bool IsByteLanes(const TBlendLanes& L) {
  return L.LowMask == 0x00FF00FF && L.HighMask == 0xFF00FF00 && L.Shift == 8 && L.S <= 8 &&
         L.K * (1u << (8 - L.S)) <= 128;
}

// Words [From, Words) one at a time.
static inline void BlendWordsTail(std::uint8_t* Dest, const std::uint8_t* A, const std::uint8_t* B,
                                  std::size_t From, std::size_t Words, const TBlendLanes& Lanes) {
  const TBlendLanes L = Lanes;  // a copy: the stores cannot change it
  for (std::size_t I = From; I < Words; ++I) {
    const std::uint32_t Wa = LoadWord(A + 4 * I), Wb = LoadWord(B + 4 * I);
    if (L.SkipEqual && Wa == Wb) continue;
    StoreWord(Dest + 4 * I, BlendWord(Wa, Wb, L));
  }
}

static inline std::size_t CountEqualWordsTail(const std::uint8_t* A, const std::uint8_t* B, std::size_t From,
                                              std::size_t Words) {
  std::size_t N = 0;
  for (std::size_t I = From; I < Words; ++I) N += LoadWord(A + 4 * I) == LoadWord(B + 4 * I);
  return N;
}

// Words [From, Words) copied with their top byte set.
static inline void OpaqueWordsTail(std::uint8_t* Dest, const std::uint8_t* Source, std::size_t From,
                                   std::size_t Words) {
  for (std::size_t I = From; I < Words; ++I) StoreWord(Dest + 4 * I, LoadWord(Source + 4 * I) | 0xFF000000u);
}

// Pixels [From, Count) of a byte run through the tables (a 32-bit pixel's fourth byte has none).
static inline void TintBytesTail(std::uint8_t* P, std::size_t From, std::size_t Count, const TTintBytes& T) {
  const std::uint8_t *Blue = T.Table[0], *Green = T.Table[1], *Red = T.Table[2];
  const std::size_t Period = T.Period;
  for (std::size_t I = From; I < Count; ++I) {
    std::uint8_t* Px = P + I * Period;
    Px[0] = Blue[Px[0]];
    Px[1] = Green[Px[1]];
    Px[2] = Red[Px[2]];
  }
}

static inline void TintWordsTail(std::uint8_t* P, std::size_t From, std::size_t Count, const TTintWords& T) {
  const std::uint8_t *BlueTable = T.Table[0], *GreenTable = T.Table[1], *RedTable = T.Table[2];
  const unsigned GreenMask = T.GreenMask, RedShift = T.RedShift;
  for (std::size_t I = From; I < Count; ++I) {
    std::uint16_t V;
    std::memcpy(&V, P + 2 * I, 2);
    const unsigned Blue = BlueTable[V & 31];
    const unsigned Green = GreenTable[(V >> 5) & GreenMask];
    const unsigned Red = RedTable[(V >> RedShift) & 31];
    V = static_cast<std::uint16_t>((Red << RedShift) | (Green << 5) | Blue);
    std::memcpy(P + 2 * I, &V, 2);
  }
}

}  // namespace vte
