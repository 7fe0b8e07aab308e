#pragma once
// Moving pixels between rows and arrays of raw values, the steps a blit takes when a source row
// has to change format, be stretched, or move to another bit position within its bytes.
#include <cstdint>

#include "gdi/pixel_format.h"

namespace vte {

// The raw values of pixels X .. X+N-1 of a row.
void ReadRowValues(const std::uint8_t* Row, TPixelFormat Format, int X, int N, std::uint32_t* Out);
// The raw values of pixels Columns[0 .. N-1] of a row.
void GatherRowValues(const std::uint8_t* Row, TPixelFormat Format, const int* Columns, int N,
                     std::uint32_t* Out);
// Stores N values as pixels FirstPixel .. FirstPixel+N-1 of Out (other bits of the bytes touched
// at the ends keep whatever they held).
void PackRowValues(const std::uint32_t* Values, int N, TPixelFormat Format, int FirstPixel,
                   std::uint8_t* Out);
// Copies the pixels Columns[0 .. N-1] of a row of whole-byte pixels (BytesPerPixel 1..4) to Out.
void GatherRowBytes(std::uint8_t* Out, const std::uint8_t* Row, int BytesPerPixel,
                    const int* Columns, int N);
// Out byte i := the eight bits of Row starting at bit FirstBit + 8i (bit 0 = the top bit of
// byte 0). Bits outside Row's RowBytes bytes read as 0, so FirstBit may be negative.
void ShiftRowBits(std::uint8_t* Out, int N, const std::uint8_t* Row, int RowBytes,
                  long long FirstBit);

}  // namespace vte
