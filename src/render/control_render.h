#pragma once
// Painting a widget tree into a bitmap or a canvas without the screen: each widget paints itself
// in the way its render mode says (control_registry.h), children after their parent from the
// bottom of the stacking order (the parent's child order) up, each clipped to its rectangle and
// its mask. The transition's own render window ("TTERenderWindow") and its children are never
// painted, nor are hidden widgets. Every change made to a canvas is undone on every path out.
//
// Rectangles are in window coordinates of the widget (see window_facts.h) or, with ClientCoords,
// in its client coordinates; for a scroll area the client area is its viewport.
//
// Device pixels (device_scale.h): a bitmap capture holds the device pixels of its rectangle at the
// ratio the window is shown at, and while it paints, the capture works in them: the rectangles and
// canvases below are in device pixels at the paint scale (logical ones when nothing set a scale,
// as for a caller's own canvas).
#include <QPointF>
#include <memory>

#include "gdi/bitmap.h"
#include "gdi/geometry.h"
#include "render/reg_control.h"

class QWidget;

namespace vte {

class TCanvas;

// The bitmap a capture is painting into, or null; nested captures see the innermost. Formats
// other than pf32bit are painted into a pf32bit bitmap that is converted at the end: that one is
// the bitmap reported here.
TBitmap* CurrentRenderBitmap();
// Makes Bitmap the one reported while a widget paints through a bitmap of its own, so that
// captures nested in that painting see it; returns the previous one, to be put back.
TBitmap* ExchangeCurrentRenderBitmap(TBitmap* Bitmap);
// The device position in the capture bitmap that Target paints into of Control's (0,0), exact to
// a fraction: at a ratio like 1.5 a widget at an odd logical position of its window lies between
// device pixels, where Qt paints it on the screen, and the rounded canvas origin would move its
// painting by half a pixel. The bitmap's (0,0) counts as the capture's corner in its window,
// rounded to a device pixel, where a widget's picture lands on the screen. False when the capture
// does not know it (another bitmap, a widget of another window).
bool ExactCapturePosition(const QWidget* Control, const TCanvas& Target, QPointF& Position);

// Rect (logical) of Control painted into a new bitmap of the format, of Rect's device pixels (null
// for no control).
std::unique_ptr<TBitmap> RenderControlToBitmap(QWidget* Control, const TRect& Rect, bool ClientCoords,
                                               TPixelFormat PixelFormat, bool UseWindowRegion);
// Rect of Window and its children painted into a new bitmap showing exactly Rect; StopWindow and
// the siblings above it are left out. Pending layout requests are carried out first.
std::unique_ptr<TBitmap> RenderWindowToBitmap(QWidget* Window, QWidget* StopWindow, QWidget* Control,
                                              TPixelFormat PixelFormat, bool UseWindowRegion,
                                              bool ClientCoords, const TRect& Rect);
// The same into a canvas the caller owns: window (or, with ClientCoords, client) coordinates are
// the canvas's logical coordinates; children outside Rect are skipped, and the canvas's clip
// region limits all painting.
void RenderWindowTree(QWidget* Window, QWidget* StopWindow, QWidget* Control, bool UseWindowRegion,
                      bool ClientCoords, const TRect& Rect, TCanvas& Target);

// One window with its children, in window coordinates at the canvas's logical origin.
void RenderSingleWindow(QWidget* Window, QWidget* StopWindow, bool UseWindowRegion, bool MustBeVisible,
                        const TRect& Rect, TCanvas& Target, QWidget* Control = nullptr);
// The client phase, the children and the non-client phase of one window with its resolved entry.
void PaintWindow(QWidget* Window, QWidget* StopWindow, const TTERegControl& Entry, const TRect& Rect,
                 TCanvas& Target);
// Window's child widgets, bottom first; Rect is the part to paint in Window's coordinates.
void PaintChildWindows(QWidget* Window, QWidget* StopWindow, const TRect& Rect, TCanvas& Target);

}  // namespace vte
