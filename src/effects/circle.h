#pragma once
// The new image appears through a circle that grows from a point (style 1: the centre; 2: a
// corner; 3: the middle of a side) until it covers the picture, or the old image shrinks into a
// circle towards that point. One frame is one pixel of radius. Substyles: style 1 grows (1) or
// shrinks (2); styles 2 and 3 grow towards the four points (1..4) or shrink (5..8) in the same
// order: corners top-left, bottom-right, bottom-left, top-right; sides left, right, top, bottom.
// Reversed plays the shrinking twin of a growing circle and the other way round.
#include <utility>
#include <vector>

#include "effects/masked_transition.h"

namespace vte {

class TCircleTransition : public TMaskedTransition {
  Q_OBJECT
  Q_CLASSINFO("Description", "Circle")
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
  Q_PROPERTY(int SmoothingLevel READ SmoothingLevel WRITE SetSmoothingLevel)
  Q_PROPERTY(int Style READ Style WRITE SetStyle)
  Q_PROPERTY(int SubStyle READ SubStyle WRITE SetSubStyle)

public:
  Q_INVOKABLE explicit TCircleTransition(QObject* Owner = nullptr);

  int GetSubStyleCount(int Style) const override;
  int GetReversedSubStyle(int Style, int SubStyle) const override;
  void Initialize(TTETransitionData& Data, int& Frames) override;

  // The circle's centre for a picture of Width x Height with the style and substyle in force.
  TPoint CircleCentre(int Width, int Height) const;
  // The radius shape frame F stands for: F while growing, ShapeFrames - F while shrinking. The
  // full radius and beyond become ShapeFrames + 1, a circle that reaches past every corner pixel.
  int Radius(int F) const;

protected:
  int CalcShapeFrames(const TTETransitionData& Data) override;
  void PaintMask(TBitmap& Mask, int CurrentFrame, int Step, int TotalFrames, int PrevFrame,
                 const TTETransitionData& Data, bool Draw, bool Final) override;
  bool MaskIsCumulative() const override { return true; }
  bool MaskIsInverted() const override;
  bool SmoothWithTwoMasks() const override { return !MaskIsInverted(); }
  bool RevealsBySpans() const override { return true; }
  void RevealSpans(const TNewSpans& Spans, int CurrentFrame, int Step, int PrevFrame,
                   const TTETransitionData& Data) override;

private:
  // The row intervals [first, second) of the circle the last frame revealed up to, one a row of
  // the picture, and its radius (-1: none yet): each frame works out only its own circle's rows.
  std::vector<std::pair<int, int>> FRows;
  int FRowsRadius = -1;
};

}  // namespace vte
