#include "gdi/rasterizer.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace vte {

namespace {

using i64 = std::int64_t;
using u64 = std::uint64_t;
// Products of two coordinate differences squared reach 2^128 for rectangles spanning the whole
// int range; 128-bit intermediates keep those exact instead of wrapping.
using i128 = __int128;
using u128 = unsigned __int128;

// Division rounding towards minus / plus infinity (the divisor is positive); the built-in one
// truncates, which is wrong for the negative coordinates of shapes left of or above the origin.
template <class T> T FloorDiv(T A, T B) {
  T Q = A / B;
  if (A % B != 0 && A < 0) --Q;
  return Q;
}
template <class T> T CeilDiv(T A, T B) {
  T Q = A / B;
  if (A % B != 0 && A > 0) ++Q;
  return Q;
}

// floor(sqrt(N)). Below 2^52 from the double's root (a tenth of the cost of the division loop,
// and an ellipse calls this once a row). Above, Newton's iteration from a start at or above the
// root decreases monotonically to it; the start 2^ceil(bits/2) keeps every intermediate below 2^33.
u64 ISqrt(u64 N) {
  if (N < (u64{1} << 52)) return FloorSqrt(N);
  u64 X = u64{1} << ((std::bit_width(N) + 1) / 2);
  for (;;) {
    const u64 Y = (X + N / X) / 2;
    if (Y >= X) return X;
    X = Y;
  }
}

struct TInterval {
  int Left = 0, Right = 0;
  bool Empty() const { return Right <= Left; }
};

TInterval RowOf(const TRect& Bounds, int Y) {
  TInterval I;
  EllipseRow(Bounds, Y, I.Left, I.Right);
  return I;
}

}  // namespace

bool EllipseRow(const TRect& Bounds, int Y, int& Left, int& Right) {
  Left = Right = 0;
  if (Bounds.IsEmpty() || Y < Bounds.Top || Y >= Bounds.Bottom) return false;
  // Doubled: centre (Cx2, Cy2), semi-axes A2, B2, the pixel centre's offsets Dx, Dy (odd or even
  // with the centre). Inside: Dx^2 B2^2 + Dy^2 A2^2 <= A2^2 B2^2.
  const i64 A2 = i64{Bounds.Right} - Bounds.Left, B2 = i64{Bounds.Bottom} - Bounds.Top;
  const i64 Cx2 = i64{Bounds.Left} + Bounds.Right, Cy2 = i64{Bounds.Top} + Bounds.Bottom;
  const i64 Dy = 2 * i64{Y} + 1 - Cy2;  // |Dy| < B2 on the rows of Bounds
  const u64 AbsDy = static_cast<u64>(Dy < 0 ? -Dy : Dy);
  // Dx^2 <= A2^2 (B2^2 - Dy^2) / B2^2; as Dx^2 is an integer, the floor of the right side
  // decides the same, and its integer root is the largest admissible |Dx|. A circle needs no
  // division; axes below 2^15 keep the product below 2^60, so only huge ellipses pay for 128 bits.
  u64 Bound;
  if (A2 == B2) {
    Bound = static_cast<u64>(B2) * static_cast<u64>(B2) - AbsDy * AbsDy;
  } else if (A2 < (i64{1} << 15) && B2 < (i64{1} << 15)) {
    const u64 BB = static_cast<u64>(B2 * B2);
    Bound = static_cast<u64>(A2 * A2) * (BB - AbsDy * AbsDy) / BB;
  } else {
    const u128 BB = static_cast<u128>(B2) * static_cast<u128>(B2), D2 = static_cast<u128>(AbsDy) * AbsDy;
    Bound = static_cast<u64>(static_cast<u128>(A2) * static_cast<u128>(A2) * (BB - D2) / BB);  // <= A2^2 < 2^64
  }
  const i64 D = static_cast<i64>(ISqrt(Bound));
  // |2x + 1 - Cx2| <= D.
  const i64 L = CeilDiv<i64>(Cx2 - D - 1, 2), R = FloorDiv<i64>(Cx2 + D - 1, 2) + 1;
  if (R <= L) return false;
  Left = static_cast<int>(L);
  Right = static_cast<int>(R);
  return true;
}

