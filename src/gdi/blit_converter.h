#pragma once
// Turns raw pixel values of one format into raw values of another, as a blit brings its source
// (or brush pattern) into the destination's format:
//   same format, and for palette formats the same palette: the bits unchanged;
//   monochrome source: 0 gives black (0), 1 all ones (AllOnesPixel); palette destinations take
//     the entries nearest to black and white;
//   monochrome destination: 1 where the source colour is white, else 0;
//   otherwise through RGB, into palette formats the nearest entry.
#include <array>
#include <cstdint>

#include "gdi/blit_nearest_cache.h"
#include "gdi/pixel_format.h"

namespace vte {

class TBlitConverter {
public:
  // The palettes must outlive the use; Cache is bound to the destination palette.
  void Setup(TPixelFormat SourceFormat, const TPalette& SourcePalette, bool SourceMono,
             TPixelFormat DestFormat, const TPalette& DestPalette, bool DestMono,
             TNearestColourCache& Cache);

  bool Raw() const { return FMode == mRaw; }
  std::uint32_t Convert(std::uint32_t Value);
  void ConvertRow(const std::uint32_t* In, std::uint32_t* Out, int N);

private:
  enum TMode { mRaw, mTable, mDirectToMono, mDirectToPalette, mDirectToDirect };
  using TRowFn = void (*)(const std::uint32_t*, std::uint32_t*, int);

  // The rules above for one value, without the table.
  std::uint32_t ConvertByRule(std::uint32_t Value);

  TMode FMode = mRaw;
  TPixelFormat FSourceFormat = pf32bit, FDestFormat = pf32bit;
  const TPalette* FSourcePalette = nullptr;
  const TPalette* FDestPalette = nullptr;
  bool FSourceMono = false, FDestMono = false;
  TNearestColourCache* FCache = nullptr;
  TRowFn FDirectRow = nullptr;
  std::array<std::uint32_t, 256> FTable{};
};

}  // namespace vte
