#pragma once
// Device and bitmap helpers of the capture layer: the pixel format that matches the screen, row
// sizes, bitmap set-up, screen copies, coordinate conversions between a widget's client area and
// the screen, and the tests that tell whether a widget's area shows on the screen as painted.
//
// Client area on Qt: for a child widget the whole widget (client offset (0,0)); for a scroll area
// its viewport; for a top-level window its geometry(), the non-client area being the window frame
// (frameGeometry()).
#include <QRegion>
#include <QString>
#include <Qt>
#include <memory>

#include "gdi/bitmap.h"
#include "gdi/color.h"
#include "gdi/geometry.h"

class QScrollBar;
class QWidget;

namespace vte {

// PixelFormat first (pf1bit: monochrome; pf8bit: Palette, or a copy of the system palette when
// none is given), then width, then height.
void SetupBitmap(TBitmap& Bitmap, const TPalette* Palette, int Width, int Height, TPixelFormat PixelFormat);
// The 256-entry palette that stands for the system palette (colour cube and greys).
TPalette CopySystemPalette();

// The widget whose rectangle is the client area: a scroll area's viewport, else the widget.
QWidget* ClientWidget(const QWidget* Control);
// The client origin in screen coordinates minus the top-left of the window rectangle.
TPoint GetClientOffset(const QWidget* Control);
TPoint ControlClientOrigin(const QWidget* Control);
TPoint ControlScreenToClient(const QWidget* Control, TPoint P);
TPoint ControlClientToScreen(const QWidget* Control, TPoint P);
TRect ControlClientRect(const QWidget* Control);
int ControlClientHeight(const QWidget* Control);
int ControlClientWidth(const QWidget* Control);
// The window rectangle in screen coordinates (frame included for top-level windows).
TRect ControlWindowRect(const QWidget* Control);

// Reads the screen's depth and pixel format into their caches and makes pfDevice bitmaps of the
// device layer take that format. Run once when the render layer starts; the first use of a cached
// value runs it too, so nothing breaks when nobody called it.
void InitializeDeviceCaches();

// Bits per pixel of the screen (32 for 24/32-bit screens: Qt keeps both in 32-bit pixels; 32
// when there is no screen), cached; Refresh reads it again.
int ScreenBitsPerPixel(bool Refresh = false);
// Test hook: makes the screen report this depth (8, 15, 16, 24 or 32) from the next refresh on;
// 0 goes back to the real screen. Refreshes both caches.
void ForceScreenBitsPerPixel(int Bits);
// pf16bit when a pixel of the screen's kind holds more than 32 levels of green, else pf15bit.
TPixelFormat DetectHighColorFormat();
// 8 -> pf8bit, 15 -> pf15bit, 16 -> pf15bit or pf16bit, 32 -> pf32bit, 24 and anything
// unexpected -> pf24bit (also 1 -> pf1bit, 4 -> pf4bit).
TPixelFormat DevicePixelFormat(bool Refresh = false);
// Storage bits of a pixel (pf15bit: 16; pfDevice: 0; pfCustom: those of the device format).
int PixelFormatBits(TPixelFormat PixelFormat);
// Bytes of one row of Bitmap's width in PixelFormat, rows aligned to Alignment bits (below 1:
// whole bytes); 0 for pfDevice and pfCustom.
int BitmapScanlineBytes(const TBitmap& Bitmap, TPixelFormat PixelFormat, int Alignment = 32);
bool IsPaletteDevice(bool Refresh = false);
bool IsHighColorDevice(bool Refresh = false);
// The screen shows graded edges: 15 to 32 bits a pixel (an 8-bit screen has no levels to spare).
bool DeviceShowsSmoothEdges();

// MDI through QMdiArea (client) and QMdiSubWindow (child).
bool IsMaximizedMDIChild(const QWidget* Control);
bool IsMDIClientWithMaximizedChild(const QWidget* Window);
bool IsMDIFormWithMaximizedChild(const QWidget* Control);

// A copy of a screen rectangle (logical coordinates) in the screen's device pixels: its size is
// the rectangle's times the screen's device pixel ratio. The caller owns the bitmap. No screen, or
// a screen that cannot be copied, raises std::runtime_error; failures free what was made. An empty
// rectangle gives an empty bitmap.
std::unique_ptr<TBitmap> CaptureScreenRect(const TRect& ScreenRect, TPixelFormat PixelFormat);
// A bitmap filled with Color (clNone: the control's own background colour).
std::unique_ptr<TBitmap> CreateSolidBitmap(const QWidget* Control, int Width, int Height,
                                           TPixelFormat PixelFormat, const TPalette* Palette, TColor Color);
// The background colour of a widget (its palette's colour for its background role).
TColor ControlColor(const QWidget* Control);

// For a scroll area: that scroll bar is shown (or always on) and its range is not 0..0. Other
// widgets have none.
bool HasScrollBar(const QWidget* Control, Qt::Orientation Kind);
// That scroll bar when HasScrollBar says so, else null.
const QScrollBar* ShownScrollBar(const QWidget* Control, Qt::Orientation Kind);
// Whether the screen might not show what Control paints inside ScreenRect: the rectangle leaves
// the primary screen or a client area of the parent chain, a visible sibling on some level
// overlaps it, or another top-level window may lie over it (see the definition for which).
bool IsRectObscured(const QWidget* Control, const TRect& ScreenRect);
// Whether this platform can copy the screen at all (X11 and offscreen can; Wayland and the minimal
// platform give nothing). Asked once a process: the answer does not change.
bool ScreenCanBeCopied();
// Whether a copy of the screen holds its device pixels. X11 with Qt's scaling does; the offscreen
// platform with a ratio of its own composes the screen in logical pixels, and CaptureScreenRect
// can only scale such a copy up: a transition paints its old look there instead. True at ratio 1.
// Asked once a process.
bool ScreenCopiesDevicePixels();
// Only on 8-bit screens: walks Control and its shown children (last child first) for palettes and
// answers whether one was found. A widget carries a palette in its dynamic property "vtePalette"
// (a QList<QRgb>), set by whoever shows a palette picture in it.
bool RealizeControlPalettes(const QWidget* Control, bool ForceBackground);
// The window has a mask (QWidget::setMask).
bool HasWindowRegion(const QWidget* Window);
// Whether a window's mask decides which of its pixels reach the screen. X11 honours masks; the
// offscreen platform ignores them (and says so), as some Wayland compositors do.
bool WindowMasksShapeTheScreen();
// A mask that leaves none of a window's pixels on the screen while the window stays mapped: an
// empty region would mean "no mask" to Qt, so it is one pixel outside the window.
QRegion OffWindowRegion();

}  // namespace vte
