#include "effects/diagonal.h"

#include <algorithm>

#include "gdi/canvas.h"

namespace vte {

namespace {

constexpr int Tile = 16;  // dirty rectangles along the band

// The two ends of diagonal K: falling from the lower-left to the upper-right end, rising from the
// upper-left to the lower-right end.
struct TEnds {
  TPoint A, B;
};
TEnds Ends(bool Rising, int K, int W, int H) {
  if (Rising)
    return {K > H ? TPoint{K - H, 0} : TPoint{0, H - K}, K > W ? TPoint{W - 1, H - K + W - 1} : TPoint{K - 1, H - 1}};
  return {K > H ? TPoint{K - H, H - 1} : TPoint{0, K - 1}, K > W ? TPoint{W - 1, K - W} : TPoint{K - 1, 0}};
}

TRect BoxOf(const TEnds& E) {
  return Rect(std::min(E.A.X, E.B.X), std::min(E.A.Y, E.B.Y), std::max(E.A.X, E.B.X) + 1,
              std::max(E.A.Y, E.B.Y) + 1);
}

}  // namespace

TDiagonalTransition::TDiagonalTransition(QObject* Owner) : TMaskedTransition(Owner) { SetStyleCount(2); }

int TDiagonalTransition::GetSubStyleCount(int Style) const { return Style == 0 ? 0 : Style <= 2 ? 4 : 1; }

int TDiagonalTransition::GetReversedSubStyle(int Style, int S) const {
  if (S < 1 || S > 4) return S;
  if (Style == 1) return S % 2 ? S + 1 : S - 1;
  if (Style == 2) return S <= 2 ? S + 2 : S - 2;
  return S;
}

// Two edges meet or part in the middle, where a level gradient would have no room.
bool TDiagonalTransition::SmoothingActive() const { return StyleToUse() == 1 && TMaskedTransition::SmoothingActive(); }

void TDiagonalTransition::Initialize(TTETransitionData& Data, int& Frames) {
  TMaskedTransition::Initialize(Data, Frames);
  DirtyRects->ClipToBounds = true;
}

void TDiagonalTransition::Sweep(TCanvas* Canvas, bool Rising, int Cur, int Step, int W, int H, bool Final) {
  const int First = Cur - Step + 1;
  if (Canvas)
    for (int K = First; K <= Cur; ++K) {
      const TEnds E = Ends(Rising, K, W, H);
      // One pixel beyond the second end: a line leaves out its end point.
      Canvas->MoveTo(E.A.X, E.A.Y);
      Canvas->LineTo(E.B.X + 1, Rising ? E.B.Y + 1 : E.B.Y - 1);
    }
  const TEnds F = Ends(Rising, First, W, H), L = Ends(Rising, Cur, W, H);
  TRect Box;
  UnionRect(Box, BoxOf(F), BoxOf(L));
  UnionRect(UpdateRect, UpdateRect, Box);
  if (!Final) return;
  // Tiles along the band, so that the screen copy of a thin diagonal band stays thin: from the
  // band's lower end towards its upper one, widened by the band's breadth.
  if (!Rising) {
    const TPoint Lower = L.A;
    TRect T = Rect(Lower.X - Step + 1, Lower.Y - Tile + 1, Lower.X + Tile, Lower.Y + 1);
    for (; T.Left <= L.B.X && T.Bottom > F.B.Y; OffsetRect(T, Tile, -Tile)) DirtyRects->Add(T);
  } else {
    const TPoint Lower = F.B;
    TRect T = Rect(Lower.X - Tile + 1, Lower.Y - Tile + 1, Lower.X + Step, Lower.Y + 1);
    for (; F.A.X < T.Right && L.A.Y < T.Bottom; OffsetRect(T, -Tile, -Tile)) DirtyRects->Add(T);
  }
}

template <class TSweep>
void TDiagonalTransition::ForEachSweep(int Cur, int Step, int W, int H, TSweep&& Sweep) const {
  const int N = W + H - 1, S = SubStyleToUse();
  // The mirrored frame: the same edge from the opposite corner.
  const auto Mirror = [&](int F, int Steps) { return N + Steps - F; };
  const auto One = [&](int Sub, int F, int Steps) { Sweep(Sub >= 3, Sub % 2 ? F : Mirror(F, Steps), Steps); };
  if (StyleToUse() != 2) return One(S, Cur, Step);
  // Two edges take turns: the first edge has moved (f + 1) div 2 diagonals at frame f, the
  // second f div 2. Substyles 3 and 4 play 1 and 2 backwards.
  const int Pair = S == 1 || S == 3 ? 1 : 3;
  const int F = S <= 2 ? Cur : Mirror(Cur, Step);
  const int H1 = (F + 1) / 2, H2 = F / 2, Half1 = Step - Step / 2, Half2 = Step / 2;
  if ((F - Step + 1) % 2 == 1) {
    One(Pair, H1, Half1);
    if (Step > 1) One(Pair + 1, H2, Half2);
  } else {
    One(Pair + 1, H2, Half1);
    if (Step > 1) One(Pair, H1, Half2);
  }
}

void TDiagonalTransition::PaintMask(TBitmap& Mask, int Cur, int Step, int /*TotalFrames*/, int /*Prev*/,
                                    const TTETransitionData& Data, bool Draw, bool Final) {
  UpdateRect = TRect{};
  TCanvas* Canvas = Draw ? &Mask.Canvas() : nullptr;
  ForEachSweep(Cur, Step, Data.Width, Data.Height, [&](bool Rising, int Last, int Steps) {
    Sweep(Canvas, Rising, Last, Steps, Data.Width, Data.Height, Final);
  });
}

// Diagonals First .. Last meet each row in one run of adjacent pixels.
void TDiagonalTransition::RevealSpans(const TNewSpans& Spans, int Cur, int Step, int /*Prev*/,
                                      const TTETransitionData& Data) {
  const int W = Data.Width, H = Data.Height;
  ForEachSweep(Cur, Step, W, H, [&](bool Rising, int Last, int Steps) {
    const int First = Last - Steps + 1;
    // Falling: x = k - 1 - y; rising: x = y + k - H. Only the rows whose run meets a column.
    const int Top = std::max(Rising ? H - Last : First - W, 0), Bottom = std::min(Rising ? H + W - First : Last, H);
    for (int Y = Top; Y < Bottom; ++Y) {
      if (Rising) Spans.Row(Y, Y + First - H, Y + Last - H + 1);
      else Spans.Row(Y, First - 1 - Y, Last - Y);
    }
  });
}

}  // namespace vte
