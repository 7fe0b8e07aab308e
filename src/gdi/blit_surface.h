#pragma once
// What a blit works on: rows of pixels in one format (a whole bitmap, or a snapshot of some of its
// rows taken before the bitmap is drawn on), and the brush that gives the pattern operand.
#include <cstddef>
#include <cstdint>

#include "gdi/bitmap.h"
#include "gdi/color.h"
#include "gdi/geometry.h"

namespace vte {

struct TBlitSurface {
  std::uint8_t* Bits = nullptr;  // row FirstRow
  std::ptrdiff_t Stride = 0;
  int FirstRow = 0;
  int Width = 0, Height = 0;  // of the whole bitmap
  TPixelFormat Format = pf32bit;
  const TPalette* Palette = nullptr;
  bool Mono = false;

  std::uint8_t* Row(int Y) const { return Bits + (Y - FirstRow) * Stride; }
  TRect Bounds() const { return Rect(0, 0, Width, Height); }

  static TBlitSurface Of(TBitmap& Bitmap) {
    TBlitSurface S;
    S.Bits = Bitmap.Bits();
    S.Stride = Bitmap.ScanlineBytes();
    S.Width = Bitmap.Width();
    S.Height = Bitmap.Height();
    S.Format = Bitmap.PixelFormat();
    S.Palette = &Bitmap.Palette();
    S.Mono = Bitmap.Monochrome();
    return S;
  }
};

// The pattern operand: the 8x8 pattern when there is one (tiled in device space from Origin),
// else the solid colour.
struct TBlitBrush {
  TColor Color = clWhite;
  const TBitmap* Pattern = nullptr;
  TPoint Origin;
};

}  // namespace vte
