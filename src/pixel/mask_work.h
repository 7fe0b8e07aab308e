#pragma once
// The pixel loops behind the mask-based transitions: copy pixels of the new image into the work
// bitmap wherever a mask says so, combine and invert 1-bit masks, age the levels of 8-bit masks,
// and mix old and new pixels by level, restricted to the part of the picture a frame changed.
//
// Masks. A 1-bit mask bit 1 (white) keeps the work pixel, 0 (black) takes the new image's pixel;
// bit 7 of a byte is the leftmost pixel. An 8-bit mask byte is a level: 255 the old image, 0 the
// new one, the grey palette (GreyPalette, gdi/pixel_format.h) showing it as such.
//
// Memory. Every routine gets each bitmap as the address of its row 0 and its scanline width in
// bytes (32-bit aligned rows, top-down); the images and masks of one call have the same size in
// pixels (Width x Height). Nothing is allocated.
//
// Region. The frame routines process Outer minus Inner (Inner may be empty), aligned to A pixels
// (8 for compose and level routines, 32 for the mask difference): Outer's left edge rounded down
// and its right edge up, Inner's left edge up and its right edge down, both then kept inside the
// picture (so a mask whose width is no multiple of A never makes a routine touch pixels beyond the
// row). An Inner with no positive width or height after that is absent.
//
// The row kernels run at the level of gdi/simd_level.h; every level gives the same bytes.
#include <cstddef>
#include <cstdint>

#include "gdi/geometry.h"
#include "gdi/pixel_format.h"

namespace vte {

// How the region is walked: nothing; one flat run of whole rows (Outer spans the row and there is
// no Inner); one rectangle; up to four rectangles around Inner (the band above it and the one
// below in Outer's width, the pieces left and right of it on its rows; empty ones left out).
enum TMaskWalkShape { mwsNone, mwsFlat, mwsRect, mwsAround };
struct TMaskWalk {
  TMaskWalkShape Shape = mwsNone;
  int Count = 0;
  TRect Pieces[4];
};
TMaskWalk WalkMaskRegion(const TRect& Inner, const TRect& Outer, int Align, int Width, int Height);

// Over the region (A = 8): for each 0 bit of the 1-bit mask, Work's pixel := New's pixel; a mask
// byte 0xFF skips eight pixels at once. Format pf4bit .. pf32bit; any other composes nothing.
void ComposeThroughMask(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t* Mask, const TRect& Inner,
                        const TRect& Outer, TPixelFormat Format, int MaskStride, int ImageStride, int Width,
                        int Height);

// Over the whole picture, the compose through a 1-bit mask that tiles an 8x8 pattern from the
// picture's corner: Work's pixel (X, Y) := New's pixel wherever bit 7 - X mod 8 of
// Pattern[Y mod 8] is 0. A row of pattern byte 0xFF is not touched, one of 0x00 is copied whole,
// and the others are done with one run of byte masks repeating every eight pixels. Format pf4bit
// .. pf32bit; any other composes nothing.
void ComposeThroughPattern(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t Pattern[8],
                           TPixelFormat Format, int ImageStride, int Width, int Height);

// Over the region (A = 32) of two 1-bit masks: AccumMask := Mask AND AccumMask; Mask := Mask OR
// NOT (old AccumMask). Mask is then black only where it turned black for the first time,
// AccumMask wherever Mask was ever black.
void MaskDifference(std::uint8_t* Mask, std::uint8_t* AccumMask, int MaskStride, const TRect& Inner,
                    const TRect& Outer, int Width, int Height);

// Every bit of Words 32-bit words from First := NOT bit.
void InvertMaskBits(std::uint8_t* First, std::size_t Words);

// Over the region (A = 8) of an 8-bit mask, every byte other than 255 := byte - Fade, at least 0
// (ClearAll: 0).
void AgeMask(std::uint8_t* Mask, int MaskStride, int Width, int Height, const TRect& Inner, const TRect& Outer,
             bool ClearAll, int Fade);
// The same from Source into Dest: where Source is 255, Dest keeps its byte.
void AgeMaskFrom(std::uint8_t* Dest, const std::uint8_t* Source, int MaskStride, int Width, int Height,
                 const TRect& Inner, const TRect& Outer, bool ClearAll, int Fade);

// Over the whole picture: Work's pixel := New's pixel wherever Low <= level <= High (nothing when
// Low > High). One flat run over the memory when the rows of the mask and of the images hold the
// same pixels (the widths the bitmap-mask transition asks for), else row by row.
void CopyLevelRange(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t* Mask, TPixelFormat Format,
                    int High, int Low, int Width, int Height, int MaskStride, int ImageStride);

// Over the region (A = 8) of pf32bit images and an 8-bit mask: Work := the linear mix of Old and
// New by level L, each byte round((Old * L + New * (255 - L)) / 255). The smoothed path of the
// masked transitions.
void ComposeSmoothed(std::uint8_t* Work, const std::uint8_t* Old, const std::uint8_t* New, const std::uint8_t* Mask,
                     const TRect& Inner, const TRect& Outer, int Width, int Height, int MaskStride, int ImageStride);

// Over the region (A = 8) of pf32bit images and an 8-bit mask, one frame of the graded fade of the
// bitmap-mask transition: a pixel of level v starts fading at Level = v - 1 and is the new pixel
// FadeLength (a power of two, 1 .. 128) frames later; at Level it has gone d = clamp(v - Level, 0,
// FadeLength) steps, each byte (Old * (FadeLength - d) + New * d) / FadeLength rounded to nearest.
// Level is 255 - frame and goes below 0 while the last levels fade. Only the pixels whose fade
// moved since the frame of PrevLevel (> Level) are written: Work must hold the result of that
// frame (the old image before the first, PrevLevel 255).
void ComposeGraded(std::uint8_t* Work, const std::uint8_t* Old, const std::uint8_t* New, const std::uint8_t* Mask,
                   const TRect& Inner, const TRect& Outer, int Width, int Height, int MaskStride, int ImageStride,
                   int Level, int PrevLevel, int FadeLength);

}  // namespace vte
