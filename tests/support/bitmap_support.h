#pragma once
// Helpers shared by the tests: bitmaps filled with repeatable noise, and comparisons.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "gdi/bitmap.h"

namespace vte::test {

// Every byte of every row (padding included) from a small generator seeded with Seed; for pf15bit
// the unused top bit is cleared, for palette formats the indices stay inside the palette.
void FillNoise(TBitmap& Bitmap, std::uint32_t Seed);

// A bitmap of that size and format holding FillNoise(Seed), and one filled with a colour.
TBitmap NoiseBitmap(int Width, int Height, std::uint32_t Seed, TPixelFormat Format = pf32bit);
TBitmap PlainBitmap(int Width, int Height, TColor Color, TPixelFormat Format = pf32bit);

// Empty when both have the same size and format and equal pixel bits (row padding and the X byte
// of pf32bit ignored); else a description of the first difference.
std::string DescribeDifference(const TBitmap& A, const TBitmap& B);

inline constexpr std::array<TPixelFormat, 7> AllFormats = {pf1bit, pf4bit, pf8bit, pf15bit,
                                                           pf16bit, pf24bit, pf32bit};

// The formats of pixels stored as colour values, not palette indices.
inline constexpr std::array<TPixelFormat, 4> DirectFormats = {pf15bit, pf16bit, pf24bit, pf32bit};

// The name of a whole-byte format, for test traces.
inline const char* FormatName(TPixelFormat F) {
  switch (F) {
    case pf8bit: return "pf8bit";
    case pf15bit: return "pf15bit";
    case pf16bit: return "pf16bit";
    case pf24bit: return "pf24bit";
    default: return "pf32bit";
  }
}

// V modulo M, never negative (pattern cells from negative offsets).
inline int Mod(int V, int M) { return ((V % M) + M) % M; }

// Success when both hold the same bytes in every row, row padding included.
testing::AssertionResult SameMemory(const TBitmap& A, const TBitmap& B);

// The raw value of a pixel.
inline std::uint32_t Raw(const TBitmap& B, int X, int Y) { return ReadPixel(B.ScanLine(Y), X, B.PixelFormat()); }

// Repeatable opaque colours for palettes.
TPalette RandomPalette(std::size_t Count, std::uint32_t Seed);

// A pixel value of From's format as the blits bring it into To's format: raw bits between equal
// formats (and equal palettes), black/all-ones out of a monochrome bitmap, only white stays white
// into one, the nearest entry into palette formats, otherwise through RGB.
std::uint32_t BlitConvertValue(const TBitmap& From, std::uint32_t V, const TBitmap& To);

}  // namespace vte::test
