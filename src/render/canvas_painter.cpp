#include "render/canvas_painter.h"

#include <QPainterPath>

#include "gdi/canvas.h"
#include "render/canvas_state_guard.h"
#include "render/device_scale.h"

namespace vte {

bool TCanvasPainter::PaintsInPlace(TPixelFormat Format) {
  return Format == pf32bit || Format == pf24bit || Format == pf15bit;
}

TCanvasPainter::TCanvasPainter(TCanvas& Canvas, const TRect& Area, const QPointF* Exact) : FCanvas(Canvas) {
  const TPoint Origin = Canvas.WindowOrigin();
  FClip = Canvas.ClipRegion().intersected(
      QRect(Area.Left - Origin.X, Area.Top - Origin.Y, Area.Width(), Area.Height()));
  if (FClip.isEmpty()) return;
  FLogicalClip = FClip.translated(Origin.X, Origin.Y);

  TBitmap& Bitmap = *Canvas.Bitmap();
  QPoint Shift(0, 0);  // device position of the painted image's (0,0)
  if (PaintsInPlace(Bitmap.PixelFormat())) {
    FView = Bitmap.View();
  } else {
    FBox = FClip.boundingRect();
    FCopy = TBitmap(FBox.width(), FBox.height(), pf32bit);
    // What lies below shows through where the painting leaves pixels alone.
    FCopy.Canvas().BitBlt(0, 0, FBox.width(), FBox.height(), Canvas, FBox.left() + Origin.X,
                          FBox.top() + Origin.Y, SRCCOPY);
    FView = FCopy.View();
    Shift = FBox.topLeft();
  }
  const double Scale = PaintScale();
  if (Scale == 1) {
    FPainter.begin(&FView);
    FPainter.translate(-Origin.X - Shift.x(), -Origin.Y - Shift.y());
    FPainter.setClipRegion(FLogicalClip);
    FPainterClip = FLogicalClip;
    return;
  }
  // The canvas holds device pixels: the painter works in logical units on an image of that device
  // pixel ratio, as Qt's own backing store does, so that widgets paint exactly what they paint on
  // the screen. The clip stays on the device pixels the canvas allows (a path: a region would be
  // rounded to logical units).
  FView.setDevicePixelRatio(Scale);
  FPainter.begin(&FView);
  const QPointF Zero = Exact ? *Exact : QPointF(-Origin.X, -Origin.Y);
  FPainter.translate((Zero - QPointF(Shift)) / Scale);
  // The allowed area in the painted widget's own units (the logical clip divided by the scale),
  // placed with the painter: at an exact position between device pixels it moves with the widget,
  // as Qt clips a widget to its own rectangle where the widget lies.
  QPainterPath Clip;
  for (const QRect& R : FLogicalClip) {
    const QRectF P(R.x() / Scale, R.y() / Scale, R.width() / Scale, R.height() / Scale);
    Clip.addRect(P);
    FPainterClip += P.toAlignedRect();
  }
  FPainter.setClipPath(Clip);
}

TCanvasPainter::~TCanvasPainter() {
  if (FPainter.isActive()) FPainter.end();
}

void TCanvasPainter::Finish() {
  if (FFinished) return;
  FFinished = true;
  if (FPainter.isActive()) FPainter.end();
  if (FCopy.Empty()) return;
  TCanvasStateGuard Guard(FCanvas);
  FCanvas.SetWindowOrigin({0, 0});
  FCanvas.SelectClipRegion(FClip);
  FCanvas.BitBlt(FBox.left(), FBox.top(), FBox.width(), FBox.height(), FCopy.Canvas(), 0, 0, SRCCOPY);
}

}  // namespace vte
