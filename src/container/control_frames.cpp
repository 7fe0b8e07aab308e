#include "container/control_frames.h"

#include <QPainter>
#include <QPalette>
#include <QWidget>

namespace vte {

namespace {

QColor ToQColor(TColor C) { return QColor(ColorToQRgb(C)); }

}  // namespace

void DrawBevel(QPainter& Painter, QRect& Rect, TBevelCut Cut, int Width) {
  const bool Lowered = Cut == bvLowered;
  const QColor TopLeft = ToQColor(Lowered ? clBtnShadow : clBtnHighlight);
  const QColor BottomRight = ToQColor(Lowered ? clBtnHighlight : clBtnShadow);
  for (int I = 0; I < Width && Rect.width() > 0 && Rect.height() > 0; ++I) {
    if (Cut != bvSpace) {
      const int L = Rect.left(), T = Rect.top(), R = Rect.right(), B = Rect.bottom();
      // The corners where the two colours meet belong to the bottom-right colour, as the
      // classic frame draws them.
      Painter.fillRect(QRect(L, T, 1, B - T), TopLeft);
      Painter.fillRect(QRect(L, T, R - L, 1), TopLeft);
      Painter.fillRect(QRect(R, T, 1, B - T + 1), BottomRight);
      Painter.fillRect(QRect(L, B, R - L + 1, 1), BottomRight);
    }
    Rect.adjust(1, 1, -1, -1);
  }
}

void DrawFrameRect(QPainter& Painter, const QRect& Rect, TColor Color) {
  if (Rect.width() <= 0 || Rect.height() <= 0) return;
  const QColor C = ToQColor(Color);
  Painter.fillRect(QRect(Rect.left(), Rect.top(), Rect.width(), 1), C);
  Painter.fillRect(QRect(Rect.left(), Rect.bottom(), Rect.width(), 1), C);
  Painter.fillRect(QRect(Rect.left(), Rect.top(), 1, Rect.height()), C);
  Painter.fillRect(QRect(Rect.right(), Rect.top(), 1, Rect.height()), C);
}

void SetControlColor(QWidget* Control, TColor Color) {
  QPalette P = Control->palette();
  P.setColor(QPalette::Window, ToQColor(Color));
  Control->setPalette(P);
}

}  // namespace vte
