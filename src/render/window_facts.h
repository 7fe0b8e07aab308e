#pragma once
// What a capture needs to know of one widget as a window.
//
// Window coordinates have their origin at the top-left of the window rectangle: for a child
// widget the widget itself (it has no non-client area, its client area is the whole widget); for
// a top-level window the outer corner of its frame (frameGeometry()), the client area being
// geometry(). A scroll area is painted as a plain widget whose viewport and scroll bars are child
// widgets, so its client area for painting is the whole widget too.
#include "gdi/geometry.h"

class QWidget;

namespace vte {

// The size of the window rectangle, at (0,0).
TRect WindowBounds(const QWidget* Window);
// The top-left of the client area in window coordinates.
TPoint WindowClientOffset(const QWidget* Window);
// The client rectangle in client coordinates (at (0,0)).
TRect WindowClientBounds(const QWidget* Window);

// Whether the widget shows when its window shows: shown, or not hidden itself nor through an
// ancestor (a window that has not been shown yet is captured as it will look).
bool IsWindowShowing(const QWidget* Window);

// The transition's own overlay window (class "TTERenderWindow") is never captured.
bool IsRenderWindow(const QWidget* Window);

}  // namespace vte
