#include "engine/dirty_rects.h"

#include <algorithm>
#include <cmath>

namespace vte {

void TFCDirtyRects::Add(const TRect& Rect) {
  if (!ClipToBounds) {
    FRects.push_back(Rect);
    return;
  }
  TRect Clipped;
  if (IntersectRect(Clipped, Rect, Bounds)) FRects.push_back(Clipped);
}

namespace {

int AlignDown(int X, int Align) { return X & -Align; }
int AlignUp(int X, int Align) { return (X + Align - 1) & -Align; }

}  // namespace

void TFCDirtyRects::AddPolygonCover(std::span<const TPoint> Points, int Band, int Align) {
  if (Points.empty()) return;
  TRect Box = Rect(Points[0].X, Points[0].Y, Points[0].X + 1, Points[0].Y + 1);
  for (const TPoint& P : Points) UnionRect(Box, Box, Rect(P.X, P.Y, P.X + 1, P.Y + 1));
  // U runs across the bands, V along them.
  const bool Rows = Box.Height() >= Box.Width();
  const auto U = [&](const TPoint& P) -> double { return Rows ? P.Y : P.X; };
  const auto V = [&](const TPoint& P) -> double { return Rows ? P.X : P.Y; };
  // Bands across the rows are whole groups of columns.
  const int U0 = Rows ? Box.Top : AlignDown(Box.Left, Align), U1 = Rows ? Box.Bottom : AlignUp(Box.Right, Align);
  if (!Rows) Band = AlignUp(Band, Align);
  const int V0 = Rows ? Box.Left : Box.Top, V1 = Rows ? Box.Right : Box.Bottom;
  const std::size_t N = Points.size();
  // Two points are one line, not two edges there and back.
  const std::size_t Edges = N == 2 ? 1 : N;
  for (int B0 = U0; B0 < U1; B0 += Band) {
    const int B1 = std::min(B0 + Band, U1);
    // The polygon's extent within the band is that of its edges there: each edge cut to the
    // band's rows (and the one before, for the pixels a line takes by their corners).
    const double Lo = B0 - 1, Hi = B1;
    double Min = 1e300, Max = -1e300;
    for (std::size_t I = 0; I < Edges; ++I) {
      const TPoint& A = Points[I];
      const TPoint& C = Points[(I + 1) % N];
      const double Ua = U(A), Uc = U(C), Va = V(A), Vc = V(C);
      if (std::max(Ua, Uc) < Lo || std::min(Ua, Uc) > Hi) continue;
      if (Ua == Uc) {
        Min = std::min({Min, Va, Vc});
        Max = std::max({Max, Va, Vc});
        continue;
      }
      for (const double At : {std::clamp(Lo, std::min(Ua, Uc), std::max(Ua, Uc)),
                              std::clamp(Hi, std::min(Ua, Uc), std::max(Ua, Uc))}) {
        const double Along = Va + (Vc - Va) * (At - Ua) / (Uc - Ua);
        Min = std::min(Min, Along);
        Max = std::max(Max, Along);
      }
    }
    if (Min > Max) continue;
    int From = std::max(V0, static_cast<int>(std::floor(Min)) - 1);
    int To = std::min(V1, static_cast<int>(std::ceil(Max)) + 2);
    if (Rows) {
      From = AlignDown(From, Align);
      To = AlignUp(To, Align);
    }
    Add(Rows ? Rect(From, B0, To, B1) : Rect(B0, From, B1, To));
  }
}

void TFCDirtyRects::AddRingCover(TPoint Centre, int Inner, int Outer, int Band, int Align) {
  const double In = Inner - 2, Out = Outer + 2;
  for (int B0 = Centre.Y - Outer - 2; B0 < Centre.Y + Outer + 2; B0 += Band) {
    const int B1 = std::min(B0 + Band, Centre.Y + Outer + 2);
    // The band's rows by their centres: the nearest to the circles' centre sets how wide the ring
    // is there, the farthest how wide its hole is.
    const double Top = B0 + 0.5 - Centre.Y, Bottom = B1 - 0.5 - Centre.Y;
    const double Near = Top <= 0 && Bottom >= 0 ? 0 : std::min(std::abs(Top), std::abs(Bottom));
    const double Far = std::max(std::abs(Top), std::abs(Bottom));
    if (Near >= Out) continue;
    const int Half = static_cast<int>(std::ceil(std::sqrt(Out * Out - Near * Near))) + 1;
    const int Hole = In > 0 && Far < In ? static_cast<int>(std::floor(std::sqrt(In * In - Far * Far))) - 1 : 0;
    const int Left = AlignDown(Centre.X - Half, Align), Right = AlignUp(Centre.X + Half, Align);
    const int HoleLeft = AlignUp(Centre.X - Hole, Align), HoleRight = AlignDown(Centre.X + Hole, Align);
    if (Hole > 0 && HoleLeft < HoleRight) {
      Add(Rect(Left, B0, HoleLeft, B1));
      Add(Rect(HoleRight, B0, Right, B1));
    } else {
      Add(Rect(Left, B0, Right, B1));
    }
  }
}

void TFCDirtyRects::Separate(int Align) {
  // Scratch kept between frames: a frame allocates nothing once the first has sized it.
  std::vector<TRect>& Wide = FWide;
  Wide.assign(FRects.begin(), FRects.end());
  for (TRect& R : Wide) {
    R.Left = AlignDown(R.Left, Align);
    R.Right = AlignUp(R.Right, Align);
    if (ClipToBounds) IntersectRect(R, R, Bounds);
  }
  // By their tops, each piece need only be checked against those that start above its bottom: a
  // ring's or a staircase's bands meet few others.
  std::sort(Wide.begin(), Wide.end(), [](const TRect& A, const TRect& B) { return A.Top < B.Top; });
  bool Shared = false;
  for (std::size_t I = 0; I < Wide.size() && !Shared; ++I)
    for (std::size_t J = I + 1; J < Wide.size() && Wide[J].Top < Wide[I].Bottom && !Shared; ++J) {
      TRect Both;
      Shared = IntersectRect(Both, Wide[I], Wide[J]);
    }
  if (!Shared) return;

  std::vector<int>& Edges = FEdges;
  Edges.clear();
  for (const TRect& R : Wide) Edges.insert(Edges.end(), {R.Top, R.Bottom});
  std::sort(Edges.begin(), Edges.end());
  Edges.erase(std::unique(Edges.begin(), Edges.end()), Edges.end());
  FRects.clear();
  // Runs of columns per run of rows; a run with the same columns as one just above lengthens the
  // piece that one made (Open: the previous run of rows' runs, with their pieces).
  std::vector<TSpan>& Spans = FSpans;
  std::vector<TSpan>& Open = FOpen;
  std::vector<TSpan>& Next = FNext;
  Open.clear();
  // The pieces across the current run of rows: those begun above it and not yet ended (the run
  // ends at the next edge, so each spans it whole).
  std::vector<TRect>& Across = FAcross;
  Across.clear();
  std::size_t Begun = 0;
  for (std::size_t E = 0; E + 1 < Edges.size(); ++E) {
    const int Top = Edges[E], Bottom = Edges[E + 1];
    for (; Begun < Wide.size() && Wide[Begun].Top <= Top; ++Begun) Across.push_back(Wide[Begun]);
    std::erase_if(Across, [Top](const TRect& R) { return R.Bottom <= Top; });
    Spans.clear();
    for (const TRect& R : Across)
      if (R.Left < R.Right) Spans.push_back({R.Left, R.Right, 0});
    std::sort(Spans.begin(), Spans.end(), [](const TSpan& A, const TSpan& B) { return A.Left < B.Left; });
    Next.clear();
    for (std::size_t I = 0; I < Spans.size();) {
      TSpan Run = Spans[I];
      for (++I; I < Spans.size() && Spans[I].Left <= Run.Right; ++I) Run.Right = std::max(Run.Right, Spans[I].Right);
      const auto Same = std::find_if(Open.begin(), Open.end(),
                                     [&](const TSpan& O) { return O.Left == Run.Left && O.Right == Run.Right; });
      if (Same != Open.end()) {
        Run.Piece = Same->Piece;
        FRects[Run.Piece].Bottom = Bottom;
      } else {
        Run.Piece = FRects.size();
        FRects.push_back(Rect(Run.Left, Top, Run.Right, Bottom));
      }
      Next.push_back(Run);
    }
    std::swap(Open, Next);
  }
}

}  // namespace vte
