#pragma once
// The new image appears behind an edge at 45 degrees that sweeps across the picture, one diagonal
// of pixels a frame (W + H - 1 frames). Style 1, one edge: from the top-left corner (substyle 1),
// from the bottom-right (2), from the bottom-left (3), from the top-right (4). Style 2, two edges:
// from the top-left and bottom-right corners to the middle (1), from the other two corners (2), or
// from the middle out to those corners (3, 4), the edges taking turns. Reversed plays the pair's
// other substyle: the same frames backwards. Smoothing applies to style 1 only.
#include "effects/masked_transition.h"

namespace vte {

class TDiagonalTransition : public TMaskedTransition {
  Q_OBJECT
  Q_CLASSINFO("Description", "Diagonal")
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
  Q_PROPERTY(int SmoothingLevel READ SmoothingLevel WRITE SetSmoothingLevel)
  Q_PROPERTY(int Style READ Style WRITE SetStyle)
  Q_PROPERTY(int SubStyle READ SubStyle WRITE SetSubStyle)

public:
  Q_INVOKABLE explicit TDiagonalTransition(QObject* Owner = nullptr);

  int GetSubStyleCount(int Style) const override;
  int GetReversedSubStyle(int Style, int SubStyle) const override;
  bool SmoothingActive() const override;

  void Initialize(TTETransitionData& Data, int& Frames) override;

protected:
  int CalcShapeFrames(const TTETransitionData& Data) override { return Data.Width + Data.Height - 1; }
  void PaintMask(TBitmap& Mask, int CurrentFrame, int Step, int TotalFrames, int PrevFrame,
                 const TTETransitionData& Data, bool Draw, bool Final) override;
  bool ClearMaskAfterFrame() const override { return SmoothingLevel() == 0; }
  bool RevealsBySpans() const override { return true; }
  void RevealSpans(const TNewSpans& Spans, int CurrentFrame, int Step, int PrevFrame,
                   const TTETransitionData& Data) override;

private:
  // Calls Sweep(Rising, Cur, Step) for each edge's diagonals the change of a frame covers.
  template <class TSweep> void ForEachSweep(int CurrentFrame, int Step, int Width, int Height, TSweep&& Sweep) const;
  // Diagonals Cur - Step + 1 .. Cur, falling (x + y = k - 1) or rising (x - y = k - H).
  void Sweep(TCanvas* Canvas, bool Rising, int Cur, int Step, int W, int H, bool Final);
};

}  // namespace vte
