// The waterfall transition: its settings, the shape frames and lines of a run, and through the
// offscreen runner in each direction, forwards and reversed: every line shows the new image as one
// run from its starting edge that only grows and never passes the line's end, and a seeded run
// repeats frame for frame, as it does composed through the masks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "effects/waterfall.h"
#include "gdi/random.h"
#include "support/bitmap_support.h"
#include "support/frame_recording_support.h"
#include "support/masked_runs_support.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

TEST(Waterfall, SettingsShapeFramesAndLines) {
  TWaterfallTransition E;
  EXPECT_EQ(E.Description(), "Waterfall");
  EXPECT_EQ(E.EditorClassName(), "TTransitionEffectEditor");
  EXPECT_EQ(E.Direction(), tedDown);
  E.SetDirection(tedIn);
  EXPECT_EQ(E.Direction(), tedDown);
  E.SetSmoothingLevel(3);  // never smoothed
  EXPECT_FALSE(E.SmoothingActive());
  test::TScreenDepth Depth(32);
  std::size_t Lines = 0;
  int Longest = 0;
  test::TRecordOptions Options;
  Options.Inspectors.push_back([&](const TOffscreenFrame& F, const TBitmap&) {
    if (F.Final) return;
    Lines = E.Progress().size();
    for (int P : E.Progress()) Longest = std::max(Longest, P);
  });
  test::RecordRun(E, test::NoiseBitmap(200, 100, 1), test::NoiseBitmap(200, 100, 2), Options);
  EXPECT_EQ(E.ShapeFrames(), 80);
  EXPECT_EQ(Lines, 200u);
  EXPECT_EQ(Longest, 100) << "lines stop at their end";
}

TEST(Waterfall, LinesRunFromTheirEdgeAndSeededRunsRepeat) {
  test::TScreenDepth Depth(32);
  constexpr int W = 23, H = 17;
  const TBitmap Old = test::NoiseBitmap(W, H, 3), New = test::NoiseBitmap(W, H, 4);
  for (TTEEffectDirection D : {tedRight, tedLeft, tedDown, tedUp})
    for (bool Reversed : {false, true}) {
      SCOPED_TRACE("direction " + std::to_string(D) + (Reversed ? " reversed" : ""));
      TWaterfallTransition E;
      E.SetDirection(D);
      E.SetReversed(Reversed);
      const TTEEffectDirection Runs = Reversed ? OppositeDirection(D) : D;
      RandSeed = 77;
      const test::TRun Run = test::PlainRun(E, Old, New);
      RandSeed = 77;
      EXPECT_EQ(test::PlainRun(E, Old, New).Frames, Run.Frames) << "the same seed, another front";
      test::TMaskOnly<TWaterfallTransition> ByMasks;
      ByMasks.SetDirection(D);
      ByMasks.SetReversed(Reversed);
      RandSeed = 77;
      EXPECT_EQ(test::PlainRun(ByMasks, Old, New).Frames, Run.Frames) << "the frames the masks give";
      ASSERT_GE(Run.Frames.size(), 2u);
      const bool ByColumns = Runs == tedDown || Runs == tedUp, Far = Runs == tedLeft || Runs == tedUp;
      const int Count = ByColumns ? W : H, Length = ByColumns ? H : W;
      std::vector<int> Before(Count, 0);
      for (std::size_t F = 0; F < Run.Frames.size(); ++F)
        for (int L = 0; L < Count; ++L) {
          // The new run of line L from its starting edge, then nothing new after it.
          int Reach = 0;
          const auto IsNew = [&](int A) {
            const int Along = Far ? Length - 1 - A : A;
            const int X = ByColumns ? L : Along, Y = ByColumns ? Along : L;
            return Run.Frames[F][static_cast<std::size_t>(Y * W + X)];
          };
          while (Reach < Length && IsNew(Reach)) ++Reach;
          for (int A = Reach; A < Length; ++A) ASSERT_FALSE(IsNew(A)) << "frame " << F + 1 << " line " << L;
          ASSERT_GE(Reach, Before[L]) << "frame " << F + 1 << " line " << L << " went back";
          Before[L] = Reach;
        }
    }
}

}  // namespace
}  // namespace vte
