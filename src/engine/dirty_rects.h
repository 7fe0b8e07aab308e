#pragma once
// The rectangles a frame changed, for effects whose changes are scattered: the screen copy takes
// each of them instead of one bounding rectangle.
#include <span>
#include <vector>

#include "gdi/geometry.h"

namespace vte {

class TFCDirtyRects {
public:
  // With ClipToBounds a rectangle is cut to Bounds first and left out when nothing remains.
  void Add(const TRect& Rect);
  // The covers below are for work done in groups of Align pixels along a row (Align a power of
  // two): their pieces start and end on multiples of Align across a row, and no two of them share
  // a pixel, so a routine that widens a piece to whole groups never works a pixel twice (a mask
  // difference or an ageing done twice would be wrong, not merely slow).
  //
  // Covers the polygon through Points (pixel positions, in order) with bands Band pixels deep
  // across its longer side, each as wide as the polygon is within it plus a pixel of rounding on
  // either side: a thin slanted shape is copied as a thin staircase, not as its bounding box.
  void AddPolygonCover(std::span<const TPoint> Points, int Band, int Align);
  // Covers the ring of the circles about Centre (a pixel corner) with radii Inner < Outer, as a
  // canvas paints their discs, with bands Band rows deep: a band crossing the ring's hole gets a
  // piece on either side of it. Two pixels of rounding on both radii.
  void AddRingCover(TPoint Centre, int Inner, int Outer, int Band, int Align);
  // Pieces added by several covers (hands of a sweep about one pivot, two edges meeting) may
  // share pixels once widened to whole groups of Align columns. Replaces them, when they do, by
  // disjoint pieces over the same pixels: per run of rows, the union of the widened pieces there,
  // with runs of rows of the same columns joined. Pieces already apart are kept as they are.
  void Separate(int Align);
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
