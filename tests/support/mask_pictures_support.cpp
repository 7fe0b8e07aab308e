#include "support/mask_pictures_support.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vte::test {

namespace {

constexpr double Pi = 3.14159265358979323846;

template <class F>
TBitmap GreyOf(int Width, int Height, F&& Level) {
  TBitmap M(Width, Height, pf8bit);
  M.SetPalette(GreyPalette());
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X)
      M.ScanLine(Y)[X] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(Level(X, Y))), 0, 255));
  return M;
}

}  // namespace

TBitmap TwirlMask(int Width, int Height) {
  const double Cx = Width / 2.0, Cy = Height / 2.0, Reach = std::hypot(Cx, Cy);
  return GreyOf(Width, Height, [&](int X, int Y) {
    const double Dx = X + 0.5 - Cx, Dy = Y + 0.5 - Cy;
    const double Turn = std::atan2(Dy, Dx) / (2 * Pi) + 1.5 * std::hypot(Dx, Dy) / Reach;
    return 255.0 * (Turn - std::floor(Turn));
  });
}

TBitmap WiperMask(int Width, int Height) {
  const double Cx = Width / 2.0;
  return GreyOf(Width, Height, [&](int X, int Y) {
    // 0 along the left part of the bottom edge, pi along the right part.
    const double Angle = std::atan2(Height - (Y + 0.5), Cx - (X + 0.5));
    return 255.0 * (1 - Angle / Pi);
  });
}

TBitmap ScenePicture(int Width, int Height, int Variant) {
  QImage I(Width, Height, QImage::Format_RGB32);
  QPainter P(&I);
  P.setRenderHint(QPainter::Antialiasing);
  const double W = Width, H = Height;
  if (Variant == 0) {
    QLinearGradient Sky(0, 0, 0, H);
    Sky.setColorAt(0, QColor(40, 90, 200));
    Sky.setColorAt(0.6, QColor(250, 200, 150));
    P.fillRect(I.rect(), Sky);
    P.setBrush(QColor(255, 230, 90));
    P.setPen(Qt::NoPen);
    P.drawEllipse(QPointF(W * 0.7, H * 0.35), H * 0.12, H * 0.12);
    P.setBrush(QColor(40, 120, 50));
    P.drawEllipse(QPointF(W * 0.25, H * 1.1), W * 0.45, H * 0.5);
    P.setBrush(QColor(30, 90, 40));
    P.drawEllipse(QPointF(W * 0.8, H * 1.15), W * 0.5, H * 0.45);
  } else {
    P.fillRect(I.rect(), QColor(150, 60, 40));
    P.setPen(QPen(QColor(220, 210, 190), std::max(1.0, H / 120)));
    const double Row = H / 12, Brick = W / 10;
    for (int R = 0; R <= 12; ++R) {
      P.drawLine(QPointF(0, R * Row), QPointF(W, R * Row));
      for (int B = 0; B <= 10; ++B) {
        const double X = B * Brick + (R % 2) * Brick / 2;
        P.drawLine(QPointF(X, R * Row), QPointF(X, (R + 1) * Row));
      }
    }
    P.setBrush(QColor(120, 200, 240));
    P.setPen(QPen(Qt::white, H / 60));
    P.drawRect(QRectF(W * 0.35, H * 0.25, W * 0.3, H * 0.4));
  }
  QFont Font = P.font();
  Font.setPixelSize(std::max(8, Height / 8));
  Font.setBold(true);
  P.setFont(Font);
  P.setPen(Variant == 0 ? Qt::white : Qt::yellow);
  P.drawText(I.rect(), Qt::AlignHCenter | Qt::AlignBottom, Variant == 0 ? "OLD LOOK" : "NEW LOOK");
  P.end();
  return TBitmap::FromQImage(I);
}

}  // namespace vte::test
