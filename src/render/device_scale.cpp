#include "render/device_scale.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtGlobal>
#include <cmath>

namespace vte {

namespace {

double GPaintScale = 1;

}  // namespace

double DevicePixelRatioOf(const QWidget* Widget) {
  if (Widget) return Widget->window()->devicePixelRatioF();
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 1;
  const QScreen* Screen = QGuiApplication::primaryScreen();
  return Screen ? Screen->devicePixelRatio() : 1;
}

int ToDevicePixels(int Logical, double Ratio) {
  if (Ratio == 1) return Logical;
  return qRound(Logical * Ratio);
}

TPoint ToDevicePixels(TPoint Logical, double Ratio) {
  return {ToDevicePixels(Logical.X, Ratio), ToDevicePixels(Logical.Y, Ratio)};
}

TRect ToDevicePixels(const TRect& Logical, double Ratio) {
  return {ToDevicePixels(Logical.Left, Ratio), ToDevicePixels(Logical.Top, Ratio),
          ToDevicePixels(Logical.Right, Ratio), ToDevicePixels(Logical.Bottom, Ratio)};
}

QRegion ToDevicePixels(const QRegion& Logical, double Ratio) {
  if (Ratio == 1) return Logical;
  QRegion Device;
  for (const QRect& R : Logical) {
    const TRect D = ToDevicePixels(Rect(R.left(), R.top(), R.left() + R.width(), R.top() + R.height()), Ratio);
    Device += QRect(D.Left, D.Top, D.Width(), D.Height());
  }
  return Device;
}

QRect ToLogicalCovering(const QRect& Device, double Ratio) {
  if (Ratio == 1 || Device.isEmpty()) return Device;
  const int Left = static_cast<int>(std::floor(Device.left() / Ratio));
  const int Top = static_cast<int>(std::floor(Device.top() / Ratio));
  const int Right = static_cast<int>(std::ceil((Device.left() + Device.width()) / Ratio));
  const int Bottom = static_cast<int>(std::ceil((Device.top() + Device.height()) / Ratio));
  return QRect(Left, Top, Right - Left, Bottom - Top);
}

QRegion ToLogicalCovering(const QRegion& Device, double Ratio) {
  if (Ratio == 1) return Device;
  QRegion Logical;
  for (const QRect& R : Device) Logical += ToLogicalCovering(R, Ratio);
  return Logical;
}

double PaintScale() { return GPaintScale; }

TPaintScaleScope::TPaintScaleScope(double Ratio) : FPrevious(GPaintScale) { GPaintScale = Ratio; }

TPaintScaleScope::~TPaintScaleScope() { GPaintScale = FPrevious; }

}  // namespace vte
