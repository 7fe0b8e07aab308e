#pragma once
// The row kernels of the mask work routines (pixel/mask_work.h), one set per instruction-set
// level, and the one-pixel steps the plain loops and the SIMD tails share. Everything defined here
// has internal linkage: the SIMD kernels (mask_kernel_impl.h) are compiled with their own
// instruction-set flags (see gdi/simd_kernel.h).
//
// An 8-bit mask byte is a level: 255 keeps the old pixel, 0 shows the new one.
#include <cstdint>

#include "gdi/simd_level.h"

namespace vte {

// Count pixels: Work := New wherever Low <= mask level <= High (Low <= High). Index 0 of the
// table is the 4-bit kernel (the row starts on a whole byte, high nibble first), 1..4 the kernels
// of 1..4 bytes a pixel.
using TLevelRangeRowFn = void (*)(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t* Mask, int Count,
                                  int Low, int High);
// Count bytes: wherever Source is not 255, Dest := Source - Fade, at least 0 (Fade 0..255).
// Dest may be Source.
using TAgeRowFn = void (*)(std::uint8_t* Dest, const std::uint8_t* Source, int Count, int Fade);
// Count pf32bit pixels: Work := the linear mix of Old (weight level / 255) and New, every byte
// rounded to nearest (see SmoothByte).
using TSmoothRowFn = void (*)(std::uint8_t* Work, const std::uint8_t* Old, const std::uint8_t* New,
                              const std::uint8_t* Mask, int Count);

// One frame of the graded fade: a pixel of mask level v has faded d = v - Level steps of
// 2^FadeShift (clamped to 0 .. 2^FadeShift). Only the pixels whose fade moved since the frame of
// PrevLevel are written: those with WindowLow <= v <= WindowHigh (Level < v < PrevLevel + fade
// length); the others hold what earlier frames gave them.
struct TGradedLevels {
  int Level = 0;
  int FadeShift = 0;
  int WindowLow = 0;
  int WindowHigh = -1;  // below WindowLow: nothing to write
};
TGradedLevels MakeGradedLevels(int Level, int PrevLevel, int FadeLength);
using TGradedRowFn = void (*)(std::uint8_t* Work, const std::uint8_t* Old, const std::uint8_t* New,
                              const std::uint8_t* Mask, int Count, const TGradedLevels& Levels);

// Count bytes: Dest := (Dest AND NOT Take) OR (New AND Take), bit by bit, Take repeating its
// Period bytes from the first byte of the row on. Period is 4, 8, 16, 24 or 32 (the bytes of eight
// pixels of any format): the 1-bit compose of a mask row that repeats one byte.
using TPatternRowFn = void (*)(std::uint8_t* Dest, const std::uint8_t* New, const std::uint8_t* Take, int Period,
                               int Count);

struct TMaskKernels {
  TLevelRangeRowFn LevelRange[5];
  TPatternRowFn Pattern;
  TAgeRowFn Age;
  TSmoothRowFn Smooth;
  TGradedRowFn Graded;
};

const TMaskKernels& MaskKernels(TSimdLevel Level);

namespace simd_sse2 {
extern const TMaskKernels MaskKernels;
}
namespace simd_avx2 {
extern const TMaskKernels MaskKernels;
}

// --- one byte / one pixel, shared by the plain loops and the SIMD tails ---

static inline bool LevelInRange(unsigned V, int Low, int High) {
  return static_cast<int>(V) >= Low && static_cast<int>(V) <= High;
}

static inline std::uint8_t AgedByte(std::uint8_t Dest, std::uint8_t Source, int Fade) {
  if (Source == 255) return Dest;
  return static_cast<std::uint8_t>(Source > Fade ? Source - Fade : 0);
}

// round((Old * L + New * (255 - L)) / 255): the sum is below 2^16, and adding 128 and then the
// sum's own high byte before the shift divides by 255 rounded to nearest exactly over that range.
static inline std::uint8_t SmoothByte(unsigned Old, unsigned New, unsigned L) {
  const unsigned T = Old * L + New * (255 - L) + 128;
  return static_cast<std::uint8_t>((T + (T >> 8)) >> 8);
}

// (Old * (F - D) + New * D + F / 2) >> FadeShift with F = 2^FadeShift and D = clamp(V - Level,
// 0, F): each fade step moves a channel by exactly 1/F of the way, rounded to nearest.
static inline std::uint8_t GradedByte(unsigned Old, unsigned New, int V, const TGradedLevels& L) {
  const int F = 1 << L.FadeShift;
  int D = V - L.Level;
  D = D < 0 ? 0 : D > F ? F : D;
  return static_cast<std::uint8_t>((Old * static_cast<unsigned>(F - D) + New * static_cast<unsigned>(D) +
                                    static_cast<unsigned>(F >> 1)) >> L.FadeShift);
}

static inline void LevelRangePixels(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t* Mask, int From,
                                    int Count, int Low, int High, int Bytes) {
  for (int I = From; I < Count; ++I)
    if (LevelInRange(Mask[I], Low, High))
      for (int B = 0; B < Bytes; ++B) Work[I * Bytes + B] = New[I * Bytes + B];
}

// Pixels From .. End - 1 of a 4-bit row (pixel 0 the high nibble of byte 0).
static inline void LevelRangeNibbles(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t* Mask, int From,
                                     int End, int Low, int High) {
  for (int P = From; P < End; ++P) {
    if (!LevelInRange(Mask[P], Low, High)) continue;
    const std::uint8_t Keep = (P & 1) ? 0xF0 : 0x0F;
    Work[P >> 1] = static_cast<std::uint8_t>((Work[P >> 1] & Keep) | (New[P >> 1] & ~Keep));
  }
}

static inline void PatternBytes(std::uint8_t* Dest, const std::uint8_t* New, const std::uint8_t* Take, int Period,
                                int From, int Count) {
  for (int I = From; I < Count; ++I) {
    const unsigned T = Take[I % Period];
    Dest[I] = static_cast<std::uint8_t>((Dest[I] & ~T) | (New[I] & T));
  }
}

static inline void AgeBytes(std::uint8_t* Dest, const std::uint8_t* Source, int From, int Count, int Fade) {
  for (int I = From; I < Count; ++I) Dest[I] = AgedByte(Dest[I], Source[I], Fade);
}

static inline void SmoothPixels(std::uint8_t* Work, const std::uint8_t* Old, const std::uint8_t* New,
                                const std::uint8_t* Mask, int From, int Count) {
  for (int I = From; I < Count; ++I)
    for (int B = 0; B < 4; ++B) Work[4 * I + B] = SmoothByte(Old[4 * I + B], New[4 * I + B], Mask[I]);
}

static inline void GradedPixels(std::uint8_t* Work, const std::uint8_t* Old, const std::uint8_t* New,
                                const std::uint8_t* Mask, int From, int Count, const TGradedLevels& L) {
  for (int I = From; I < Count; ++I) {
    if (!LevelInRange(Mask[I], L.WindowLow, L.WindowHigh)) continue;
    for (int B = 0; B < 4; ++B) Work[4 * I + B] = GradedByte(Old[4 * I + B], New[4 * I + B], Mask[I], L);
  }
}

}  // namespace vte
