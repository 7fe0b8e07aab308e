#include "engine/dirty_rects.h"

namespace vte {

void TFCDirtyRects::Add(const TRect& Rect) {
  if (!ClipToBounds) {
    FRects.push_back(Rect);
    return;
  }
  TRect Clipped;
  if (IntersectRect(Clipped, Rect, Bounds)) FRects.push_back(Clipped);
}

}  // namespace vte
