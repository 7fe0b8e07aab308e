#pragma once
// The new image appears behind clock hands sweeping around a pivot; each frame fills the wedge
// between a hand's previous and current position (a line from the pivot for a single position).
// Hands end on the positions 1..Perimeter that walk clockwise around the picture one pixel
// outside it, from the top-left corner. Styles:
//   1  one hand from the centre (substyles 1..8: from 12, 3, 6, 9 o'clock, each clockwise and
//      counter-clockwise);
//   2  two hands from the centre: opposite ones (1..4), or a pair opening from one point (5..8);
//   3  four hands from the centre, each a quarter;
//   4  one hand from the middle of a side over half a turn (1..8: left, right, top, bottom, each
//      both ways);
//   5  two hands from the middle of a side (1..16: four per side: both halves one way, the other
//      way, from both ends to the middle, from the middle to both ends);
//   6  one hand from a corner over a quarter turn (1..8: top-left, top-right, bottom-left,
//      bottom-right, each both ways);
//   7  two hands from a corner (1..16, as style 5).
// A counter-clockwise hand is the mirror of its clockwise twin, so pairs of substyles play the
// same shapes backwards (Reversed swaps them). On the plain path two hands take turns, one
// position a frame between them; smoothed, both move every frame.
#include <vector>

#include "effects/masked_transition.h"

namespace vte {

class TRadialTransition : public TMaskedTransition {
  Q_OBJECT
  Q_CLASSINFO("Description", "Radial")
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
  Q_PROPERTY(int SmoothingLevel READ SmoothingLevel WRITE SetSmoothingLevel)
  Q_PROPERTY(int Style READ Style WRITE SetStyle)
  Q_PROPERTY(int SubStyle READ SubStyle WRITE SetSubStyle)

public:
  Q_INVOKABLE explicit TRadialTransition(QObject* Owner = nullptr);

  int GetSubStyleCount(int Style) const override;
  int GetReversedSubStyle(int Style, int SubStyle) const override;

  void Initialize(TTETransitionData& Data, int& Frames) override;

  // A hand sweeps Length positions from Start clockwise, or the same positions from the other end
  // counter-clockwise. Frame f has moved it f positions (Share 0), or (f + 1) div 2 (Share 1) or
  // f div 2 (Share 2) where two hands take turns; never more than Length.
  struct THand {
    TPoint Pivot;
    int Start = 1, Length = 0;
    bool Clockwise = true;
    int Share = 0;
  };
  // The run's geometry, valid from Initialize on.
  const std::vector<THand>& Hands() const { return FHands; }
  int Perimeter() const { return FPerimeter; }
  TPoint BorderPoint(int Position) const;

protected:
  int CalcShapeFrames(const TTETransitionData& Data) override;
  void PaintMask(TBitmap& Mask, int CurrentFrame, int Step, int TotalFrames, int PrevFrame,
                 const TTETransitionData& Data, bool Draw, bool Final) override;
  bool ClearMaskAfterFrame() const override { return !SmoothingActive(); }
  bool SmoothWithTwoMasks() const override { return true; }
  bool RevealsBySpans() const override { return true; }
  void RevealSpans(const TNewSpans& Spans, int CurrentFrame, int Step, int PrevFrame,
                   const TTETransitionData& Data) override;

private:
  int Wrap(int Position) const;
  void MakeHands(int Style, int S, int Frames, bool Smooth);
  // Calls Wedge(Pivot, Count, End) for each hand that moved from frame Prev to Cur.
  template <class TWedge> void ForEachWedge(int Cur, int Prev, TWedge&& Wedge) const;
  // The outline of the wedge of Count positions ending at End (clockwise) around Pivot, into
  // FPoints: the pivot and the border points, with the corners between them; the pivot and one
  // border point for a single position.
  void WedgePoints(TPoint Pivot, int Count, int End);
  // Adds the wedge in FPoints to UpdateRect, and its cover to the frame's rectangles when Final.
  void ReportWedge(bool Final);
  // The wedge's pixels: its polygon and outline, and the lines of its inner positions (or the one
  // line of a single position), from Start. Paint draws them, Reveal copies them.
  void PaintWedge(TCanvas& Canvas, int Count, int Start);
  void RevealWedge(const TNewSpans& Spans, int Count, int Start);

  int FOddWidth = 1, FOddHeight = 1, FPerimeter = 8;
  TPoint FCentre;
  int FCornerPosition[4] = {};  // top-left, top-right, bottom-right, bottom-left
  TPoint FCorner[4];
  bool FCornerEnabled[4] = {true, true, true, true};
  std::vector<THand> FHands;
  // Kept from frame to frame, so that a frame allocates nothing.
  std::vector<TPoint> FPoints;
  std::vector<TRect> FRects;
};

}  // namespace vte
