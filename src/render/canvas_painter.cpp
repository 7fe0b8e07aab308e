#include "render/canvas_painter.h"

#include "gdi/canvas.h"
#include "render/canvas_state_guard.h"

namespace vte {

bool TCanvasPainter::PaintsInPlace(TPixelFormat Format) {
  return Format == pf32bit || Format == pf24bit || Format == pf15bit;
}

TCanvasPainter::TCanvasPainter(TCanvas& Canvas, const TRect& Area) : FCanvas(Canvas) {
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
  FPainter.begin(&FView);
  FPainter.translate(-Origin.X - Shift.x(), -Origin.Y - Shift.y());
  FPainter.setClipRegion(FLogicalClip);
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
