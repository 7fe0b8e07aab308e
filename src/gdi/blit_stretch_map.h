#pragma once
// Which source pixel each destination pixel of a nearest-neighbour stretch reads. Destination
// pixel i (0 .. W-1) of an extent W reads source S0 + floor(((2i+1) * WSrc) / (2W)): the source
// pixel under the centre of the destination pixel. A negative source extent mirrors.
#include <vector>

#include "gdi/geometry.h"

namespace vte {

class TStretchMap {
public:
  // Dest: the destination (device coordinates, positive extents); Limit: where drawing is
  // possible. Source: origin and extents of the source (device coordinates of the source).
  // Returns the part of Dest ∩ Limit whose source pixels lie inside SourceBounds (empty if none);
  // Column/Row answer for that part.
  TRect Build(const TRect& Dest, const TRect& Limit, int XSrc, int YSrc, int WidthSrc,
              int HeightSrc, const TRect& SourceBounds);

  int Column(int X) const { return FColumns[X - FX0]; }
  int Row(int Y) const { return FRows[Y - FY0]; }
  const int* Columns(int X) const { return FColumns.data() + (X - FX0); }

  // floor(A / B) for B > 0.
  static long long FloorDiv(long long A, long long B) { return A >= 0 ? A / B : -((-A + B - 1) / B); }

private:
  std::vector<int> FColumns, FRows;
  int FX0 = 0, FY0 = 0;
};

}  // namespace vte
