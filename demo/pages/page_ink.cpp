#include "pages/page_ink.h"

#include <QImage>
#include <QLabel>
#include <QPainter>

#include "container/embedded_form.h"

namespace vte::demo {

namespace {
// Above this the background counts as light: dark ink.
constexpr double LightBackground = 0.5;
}  // namespace

void SetInk(QLabel* Label, double Luminance) {
  const bool Light = Luminance >= LightBackground;
  const QColor Ink = Light ? QColor(0x1b, 0x1d, 0x33) : QColor(Qt::white);
  QPalette Palette = Label->palette();
  Palette.setColor(QPalette::WindowText, Ink);
  Palette.setColor(QPalette::Text, Ink);
  Label->setPalette(Palette);
}

double MeanLuminance(const QImage& Picture, const QRect& Area) {
  const QRect R = Area & Picture.rect();
  if (R.isEmpty()) return 1;
  double Sum = 0;
  int Count = 0;
  for (int Y = R.top(); Y <= R.bottom(); Y += 4)
    for (int X = R.left(); X <= R.right(); X += 4) {
      const QRgb P = Picture.pixel(X, Y);
      Sum += (0.2126 * qRed(P) + 0.7152 * qGreen(P) + 0.0722 * qBlue(P)) / 255.0;
      ++Count;
    }
  return Sum / Count;
}

void FitInkToBackground(TFCEmbeddedForm* Page) {
  QImage Background(Page->size(), QImage::Format_RGB32);
  Background.fill(Qt::white);
  {
    QPainter Painter(&Background);
    Page->BackgroundOptions()->Paint(Painter, TRect{});
  }
  for (QLabel* Label : Page->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
    SetInk(Label, MeanLuminance(Background, Label->geometry()));
}

}  // namespace vte::demo
