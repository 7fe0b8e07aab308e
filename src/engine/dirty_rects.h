#pragma once
// The rectangles a frame changed, for effects whose changes are scattered: the screen copy takes
// each of them instead of one bounding rectangle.
#include <vector>

#include "gdi/geometry.h"

namespace vte {

class TFCDirtyRects {
public:
  // With ClipToBounds a rectangle is cut to Bounds first and left out when nothing remains.
  void Add(const TRect& Rect);
  int Count() const { return static_cast<int>(FRects.size()); }
  TRect Rects(int Index) const { return FRects.at(static_cast<std::size_t>(Index)); }
  const std::vector<TRect>& All() const { return FRects; }
  void SetRects(int Index, const TRect& Rect) { FRects.at(static_cast<std::size_t>(Index)) = Rect; }
  void Clear() { FRects.clear(); }

  bool ClipToBounds = false;
  bool AutoClear = true;  // emptied after every screen update
  TRect Bounds;

private:
  std::vector<TRect> FRects;
};

}  // namespace vte
