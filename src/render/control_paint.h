#pragma once
// Painting one widget's client or non-client area into a canvas in the way its render mode says.
//
// On Qt, a window painting itself into a given context (print, or paint with the context) is
// QWidget::render of that widget alone, without its children, at the canvas's logical origin,
// limited to the canvas's clip region. The background a window erases is the one Qt paints for
// it: the window brush for a top-level window and for the widget a capture starts at (nothing of
// the capture lies below it), and for any other child widget the background Qt paints for a
// child (its auto-fill background, if any) so that the parent shows through, as on the screen.
#include "render/reg_control.h"

#include <cstdint>

class QWidget;

namespace vte {

class TCanvas;

// The widget a capture starts at; returns the previous one. Set by RenderWindowTree.
QWidget* SetCaptureRoot(QWidget* Root);

// The canvas a capture is painting Control's client area into at this moment, when that painting
// lands in the canvas's own pixels (the canvas's logical (0,0) is Control's client (0,0), its clip
// region limits the painting): a widget that paints through a bitmap of its own may draw straight
// there instead. Null otherwise, also while the screen is being painted.
TCanvas* CaptureCanvasOf(const QWidget* Control);

// The client area at the canvas's logical (0,0), by the first client mode bit of Flags.
void PaintClient(QWidget* Control, const TTERegControl& Entry, std::uint32_t Flags, TCanvas& Target);
// The non-client area in window coordinates, by the first non-client mode bit of Flags (or the
// paint-copy bits, which paint the whole window).
void PaintNonClient(QWidget* Control, const TTERegControl& Entry, std::uint32_t Flags, TCanvas& Target);

// Print of the client area with its background.
void PrintClient(QWidget* Control, TCanvas& Target);
// Erase, then paint. Qt paints a widget's background and its paint event in one pass, so this is
// the same render as PrintClient; double buffering has no counterpart (Qt paints straight into
// the given painter).
void SendEraseAndPaint(QWidget* Control, TCanvas& Target);
// The paint event alone, with no window background (the paint-copy painting).
void PaintAsCopy(QWidget* Control, TCanvas& Target);
// Print of the non-client area. Qt cannot paint a window manager's frame: a top-level window's
// frame is drawn by DrawOwnBorder; a child widget has none.
void PrintNonClient(QWidget* Control, TCanvas& Target);
// The library's own frame: the window colour with a one-pixel dark outline around the window
// rectangle, the client area left out (window coordinates).
void DrawOwnBorder(QWidget* Control, TCanvas& Target);
// The widget's own picture for widgets whose pixels do not come from their paint event (the
// framebuffer of QOpenGLWidget and QQuickWidget), drawn over the client area.
void OleDrawControl(QWidget* Control, TCanvas& Target);
// Native windows paint only to the screen: their client area is copied from the screen. A widget
// that is not on the screen is painted the ordinary way instead.
void PaintClientIntercepted(QWidget* Control, TCanvas& Target);
// The frame of a top-level window as the screen shows it (window coordinates).
void PaintNonClientIntercepted(QWidget* Control, TCanvas& Target);

}  // namespace vte
