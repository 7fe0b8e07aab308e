#include <vector>

#include "gdi/bitmap.h"
#include "gdi/blit_engine.h"
#include "gdi/canvas.h"

namespace vte {

// Shapes are filled span by span: each rectangle gets the pen colour or the brush (solid or the
// pattern tiled from the brush origin), inside the bitmap and the clip region. The spans go to the
// blit engine as one PATCOPY, so the brush is laid out once for all of them and its pixels follow
// the same format rules as a blit's.
void TCanvas::FillSpans(const std::vector<TRect>& DeviceRects, bool UsePen) {
  if (UsePen ? FState.Pen.Style == psClear : FState.Brush.Style == bsClear) return;
  thread_local std::vector<TRect> Pieces;
  Pieces.clear();
  if (!FState.HasClip) {
    // The bounds once for all the spans of a shape.
    const TRect Bounds = DeviceBounds();
    for (const TRect& R : DeviceRects)
      if (TRect P; IntersectRect(P, R, Bounds)) Pieces.push_back(P);
  } else {
    for (const TRect& R : DeviceRects) ForEachClipRect(R, [&](const TRect& P) { Pieces.push_back(P); });
  }
  TBlitBrush Brush{FState.Brush.Color, FState.Brush.Bitmap, FState.BrushOrigin};
  if (UsePen) Brush = TBlitBrush{FState.Pen.Color, nullptr, FState.BrushOrigin};
  TBlitEngine::ForThisThread().PatternBlt(TBlitSurface::Of(*FBitmap), Pieces, Brush,
                                          RopCode(PATCOPY));
}

}  // namespace vte
