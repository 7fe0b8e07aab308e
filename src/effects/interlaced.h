#pragma once
// The new image appears one line at a time in an interlaced order. Style 1, full-width rows or
// full-height columns:
//   1, 2   rows (1) or columns (2), the two fields interleaved frame by frame: even lines from the
//          top (left), odd lines from the bottom (right);
//   3..10  one whole field and then the other: rows 3, 4, 7, 8, columns 5, 6, 9, 10. Substyle 3
//          paints the even lines downwards, then the odd ones upwards; 7 the even lines, then the
//          odd ones, both downwards; 4 and 8 are their mirror images (from the bottom), 5, 6, 9
//          and 10 the same with columns.
// Style 2, rectangle outlines one pixel wide, taking turns between rings coming in from the
// border (insets 0, 2, 4...) and rings growing out from the middle (the innermost odd inset,
// then two less each time). Smoothed, substyles 1 and 2 and the rings paint two lines a frame.
#include "effects/masked_transition.h"

namespace vte {

class TInterlacedTransition : public TMaskedTransition {
  Q_OBJECT
  Q_CLASSINFO("Description", "Interlaced")
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
  Q_PROPERTY(int SmoothingLevel READ SmoothingLevel WRITE SetSmoothingLevel)
  Q_PROPERTY(int Style READ Style WRITE SetStyle)
  Q_PROPERTY(int SubStyle READ SubStyle WRITE SetSubStyle)

public:
  Q_INVOKABLE explicit TInterlacedTransition(QObject* Owner = nullptr);

  int GetSubStyleCount(int Style) const override;
  int GetReversedSubStyle(int Style, int SubStyle) const override;

  // The line (row or column, as the substyle says) that shape frame I paints for a picture of
  // Lines lines; outside 0..Lines-1 when the frame paints none. Rings: the inset of frame I for
  // a picture whose smaller side is Lines.
  static int LineOfFrame(int SubStyle, int I, int Lines);
  static int RingOfFrame(int I, int Lines);

protected:
  int CalcShapeFrames(const TTETransitionData& Data) override;
  void PaintMask(TBitmap& Mask, int CurrentFrame, int Step, int TotalFrames, int PrevFrame,
                 const TTETransitionData& Data, bool Draw, bool Final) override;
  // A ring's frame composes the whole box around it; only the ring itself may be black.
  bool ClearMaskAfterFrame() const override { return StyleToUse() == 2; }

private:
  void PaintLines(TCanvas* Canvas, int S, int Prev, int Cur, int W, int H);
  void PaintRings(TCanvas* Canvas, int Prev, int Cur, int W, int H);
};

}  // namespace vte
