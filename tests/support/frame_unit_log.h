#pragma once
// An effect that logs what the frame loop asks of it: every frame unit with its step, and the
// run's total. TFrameUnitLog<TWipeTransition> is a wipe in every other respect; a recording of it
// (frame_recording_support.h) pairs each frame shown with the unit drawn.
#include <algorithm>
#include <functional>
#include <vector>

#include "engine/timed_transition.h"

namespace vte::test {

class TFrameUnits {
public:
  virtual ~TFrameUnits() = default;

  struct TUnit {
    int Frame, Step;
  };
  std::vector<TUnit> Units;  // every ExecuteFrame call of every run, in order
  int Total = 0;             // TotalFrames of the latest run

  // Called after the effect's own Initialize and after each of its frames.
  std::function<void(TTETransitionData& Data)> AfterInitialize;
  std::function<void(int CurrentFrame)> AfterFrame;

  std::vector<int> Frames() const {
    std::vector<int> V;
    for (const TUnit& U : Units) V.push_back(U.Frame);
    return V;
  }
  std::vector<int> Steps() const {
    std::vector<int> V;
    for (const TUnit& U : Units) V.push_back(U.Step);
    return V;
  }
  int LargestStep() const {
    int Largest = 0;
    for (const TUnit& U : Units) Largest = std::max(Largest, U.Step);
    return Largest;
  }
};

template <class Effect>
class TFrameUnitLog : public Effect, public TFrameUnits {
public:
  using Effect::Effect;

  void Initialize(TTETransitionData& Data, int& Frames) override {
    Effect::Initialize(Data, Frames);
    Total = Frames;
    if (AfterInitialize) AfterInitialize(Data);
  }
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override {
    Units.push_back({CurrentFrame, Step});
    Total = TotalFrames;
    Effect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
    if (AfterFrame) AfterFrame(CurrentFrame);
  }
};

// The numbers 1 .. Last, the frames an unpaced run of Last + 1 units draws.
inline std::vector<int> OneTo(int Last) {
  std::vector<int> V;
  for (int F = 1; F <= Last; ++F) V.push_back(F);
  return V;
}

}  // namespace vte::test
