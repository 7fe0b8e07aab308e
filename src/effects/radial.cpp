#include "effects/radial.h"

#include <algorithm>

#include "gdi/canvas.h"
#include "gdi/rasterizer.h"

namespace vte {

namespace {

enum { TopLeft, TopRight, BottomRight, BottomLeft };

// The depth of the bands that cover a wedge for the screen copy.
constexpr int CoverBand = 16;

// Side pivots of styles 4 and 5 in substyle order, the corner where each one's clockwise sweep
// starts, the corners that are the ends of its sweep, and whether its two-hand substyles turn
// clockwise.
struct TPivotSweep {
  int StartCorner;
  int Ends[2];
  bool BaseClockwise;
};
constexpr TPivotSweep SideSweeps[4] = {{TopLeft, {TopLeft, BottomLeft}, true},
                                       {BottomRight, {TopRight, BottomRight}, false},
                                       {TopRight, {TopLeft, TopRight}, false},
                                       {BottomLeft, {BottomRight, BottomLeft}, true}};
// Corner pivots of styles 6 and 7: the sweep's start, the one corner it passes, the base turn.
struct TCornerSweep {
  int Pivot, StartCorner, Passes;
  bool BaseClockwise;
};
constexpr TCornerSweep CornerSweeps[4] = {{TopLeft, TopRight, BottomRight, true},
                                          {TopRight, BottomRight, BottomLeft, false},
                                          {BottomLeft, TopLeft, TopRight, true},
                                          {BottomRight, BottomLeft, TopLeft, true}};

}  // namespace

TRadialTransition::TRadialTransition(QObject* Owner) : TMaskedTransition(Owner) { SetStyleCount(7); }

int TRadialTransition::GetSubStyleCount(int Style) const {
  switch (Style) {
    case 0: return 0;
    case 1: case 2: case 3: case 4: case 6: return 8;
    case 5: case 7: return 16;
    default: return 1;
  }
}

int TRadialTransition::GetReversedSubStyle(int Style, int S) const {
  const int Pairs = Style == 5 || Style == 7 ? 16 : 8;
  if (Style < 1 || Style > 7 || S < 1 || S > Pairs) return S;
  return S % 2 ? S + 1 : S - 1;
}

int TRadialTransition::Wrap(int Position) const { return ((Position - 1) % FPerimeter + FPerimeter) % FPerimeter + 1; }

TPoint TRadialTransition::BorderPoint(int P) const {
  P = Wrap(P);
  const int OW = FOddWidth, OH = FOddHeight;
  if (P < FCornerPosition[TopRight]) return {P - 2, -1};
  if (P < FCornerPosition[BottomRight]) return {OW, P - OW - 3};
  if (P < FCornerPosition[BottomLeft]) return {2 * OW + OH + 3 - P, OH};
  return {-1, 2 * OW + 2 * OH + 4 - P};
}

void TRadialTransition::Initialize(TTETransitionData& Data, int& Frames) {
  // An odd size puts the centre on a pixel with as many pixels on either side.
  FOddWidth = Data.Width | 1;
  FOddHeight = Data.Height | 1;
  const int OW = FOddWidth, OH = FOddHeight;
  FCentre = {OW / 2, OH / 2};
  FCorner[TopLeft] = {-1, -1};
  FCorner[TopRight] = {OW, -1};
  FCorner[BottomRight] = {OW, OH};
  FCorner[BottomLeft] = {-1, OH};
  FCornerPosition[TopLeft] = 1;
  FCornerPosition[TopRight] = OW + 2;
  FCornerPosition[BottomRight] = OW + OH + 3;
  FCornerPosition[BottomLeft] = 2 * OW + OH + 4;
  std::fill(std::begin(FCornerEnabled), std::end(FCornerEnabled), true);
  const int Style = StyleToUse(), S = SubStyleToUse();
  if (Style == 4 || Style == 5) {
    const TPivotSweep& P = SideSweeps[(S - 1) / (Style == 4 ? 2 : 4)];
    FCornerEnabled[P.Ends[0]] = FCornerEnabled[P.Ends[1]] = false;
  } else if (Style == 6 || Style == 7) {
    const TCornerSweep& P = CornerSweeps[(S - 1) / (Style == 6 ? 2 : 4)];
    for (int C = 0; C < 4; ++C) FCornerEnabled[C] = C == P.Passes;
  }
  TMaskedTransition::Initialize(Data, Frames);
  DirtyRects->ClipToBounds = true;
}

int TRadialTransition::CalcShapeFrames(const TTETransitionData& Data) {
  const int OW = Data.Width | 1, OH = Data.Height | 1, P = 2 * (OW + 1) + 2 * (OH + 1);
  FPerimeter = P;
  const bool Smooth = SmoothingActive();
  const int Style = StyleToUse(), S = SubStyleToUse();
  int Frames = 1;
  switch (Style) {
    case 1: Frames = P; break;
    case 2: Frames = Smooth ? P / 2 : P; break;
    case 3: Frames = P / 4 + (Smooth && S >= 5 ? 1 : 0); break;
    case 4: Frames = S <= 4 ? P - OH : P - OW; break;
    // Smoothed, both hands cover half the (odd) sweep each: the longer half sets the count.
    case 5: Frames = S <= 8 ? P - OH : P - OW; Frames = Smooth ? (Frames + 1) / 2 : Frames; break;
    case 6: Frames = P / 2; break;
    case 7: Frames = Smooth ? P / 4 : P / 2; break;
  }
  MakeHands(Style, S, Frames, Smooth);
  return Frames;
}

void TRadialTransition::MakeHands(int Style, int S, int Frames, bool Smooth) {
  const int OW = FOddWidth, OH = FOddHeight, P = FPerimeter;
  FHands.clear();
  // The centre hands: H1..H4 start at 12, 3, 6 and 9 o'clock; a primed one (negative number)
  // sweeps the positions just before its twin's start, counter-clockwise.
  const int Offsets[5] = {0, OW / 2 + 1, P / 4 + OW / 2 + 1, OW + OH + (OW - 1) / 2 + 3,
                          2 * OW + OH + (OH - 1) / 2 + 4};
  const auto Centre = [&](int H, int Length, int Share) {
    const int Start = Offsets[std::abs(H)] + 1;
    FHands.push_back({FCentre, H > 0 ? Start : Start - Length, Length, H > 0, Share});
  };
  // Two hands that take turns on the plain path.
  const int First = Smooth ? 0 : 1, Second = Smooth ? 0 : 2;
  switch (Style) {
    case 1: {
      const int H = (S + 1) / 2;
      Centre(S % 2 ? H : -H, Frames, 0);
      break;
    }
    case 2: {
      constexpr int Pairs[8][2] = {{1, 3}, {-1, -3}, {2, 4}, {-2, -4}, {1, -1}, {3, -3}, {2, -2}, {4, -4}};
      for (int I = 0; I < 2; ++I) Centre(Pairs[S - 1][I], P / 2, I == 0 ? First : Second);
      break;
    }
    case 3: {
      constexpr int Fours[8][4] = {{1, 2, 3, 4}, {-1, -2, -3, -4}, {1, -1, 3, -3}, {2, -2, 4, -4},
                                   {1, -3, 4, -4}, {-1, 2, -2, 3}, {1, -1, 2, -4}, {4, -2, 3, -3}};
      for (int H : Fours[S - 1]) Centre(H, Frames, 0);
      break;
    }
    case 4:
    case 5:
    case 6:
    case 7: {
      const bool Side = Style <= 5, One = Style == 4 || Style == 6;
      const int Group = (S - 1) / (One ? 2 : 4);
      TPoint Pivot;
      int StartCorner;
      bool Base;
      if (Side) {
        const TPoint Middles[4] = {{-1, FCentre.Y}, {OW, FCentre.Y}, {FCentre.X, -1}, {FCentre.X, OH}};
        Pivot = Middles[Group];
        StartCorner = SideSweeps[Group].StartCorner;
        Base = SideSweeps[Group].BaseClockwise;
      } else {
        Pivot = FCorner[CornerSweeps[Group].Pivot];
        StartCorner = CornerSweeps[Group].StartCorner;
        Base = CornerSweeps[Group].BaseClockwise;
      }
      const int Start = FCornerPosition[StartCorner];
      const int Sweep = Side ? (Group < 2 ? P - OH : P - OW) : P / 2;
      if (One) {
        // The first substyle of the pair turns clockwise, except for the right and top middles
        // and the top-right corner, whose clockwise sweep is the second.
        const bool SecondIsClockwise = Side ? (Group == 1 || Group == 2) : Group == 1;
        const bool Clockwise = (S % 2 == 1) != SecondIsClockwise;
        FHands.push_back({Pivot, Start, Sweep, Clockwise, 0});
        break;
      }
      // Two hands, one on each half of the sweep: both turning the base way, both the other way,
      // from the ends to the middle, from the middle to the ends.
      const int Half = (Sweep + 1) / 2, Kind = (S - 1) % 4;
      const bool TurnA[4] = {Base, !Base, true, false}, TurnB[4] = {Base, !Base, false, true};
      FHands.push_back({Pivot, Start, Half, TurnA[Kind], First});
      FHands.push_back({Pivot, Start + Half, Sweep - Half, TurnB[Kind], Second});
      break;
    }
  }
}

void TRadialTransition::WedgePoints(TPoint Pivot, int Count, int End) {
  FPoints.assign(1, Pivot);
  if (Count == 1) {
    FPoints.push_back(BorderPoint(End));
  } else {
    const int Start = Wrap(End - Count + 1);
    FPoints.push_back(BorderPoint(Start));
    // The enabled corners strictly between the two ends, clockwise from the start: the corners
    // lie clockwise in index order, so the first one past the start leads.
    int FirstCorner = 0;
    for (int C = 1; C < 4; ++C)
      if (Wrap(FCornerPosition[C] - Start + 1) < Wrap(FCornerPosition[FirstCorner] - Start + 1)) FirstCorner = C;
    for (int I = 0; I < 4; ++I) {
      const int C = (FirstCorner + I) % 4, Along = Wrap(FCornerPosition[C] - Start + 1) - 1;
      if (FCornerEnabled[C] && Along > 0 && Along < Count - 1) FPoints.push_back(FCorner[C]);
    }
    FPoints.push_back(BorderPoint(End));
  }
}

void TRadialTransition::ReportWedge(bool Final) {
  const TPoint Pivot = FPoints[0];
  TRect Box = Rect(Pivot.X, Pivot.Y, Pivot.X + 1, Pivot.Y + 1);
  for (const TPoint& V : FPoints) UnionRect(Box, Box, Rect(V.X, V.Y, V.X + 1, V.Y + 1));
  UnionRect(UpdateRect, UpdateRect, Box);
  if (Final) DirtyRects->AddPolygonCover(FPoints, CoverBand, MaskWorkAlign);
}

void TRadialTransition::PaintWedge(TCanvas& Canvas, int Count, int Start) {
  const TPoint Pivot = FPoints[0];
  if (Count == 1) {
    Canvas.MoveTo(Pivot.X, Pivot.Y);
    Canvas.LineTo(FPoints[1].X, FPoints[1].Y);
    return;
  }
  Canvas.Polygon(FPoints);
  // The polygon's fill takes pixels by their centres, its outline and the lines of single
  // positions by their corners, half a pixel apart: alone, a wedge of many positions could miss
  // pixels of the lines inside it and leave specks where a frame of single positions would not.
  // The lines of its inner positions make it hold them all.
  for (int K = 1; K < Count - 1; ++K) {
    const TPoint B = BorderPoint(Start + K);
    Canvas.MoveTo(Pivot.X, Pivot.Y);
    Canvas.LineTo(B.X, B.Y);
  }
}

void TRadialTransition::RevealWedge(const TNewSpans& Spans, int Count, int Start) {
  const TPoint Pivot = FPoints[0];
  const TRect Picture = Rect(0, 0, Spans.Width, Spans.Height);
  if (Count == 1) {
    ForEachLineRun(Pivot, FPoints[1], Picture, [&](const TRect& R) { Spans.Rect(R); });
    return;
  }
  FRects.clear();
  AppendPolygonSpans(FPoints, 0, Spans.Height, FRects);
  AppendPolygonOutline(FPoints, Picture, FRects);
  for (int K = 1; K < Count - 1; ++K) AppendLineSpans(Pivot, BorderPoint(Start + K), Picture, FRects);
  for (const TRect& R : FRects) Spans.Rect(R);
}

template <class TWedge> void TRadialTransition::ForEachWedge(int Cur, int Prev, TWedge&& Wedge) const {
  for (const THand& H : FHands) {
    const auto Moved = [&](int F) {
      const int K = H.Share == 0 ? F : H.Share == 1 ? (F + 1) / 2 : F / 2;
      return std::clamp(K, 0, H.Length);
    };
    const int Now = Moved(Cur), Before = Moved(Prev), Count = std::min(Now - Before, FPerimeter);
    if (Count <= 0) continue;
    const int End = H.Clockwise ? H.Start + Now - 1 : H.Start + H.Length - 1 - Before;
    Wedge(H.Pivot, Count, Wrap(End));
  }
}

void TRadialTransition::PaintMask(TBitmap& Mask, int Cur, int /*Step*/, int /*TotalFrames*/, int Prev,
                                  const TTETransitionData& /*Data*/, bool Draw, bool Final) {
  UpdateRect = TRect{};
  ForEachWedge(Cur, Prev, [&](TPoint Pivot, int Count, int End) {
    WedgePoints(Pivot, Count, End);
    ReportWedge(Final);
    if (Draw) PaintWedge(Mask.Canvas(), Count, Wrap(End - Count + 1));
  });
}

// The same wedges as the mask's, their pixels copied: a frame of one position is a line from the
// pivot, a few hundred one-pixel runs.
void TRadialTransition::RevealSpans(const TNewSpans& Spans, int Cur, int /*Step*/, int Prev,
                                    const TTETransitionData& /*Data*/) {
  ForEachWedge(Cur, Prev, [&](TPoint Pivot, int Count, int End) {
    WedgePoints(Pivot, Count, End);
    RevealWedge(Spans, Count, Wrap(End - Count + 1));
  });
}

}  // namespace vte
