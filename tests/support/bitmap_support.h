#pragma once
// Helpers shared by the tests: bitmaps filled with repeatable noise, and comparisons.
#include <cstdint>
#include <string>

#include "gdi/bitmap.h"

namespace vte::test {

// Every byte of every row (padding included) from a small generator seeded with Seed; for pf15bit
// the unused top bit is cleared, for palette formats the indices stay inside the palette.
void FillNoise(TBitmap& Bitmap, std::uint32_t Seed);

// Empty when both have the same size and format and equal pixel bits (row padding and the X byte
// of pf32bit ignored); else a description of the first difference.
std::string DescribeDifference(const TBitmap& A, const TBitmap& B);

}  // namespace vte::test
