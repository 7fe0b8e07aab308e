#include "engine/render_window.h"

#include <QPaintEvent>
#include <QPainter>

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

void TTERenderWindow::SetSurfaceSize(int Width, int Height) {
  FSurface = TBitmap(Width, Height, pfDevice);
}

void TTERenderWindow::Flush(const QRect& Rect) {
  if (isVisible()) repaint(Rect);
}

void TTERenderWindow::paintEvent(QPaintEvent* Event) {
  if (FSurface.Empty()) return;
  QPainter P(this);
  const QRect R = Event->rect();
  QImage View = FSurface.View();
  if (View.isNull() || View.format() == QImage::Format_Indexed8 || View.format() == QImage::Format_Mono)
    View = FSurface.ToQImage().convertToFormat(QImage::Format_RGB32);
  P.drawImage(R.topLeft(), View, R);
}

}  // namespace vte
