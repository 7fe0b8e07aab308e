#pragma once
// The new image runs over the old one like water: every row (Direction right or left) or column
// (down or up) advances from its starting edge by Step x a random 0..3 pixels a frame, so the
// front is ragged. The shape takes 80 % of the line length in frames; the mean advance of 1.5 a
// frame finishes most lines well before, and the final image completes the rest. Random numbers
// come from the program-wide generator, so a seeded run repeats. Always the plain 1-bit path.
#include <vector>

#include "effects/masked_transition.h"

namespace vte {

class TWaterfallTransition : public TMaskedTransition {
  Q_OBJECT
  Q_CLASSINFO("Description", "Waterfall")
  Q_CLASSINFO("EditorClassName", "TTransitionEffectEditor")
  Q_PROPERTY(vte::engine_types::TTEEffectDirection Direction READ Direction WRITE SetDirection)
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
  Q_INVOKABLE explicit TWaterfallTransition(QObject* Owner = nullptr);

  bool SmoothingActive() const override { return false; }

  void Initialize(TTETransitionData& Data, int& Frames) override;
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override;
  void Finalize(TTETransitionData& Data) override;

  // How far each line has come, in pixels (during a run).
  const std::vector<int>& Progress() const { return FProgress; }

protected:
  int CalcShapeFrames(const TTETransitionData& Data) override;
  void PaintMask(TBitmap& Mask, int CurrentFrame, int Step, int TotalFrames, int PrevFrame,
                 const TTETransitionData& Data, bool Draw, bool Final) override;
  bool RevealsBySpans() const override { return true; }
  void RevealSpans(const TNewSpans& Spans, int CurrentFrame, int Step, int PrevFrame,
                   const TTETransitionData& Data) override;

private:
  int LineLength(const TTETransitionData& Data) const;

  // Per run.
  TTEEffectDirection FRunDirection = tedDown;
  std::vector<int> FProgress;
  // The pieces of lines the last PaintMask advanced: the random draws are made once a frame.
  std::vector<TRect> FAdvanced;
  bool FMoved = false;  // the frame advanced some line
};

}  // namespace vte
