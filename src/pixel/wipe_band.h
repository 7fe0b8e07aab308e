#pragma once
// The soft band of the wipe: old and new pixels mixed through a monochrome mask, written into the
// work bitmap in one pass. A white (1) mask bit keeps the old pixel, a black (0) one takes the new
// pixel: per pixel (Old AND M) OR (New AND NOT M) with M all ones for white and zero for black,
// which is what the three raster operations SRCAND, DSna and SRCPAINT through two band-sized
// buffers give, without the buffers and their five passes.
//
// Mask bits are read MSB first (bit 7 of a byte is the leftmost pixel), starting at any bit. The
// row kernels (pixel/wipe_band_kernels.h) run at the level of gdi/simd_level.h; each level gives
// the same bytes.
#include <cstdint>

#include "gdi/bitmap.h"
#include "gdi/geometry.h"
#include "pixel/wipe_band_kernels.h"

namespace vte {

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

}  // namespace vte
