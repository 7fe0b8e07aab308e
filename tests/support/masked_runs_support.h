#pragma once
// Runs of the masked transitions (effects/masked_transition.h) through the offscreen runner, seen
// as which pixels each frame shows new: the checks every masked effect shares.
#include <functional>
#include <memory>
#include <vector>

#include "effects/masked_transition.h"
#include "gdi/bitmap.h"
#include "support/frame_recording_support.h"

namespace vte::test {

using TNewSet = std::vector<bool>;  // per pixel, row by row: the frame shows the new image there

struct TRun {
  std::vector<TNewSet> Frames;  // the frames shown
  int Total = 0;                // frame units of the run
};

// A plain run of a small area: which pixels each frame shows new. Inspectors see the run as it
// goes (the effect's state during the run).
TRun PlainRun(TMaskedTransition& E, const TBitmap& OldLook, const TBitmap& NewLook,
              std::vector<TFrameInspector> Inspectors = {});

using TMake = std::function<std::unique_ptr<TMaskedTransition>()>;

// Every style and substyle, forwards and reversed, plain and smoothed: the effect rules; on the
// plain path a growing reveal and the twin substyle's frames when reversed; on the smoothed path
// no pixel still wholly old in the last frame shown.
void CheckEveryStyle(const TMake& Make, int W, int H);

// The effect with the plain path's row spans turned off: every frame composed through the masks.
template <class T> class TMaskOnly : public T {
protected:
  bool RevealsBySpans() const override { return false; }
};

// Every style and substyle, forwards and reversed, plain and smoothed, every frame drawn and paced
// (frames skipping shape frames): the runs by row spans show the same frames as those by masks, and
// each frame reports every pixel it changed.
void ExpectSpansMatchMasks(const TMake& BySpans, const TMake& ByMasks, int W, int H);

// Forward frame g shows new exactly where the backward run's frame Total - g shows old.
void ExpectPlaysBackwards(TMaskedTransition& Forward, TMaskedTransition& Backward, const TBitmap& Old,
                          const TBitmap& New);

// The frame units of a run (shape frames, plus the fade's on the smoothed path).
int FramesOf(TMaskedTransition& E, int W, int H, int Smoothing = 0);

}  // namespace vte::test