TEllipseSpans EllipseSpans(const TRect& Bounds, int FirstRow, int LastRow) {
  TEllipseSpans Out;
  if (Bounds.IsEmpty()) return Out;
  const int Y0 = std::max(FirstRow, Bounds.Top), Y1 = std::min(LastRow, Bounds.Bottom);
  if (Y1 <= Y0) return Out;
  TInterval Above = RowOf(Bounds, Y0 - 1), Here = RowOf(Bounds, Y0);
  for (int Y = Y0; Y < Y1; ++Y) {
    const TInterval Below = RowOf(Bounds, Y + 1);
    if (!Here.Empty()) {
      // Rows are intervals, so the pixels with all four neighbours inside are one interval too:
      // not at either end of the row and inside the rows above and below.
      TInterval Inner;
      if (!Above.Empty() && !Below.Empty()) {
        Inner.Left = std::max({Here.Left + 1, Above.Left, Below.Left});
        Inner.Right = std::min({Here.Right - 1, Above.Right, Below.Right});
      }
      if (Inner.Empty()) {
        Out.Outline.push_back(Rect(Here.Left, Y, Here.Right, Y + 1));
      } else {
        Out.Interior.push_back(Rect(Inner.Left, Y, Inner.Right, Y + 1));
        if (Here.Left < Inner.Left) Out.Outline.push_back(Rect(Here.Left, Y, Inner.Left, Y + 1));
        if (Inner.Right < Here.Right) Out.Outline.push_back(Rect(Inner.Right, Y, Here.Right, Y + 1));
      }
    }
    Above = Here;
    Here = Below;
  }
  return Out;
}

std::vector<TRect> EllipseInsideSpans(const TRect& Bounds, int FirstRow, int LastRow) {
  std::vector<TRect> Out;
  if (Bounds.IsEmpty()) return Out;
  const int Y0 = std::max(FirstRow, Bounds.Top), Y1 = std::min(LastRow, Bounds.Bottom);
  for (int Y = Y0; Y < Y1; ++Y) {
    int L, R;
    if (EllipseRow(Bounds, Y, L, R)) Out.push_back(Rect(L, Y, R, Y + 1));
  }
  return Out;
}

std::vector<TRect> PolygonSpans(const std::vector<TPoint>& Points, int FirstRow, int LastRow) {
  std::vector<TRect> Out;
  AppendPolygonSpans(Points, FirstRow, LastRow, Out);
  return Out;
}

void AppendPolygonSpans(const std::vector<TPoint>& Points, int FirstRow, int LastRow, std::vector<TRect>& Out) {
  struct TEdge {
    i64 X0, Y0, X1, Y1;  // Y0 < Y1
  };
  // Kept from call to call: a shape painted every frame allocates nothing.
  thread_local std::vector<TEdge> Edges;
  thread_local std::vector<int> Cross;
  Edges.clear();
  const std::size_t N = Points.size();
  if (N < 3) return;
  i64 MinY = Points[0].Y, MaxY = Points[0].Y;
  for (std::size_t I = 0; I < N; ++I) {
    const TPoint P = Points[I], Q = Points[(I + 1) % N];
    MinY = std::min<i64>(MinY, P.Y);
    MaxY = std::max<i64>(MaxY, P.Y);
    // Horizontal edges never meet a centre row (centres are at half-integers).
    if (P.Y == Q.Y) continue;
    if (P.Y < Q.Y)
      Edges.push_back({P.X, P.Y, Q.X, Q.Y});
    else
      Edges.push_back({Q.X, Q.Y, P.X, P.Y});
  }
  const int Y0 = static_cast<int>(std::max<i64>(MinY, FirstRow));
  const int Y1 = static_cast<int>(std::min<i64>(MaxY, LastRow));
  for (int Y = Y0; Y < Y1; ++Y) {
    Cross.clear();
    for (const TEdge& E : Edges) {
      // The centre row y + 1/2 meets the edge when Y0 <= y < Y1 (half-open: a vertex row counts
      // for exactly one of its two edges, so every row has an even number of crossings).
      if (Y < E.Y0 || Y >= E.Y1) continue;
      // Crossing at Xi = X0 + (X1-X0)(2y+1-2Y0) / (2 dy). Pixel x counts this crossing when
      // Xi <= x + 1/2, i.e. from x = ceil(Xi - 1/2) = ceil(Num / (2 dy)) on.
      const i64 Dy = E.Y1 - E.Y0;
      const i128 Num = static_cast<i128>(2 * E.X0) * Dy +
                       static_cast<i128>(E.X1 - E.X0) * (2 * i64{Y} + 1 - 2 * E.Y0) - Dy;
      const i128 C = CeilDiv<i128>(Num, static_cast<i128>(2 * Dy));
      // Keep crossings inside the int range: clamped ones still pair up in the same order.
      Cross.push_back(static_cast<int>(std::clamp<i128>(C, INT32_MIN, INT32_MAX)));
    }
    // A pixel is inside when an odd number of crossings start at or before it.
    std::sort(Cross.begin(), Cross.end());
    for (std::size_t I = 0; I + 1 < Cross.size(); I += 2)
      if (Cross[I] < Cross[I + 1]) Out.push_back(Rect(Cross[I], Y, Cross[I + 1], Y + 1));
  }
}

