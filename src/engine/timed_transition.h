#pragma once
// The base of every effect that animates in frames. DoExecute becomes a loop that asks the effect
// for frame after frame (ExecuteFrame brings the canvas from the last drawn frame to the current
// one and says what changed) and copies each changed part to the screen. With Milliseconds > 0
// the loop is paced: it measures each frame, spreads the remaining distance over the frames that
// still fit in the remaining time and busy-waits when ahead. The final image is always drawn last.
// An easing curve (engine/easing.h) shapes a paced run: the pacing counts time in frames as before,
// and the curve turns that time into the frame shown; linear, the default, changes nothing. A run
// without a duration shows every frame in turn, eased or not.
#include <QEasingCurve>

#include "engine/transition_effect.h"

namespace vte {

class TTimedTransitionEffect : public TTransitionEffect {
  Q_OBJECT
  // Every timed effect, an application's own included, stores its duration.
  Q_PROPERTY(int Milliseconds READ Milliseconds WRITE SetMilliseconds)
  Q_PROPERTY(QEasingCurve Easing READ Easing WRITE SetEasing)

public:
  explicit TTimedTransitionEffect(QObject* Owner = nullptr);

  QEasingCurve Easing() const { return FEasing; }
  void SetEasing(const QEasingCurve& V) { FEasing = V; }
  void Assign(const TTransitionEffect& Source) override;

  void DoExecute(TTETransitionData& Data) override;

  // Sets up per-run state; Frames := the number of frame units of the whole animation. The base
  // creates DirtyRects (Bounds = the area, ClipToBounds false) and leaves Frames alone.
  virtual void Initialize(TTETransitionData& Data, int& Frames);
  // Frees per-run state; the base frees DirtyRects. Always called when Initialize was.
  virtual void Finalize(TTETransitionData& Data);
  // The paced loop.
  virtual void ExecuteTimed(int StepUnit, int TotalFrames, TTETransitionData& Data);
  // The base polls the abort requests (throttled). Effects call it first, then draw.
  virtual void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                            int LastExecutedFrame);
  // Frame numbers advance by at least this and by multiples of it.
  virtual int GetStepUnit() const { return 1; }
  // Whether the frames are drawn straight onto the render target although the effect has a work
  // bitmap (asked after Initialize): then nothing is copied from the work bitmap to the screen.
  virtual bool DrawsOnRenderTarget() const { return false; }

protected:
  TTEChrono WaitChrono;

private:
  void Wait(float Milliseconds);

  QEasingCurve FEasing{QEasingCurve::Linear};
};

}  // namespace vte
