// The drip transition through the offscreen runner: every frame of each direction against the
// uncovered strip and the smeared line, Reversed, the refused directions, and where it draws.
#include <gtest/gtest.h>

#include <string>

#include "effects/drip.h"
#include "support/bitmap_support.h"
#include "support/frame_recording_support.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

constexpr int W = 19, H = 13;

// Where frame F (one step a frame) takes pixel (X, Y) of the new image from: itself where the
// image has been uncovered, else the line at the strip's left column or top row.
TPoint SourceOf(TTEEffectDirection D, int F, int X, int Y) {
  switch (D) {
    case tedLeft: return X < F ? TPoint{X, Y} : TPoint{F - 1, Y};
    case tedRight: return X >= W - F ? TPoint{X, Y} : TPoint{W - F, Y};
    case tedUp: return Y < F ? TPoint{X, Y} : TPoint{X, F - 1};
    default: return Y >= H - F ? TPoint{X, Y} : TPoint{X, H - F};  // tedDown
  }
}

TEST(Drip, EveryFrameShowsTheUncoveredStripAndTheEdgeLineSmearedOverTheRest) {
  const TBitmap OldLook = test::NoiseBitmap(W, H, 1), NewLook = test::NoiseBitmap(W, H, 2);
  for (int Bits : {8, 16, 32}) {
    test::TScreenDepth Depth(Bits);
    const TBitmap New = test::OnDevice(NewLook);
    struct TCase {
      TTEEffectDirection Set;
      bool Reversed;
      TTEEffectDirection Runs;
    };
    for (const TCase& C : {TCase{tedLeft, false, tedLeft}, TCase{tedRight, false, tedRight},
                           TCase{tedUp, false, tedUp}, TCase{tedDown, false, tedDown},
                           TCase{tedLeft, true, tedRight}, TCase{tedDown, true, tedUp}}) {
      SCOPED_TRACE(std::to_string(C.Set) + (C.Reversed ? " reversed, " : ", ") + std::to_string(Bits) + "-bit");
      TDripTransition Effect;
      Effect.SetDirection(C.Set);
      Effect.SetReversed(C.Reversed);
      const bool Vertical = C.Runs == tedUp || C.Runs == tedDown;
      EXPECT_EQ(Effect.NeedWorkBitmap(), Vertical);
      EXPECT_FALSE(Effect.NeedSrcImage());
      test::TRecordOptions Options;
      Options.KeepScreens = true;
      const test::TFrameRecording Run = test::RecordRun(Effect, OldLook, NewLook, Options);
      ASSERT_EQ(Run.ShownCount(), (Vertical ? H : W) - 1);
      ASSERT_TRUE(Run.EndsOn(New));
      for (const test::TRecordedFrame* F : Run.Shown())
        for (int Y = 0; Y < H; ++Y)
          for (int X = 0; X < W; ++X) {
            const TPoint S = SourceOf(C.Runs, F->Frame, X, Y);
            ASSERT_EQ(test::Raw(F->Screen, X, Y), test::Raw(New, S.X, S.Y))
                << "frame " << F->Frame << " pixel " << X << "," << Y;
          }
    }
  }
}

TEST(Drip, TakesOnlyTheFourStraightDirections) {
  TDripTransition Effect;
  EXPECT_EQ(Effect.Direction(), tedLeft);
  for (TTEEffectDirection D : {tedDownRight, tedUpLeft, tedIn, tedOut, tedNone}) {
    Effect.SetDirection(D);
    EXPECT_EQ(Effect.Direction(), tedLeft) << D;
  }
  Effect.SetDirection(tedUp);
  EXPECT_EQ(Effect.Direction(), tedUp);
}

}  // namespace
}  // namespace vte
