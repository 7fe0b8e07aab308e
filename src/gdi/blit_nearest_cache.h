#pragma once
// Remembered nearest-palette-entry answers for one palette. Converting a picture into a palette
// format asks the same few thousand colours again and again, and each search walks the palette.
#include <QRgb>
#include <cstdint>
#include <vector>

#include "gdi/pixel_format.h"

namespace vte {

class TNearestColourCache {
public:
  // Makes Palette the one answered for; the answers are forgotten when it differs from the last.
  void Bind(const TPalette& Palette);
  // NearestPaletteIndex(Palette, Rgb) of the bound palette.
  int Lookup(QRgb Rgb);

private:
  struct TEntry {
    std::uint32_t Key = 0;  // 0x01BBGGRR-style: the colour plus a used flag
    std::int32_t Index = 0;
  };
  static constexpr int TableBits = 12;

  TPalette FPalette;
  std::vector<TEntry> FTable;
  bool FBound = false;
};

}  // namespace vte
