#include "effects/interlaced.h"

#include <algorithm>

#include "gdi/canvas.h"

namespace vte {

namespace {

bool Rows(int S) { return S == 1 || S == 3 || S == 4 || S == 7 || S == 8; }
// The substyles that interleave the fields frame by frame.
bool Interleaved(int S) { return S == 1 || S == 2; }

}  // namespace

TInterlacedTransition::TInterlacedTransition(QObject* Owner) : TMaskedTransition(Owner) { SetStyleCount(2); }

int TInterlacedTransition::GetSubStyleCount(int Style) const { return Style == 0 ? 0 : Style == 1 ? 10 : 1; }

int TInterlacedTransition::GetReversedSubStyle(int Style, int S) const {
  if (Style == 2) return 1;
  if (Style != 1 || S < 3 || S > 10) return S;
  return S % 2 ? S + 1 : S - 1;
}

int TInterlacedTransition::LineOfFrame(int S, int I, int Lines) {
  if (Interleaved(S)) {
    // Even frames the even lines from the start, odd frames the odd lines from the end.
    const int LastOdd = (Lines - 1) % 2 ? Lines - 1 : Lines - 2;
    return I % 2 == 0 ? I - 2 : LastOdd - I + 1;
  }
  const int Evens = (Lines + 1) / 2;
  // Substyles 4, 6, 8 and 10 are the mirror images of 3, 5, 7 and 9.
  const bool Mirror = S % 2 == 0;
  const bool OddFieldDown = S >= 7;
  int Line;
  if (I <= Evens) {
    Line = 2 * I - 2;
  } else {
    const int K = I - Evens - 1;  // 0 for the first odd line
    const int Odds = Lines / 2;
    Line = OddFieldDown ? 2 * K + 1 : 2 * (Odds - 1 - K) + 1;
  }
  return Mirror ? Lines - 1 - Line : Line;
}

int TInterlacedTransition::RingOfFrame(int I, int Lines) {
  // Insets 0..Deepest; odd frames take the even insets inwards, even frames the odd ones outwards.
  const int Deepest = (Lines - 1) / 2, DeepestOdd = Deepest % 2 ? Deepest : Deepest - 1;
  return I % 2 ? I - 1 : DeepestOdd - (I - 2);
}

int TInterlacedTransition::CalcShapeFrames(const TTETransitionData& Data) {
  const int W = Data.Width, H = Data.Height;
  const bool Smooth = SmoothingActive();
  if (StyleToUse() == 2) {
    const int Rings = (std::min(W, H) + 1) / 2;
    return Smooth ? (Rings + 1) / 2 : Rings;
  }
  const int S = SubStyleToUse(), Lines = Rows(S) ? H : W;
  if (!Interleaved(S)) return Lines;
  // The even field of an odd count has one line more: it needs the frame after the odd field's
  // last, so the count is rounded up to even.
  const int Frames = (Lines + 1) / 2 * 2;
  return Smooth ? Frames / 2 : Frames;
}

void TInterlacedTransition::PaintLines(TCanvas* Canvas, int S, int Prev, int Cur, int W, int H) {
  const bool ByRows = Rows(S);
  const int Lines = ByRows ? H : W;
  // Interleaved fields leave a gap between the lines coming from the start and those from the
  // end; nothing in it changes in these frames.
  int LastFromStart = -1, FirstFromEnd = Lines;
  for (int I = Prev + 1; I <= Cur; ++I) {
    const int L = LineOfFrame(S, I, Lines);
    if (L < 0 || L >= Lines) continue;
    const TRect Line = ByRows ? Rect(0, L, W, L + 1) : Rect(L, 0, L + 1, H);
    if (Canvas) Canvas->FillRect(Line);
    UnionRect(UpdateRect, UpdateRect, Line);
    if (I % 2 == 0) LastFromStart = std::max(LastFromStart, L);
    else FirstFromEnd = std::min(FirstFromEnd, L);
  }
  if (!Interleaved(S) || LastFromStart < 0 || FirstFromEnd >= Lines || FirstFromEnd - LastFromStart < 2) return;
  UnchangedRect = ByRows ? Rect(0, LastFromStart + 1, W, FirstFromEnd) : Rect(LastFromStart + 1, 0, FirstFromEnd, H);
}

void TInterlacedTransition::PaintRings(TCanvas* Canvas, int Prev, int Cur, int W, int H) {
  UnchangedRect = Rect(0, 0, W, H);
  const int Lines = std::min(W, H);
  for (int I = Prev + 1; I <= Cur; ++I) {
    const int G = RingOfFrame(I, Lines);
    if (G < 0 || W - G - 1 < G || H - G - 1 < G) continue;
    const TRect Box = Rect(G, G, W - G, H - G);
    if (Canvas) Canvas->FrameRect(Box);
    UnionRect(UpdateRect, UpdateRect, Box);
    IntersectRect(UnchangedRect, UnchangedRect, Rect(G + 1, G + 1, W - G - 1, H - G - 1));
  }
}

void TInterlacedTransition::PaintMask(TBitmap& Mask, int Cur, int Step, int /*TotalFrames*/, int /*Prev*/,
                                      const TTETransitionData& Data, bool Draw, bool /*Final*/) {
  UpdateRect = TRect{};
  UnchangedRect = TRect{};
  TCanvas* Canvas = Draw ? &Mask.Canvas() : nullptr;
  const int Style = StyleToUse(), S = SubStyleToUse();
  int Prev = Cur - Step;
  // Smoothed, a frame paints two lines of these orders.
  if ((Style == 2 || Interleaved(S)) && SmoothingActive()) {
    Prev *= 2;
    Cur *= 2;
  }
  if (Style == 2) PaintRings(Canvas, Prev, Cur, Data.Width, Data.Height);
  else PaintLines(Canvas, S, Prev, Cur, Data.Width, Data.Height);
  // A frame past the last line (the odd field of an odd count ends a frame early): the whole
  // area, all of it unchanged, rather than an empty rectangle that would stand for all of it.
  if (UpdateRect.IsEmpty()) UpdateRect = UnchangedRect = Rect(0, 0, Data.Width, Data.Height);
}

}  // namespace vte