void AppendPolygonOutline(const std::vector<TPoint>& Points, const TRect& Limit, std::vector<TRect>& Out) {
  for (std::size_t I = 0; I < Points.size(); ++I) {
    const TPoint P = Points[I], Q = Points[(I + 1) % Points.size()];
    // Each side leaves out its end, which is where the next side starts; a vertex whose side has
    // no length would be lost, so it is drawn on its own.
    if (P == Q) {
      if (P.X >= Limit.Left && P.X < Limit.Right && P.Y >= Limit.Top && P.Y < Limit.Bottom)
        Out.push_back(Rect(P.X, P.Y, P.X + 1, P.Y + 1));
      continue;
    }
    AppendLineSpans(P, Q, Limit, Out);
  }
}

std::vector<TRect> LineSpans(TPoint From, TPoint To, const TRect& Limit) {
  std::vector<TRect> Out;
  AppendLineSpans(From, To, Limit, Out);
  return Out;
}

void AppendLineSpans(TPoint From, TPoint To, const TRect& Limit, std::vector<TRect>& Out) {
  ForEachLineRun(From, To, Limit, [&](const TRect& R) { Out.push_back(R); });
}

TLineWalk StartLineWalk(TPoint From, TPoint To, const TRect& Limit) {
  TLineWalk W;
  if (From == To || Limit.IsEmpty()) return W;
  const i64 Dx = i64{To.X} - From.X, Dy = i64{To.Y} - From.Y;
  const bool XMajor = W.XMajor = (Dx < 0 ? -Dx : Dx) >= (Dy < 0 ? -Dy : Dy);
  // Work in (u, v): u the major axis. A is the endpoint with the smaller u, so that the rounding
  // below is the same whichever way the line is drawn.
  const auto U = [&](TPoint P) -> i64 { return XMajor ? P.X : P.Y; };
  const auto V = [&](TPoint P) -> i64 { return XMajor ? P.Y : P.X; };
  const TPoint A = U(From) < U(To) ? From : To, B = U(From) < U(To) ? To : From;
  const i64 UA = U(A), Du = U(B) - UA, Dv = V(B) - V(A);  // Du > 0, |Dv| <= Du
  W.VA = V(A);
  const i64 ULo = XMajor ? Limit.Left : Limit.Top, UHi = XMajor ? Limit.Right : Limit.Bottom;
  const i64 VLo = XMajor ? Limit.Top : Limit.Left, VHi = XMajor ? Limit.Bottom : Limit.Right;
  W.First = std::max(UA, ULo);
  W.Last = std::min(U(B) + 1, UHi);
  // The left-out end point (the only pixel on its u) is the first or the last u of the line.
  if (U(To) == UA) W.First = std::max(W.First, UA + 1);
  else W.Last = std::min(W.Last, U(B));
  if (W.First >= W.Last) return W;
  // v(u) = VA + floor((2 (u - UA) Dv + Du) / (2 Du)): the ideal v rounded half up. Q and Rem
  // hold that quotient and remainder and step by 2 Dv per pixel.
  W.Den = 2 * Du;
  W.TwoDv = 2 * Dv;
  const auto VAt = [&](i64 Uu) {
    return W.VA + static_cast<i64>(FloorDiv<i128>(static_cast<i128>(2 * (Uu - UA)) * Dv + Du, W.Den));
  };
  // v only rises (or only falls) along u, so the u whose v lies inside Limit are one interval:
  // found here by halving, the walk then tests nothing per pixel. Lowest(P) is the first u of
  // [First, Last) where P holds (Last if none), for a P that once true stays true.
  const auto Lowest = [&](auto P) {
    i64 Lo = W.First, Hi = W.Last;
    while (Lo < Hi) {
      const i64 Mid = Lo + (Hi - Lo) / 2;
      if (P(VAt(Mid))) Hi = Mid;
      else Lo = Mid + 1;
    }
    return Lo;
  };
  const i64 In = Dv >= 0 ? Lowest([&](i64 Vv) { return Vv >= VLo; }) : Lowest([&](i64 Vv) { return Vv < VHi; });
  const i64 Out = Dv >= 0 ? Lowest([&](i64 Vv) { return Vv >= VHi; }) : Lowest([&](i64 Vv) { return Vv < VLo; });
  W.First = In;
  W.Last = std::max(In, Out);
  if (W.First >= W.Last) return W;
  const i128 N0 = static_cast<i128>(2 * (W.First - UA)) * Dv + Du;
  W.Q = static_cast<i64>(FloorDiv<i128>(N0, W.Den));
  W.Rem = static_cast<i64>(N0 - static_cast<i128>(W.Q) * W.Den);
  return W;
}

}  // namespace vte
