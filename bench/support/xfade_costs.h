#pragma once
// FFmpeg's xfade filter as a yardstick for whole runs: a transition of ours drawn frame by frame
// from start to end, next to single output frames of the filter's counterpart between the same
// pictures, measured in the same program run (FFmpeg is not a build dependency; without it the
// comparison is left out).
#include "gdi/bitmap.h"
#include "support/frame_costs.h"

namespace vte::bench {

// Thread CPU time of a whole run of a fresh Make() through the offscreen runner, every frame drawn
// (Milliseconds 0), set-up and final image included; the least of Runs.
double WholeRunMilliseconds(const TEffectFactory& Make, const TBitmap& Old, const TBitmap& New, int Runs = 3);

// The same for a run of one second (Milliseconds 1000), paced by a virtual clock that moves on
// 1/Fps of a second a frame drawn (as vte-render paces its frames): the frames a viewer is shown,
// each changing as much as its share of the second asks. Returns the frames drawn in Frames.
double PacedRunMilliseconds(const TEffectFactory& Make, const TBitmap& Old, const TBitmap& New, int& Frames,
                            int Fps = 60, int Runs = 3);

// CPU time (user + system) of one output frame of `ffmpeg ... xfade=transition=Transition` between
// Old and New at their size, BGRA frames to /dev/null: a run of 32 frames less a run of 2 (start-up
// and picture reading left out), over the 30 frames more; the least of Runs. 0 when ffmpeg is not
// on the PATH or fails.
double XfadeMillisecondsPerFrame(const TBitmap& Old, const TBitmap& New, const char* Transition, int Runs = 3);

}  // namespace vte::bench
