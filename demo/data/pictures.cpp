// The pictures with a subject: the logo, the product box and the contact envelope, drawn with
// QPainter in the program's colours.
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "demo_data.h"

namespace vte::demo::data {

namespace {

// The mark: a "V" of three translucent bands over each other, as images crossing in a transition.
void DrawMark(QPainter& Painter, const QRectF& Box) {
  const QColor Bands[] = {QColor(64, 160, 255, 190), QColor(120, 220, 170, 170), QColor(255, 170, 70, 170)};
  const double W = Box.width(), H = Box.height();
  for (int I = 0; I < 3; ++I) {
    const double Shift = (I - 1) * W * 0.09;
    QPainterPath V;
    V.moveTo(Box.left() + Shift, Box.top());
    V.lineTo(Box.left() + W * 0.22 + Shift, Box.top());
    V.lineTo(Box.center().x() + Shift, Box.bottom() - H * 0.2);
    V.lineTo(Box.right() - W * 0.22 + Shift, Box.top());
    V.lineTo(Box.right() + Shift, Box.top());
    V.lineTo(Box.center().x() + W * 0.08 + Shift, Box.bottom());
    V.lineTo(Box.center().x() - W * 0.08 + Shift, Box.bottom());
    V.closeSubpath();
    Painter.fillPath(V, Bands[I]);
  }
}

QFont Font(int PixelSize, bool Bold) {
  QFont F(QStringLiteral("DejaVu Sans"));
  F.setPixelSize(PixelSize);
  F.setBold(Bold);
  return F;
}

}  // namespace

QImage LogoPicture() {
  QImage Image(700, 493, QImage::Format_RGB32);
  QPainter Painter(&Image);
  Painter.setRenderHint(QPainter::Antialiasing);
  QRadialGradient Sky(QPointF(470, 170), 620);
  Sky.setColorAt(0, QColor(58, 96, 160));
  Sky.setColorAt(0.6, QColor(26, 42, 86));
  Sky.setColorAt(1, QColor(12, 18, 40));
  Painter.fillRect(Image.rect(), Sky);
  // Faint diagonal lines: the stripes of a wipe in passing.
  Painter.setPen(QPen(QColor(255, 255, 255, 18), 14));
  for (int X = -500; X < 700; X += 46) Painter.drawLine(X, 493, X + 493, 0);
  DrawMark(Painter, QRectF(390, 70, 220, 200));
  Painter.setPen(QColor(236, 242, 255));
  Painter.setFont(Font(44, true));
  Painter.drawText(QRectF(250, 300, 430, 60), Qt::AlignCenter, QStringLiteral("Vantorel Effects"));
  Painter.setPen(QColor(170, 196, 236));
  Painter.setFont(Font(19, false));
  Painter.drawText(QRectF(250, 360, 430, 30), Qt::AlignCenter, QStringLiteral("transitions for Qt widgets"));
  return Image;
}

QImage BoxPicture() {
  // A boxed product in three faces, front, side and top, on white.
  QImage Image(420, 320, QImage::Format_RGB32);
  Image.fill(Qt::white);
  QPainter Painter(&Image);
  Painter.setRenderHint(QPainter::Antialiasing);
  const QPolygonF Front({QPointF(70, 80), QPointF(290, 80), QPointF(290, 290), QPointF(70, 290)});
  const QPolygonF Side({QPointF(290, 80), QPointF(350, 40), QPointF(350, 250), QPointF(290, 290)});
  const QPolygonF Top({QPointF(70, 80), QPointF(130, 40), QPointF(350, 40), QPointF(290, 80)});
  QLinearGradient FrontFill(70, 80, 290, 290);
  FrontFill.setColorAt(0, QColor(40, 72, 140));
  FrontFill.setColorAt(1, QColor(16, 28, 66));
  Painter.setPen(Qt::NoPen);
  Painter.setBrush(FrontFill);
  Painter.drawPolygon(Front);
  Painter.setBrush(QColor(12, 22, 52));
  Painter.drawPolygon(Side);
  Painter.setBrush(QColor(86, 122, 190));
  Painter.drawPolygon(Top);
  DrawMark(Painter, QRectF(120, 100, 120, 110));
  Painter.setPen(QColor(236, 242, 255));
  Painter.setFont(Font(22, true));
  Painter.drawText(QRectF(70, 218, 220, 30), Qt::AlignCenter, QStringLiteral("Vantorel"));
  Painter.setFont(Font(15, false));
  Painter.drawText(QRectF(70, 246, 220, 24), Qt::AlignCenter, QStringLiteral("Effects 3.3"));
  // The shadow the box casts on the floor.
  QRadialGradient Shadow(QPointF(210, 300), 180);
  Shadow.setColorAt(0, QColor(0, 0, 0, 60));
  Shadow.setColorAt(1, QColor(0, 0, 0, 0));
  Painter.setPen(Qt::NoPen);
  Painter.setBrush(Shadow);
  Painter.drawEllipse(QPointF(210, 300), 180, 14);
  return Image;
}

QImage ContactPicture() {
  QImage Image(56, 44, QImage::Format_RGB32);
  Image.fill(QColor(44, 98, 168));
  QPainter Painter(&Image);
  Painter.setRenderHint(QPainter::Antialiasing);
  Painter.setPen(QPen(QColor(30, 50, 90), 1.5));
  Painter.setBrush(QColor(250, 248, 240));
  Painter.drawRoundedRect(QRectF(6, 8, 44, 28), 3, 3);
  Painter.drawPolyline(QPolygonF({QPointF(6, 9), QPointF(28, 26), QPointF(50, 9)}));
  return Image;
}

}  // namespace vte::demo::data
