#include "gdi/geometry.h"

#include <algorithm>

namespace vte {

bool IntersectRect(TRect& Dst, const TRect& A, const TRect& B) {
  TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
          std::min(A.Bottom, B.Bottom)};
  if (R.IsEmpty()) {
    Dst = TRect{};
    return false;
  }
  Dst = R;
  return true;
}

bool UnionRect(TRect& Dst, const TRect& A, const TRect& B) {
  if (A.IsEmpty()) {
    Dst = B.IsEmpty() ? TRect{} : B;
    return !B.IsEmpty();
  }
  if (B.IsEmpty()) {
    Dst = A;
    return true;
  }
  Dst = TRect{std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
              std::max(A.Bottom, B.Bottom)};
  return true;
}

void OffsetRect(TRect& R, int Dx, int Dy) {
  R.Left += Dx;
  R.Right += Dx;
  R.Top += Dy;
  R.Bottom += Dy;
}

void InflateRect(TRect& R, int Dx, int Dy) {
  R.Left -= Dx;
  R.Right += Dx;
  R.Top -= Dy;
  R.Bottom += Dy;
}

bool PtInRect(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

bool RectContains(const TRect& Outer, const TRect& Inner) {
  if (Inner.IsEmpty()) return true;
  return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
         Inner.Bottom <= Outer.Bottom;
}

}  // namespace vte
