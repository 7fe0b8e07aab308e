#pragma once
// The soft band of the wipe: old and new pixels mixed through a monochrome mask, written into the
// work bitmap in one pass. A white (1) mask bit keeps the old pixel, a black (0) one takes the new
// pixel: per pixel (Old AND M) OR (New AND NOT M) with M all ones for white and zero for black,
// which is what the three raster operations SRCAND, DSna and SRCPAINT through two band-sized
// buffers give, without the buffers and their five passes.
//
// Mask bits are read MSB first (bit 7 of a byte is the leftmost pixel), starting at any bit. The
// row kernels run at the level of gdi/simd_level.h; each level gives the same bytes.
#include <cstdint>

#include "gdi/bitmap.h"
#include "gdi/geometry.h"
#include "gdi/simd_level.h"

namespace vte {

// Count pixels of one row: Dest[i] := MaskRow bit (MaskBit + i) ? Old[i] : New[i]. Dest may be
// Old or New; nothing past the Count pixels is read from the images or written, and only the mask
// bytes holding the Count bits are read.
using TBandRowFn = void (*)(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New,
                            const std::uint8_t* MaskRow, int MaskBit, int Count);

// The row kernels of one level, by bytes per pixel (index 1 .. 4; pf8bit, pf15bit/pf16bit,
// pf24bit, pf32bit).
struct TBandRowKernels {
  TBandRowFn Row[5];
};
const TBandRowKernels& BandRowKernels(TSimdLevel Level);

// The plain reference of every kernel.
void ComposeBandRowReference(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New,
                             const std::uint8_t* MaskRow, int MaskBit, int Count, int BytesPerPixel);

// Whether ComposeBand can mix these bitmaps: one pixel format of whole bytes, and for palette
// formats one palette (otherwise a pixel's bits would mean different colours in each).
bool CanComposeBand(const TBitmap& Dest, const TBitmap& Old, const TBitmap& New);

// Area (inside all three bitmaps, which are of one size) of Dest := Old where the mask is white,
// New where it is black; pixel (x, y) of Area reads mask pixel (x - Area.Left + MaskAt.X,
// y - Area.Top + MaskAt.Y), which must lie inside Mask (a pf1bit bitmap). Then Strip (inside the
// bitmaps, may be empty, may overlap Area) of Dest := New. Both are done row by row in one pass:
// a narrow band touches a new memory page in every row, and the strip beside it the same pages.
void ComposeBand(TBitmap& Dest, const TBitmap& Old, const TBitmap& New, const TBitmap& Mask, const TRect& Area,
                 TPoint MaskAt, const TRect& Strip);

namespace wipe_band_detail {
// Pixels of one row picked whole by their mask bits: the tails of the kernels.
template <int Bytes>
inline void SelectPixels(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New,
                         const std::uint8_t* MaskRow, int MaskBit, int Count) {
  for (int I = 0; I < Count; ++I) {
    const int Bit = MaskBit + I;
    const std::uint8_t* From = ((MaskRow[Bit >> 3] >> (7 - (Bit & 7))) & 1) ? Old : New;
    __builtin_memmove(Dest + I * Bytes, From + I * Bytes, Bytes);
  }
}

// Count (8, 16 or 32) mask bits from bit Shift (0..7) of Bytes[0] on, the first one highest;
// reads only the bytes that hold them. Along a row the kernels step by whole bytes, so Shift
// stays the same for the whole row.
template <int Count>
inline std::uint32_t BitsAt(const std::uint8_t* Bytes, int Shift) {
  std::uint64_t V = 0;
  for (int B = 0; B < Count / 8; ++B) V = (V << 8) | Bytes[B];
  if (Shift == 0) return static_cast<std::uint32_t>(V);
  V = (V << 8) | Bytes[Count / 8];
  return static_cast<std::uint32_t>((V >> (8 - Shift)) & ((std::uint64_t{1} << Count) - 1));
}

extern const TBandRowKernels SSE2Kernels;
extern const TBandRowKernels AVX2Kernels;
}  // namespace wipe_band_detail

}  // namespace vte
