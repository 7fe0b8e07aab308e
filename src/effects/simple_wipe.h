#pragma once
// The smallest timed transition: a hard-edged wipe in one of four directions, drawn straight onto
// the render canvas strip by strip. It shows how an application adds an effect of its own; it is
// not registered, so lists and editors do not offer it.
#include "engine/timed_transition.h"

namespace vte {

class TSimpleWipeTransition : public TTimedTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "Simple wipe")
  Q_PROPERTY(vte::engine_types::TTEEffectDirection Direction READ Direction WRITE SetDirection)
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
  Q_INVOKABLE explicit TSimpleWipeTransition(QObject* Owner = nullptr);

  bool RenderWhenClipped() const override { return false; }
  bool NeedSrcImage() const override { return false; }

  void Initialize(TTETransitionData& Data, int& Frames) override;
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override;

private:
  TRect R;  // the strip of the current frame
};

}  // namespace vte
