#pragma once
// The new image runs down (or across) the old one like paint: a strip of the new image is
// uncovered from one side frame by frame, and the whole part not yet uncovered shows one line of
// the new image smeared over it: the line at the strip's left column (sideways) or top row (up
// and down). Only the new image is drawn; the old one shows in no frame after the first.
#include "engine/timed_transition.h"

namespace vte {

class TDripTransition : public TTimedTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "Drip")
  Q_PROPERTY(vte::engine_types::TTEEffectDirection Direction READ Direction WRITE SetDirection)
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
  Q_INVOKABLE explicit TDripTransition(QObject* Owner = nullptr);

  bool NeedSrcImage() const override { return false; }
  bool TwoPassesCapable() const override { return false; }
  // Up and down the smeared row is copied byte for byte into the rows below or above it.
  bool NeedWorkBitmap() const override;

  void Initialize(TTETransitionData& Data, int& Frames) override;
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override;
  void Finalize(TTETransitionData& Data) override;
  bool DrawsOnRenderTarget() const override { return FOnTarget; }

private:
  TCanvas& FrameCanvas(TTETransitionData& Data) const { return FOnTarget ? *Data.RenderCanvas : Data.Canvas(); }

  // Per run.
  TTEEffectDirection FRunDirection = tedLeft;
  TRect FStrip;      // uncovered in the current frame
  TRect FRemaining;  // not uncovered yet
  int FSavedStretchMode = 0;
  bool FOnTarget = false;  // frames drawn straight onto the render target
};

}  // namespace vte
