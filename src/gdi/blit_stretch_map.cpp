#include "gdi/blit_stretch_map.h"

namespace vte {

namespace {

// Fills Table for destination positions From .. To-1 of an extent starting at D0 with length W,
// and narrows [From, To) to the positions whose source lies in [Lo, Hi). The mapping is monotonic,
// so those positions are one run.
bool MapAxis(std::vector<int>& Table, int& From, int& To, int D0, int W, int S0, int WSrc, int Lo,
             int Hi) {
  if (To <= From) return false;
  if (Table.size() < static_cast<std::size_t>(To - From)) Table.resize(static_cast<std::size_t>(To - From));
  for (int X = From; X < To; ++X) {
    const long long I = X - D0;
    Table[X - From] = S0 + static_cast<int>(TStretchMap::FloorDiv((2 * I + 1) * WSrc, 2LL * W));
  }
  int A = From, B = To;
  while (A < B && (Table[A - From] < Lo || Table[A - From] >= Hi)) ++A;
  while (B > A && (Table[B - 1 - From] < Lo || Table[B - 1 - From] >= Hi)) --B;
  // Keep the table indexed from the first kept position.
  if (A > From)
    for (int X = A; X < B; ++X) Table[X - A] = Table[X - From];
  From = A;
  To = B;
  return A < B;
}

}  // namespace

TRect TStretchMap::Build(const TRect& Dest, const TRect& Limit, int XSrc, int YSrc, int WSrc,
                         int HSrc, const TRect& Src) {
  TRect R;
  if (!IntersectRect(R, Dest, Limit)) return {};
  if (!MapAxis(FColumns, R.Left, R.Right, Dest.Left, Dest.Width(), XSrc, WSrc, Src.Left, Src.Right))
    return {};
  if (!MapAxis(FRows, R.Top, R.Bottom, Dest.Top, Dest.Height(), YSrc, HSrc, Src.Top, Src.Bottom))
    return {};
  FX0 = R.Left;
  FY0 = R.Top;
  return R;
}

}  // namespace vte
