#include "engine/render_window.h"

#include <QPaintEvent>
#include <QPainter>

#include "render/device_scale.h"

namespace vte {

TTERenderWindow::TTERenderWindow(QWidget* Parent)
    : QWidget(Parent, Parent ? Qt::Widget
                             : Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                                   Qt::NoDropShadowWindowHint) {
  setWindowTitle(QStringLiteral("teRenderWindow"));
  // It paints every pixel itself from the surface: no background, no erase.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  setAutoFillBackground(false);
  hide();
}

void TTERenderWindow::SetSurfaceSize(int Width, int Height, double Ratio) {
  FSurface = TBitmap(Width, Height, pfDevice);
  FRatio = Ratio;
}

void TTERenderWindow::Flush(const QRect& Rect) {
  if (isVisible()) repaint(ToLogicalCovering(Rect, FRatio));
}

void TTERenderWindow::paintEvent(QPaintEvent* Event) {
  if (FSurface.Empty()) return;
  QPainter P(this);
  QImage View = FSurface.View();
  if (View.isNull() || View.format() == QImage::Format_Indexed8 || View.format() == QImage::Format_Mono)
    View = FSurface.ToQImage().convertToFormat(QImage::Format_RGB32);
  // The surface's device pixels land on the screen's own: an image of the window's ratio is drawn
  // unscaled.
  View.setDevicePixelRatio(FRatio);
  const QRect Source = ToDevicePixels(Event->region(), FRatio).boundingRect().intersected(View.rect());
  if (Source.isEmpty()) return;
  P.drawImage(QPointF(Source.topLeft()) / FRatio, View, Source);
}

}  // namespace vte
