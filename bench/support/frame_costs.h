#pragma once
// What a frame of an effect costs at full HD, every frame drawn (Milliseconds 0) through the
// offscreen runner, next to two yardsticks measured in the same run: a memcpy of a whole frame,
// and a memcpy of exactly the rectangles each frame changed, row by row in the order they were
// drawn. The first says how far a frame is from the memory bandwidth; the second is the least that
// showing those pixels can cost. They differ most for narrow columns: a 1-pixel strip is 0.05 % of
// a frame but touches 1080 rows, each on another page, so its copy costs far more than 0.05 % of a
// frame memcpy.
#include <cstdint>
#include <functional>
#include <memory>

#include "gdi/bitmap.h"

namespace vte {
class TTransitionEffect;
}

namespace vte::bench {

inline constexpr int FrameWidth = 1920, FrameHeight = 1080;

// A FrameWidth x FrameHeight pf32bit picture of repeatable noise: every pixel differs from its
// neighbours, so that no effect is measured on a picture that would hide a mistake.
TBitmap NoisePicture(std::uint32_t Seed);

struct TFrameCosts {
  int Frames = 0;                 // frames drawn (the final image of the run not counted)
  double MsPerFrame = 0;          // thread CPU time a frame, from the first drawn frame to the last
  double WallPerFrame = 0;        // the same in wall time
  double ChangedShare = 0;        // changed pixels a frame / pixels of a frame, over the same frames
  double RectCopyMsPerFrame = 0;  // thread CPU time a frame of the memcpy of the same rectangles
  double FrameMemcpyMs = 0;       // thread CPU time of a whole-frame memcpy
  // With Mix: thread CPU time a frame of the level mix of the same rectangles (pixel/mask_work.h,
  // ComposeSmoothed, every level a mid one): the least a frame that mixes every changed pixel of
  // two pictures anew can cost.
  double RectMixMsPerFrame = 0;
};

using TEffectFactory = std::function<std::unique_ptr<TTransitionEffect>()>;

// A first run of a fresh Make() records the frames and what each changed; then Runs times: a timed
// run of a fresh Make(), a timed replay of the recorded rectangles between two bitmaps of the
// size of Old, and four whole-frame copies between those bitmaps. Each time is the least of its
// kind (the least disturbed on a shared machine). The clocks are read when the first and the last
// frame have been drawn, so the set-up of a run and its final image are not frame costs; frames
// need at least two drawn frames, else the times stay 0.
TFrameCosts MeasureFrameCosts(const TEffectFactory& Make, const TBitmap& Old, const TBitmap& New, int Runs = 5,
                              bool Mix = false);

// The title line (Effect, the frame size, the SIMD level, how the times are taken) and the
// column heads; then one row a case (and, measured with Mix, a line with the mix yardstick).
void PrintFrameCostHeader(const char* Effect, int Runs = 5);
void PrintFrameCostRow(const char* Name, const TFrameCosts& Costs);

}  // namespace vte::bench
