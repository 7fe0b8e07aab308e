#pragma once
// A device context on a bitmap. Coordinates given to it are logical: device = logical - window
// origin. Every drawing operation is limited to the bitmap and to the clip region (kept in device
// coordinates, like the window system's). SaveDC/RestoreDC save and restore the whole state.
#include <QRegion>
#include <QString>
#include <cstdint>
#include <span>
#include <vector>

#include "gdi/geometry.h"
#include "gdi/graphics_objects.h"
#include "gdi/raster_op.h"

namespace vte {

class TBitmap;
class TGraphic;

inline constexpr int BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4;

// DrawText flags.
inline constexpr unsigned DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
                          DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20,
                          DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100, DT_CALCRECT = 0x400,
                          DT_NOPREFIX = 0x800, DT_END_ELLIPSIS = 0x8000, DT_RTLREADING = 0x20000;

class TCanvas {
public:
  explicit TCanvas(TBitmap& Bitmap);
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TBitmap* Bitmap() const { return FBitmap; }

  TPen& Pen() { return FState.Pen; }
  TBrush& Brush() { return FState.Brush; }
  TFont& Font() { return FState.Font; }

  std::uint32_t CopyMode() const { return FState.CopyMode; }
  void SetCopyMode(std::uint32_t Rop) { FState.CopyMode = Rop; }
  int StretchMode() const { return FState.StretchMode; }
  void SetStretchMode(int Mode) { FState.StretchMode = Mode; }

  // The device point where the brush pattern's pixel (0,0) lies (repeated every 8 pixels).
  TPoint BrushOrigin() const { return FState.BrushOrigin; }
  void SetBrushOrigin(TPoint Origin) { FState.BrushOrigin = Origin; }
  TPoint WindowOrigin() const { return FState.WindowOrigin; }
  void SetWindowOrigin(TPoint Origin) { FState.WindowOrigin = Origin; }
  TPoint PenPos() const { return FState.PenPos; }

  // Saves the whole state; the result is the new save level (1, 2, ...).
  int SaveDC();
  // Restores level Saved (> 0), or the |Saved|-th latest (< 0); the levels above are dropped.
  // False when there is no such level.
  bool RestoreDC(int Saved);

  // The clip region. nullptr removes it; a rectangle (logical) replaces it.
  void SelectClipRect(const TRect* Rect);
  // Sets the region from device-coordinate rectangles (an empty region clips everything away).
  void SelectClipRegion(const QRegion& DeviceRegion);
  void IntersectClipRect(const TRect& Rect);
  void ExcludeClipRect(const TRect& Rect);
  bool HasClipRegion() const { return FState.HasClip; }
  // The clip region in device coordinates (the whole bitmap when there is none).
  QRegion ClipRegion() const;
  // The bounding box of what can be drawn, in logical coordinates.
  TRect ClipRect() const;

  // Brush over Rect with PATCOPY (logical coordinates).
  void FillRect(const TRect& Rect);
  // FillRect of each of Rects, in one fill (they may overlap).
  void FillRects(std::span<const TRect> Rects);
  // Pen outline of Rect, brush inside it.
  void Rectangle(const TRect& Rect);
  void FrameRect(const TRect& Rect);  // a one-pixel frame in the brush
  // The ellipse inscribed in Rect: brush inside, pen outline. Discs of one centre nest.
  void Ellipse(const TRect& Rect);
  // Alternate fill in the brush, then the outline in the pen (closed).
  void Polygon(const std::vector<TPoint>& Points);
  void MoveTo(int X, int Y);
  // A one-pixel line in the pen from the pen position to (X,Y), that end point left out.
  void LineTo(int X, int Y);
  TColor Pixel(int X, int Y) const;  // -1 when outside the bitmap or the clip region
  void SetPixel(int X, int Y, TColor Color);

  // Brush combined with the destination by Rop (no source).
  void PatBlt(int X, int Y, int Width, int Height, std::uint32_t Rop);
  void BitBlt(int X, int Y, int Width, int Height, TCanvas& Source, int XSrc, int YSrc,
              std::uint32_t Rop);
  // Each of Rects copied from the same place of Source (SRCCOPY), in one blit: a frame that
  // changed many small pieces pays the blit's set-up once. Rects may overlap.
  void CopyRects(std::span<const TRect> Rects, TCanvas& Source);
  // Nearest-neighbour stretch; negative extents mirror (source (W,0) extent (-W,H) reads columns
  // W-1 ... 0).
  void StretchBlt(int X, int Y, int Width, int Height, TCanvas& Source, int XSrc, int YSrc,
                  int WidthSrc, int HeightSrc, std::uint32_t Rop);
  // StretchBlt of SourceRect onto Dest with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect);

  void Draw(int X, int Y, const TGraphic& Graphic);
  void StretchDraw(const TRect& Rect, const TGraphic& Graphic);

  // Moves the pixels of Scroll by (Dx, Dy); only pixels inside Clip change, and only pixels
  // from inside Scroll are moved. Pixels left uncovered keep their values.
  void ScrollDC(int Dx, int Dy, const TRect& Scroll, const TRect& Clip);

  // Text in Font at (X,Y) (the top-left of the text cell); with a solid brush its cell is filled.
  void TextOut(int X, int Y, const QString& Text);
  // TextOut clipped to Rect.
  void TextRect(const TRect& Rect, int X, int Y, const QString& Text);
  // Formats Text in Rect as Flags say; returns the text height. DT_CALCRECT only measures, and
  // sets Rect's right and bottom.
  int DrawText(const QString& Text, TRect& Rect, unsigned Flags);
  int TextWidth(const QString& Text) const;
  int TextHeight(const QString& Text) const;

  void Lock() { ++FLockCount; }
  void Unlock() { if (FLockCount > 0) --FLockCount; }
  bool Locked() const { return FLockCount > 0; }

  // --- for the drawing code of the layer ---
  // Device-coordinate rectangles that may be drawn in, each inside the bitmap (no allocation).
  template <class F> void ForEachClipRect(const TRect& Device, F&& Fn) const;
  TRect DeviceBounds() const;
  TPoint ToDevice(int X, int Y) const { return {X - FState.WindowOrigin.X, Y - FState.WindowOrigin.Y}; }

private:
  struct TState {
    TPen Pen;
    TBrush Brush;
    TFont Font;
    std::uint32_t CopyMode = SRCCOPY;
    int StretchMode = COLORONCOLOR;
    TPoint BrushOrigin;
    TPoint WindowOrigin;
    TPoint PenPos;
    bool HasClip = false;
    QRegion Clip;  // device coordinates, inside the bitmap
  };

  void FillSpans(const std::vector<TRect>& DeviceRects, bool UsePen);
  void DrawText32(const QString& Text, const TRect& Rect, unsigned Flags, bool Opaque, int X, int Y);

  TBitmap* FBitmap;
  TState FState;
  std::vector<TState> FSaved;
  int FLockCount = 0;
};

template <class F> void TCanvas::ForEachClipRect(const TRect& Device, F&& Fn) const {
  TRect Bounded;
  if (!IntersectRect(Bounded, Device, DeviceBounds())) return;
  if (!FState.HasClip) {
    Fn(Bounded);
    return;
  }
  for (const QRect& Q : FState.Clip) {
    TRect Piece;
    if (IntersectRect(Piece, Bounded, Rect(Q.left(), Q.top(), Q.right() + 1, Q.bottom() + 1))) Fn(Piece);
  }
}

}  // namespace vte
