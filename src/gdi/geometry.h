#pragma once
// Points and rectangles of the device layer. Right and bottom are exclusive: a rectangle covers
// the pixels Left <= x < Right, Top <= y < Bottom, and is empty when it covers none.

namespace vte {

struct TPoint {
  int X = 0, Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int X, int Y) { return {X, Y}; }
inline TRect Rect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }
// The rectangle of the given size at (Left, Top).
inline TRect Bounds(int Left, int Top, int Width, int Height) {
  return {Left, Top, Left + Width, Top + Height};
}

// Dst := A ∩ B; an empty intersection gives (0,0,0,0) and false.
bool IntersectRect(TRect& Dst, const TRect& A, const TRect& B);
// Dst := the smallest rectangle holding A and B; empty operands are ignored. False when both are.
bool UnionRect(TRect& Dst, const TRect& A, const TRect& B);
void OffsetRect(TRect& R, int Dx, int Dy);
void InflateRect(TRect& R, int Dx, int Dy);
bool PtInRect(const TRect& R, TPoint P);
inline bool EqualRect(const TRect& A, const TRect& B) { return A == B; }
// True when Inner lies completely inside Outer (an empty Inner lies inside anything).
bool RectContains(const TRect& Outer, const TRect& Inner);
// Width rounded up to a multiple of Multiple (> 0); a width of 0 or less stays as it is.
inline int RoundUpTo(int Width, int Multiple) { return Width <= 0 ? Width : ((Width - 1) / Multiple + 1) * Multiple; }

}  // namespace vte
