#pragma once
// Saves a canvas's whole state (origin, clip region, brush origin, tools) and puts it back when it
// goes out of scope, on every path out, exceptions included.
#include "gdi/canvas.h"

namespace vte {

class TCanvasStateGuard {
public:
  explicit TCanvasStateGuard(TCanvas& Canvas) : FCanvas(Canvas), FLevel(Canvas.SaveDC()) {}
  ~TCanvasStateGuard() { FCanvas.RestoreDC(FLevel); }
  TCanvasStateGuard(const TCanvasStateGuard&) = delete;
  TCanvasStateGuard& operator=(const TCanvasStateGuard&) = delete;

private:
  TCanvas& FCanvas;
  int FLevel;
};

}  // namespace vte
