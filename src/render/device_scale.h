#pragma once
// Logical and device pixels. On a screen with a device pixel ratio above 1 (2, or 1.5) a widget
// of W x H logical pixels shows W*ratio x H*ratio device pixels. The one rule of the library:
// rectangles the application gives (and widget geometry) are logical; looks, frames, render
// targets and everything an effect computes from their sizes are device pixels. The conversions
// live here, so that screen copies, widget painting, the render window and background painting
// round alike.
//
// While a capture or a background paints into a bitmap of device pixels, the paint scale says how
// many device pixels a logical one is: the capture code converts widget geometry with it where the
// geometry enters, and the painter that widgets paint through gets it as its device pixel ratio.
#include <QRegion>

#include "gdi/geometry.h"

class QWidget;

namespace vte {

// The device pixel ratio the widget is shown at (its window's); the primary screen's for null or
// without a screen, 1 without a GUI application.
double DevicePixelRatioOf(const QWidget* Widget);

// Logical to device, edges rounded to the nearest device pixel (as Qt's scaling of sizes does), so
// rectangles that meet keep meeting.
int ToDevicePixels(int Logical, double Ratio);
TPoint ToDevicePixels(TPoint Logical, double Ratio);
TRect ToDevicePixels(const TRect& Logical, double Ratio);
QRegion ToDevicePixels(const QRegion& Logical, double Ratio);
// The logical rectangle that covers Device (edges rounded outwards).
QRect ToLogicalCovering(const QRect& Device, double Ratio);
QRegion ToLogicalCovering(const QRegion& Device, double Ratio);

// The paint scale of the painting in progress (1 when none says otherwise).
double PaintScale();
// Sets the paint scale for its lifetime.
class TPaintScaleScope {
public:
  explicit TPaintScaleScope(double Ratio);
  ~TPaintScaleScope();
  TPaintScaleScope(const TPaintScaleScope&) = delete;
  TPaintScaleScope& operator=(const TPaintScaleScope&) = delete;

private:
  double FPrevious;
};

// Logical to device at the paint scale: the capture code's conversion of widget geometry.
inline int Scaled(int Logical) { return ToDevicePixels(Logical, PaintScale()); }
inline TPoint Scaled(TPoint Logical) { return ToDevicePixels(Logical, PaintScale()); }
inline TRect Scaled(const TRect& Logical) { return ToDevicePixels(Logical, PaintScale()); }

}  // namespace vte
