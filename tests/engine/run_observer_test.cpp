// The program-wide run observer sees every frame of a paced run with its progress, and the final
// image once; runs without frames are not reported.
#include "engine/run_observer.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/blend_transition.h"
#include "engine/offscreen_runner.h"
#include "engine/reduced_motion.h"
#include "gdi/canvas.h"

namespace vte {
namespace {

TEST(RunObserver, SeesEachFrameOfAPacedRunAndItsFinalImage) {
  TBitmap Old(64, 48, pf32bit), New(64, 48, pf32bit), Screen;
  New.Canvas().Brush().Color = clBlack;
  New.Canvas().FillRect(Rect(0, 0, 64, 48));
  TBlendTransition Blend;
  Blend.SetMilliseconds(80);

  std::vector<double> Seen;
  std::vector<bool> Frames;  // what the run put on the screen: false a frame, true the final image
  RunObserver = [&](TTransitionEffect& Effect, double Progress) {
    EXPECT_EQ(&Effect, &Blend);
    Seen.push_back(Progress);
  };
  RunOffscreen(Blend, Old, New, Screen, [&](const TOffscreenFrame& F) { Frames.push_back(F.Final); });
  ASSERT_GE(Frames.size(), 3u);
  ASSERT_EQ(Seen.size(), Frames.size()) << "one report for each frame and for the final image";
  for (std::size_t I = 0; I + 1 < Seen.size(); ++I) {
    EXPECT_GT(Seen[I], I == 0 ? 0.0 : Seen[I - 1]);
    EXPECT_LT(Seen[I], 1.0);
  }
  EXPECT_EQ(Seen.back(), 1.0);

  // A cut has no frames to see.
  Seen.clear();
  SetReducedMotion(true);
  RunOffscreen(Blend, Old, New, Screen);
  ResetReducedMotion();
  EXPECT_TRUE(Seen.empty());
  RunObserver = nullptr;
}

}  // namespace
}  // namespace vte
