#pragma once
// The shaded roll band: the band of a roll transition is lit like a cylinder lying on the sheet,
// its axis along the band. A table of shades across the band (one entry per band line, top or
// left line first) is built whenever the band width changes; every frame then shades the band's
// pixels in place, row by row, in a pf32bit bitmap.
//
// An entry packs a multiplier M (bits 0..15, 0..256 = 0..1) and an added level A (bits 16..23).
// A pixel's blue, green and red bytes c become min(255, ((c * M) >> 8) + A); the fourth byte is
// kept. M carries the light (bright across the middle, dark towards both silhouettes) and a wash
// towards paper white that makes the band read as the back of the sheet; A carries that wash and
// the specular highlight.
#include <cstddef>
#include <cstdint>

namespace vte {

inline constexpr std::uint32_t RollShadeEntry(int Multiplier, int Add) {
  return static_cast<std::uint32_t>(Multiplier) | (static_cast<std::uint32_t>(Add) << 16);
}
inline constexpr int RollShadeMultiplier(std::uint32_t Entry) { return static_cast<int>(Entry & 0xFFFF); }
inline constexpr int RollShadeAdd(std::uint32_t Entry) { return static_cast<int>((Entry >> 16) & 0xFF); }
// The entry that leaves a pixel as it is.
inline constexpr std::uint32_t RollShadeIdentity = RollShadeEntry(256, 0);

// Fills Table[0 .. Lines + 1] with the cylinder's shades sampled at Lines + 2 evenly spaced
// points across its diameter, silhouette to silhouette: Table[0] and Table[Lines + 1] are the two
// silhouettes, Table[1 .. Lines] the band's lines (line j takes Table[j + 1]). Light comes from
// the side of line 0 (the top or the left of the screen) and a little towards the viewer.
void BuildRollShadeTable(std::uint32_t* Table, int Lines);

// One pixel (B, G, R, X bytes): read at S, written shaded at D (X kept); S may be D. Static: the
// SIMD kernels end their rows with it too (see gdi/simd_kernel.h).
static inline void ShadeRollPixel(std::uint8_t* D, const std::uint8_t* S, std::uint32_t Entry) {
  const unsigned M = Entry & 0xFFFF, A = (Entry >> 16) & 0xFF;
  for (int C = 0; C < 3; ++C) {
    const unsigned V = ((S[C] * M) >> 8) + A;
    D[C] = static_cast<std::uint8_t>(V > 255 ? 255 : V);
  }
  D[3] = S[3];
}
static inline void ShadeRollPixel(std::uint8_t* P, std::uint32_t Entry) { ShadeRollPixel(P, P, Entry); }

// The plain row routines; the SIMD variants (roll_shade_kernels.h) give the same bytes. Pixels
// are read from Src and written to Dest, which may be the same (in place).
// Rows across a band that runs down the screen: Rows rows, each of Count pixels; pixel i of every
// row takes Entries[i].
void ShadeRollRowsAcrossScalar(std::uint8_t* Dest, std::ptrdiff_t DestStride, const std::uint8_t* Src,
                               std::ptrdiff_t SrcStride, int Rows, int Count, const std::uint32_t* Entries);
// A row along a band that runs across the screen: all Count pixels take Entry.
void ShadeRollRowAlongScalar(std::uint8_t* Dest, const std::uint8_t* Src, int Count, std::uint32_t Entry);

// Shades the band lying on lines First .. First + Count - 1 of a pf32bit bitmap whose row Y
// starts at Bits + Y * Stride (top-down rows), inside columns Left .. Right - 1 and rows
// Top .. Bottom - 1 (the visible part of the band). Across true: the band's lines are columns
// (it travels left or right) and column X takes Table[X - First + 1]; false: its lines are rows
// and row Y takes Table[Y - First + 1]. Runs the kernels of the current SIMD level.
void ShadeRollBand(std::uint8_t* Bits, int Stride, int Left, int Top, int Right, int Bottom, bool Across,
                   int First, const std::uint32_t* Table);
// The same band, its pixels copied from another pf32bit bitmap and shaded in one pass: pixel
// (x, y) of the rectangle reads (x + SourceDx, y + SourceDy) of the bitmap at Source (rows
// SourceStride bytes apart), which must not overlap Bits.
void ShadeRollBandFrom(std::uint8_t* Bits, int Stride, const std::uint8_t* Source, int SourceStride, int SourceDx,
                       int SourceDy, int Left, int Top, int Right, int Bottom, bool Across, int First,
                       const std::uint32_t* Table);

}  // namespace vte
