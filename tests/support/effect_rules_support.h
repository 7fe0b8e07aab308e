#pragma once
// The rules every registered effect keeps on a run from one look to another, whatever its
// settings, size or screen depth:
//   frames   each pass reports its frames numbered 1..n without gaps and then exactly one final
//            image (frame n + 1) as its last call; the passes are 1..PassesToUse() (only the last
//            when the effect cannot animate two passes);
//   changes  every pixel a frame changed on the screen lies in one of the rectangles it reported;
//   ends     each pass's final image is exactly the look the pass goes to, and the run ends on
//            the new look;
//   looks    every pixel of every frame is a pixel of one of the two looks of its pass, wherever
//            the effect has put it; effects that mix looks with some settings are exempt there.
// A run may also end silently (EAbort) when the effect has nothing to animate, which callers
// allow only where that is so: nothing must have been shown, the screen still the old look.
//
// The rules come as inspectors for RecordRun and checks of a recording, so that a test of one
// effect can apply any of them to its own runs, and together as KeepsEffectRules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/distinct_looks_support.h"
#include "support/frame_recording_support.h"

namespace vte::test {

// The first few faults a check found, and how many there were.
class TFaults {
public:
  void Add(const std::string& Fault);
  bool Empty() const { return FCount == 0; }
  testing::AssertionResult Verdict() const;

private:
  std::vector<std::string> FFirst;
  int FCount = 0;
};

// changes: each changed pixel outside the frame's rectangles is a fault.
TFrameInspector ChangesInsideReportedRects(TFaults& Faults);
// looks: each changed pixel that is no pixel of the pass's two looks is a fault (one fault per
// frame at most). TwoPasses: pass 1 goes to the middle look, pass 2 from it.
TFrameInspector OnlyLookPixels(const TDistinctLooks& Looks, bool TwoPasses, TFaults& Faults);
// ends, pass by pass: each final image shows exactly PassEnds[Pass - 1].
TFrameInspector FinalsShow(std::vector<TBitmap> PassEnds, TFaults& Faults);
// frames: the numbering of a recording with these passes (see above).
void CheckFrameNumbers(const TFrameRecording& Run, const std::vector<int>& Passes, TFaults& Faults);

struct TRuleOptions {
  bool Mixes = false;            // the effect mixes looks with these settings: no looks rule
  bool MayEndSilently = false;   // the area leaves the effect nothing to animate
};

// Runs Effect from Looks.Old() to Looks.New() (through Looks.Middle() when it runs two passes)
// and checks all four rules.
testing::AssertionResult KeepsEffectRules(TTransitionEffect& Effect, const TDistinctLooks& Looks,
                                          const TRuleOptions& Options = {});

}  // namespace vte::test
