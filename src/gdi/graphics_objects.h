#pragma once
// The drawing tools of a canvas: pen, brush and font.
#include <QFont>
#include <QString>

#include "gdi/color.h"

namespace vte {

class TBitmap;

enum TPenStyle { psSolid, psClear };
enum TBrushStyle { bsSolid, bsClear };

struct TPen {
  TColor Color = clBlack;
  int Width = 1;  // lines are one pixel wide whatever this says
  TPenStyle Style = psSolid;
};

// A solid colour, nothing (bsClear), or an 8x8 pattern bitmap (not owned; its top-left 8x8 pixels
// are tiled from the canvas's brush origin). A pattern replaces the colour while it is set.
struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
  const TBitmap* Bitmap = nullptr;
};

enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Height < 0 is the character height in pixels, Height > 0 the cell height (character plus
// internal leading); Size is in points at 96 pixels an inch.
struct TFont {
  QString Name = QStringLiteral("DejaVu Sans");
  int Height = -11;
  int Style = 0;  // TFontStyle bits
  TColor Color = clWindowText;

  int Size() const;
  void SetSize(int Points);
  QFont ToQFont() const;
};

}  // namespace vte
