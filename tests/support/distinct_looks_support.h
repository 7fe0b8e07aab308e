#pragma once
// Three looks for effect tests (the old one, the intermediate image of a two-pass run and the new
// one) whose pixels say where they come from. On direct formats every pixel of the three is a
// colour no other pixel of them has, spread over the format's whole range: whatever an effect does
// with them, moving or stretching, a frame pixel names its look and its place in it, and a mix of
// two pixels is almost never a pixel of any look. Palette formats cannot hold that many colours:
// there each look keeps to palette entries of its own (black and white belong to none), so a pixel
// still names its look, but not its place.
#include <cstdint>

#include "gdi/bitmap.h"
#include "gdi/geometry.h"

namespace vte::test {

enum TLook { lkNone = -1, lkOld = 0, lkMiddle = 1, lkNew = 2 };

class TDistinctLooks {
public:
  // Looks of that size in Format (pfDevice: the device format at the time of the call): pf8bit,
  // pf15bit, pf16bit, pf24bit or pf32bit; three looks of the area must fit the format's colours
  // (3 * Width * Height <= 32768 on pf15bit). std::invalid_argument otherwise.
  TDistinctLooks(int Width, int Height, TPixelFormat Format = pfDevice);

  const TBitmap& Old() const { return FLooks[lkOld]; }
  const TBitmap& Middle() const { return FLooks[lkMiddle]; }
  const TBitmap& New() const { return FLooks[lkNew]; }
  const TBitmap& Look(TLook L) const { return FLooks[L]; }
  TPixelFormat PixelFormat() const { return FFormat; }

  // The look a raw pixel value of this format belongs to; lkNone for any other value.
  TLook LookOf(std::uint32_t Raw) const;
  // The place of that pixel in its look; (-1, -1) for lkNone and on palette formats.
  TPoint PlaceOf(std::uint32_t Raw) const;

private:
  // The pixel values are a bijection of the numbers Look * Area + Index over the format's bits.
  std::uint32_t Encode(std::uint32_t N) const;
  std::uint32_t Decode(std::uint32_t Value) const;  // >= 3 * Area: no look's pixel
  std::uint32_t PaletteEntry(TLook L, std::uint32_t Index) const;

  int FWidth, FHeight;
  TPixelFormat FFormat;
  int FBits = 0;               // direct formats: the bits a pixel value has
  std::uint32_t FSalt = 0;     // chosen so that black and white are nobody's pixels
  TBitmap FLooks[3];
};

}  // namespace vte::test
