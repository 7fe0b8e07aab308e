#pragma once
// The per-pixel work of mixing two images, or an image and a colour, directly in the memory of
// bitmaps: the alpha blend's frames and the translucent glass of the backgrounds. On palette
// screens mixed colours cannot be shown, so an 8x8 ordered-dither pattern lets a growing share of
// pixels through instead.
//
// Weights (levels) are the share of the second image in 256ths. A blend mixes two channels per
// 32-bit operation over the whole memory block of the bitmaps in one pass (rows, their padding and
// the fourth byte of 32-bit pixels alike); the inner loop runs at the best instruction-set level
// the processor has (gdi/simd_level.h), each level giving the same bits.
#include <cstddef>

#include "gdi/bitmap.h"
#include "gdi/color.h"
#include "gdi/geometry.h"

namespace vte {

// The dither order numbers the 64 cells of an 8x8 pattern so that after n cells are black, n/64
// of the pixels of every 8x8 block take the source, spread as evenly as can be (after 32 cells a
// checkerboard).
//
// Sets the pixel of cell Index (1..64; others are ignored) of a monochrome 8x8 pattern to black.
void SetDitherCell(TBitmap& Pattern, int Index);

// Blackens cells 1..Count of Pattern, then copies Source onto Dest (0, 0, Dest's size) through the
// pattern: black pattern pixels take the source, white ones keep the destination. Dest's brush
// has no pattern afterwards.
void DitherBlend(TBitmap& Dest, TBitmap& Source, int Count, TBitmap& Pattern);

// One frame of the alpha blend of three bitmaps of one size and format. With a Pattern:
// DitherBlend(Dest, NewBmp, Level, Pattern). Otherwise BlendMemory over their whole memory with A
// the new and B the old image; on pf15bit and pf16bit the level is a frame number of 32 and is
// multiplied by 8 here.
void BlendFrame(TBitmap& Dest, TBitmap& NewBmp, const TBitmap& OldBmp, int Similarity, int Level,
                TPixelFormat PixelFormat, TBitmap* Pattern);

// For every channel of every pixel of the blocks (Level 0..255; on pf15bit and pf16bit multiples
// of 8 up to 256):
//   Level <= 128: Dest := B + floor((A - B) * Level / 256)
//   Level >  128: Dest := A + floor((B - A) * W / 256), W = 255 - Level (256 - Level on pf15bit
//                 and pf16bit).
// Two channels are mixed per 32-bit lane; the gaps between the 5- and 6-bit channels only leave
// room for weights in 32nds, other levels give what the lanes give.
// With Similarity >= 10 a 32-bit word in which A and B are equal is not written. ByteCount is a
// multiple of 4. Dest may be A or B, but must not overlap them otherwise.
void BlendMemory(void* Dest, const void* A, const void* B, int Similarity, int Level, std::size_t ByteCount,
                 TPixelFormat PixelFormat);

// Lays Color over Rect of Bitmap (clipped to it) with translucency Level: 255 leaves the picture,
// 0 gives almost the plain colour. With a Pattern (palette screens) Level is 0..63 and cells
// 1..64-Level of the pattern take the colour. Otherwise every channel goes through a tint table
// (see TintTableEntry); the tables are kept between calls and a channel's table is rebuilt only
// when its parameters change.
void TintBitmap(TBitmap& Bitmap, TBitmap* Pattern, TPixelFormat PixelFormat, int Level, const TRect& Rect,
                TColor Color);

// The tinted value of channel value X (Bits 5, 6 or 8 wide) for the colour's channel value C at
// Level: ((C + 1) * (R - E) + (X + 1) * E) div R - 1 with R = 2^Bits and E = Level div 8 + 1 (5),
// Level div 4 + 1 (6), Level + 1 (8).
int TintTableEntry(int Bits, int C, int Level, int X);

// The number of positions at which the 32-bit words of two blocks are equal.
std::size_t CountEqualWords(const void* A, const void* B, std::size_t Words);

// Copies Pixels 32-bit pixels with their fourth byte set to 0xFF: screen pixels leave it undefined,
// a stream of BGRA frames wants them opaque. Dest and Source must not overlap.
void CopyOpaque(void* Dest, const void* Source, std::size_t Pixels);

// How often each tint table (blue, green, red) has been built: lets tests see the tables kept.
struct TTintTableBuilds {
  int Blue = 0, Green = 0, Red = 0;
};
TTintTableBuilds TintTableBuilds();

}  // namespace vte
