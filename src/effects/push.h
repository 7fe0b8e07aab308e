#pragma once
// The push: the new image slides in from one side and pushes the old one out at the other, both
// moving together. When the old look was taken from the screen it is not kept as a bitmap at all:
// each frame scrolls the screen's own pixels and draws only the strip of new image that enters.
// When the old look had to be painted from the control, both images are drawn from their bitmaps.
#include "engine/timed_transition.h"

namespace vte {

class TPushTransition : public TTimedTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "Push")
  Q_PROPERTY(vte::engine_types::TTEEffectDirection Direction READ Direction WRITE SetDirection)
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
  Q_INVOKABLE explicit TPushTransition(QObject* Owner = nullptr);

  // True when the run's old look was painted: then both images are drawn from bitmaps.
  bool NeedSrcImage() const override;
  bool DrawFromBitmaps() const { return FDrawFromBitmaps; }

  void Initialize(TTETransitionData& Data, int& Frames) override;
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override;

private:
  bool FDrawFromBitmaps = false;
};

}  // namespace vte
