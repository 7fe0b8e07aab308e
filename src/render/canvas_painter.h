#pragma once
// A QPainter on the bitmap of a canvas, so that widgets and pictures can be painted into a
// canvas: painter coordinates are the canvas's logical coordinates (its window origin applied) and
// painting is limited to an area and the canvas's clip region. At a paint scale other than 1
// (device_scale.h) the canvas holds device pixels and the painter's coordinates are the canvas's
// divided by the scale: a widget paints in its own logical units onto the device pixels.
//
// QPainter paints pf32bit, pf24bit and pf15bit bitmaps in place. It cannot paint palette formats,
// and Qt 6.4 draws one-bit glyphs into 5-6-5 images wrongly, so those formats are painted through
// a 32-bit copy of the affected part that Finish copies back through the clip region.
#include <QImage>
#include <QPointF>
#include <QPainter>
#include <QRegion>

#include "gdi/bitmap.h"
#include "gdi/geometry.h"

namespace vte {

class TCanvas;

class TCanvasPainter {
public:
  // Area is in logical coordinates. Exact, when given, is the device position of the logical
  // (0,0) to a fraction, to stand for the canvas's (rounded) window origin.
  TCanvasPainter(TCanvas& Canvas, const TRect& Area, const QPointF* Exact = nullptr);
  // Ends painting without copying back what Finish would (a failed painting leaves the canvas).
  ~TCanvasPainter();
  TCanvasPainter(const TCanvasPainter&) = delete;
  TCanvasPainter& operator=(const TCanvasPainter&) = delete;

  // Nothing can be painted (the area lies outside the clip region).
  bool IsEmpty() const { return FClip.isEmpty(); }
  QPainter& Painter() { return FPainter; }
  // Where painting is allowed, in logical coordinates.
  const QRegion& LogicalClip() const { return FLogicalClip; }
  // The same in the painter's coordinates (the whole pixels that cover it at a paint scale).
  const QRegion& PainterClip() const { return FPainterClip; }
  // Ends painting and, for the formats painted through a copy, copies it into the canvas.
  void Finish();

  // Whether QPainter paints this format exactly in place.
  static bool PaintsInPlace(TPixelFormat Format);

private:
  TCanvas& FCanvas;
  QRegion FClip;         // device coordinates
  QRegion FLogicalClip;
  QRegion FPainterClip;
  QRect FBox;            // bounding box of FClip: the part held by FCopy
  TBitmap FCopy;         // the 32-bit copy, for the formats not painted in place
  QImage FView;          // must outlive the painter
  QPainter FPainter;
  bool FFinished = false;
};

}  // namespace vte
