#include "engine/timed_transition.h"

#include <algorithm>
#include <cmath>

#include "engine/easing.h"
#include "engine/errors.h"
#include "engine/run_observer.h"

namespace vte {

namespace {

// Nearest integer, halves to even (the default rounding mode). The value is kept far inside the
// range of long long: a step can become huge when almost no time is left, and only its
// comparison with the remaining frames matters then.
long long RoundEven(float Value) {
  const float Limit = 1e15f;
  return std::llrint(std::clamp(Value, -Limit, Limit));
}

}  // namespace

TTimedTransitionEffect::TTimedTransitionEffect(QObject* Owner) : TTransitionEffect(Owner) {}

void TTimedTransitionEffect::Assign(const TTransitionEffect& Source) {
  TTransitionEffect::Assign(Source);
  if (const auto* Timed = qobject_cast<const TTimedTransitionEffect*>(&Source)) FEasing = Timed->FEasing;
}

void TTimedTransitionEffect::DoExecute(TTETransitionData& Data) {
  CheckAbort(false);
  if (Aborted()) {
    ShowFinalImage(Data);
    return;
  }

  int TotalFrames = 0;
  Initialize(Data, TotalFrames);
  // Per-run state of the effect must go whatever happens below: Finalize pairs with Initialize.
  try {
    CheckAbort(false);
    if (Aborted()) {
      ShowFinalImage(Data);
    } else {
      const int StepUnit = GetStepUnit();
      // An effect with nothing to animate ends the run silently; the caller cleans up.
      if (TotalFrames <= 0) throw EAbort();
      FrameBitmap = DrawsOnRenderTarget() ? nullptr : Data.WorkBitmap;
      if (Milliseconds() > 0) {
        ExecuteTimed(StepUnit, TotalFrames, Data);
      } else {
        for (int CurrentFrame = StepUnit; CurrentFrame < TotalFrames; CurrentFrame += StepUnit) {
          ExecuteFrame(Data, CurrentFrame, StepUnit, TotalFrames, CurrentFrame - StepUnit);
          if (Aborted()) break;
          UpdateScreen(false);
        }
        // The frame TotalFrames is never drawn: the new image itself ends every run.
        ShowFinalImage(Data);
      }
    }
  } catch (...) {
    Finalize(Data);
    FrameBitmap = nullptr;
    throw;
  }
  Finalize(Data);
  FrameBitmap = nullptr;
}

void TTimedTransitionEffect::Initialize(TTETransitionData& Data, int& /*Frames*/) {
  DirtyRects = std::make_unique<TFCDirtyRects>();
  DirtyRects->Bounds = Rect(0, 0, Data.Width, Data.Height);
  DirtyRects->ClipToBounds = false;
}

void TTimedTransitionEffect::Finalize(TTETransitionData& /*Data*/) { DirtyRects.reset(); }

void TTimedTransitionEffect::ExecuteTimed(int StepUnit, int TotalFrames, TTETransitionData& Data) {
  // Single precision on purpose: the pacing is defined on these values, and a different precision
  // would choose different frame numbers.
  const float Duration = static_cast<float>(Milliseconds());
  float FrameBudget = Duration / static_cast<float>(TotalFrames);
  float Step = 1;
  if (static_cast<float>(StepUnit) > Step) Step = static_cast<float>(StepUnit);
  if (static_cast<float>(TotalFrames) < Step) Step = static_cast<float>(TotalFrames);
  float CopyTime = 0;
  float Mark = 0;

  TTEChrono LoopChrono;
  LoopChrono.Start();
  const auto Clock = [&LoopChrono] { return static_cast<float>(LoopChrono.Milliseconds()); };

  // CurrentFrame counts the time gone in frames, as a linear run would show them; the easing curve
  // says which frame that time shows. A curve that stays on a frame for a while skips the drawing
  // and the copy, never the pacing, and one that reaches the end early waits for the final image.
  int CurrentFrame = static_cast<int>(RoundEven(Step));
  int LastExecutedFrame = 0;
  try {
    while (CurrentFrame < TotalFrames) {
      const int Shown = std::max(LastExecutedFrame, EasedFrame(FEasing, CurrentFrame, TotalFrames, StepUnit));
      const bool Draws = Shown > LastExecutedFrame && Shown < TotalFrames;
      if (Draws) {
        ExecuteFrame(Data, Shown, Shown - LastExecutedFrame, TotalFrames, LastExecutedFrame);
        if (Aborted()) break;
        LastExecutedFrame = Shown;
      }

      // The copy of the previous frame stands in for this one's when the budget is worked out:
      // this copy has not been measured yet when the wait starts.
      const float LastCopy = CopyTime;
      const float T0 = Clock();
      if (Draws) UpdateScreen(false);
      CopyTime = Clock() - T0;
      if (Draws) ObserveRun(*this, static_cast<double>(Shown) / TotalFrames);

      const float T1 = Clock();
      Wait(FrameBudget - LastCopy - (T1 - Mark));
      const float Waited = Clock() - T1;

      const float PrevMark = Mark;
      Mark = Clock();

      // Spread the remaining distance over the frames that still fit in the remaining time at
      // the speed just measured.
      const float Now = Clock();
      const float FrameTime = Now - PrevMark - Waited;
      const int RemainingFrames = TotalFrames - CurrentFrame;
      const float Remaining = static_cast<float>(RemainingFrames);
      const float RemainingTime = Duration - Now;
      if (RemainingTime > 0) {
        // A frame that took no measurable time leaves room for unlimited frames: step 0 here,
        // raised to the step unit below.
        Step = Remaining / (RemainingTime / FrameTime);
        if (static_cast<float>(StepUnit) > Step) {
          Step = static_cast<float>(StepUnit);
        } else if (StepUnit > 1) {
          const long long Rounded = RoundEven(Step);
          if (Rounded % StepUnit != 0) Step = static_cast<float>((Rounded / StepUnit + 1) * StepUnit);
        }
        if (Remaining < Step) Step = Remaining;
      } else {
        // Time is up: the next frame number is TotalFrames, which ends the loop.
        Step = Remaining;
      }
      FrameBudget = RemainingTime / (Remaining / Step);

      CurrentFrame = static_cast<int>(RoundEven(static_cast<float>(CurrentFrame) + Step));
    }
  } catch (...) {
    FrameBitmap = nullptr;
    throw;
  }
  ShowFinalImage(Data);
  ObserveRun(*this, 1.0);
  LoopChrono.Pause();
  FrameBitmap = nullptr;
}

void TTimedTransitionEffect::ExecuteFrame(TTETransitionData& /*Data*/, int /*CurrentFrame*/,
                                          int /*Step*/, int /*TotalFrames*/,
                                          int /*LastExecutedFrame*/) {
  CheckAbort(true);
}

void TTimedTransitionEffect::Wait(float Duration) {
  if (Duration <= 0) return;
  // A busy wait: sleeping or handling events would overshoot by far more than a frame may take.
  WaitChrono.Start();
  while (WaitChrono.Milliseconds() < Duration) {
  }
  WaitChrono.Reset();
}

}  // namespace vte
