#include <array>

#include "gdi/bitmap.h"
#include "gdi/canvas.h"

namespace vte {

// Shapes are filled span by span: each rectangle gets the pen colour or the brush (solid or the
// pattern tiled from the brush origin), inside the bitmap and the clip region.
void TCanvas::FillSpans(const std::vector<TRect>& DeviceRects, bool UsePen) {
  if (UsePen ? FState.Pen.Style == psClear : FState.Brush.Style == bsClear) return;
  TBitmap& Bmp = *FBitmap;
  const TPixelFormat F = Bmp.PixelFormat();
  const TBitmap* Pattern = UsePen ? nullptr : FState.Brush.Bitmap;
  std::array<std::uint32_t, 64> Cells{};
  if (Pattern && !Pattern->Empty()) {
    for (int Y = 0; Y < 8; ++Y)
      for (int X = 0; X < 8; ++X) {
        const int Px = X % Pattern->Width(), Py = Y % Pattern->Height();
        const std::uint32_t V = ReadPixel(Pattern->ScanLine(Py), Px, Pattern->PixelFormat());
        // A monochrome pattern gives black and all-ones pixels, like any mono-to-colour copy.
        Cells[Y * 8 + X] =
            Pattern->Monochrome()
                ? (V ? (IsPaletteFormat(F) ? EncodePixel(F, Bmp.Palette(), qRgb(255, 255, 255)) : AllOnesPixel(F))
                     : (IsPaletteFormat(F) ? EncodePixel(F, Bmp.Palette(), qRgb(0, 0, 0)) : 0u))
                : EncodePixel(F, Bmp.Palette(), DecodePixel(Pattern->PixelFormat(), Pattern->Palette(), V));
      }
  } else {
    Pattern = nullptr;
    Cells.fill(EncodePixel(F, Bmp.Palette(), ColorToQRgb(UsePen ? FState.Pen.Color : FState.Brush.Color)));
  }
  const TPoint Org = FState.BrushOrigin;
  for (const TRect& R : DeviceRects)
    ForEachClipRect(R, [&](const TRect& Piece) {
      for (int Y = Piece.Top; Y < Piece.Bottom; ++Y) {
        std::uint8_t* Row = Bmp.ScanLine(Y);
        const int Cy = ((Y - Org.Y) % 8 + 8) % 8;
        for (int X = Piece.Left; X < Piece.Right; ++X)
          WritePixel(Row, X, F, Cells[Cy * 8 + ((X - Org.X) % 8 + 8) % 8]);
      }
    });
}

}  // namespace vte
