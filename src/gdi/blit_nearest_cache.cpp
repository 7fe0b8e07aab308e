#include "gdi/blit_nearest_cache.h"

#include <algorithm>

namespace vte {

void TNearestColourCache::Bind(const TPalette& Palette) {
  if (FBound && Palette == FPalette) return;
  FPalette = Palette;
  FTable.assign(std::size_t{1} << TableBits, TEntry{});
  FBound = true;
}

int TNearestColourCache::Lookup(QRgb Rgb) {
  const std::uint32_t Key = (Rgb & 0xFFFFFFu) | 0x01000000u;
  // A direct-mapped table: a colour that collides replaces the older answer.
  TEntry& E = FTable[(Key * 2654435761u) >> (32 - TableBits)];
  if (E.Key != Key) {
    E.Key = Key;
    E.Index = NearestPaletteIndex(FPalette, Rgb);
  }
  return E.Index;
}

}  // namespace vte
