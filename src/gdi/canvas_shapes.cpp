// Shapes and single pixels of the canvas. The pixel sets come from the rasteriser in device
// coordinates; FillSpans then applies the pen or the brush, the bitmap bounds and the clip region,
// so every shape obeys the same clipping and pattern rules on every pixel format.
#include <algorithm>

#include "gdi/bitmap.h"
#include "gdi/canvas.h"
#include "gdi/rasterizer.h"

namespace vte {

namespace {

TRect Offset(TRect R, TPoint Origin) {
  OffsetRect(R, -Origin.X, -Origin.Y);
  return R;
}

// The one-pixel border of R (no pixel twice), in R's coordinates.
std::vector<TRect> Border(const TRect& R) {
  std::vector<TRect> Out;
  if (R.IsEmpty()) return Out;
  Out.push_back(Rect(R.Left, R.Top, R.Right, R.Top + 1));
  if (R.Bottom - 1 > R.Top) Out.push_back(Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom));
  if (R.Bottom - R.Top > 2) {
    Out.push_back(Rect(R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1));
    if (R.Right - 1 > R.Left) Out.push_back(Rect(R.Right - 1, R.Top + 1, R.Right, R.Bottom - 1));
  }
  return Out;
}

}  // namespace

void TCanvas::Rectangle(const TRect& R) {
  const TRect D = Offset(R, FState.WindowOrigin);
  if (D.IsEmpty()) return;
  if (FState.Pen.Style == psClear) {
    FillSpans({D}, false);
    return;
  }
  const TRect Inner = Rect(D.Left + 1, D.Top + 1, D.Right - 1, D.Bottom - 1);
  if (!Inner.IsEmpty()) FillSpans({Inner}, false);
  FillSpans(Border(D), true);
}

void TCanvas::FrameRect(const TRect& R) { FillSpans(Border(Offset(R, FState.WindowOrigin)), false); }

void TCanvas::Ellipse(const TRect& R) {
  const TRect D = Offset(R, FState.WindowOrigin);
  // Only the rows that can show matter: a huge ellipse costs no more than the bitmap's height.
  TRect Visible;
  if (!IntersectRect(Visible, D, Offset(ClipRect(), FState.WindowOrigin))) return;
  if (FState.Pen.Style == psClear) {
    // Without an outline the brush covers the whole ellipse, as for Rectangle.
    FillSpans(EllipseInsideSpans(D, Visible.Top, Visible.Bottom), false);
    return;
  }
  const TEllipseSpans S = EllipseSpans(D, Visible.Top, Visible.Bottom);
  FillSpans(S.Interior, false);
  FillSpans(S.Outline, true);
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  std::vector<TPoint> Dev(Points.size());
  for (std::size_t I = 0; I < Points.size(); ++I) Dev[I] = ToDevice(Points[I].X, Points[I].Y);
  const TRect Visible = Offset(ClipRect(), FState.WindowOrigin);
  if (Visible.IsEmpty()) return;
  FillSpans(PolygonSpans(Dev, Visible.Top, Visible.Bottom), false);
  if (FState.Pen.Style == psClear) return;
  std::vector<TRect> Outline;
  AppendPolygonOutline(Dev, Visible, Outline);
  FillSpans(Outline, true);
}

void TCanvas::MoveTo(int X, int Y) { FState.PenPos = Point(X, Y); }

void TCanvas::LineTo(int X, int Y) {
  const TPoint From = ToDevice(FState.PenPos.X, FState.PenPos.Y), To = ToDevice(X, Y);
  FState.PenPos = Point(X, Y);
  if (FState.Pen.Style == psClear) return;
  const TRect Visible = Offset(ClipRect(), FState.WindowOrigin);
  if (Visible.IsEmpty()) return;
  FillSpans(LineSpans(From, To, Visible), true);
}

TColor TCanvas::Pixel(int X, int Y) const {
  const TPoint D = ToDevice(X, Y);
  bool Inside = false;
  ForEachClipRect(Rect(D.X, D.Y, D.X + 1, D.Y + 1), [&](const TRect&) { Inside = true; });
  return Inside ? FBitmap->PixelColor(D.X, D.Y) : static_cast<TColor>(-1);
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
  const TPoint D = ToDevice(X, Y);
  TBitmap& Bmp = *FBitmap;
  ForEachClipRect(Rect(D.X, D.Y, D.X + 1, D.Y + 1), [&](const TRect&) {
    // Palette formats take the nearest entry; direct formats the colour at their precision.
    WritePixel(Bmp.ScanLine(D.Y), D.X, Bmp.PixelFormat(),
               EncodePixel(Bmp.PixelFormat(), Bmp.Palette(), ColorToQRgb(Color)));
  });
}

}  // namespace vte
