// The frame loop, driven directly through DoExecute with a bitmap as the screen and a substituted
// clock: frame numbers, steps, waits, the final image, aborts and failures.
#include "engine/timed_transition.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

#include "engine/errors.h"
#include "gdi/canvas.h"
#include "support/fake_clock.h"

namespace vte {
namespace {

using test::TFakeClock;

constexpr TColor OldColor = 0x112233, NewColor = 0x4455AA, WorkColor = 0x00CC00;

struct TFrame {
  int Current, Step, Total, Last;
  double At;          // fake time when the frame was asked for
  bool FinalShown;    // the new image was already on the screen
  bool ShowsWork;     // FrameBitmap is the work bitmap
  bool HasDirtyRects;
};

// Records every call the loop makes; each frame costs FrameCost milliseconds of fake time.
class TRecordingEffect : public TTimedTransitionEffect {
public:
  using TTimedTransitionEffect::TTimedTransitionEffect;

  int Units = 10;
  int StepUnit = 1;
  double FrameCost = 0;
  int ThrowAt = -1;
  TFakeClock* Clock = nullptr;
  const TBitmap* Screen = nullptr;

  std::vector<TFrame> Frames;
  int Initialized = 0, Finalized = 0;
  double StartedAt = 0;
  TRect DirtyBounds{-1, -1, -1, -1};
  bool DirtyClip = true;

  void Initialize(TTETransitionData& Data, int& Count) override {
    TTimedTransitionEffect::Initialize(Data, Count);
    ++Initialized;
    if (DirtyRects) {
      DirtyBounds = DirtyRects->Bounds;
      DirtyClip = DirtyRects->ClipToBounds;
    }
    Count = Units;
    StartedAt = Clock ? Clock->Now() : 0;
  }
  void Finalize(TTETransitionData& Data) override {
    ++Finalized;
    TTimedTransitionEffect::Finalize(Data);
  }
  int GetStepUnit() const override { return StepUnit; }
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override {
    TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
    Frames.push_back({CurrentFrame, Step, TotalFrames, LastExecutedFrame, Clock ? Clock->Now() : 0,
                      Screen && Screen->PixelColor(0, 0) == NewColor,
                      FrameBitmap && FrameBitmap == Data.WorkBitmap, DirtyRects != nullptr});
    if (CurrentFrame == ThrowAt) throw std::runtime_error("frame failed");
    if (Clock) Clock->Advance(FrameCost);
  }
};

TBitmap Plain(TColor Color) {
  TBitmap B(8, 4, pf32bit);
  B.Canvas().Brush().Color = Color;
  B.Canvas().FillRect(Rect(0, 0, 8, 4));
  return B;
}

// Two looks, a work bitmap, and a screen that starts with the old look.
class TimedLoop : public ::testing::Test {
protected:
  TBitmap Src = Plain(OldColor), Dst = Plain(NewColor), Work = Plain(WorkColor), Screen = Plain(OldColor);
  TTETransitionData Data{8, 4, &Src, &Dst, &Work, &Screen.Canvas(), pf32bit, true};
  TRecordingEffect Effect;
  double CopyCost = 0;     // fake time a screen copy takes
  int FrameCopies = 0;     // screen copies before the new image arrived
  int FinalCopies = 0;     // copies of the new image
  double FinalAt = -1;
  std::unique_ptr<TFakeClock> Clock;

  void UseClock(double PerRead) {
    Clock = std::make_unique<TFakeClock>(PerRead);
    Effect.Clock = Clock.get();
  }

  void SetUp() override {
    Effect.Screen = &Screen;
    Effect.AttachRenderTarget(TTERenderTarget{&Screen.Canvas(), [this](const TRect&) {
      if (Screen.PixelColor(0, 0) == NewColor) {
        ++FinalCopies;
        if (Clock) FinalAt = Clock->Now();
      } else {
        ++FrameCopies;
        if (Clock) Clock->Advance(CopyCost);
      }
    }, {}});
  }

  std::vector<int> Numbers() const {
    std::vector<int> N;
    for (const TFrame& F : Effect.Frames) N.push_back(F.Current);
    return N;
  }

  void ExpectEndedOnTheNewImage() {
    EXPECT_EQ(Screen.PixelColor(0, 0), NewColor);
    EXPECT_EQ(Screen.PixelColor(7, 3), NewColor);
    EXPECT_EQ(FinalCopies, 1);
    for (const TFrame& F : Effect.Frames) EXPECT_FALSE(F.FinalShown) << "frame " << F.Current;
    EXPECT_EQ(Effect.FrameBitmap, nullptr);
    EXPECT_EQ(Effect.DirtyRects, nullptr);
    EXPECT_EQ(Effect.Finalized, Effect.Initialized);
  }
};

TEST_F(TimedLoop, UnpacedDrawsEveryStepBelowTheTotalThenTheNewImage) {
  Effect.Units = 10;
  Effect.DoExecute(Data);
  EXPECT_EQ(Numbers(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  for (const TFrame& F : Effect.Frames) {
    EXPECT_EQ(F.Step, 1);
    EXPECT_EQ(F.Last, F.Current - 1);
    EXPECT_EQ(F.Total, 10);
    EXPECT_TRUE(F.ShowsWork);
    EXPECT_TRUE(F.HasDirtyRects);
  }
  EXPECT_EQ(FrameCopies, 9);
  EXPECT_EQ(Effect.DirtyBounds, Rect(0, 0, 8, 4));
  EXPECT_FALSE(Effect.DirtyClip);
  ExpectEndedOnTheNewImage();

  // A larger step unit: its multiples below the total.
  TRecordingEffect Coarse;
  Coarse.Units = 10;
  Coarse.StepUnit = 3;
  Coarse.AttachRenderTarget(TTERenderTarget{&Screen.Canvas(), {}, {}});
  Coarse.DoExecute(Data);
  ASSERT_EQ(Coarse.Frames.size(), 3u);
  for (int I = 0; I < 3; ++I) {
    EXPECT_EQ(Coarse.Frames[I].Current, 3 * (I + 1));
    EXPECT_EQ(Coarse.Frames[I].Step, 3);
    EXPECT_EQ(Coarse.Frames[I].Last, 3 * I);
  }
}

TEST_F(TimedLoop, ASingleUnitShowsOnlyTheNewImage) {
  for (int Ms : {0, 500}) {
    SCOPED_TRACE(Ms);
    TRecordingEffect One;
    One.Units = 1;
    One.SetMilliseconds(Ms);
    One.AttachRenderTarget(Effect.RenderTarget());
    Screen = Plain(OldColor);
    FinalCopies = 0;
    One.DoExecute(Data);
    EXPECT_TRUE(One.Frames.empty());
    EXPECT_EQ(One.Initialized, 1);
    EXPECT_EQ(One.Finalized, 1);
    EXPECT_EQ(Screen.PixelColor(3, 2), NewColor);
    EXPECT_EQ(FinalCopies, 1);
  }
}

TEST_F(TimedLoop, FastFramesStepByOneAndWaitOutTheirBudget) {
  UseClock(0.0005);
  Effect.Units = 100;
  Effect.SetMilliseconds(1000);
  Effect.FrameCost = 1;
  Effect.DoExecute(Data);

  ASSERT_EQ(Effect.Frames.size(), 99u);
  for (std::size_t I = 0; I < Effect.Frames.size(); ++I) {
    EXPECT_EQ(Effect.Frames[I].Current, static_cast<int>(I) + 1);
    EXPECT_EQ(Effect.Frames[I].Step, 1);
  }
  // 1 ms of drawing and about 9 ms of waiting per frame.
  for (std::size_t I = 1; I < Effect.Frames.size(); ++I) {
    const double Interval = Effect.Frames[I].At - Effect.Frames[I - 1].At;
    EXPECT_NEAR(Interval, 10.0, 0.2) << "before frame " << Effect.Frames[I].Current;
  }
  EXPECT_NEAR(Effect.Frames.front().At - Effect.StartedAt, 0.0, 0.1);
  // The last frame (99) starts at about 980 ms and ends with its wait at about 990 ms.
  EXPECT_NEAR(FinalAt - Effect.StartedAt, 990.0, 3.0);
  EXPECT_EQ(FrameCopies, 99);
  ExpectEndedOnTheNewImage();
}

TEST_F(TimedLoop, SlowFramesTakeLargerStepsAndStillEndOnTime) {
  UseClock(0.0005);
  Effect.Units = 100;
  Effect.SetMilliseconds(1000);
  Effect.FrameCost = 50;
  Effect.DoExecute(Data);

  // About 1000 / 50 = 20 frames share the distance: steps of about 5.
  ASSERT_GE(Effect.Frames.size(), 18u);
  ASSERT_LE(Effect.Frames.size(), 21u);
  EXPECT_EQ(Effect.Frames.front().Current, 1);
  for (std::size_t I = 1; I < Effect.Frames.size(); ++I) {
    EXPECT_GE(Effect.Frames[I].Step, 4) << "frame " << Effect.Frames[I].Current;
    EXPECT_LE(Effect.Frames[I].Step, 6) << "frame " << Effect.Frames[I].Current;
    EXPECT_EQ(Effect.Frames[I].Last, Effect.Frames[I - 1].Current);
    EXPECT_EQ(Effect.Frames[I].Step, Effect.Frames[I].Current - Effect.Frames[I].Last);
  }
  EXPECT_NEAR(FinalAt - Effect.StartedAt, 1000.0, 50.0);
  ExpectEndedOnTheNewImage();
}

// The wait before a frame leaves room for the copy of the frame before it: with 1 ms frames,
// 2 ms copies and a 10 ms budget the first frame (nothing copied before) waits 7 ms, the second
// 10 - 2 - 3 = 5 ms.
TEST_F(TimedLoop, TheWaitLeavesRoomForTheScreenCopy) {
  UseClock(0.0001);
  Effect.Units = 100;
  Effect.SetMilliseconds(1000);
  Effect.FrameCost = 1;
  CopyCost = 2;
  Effect.DoExecute(Data);
  ASSERT_GE(Effect.Frames.size(), 3u);
  EXPECT_NEAR(Effect.Frames[1].At - Effect.Frames[0].At, 10.0, 0.01);
  EXPECT_NEAR(Effect.Frames[2].At - Effect.Frames[1].At, 8.0, 0.01);
  EXPECT_NEAR(FinalAt - Effect.StartedAt, 1000.0, 25.0);  // within a few frames
  ExpectEndedOnTheNewImage();
}

// With a clock that moves only while frames are drawn every time is exact, so the frame numbers
// are known: 15 units in 1000 ms at 200 ms a frame. After frame 1 (at 200 ms) the step is
// 14 / (800 / 200) = 3.5, and 1 + 3.5 rounds to the even 4; then 11 / 3 gives 8, 7 / 2 = 3.5 gives
// 11.5 -> 12, and 3 / 1 reaches 15, the end.
TEST_F(TimedLoop, StepsFollowTheMeasuredSpeedAndRoundHalvesToEven) {
  UseClock(0);
  Effect.Units = 15;
  Effect.SetMilliseconds(1000);
  Effect.FrameCost = 200;
  Effect.DoExecute(Data);
  EXPECT_EQ(Numbers(), (std::vector<int>{1, 4, 8, 12}));
  EXPECT_DOUBLE_EQ(FinalAt - Effect.StartedAt, 800.0);
  ExpectEndedOnTheNewImage();
}

TEST_F(TimedLoop, PacedStepsAreMultiplesOfTheStepUnit) {
  UseClock(0.0005);
  Effect.Units = 203;
  Effect.StepUnit = 4;
  Effect.SetMilliseconds(400);
  Effect.FrameCost = 9;
  Effect.DoExecute(Data);
  ASSERT_GE(Effect.Frames.size(), 10u);
  bool LargerThanUnit = false;
  for (const TFrame& F : Effect.Frames) {
    EXPECT_EQ(F.Current % 4, 0) << "frame " << F.Current;
    EXPECT_LT(F.Current, 203);
    LargerThanUnit = LargerThanUnit || F.Step > 4;
  }
  EXPECT_TRUE(LargerThanUnit) << "the frames are slow enough to need steps above the unit";
  ExpectEndedOnTheNewImage();
}

// An eased run keeps the pacing (time counted in frames, the final image when the time is up) and
// lets the curve pick the frame: ease-out is past half the frames before half the time, ease-in
// short of it; frame numbers only go up, on multiples of the step unit, and below the total even
// where a curve overshoots; a run without a duration shows every frame whatever the curve.
TEST_F(TimedLoop, EasingPicksTheFrameForTheTimeAndNeverGoesBack) {
  struct TCase {
    QEasingCurve::Type Type;
    int StepUnit;
  };
  for (const TCase C : {TCase{QEasingCurve::OutCubic, 1}, TCase{QEasingCurve::InCubic, 1},
                        TCase{QEasingCurve::OutBack, 1}, TCase{QEasingCurve::OutQuad, 4}}) {
    SCOPED_TRACE(testing::Message() << "curve " << C.Type << ", step unit " << C.StepUnit);
    Clock.reset();  // the clock a case leaves must go before the next one is installed
    UseClock(0.0005);
    TRecordingEffect Eased;
    Eased.Clock = Clock.get();
    Eased.AttachRenderTarget(Effect.RenderTarget());
    Eased.Units = 200;
    Eased.StepUnit = C.StepUnit;
    Eased.FrameCost = 1;
    Eased.SetMilliseconds(1000);
    Eased.SetEasing(C.Type);
    Screen = Plain(OldColor);
    FinalCopies = 0;
    FrameCopies = 0;
    Eased.DoExecute(Data);
    ASSERT_GE(Eased.Frames.size(), 20u);
    int AtHalfTime = 0;
    for (std::size_t I = 0; I < Eased.Frames.size(); ++I) {
      const TFrame& F = Eased.Frames[I];
      EXPECT_EQ(F.Current % C.StepUnit, 0) << "frame " << F.Current;
      EXPECT_LT(F.Current, 200);
      EXPECT_EQ(F.Step, F.Current - F.Last);
      if (I > 0) {
        EXPECT_EQ(F.Last, Eased.Frames[I - 1].Current) << "frame " << F.Current;
      }
      EXPECT_GT(F.Current, F.Last) << "frame numbers never go back nor repeat";
      if (F.At - Eased.StartedAt <= 500) AtHalfTime = F.Current;
    }
    EXPECT_EQ(FrameCopies, static_cast<int>(Eased.Frames.size())) << "one copy for each frame drawn";
    if (C.Type == QEasingCurve::InCubic)
      EXPECT_LT(AtHalfTime, 50);
    else
      EXPECT_GT(AtHalfTime, 120);  // OutCubic 0.875, OutQuad 0.75, OutBack beyond the end at half time
    // The duration is kept: the new image comes when the time is up (within a step of 5 ms a unit),
    // not when the curve arrives.
    EXPECT_NEAR(FinalAt - Eased.StartedAt, 1000.0, 5.0 * C.StepUnit + 2);
    EXPECT_EQ(Screen.PixelColor(0, 0), NewColor);
    EXPECT_EQ(FinalCopies, 1);
  }
  Clock.reset();
  TRecordingEffect Unpaced;
  Unpaced.AttachRenderTarget(Effect.RenderTarget());
  Unpaced.SetEasing(QEasingCurve::OutCubic);
  Unpaced.DoExecute(Data);
  ASSERT_EQ(Unpaced.Frames.size(), 9u);
  for (int I = 0; I < 9; ++I) EXPECT_EQ(Unpaced.Frames[I].Current, I + 1);
}

TEST_F(TimedLoop, WhenTheTimeIsUpTheNextFrameIsTheLast) {
  UseClock(0);
  Effect.Units = 50;
  Effect.SetMilliseconds(100);
  Effect.FrameCost = 150;  // the first frame alone overruns the whole duration
  Effect.DoExecute(Data);
  EXPECT_EQ(Numbers(), (std::vector<int>{1}));
  EXPECT_EQ(FrameCopies, 1);
  ExpectEndedOnTheNewImage();
}

TEST_F(TimedLoop, AnAbortBeforeTheFirstFrameShowsTheNewImageAtOnce) {
  for (int Ms : {0, 1000}) {
    SCOPED_TRACE(Ms);
    TRecordingEffect Aborting;
    Aborting.Units = 100;
    Aborting.SetMilliseconds(Ms);
    Aborting.AttachRenderTarget(Effect.RenderTarget());
    int Queries = 0;
    Aborting.OnAbortQuery = [&](QObject* Sender, TTransitionEffect* Transition, bool& Abort) {
      EXPECT_EQ(Sender, &Aborting);
      EXPECT_EQ(Transition, &Aborting);
      ++Queries;
      Abort = true;
    };
    Screen = Plain(OldColor);
    FinalCopies = 0;
    Aborting.DoExecute(Data);
    EXPECT_EQ(Queries, 1);
    EXPECT_TRUE(Aborting.Aborted());
    EXPECT_EQ(Aborting.Initialized, 0);
    EXPECT_TRUE(Aborting.Frames.empty());
    EXPECT_EQ(Screen.PixelColor(0, 0), NewColor);
    EXPECT_EQ(FinalCopies, 1);
  }
}

TEST_F(TimedLoop, AnAbortDuringTheRunSkipsTheScreenCopyAndEndsOnTheNewImage) {
  for (int Ms : {0, 1000}) {
    SCOPED_TRACE(Ms);
    TFakeClock Fake(0.001);
    TRecordingEffect Aborting;
    Aborting.Clock = &Fake;
    Aborting.FrameCost = 1;
    Aborting.Screen = &Screen;
    Aborting.Units = 100;
    Aborting.SetMilliseconds(Ms);
    Aborting.AbortCheckInterval = -1;  // poll on every frame
    Aborting.AttachRenderTarget(Effect.RenderTarget());
    Aborting.OnAbortQuery = [&](QObject*, TTransitionEffect*, bool& Abort) {
      Abort = Aborting.Frames.size() == 3;  // asked as the fourth frame starts
    };
    Screen = Plain(OldColor);
    FrameCopies = FinalCopies = 0;
    Aborting.DoExecute(Data);
    ASSERT_EQ(Aborting.Frames.size(), 4u);
    EXPECT_EQ(Aborting.Frames.back().Current, 4);
    EXPECT_EQ(FrameCopies, 3);
    EXPECT_EQ(FinalCopies, 1);
    EXPECT_EQ(Screen.PixelColor(0, 0), NewColor);
    EXPECT_EQ(Aborting.Finalized, 1);
  }
}

TEST_F(TimedLoop, NoFramesRaisesTheSilentAbortAfterInitializeAndStillFinalizes) {
  for (int Ms : {0, 1000}) {
    SCOPED_TRACE(Ms);
    TRecordingEffect Empty;
    Empty.Units = 0;
    Empty.SetMilliseconds(Ms);
    Empty.AttachRenderTarget(Effect.RenderTarget());
    Screen = Plain(OldColor);
    EXPECT_THROW(Empty.DoExecute(Data), EAbort);
    EXPECT_EQ(Empty.Initialized, 1);
    EXPECT_EQ(Empty.Finalized, 1);
    EXPECT_TRUE(Empty.Frames.empty());
    EXPECT_EQ(Empty.FrameBitmap, nullptr);
    EXPECT_EQ(Empty.DirtyRects, nullptr);
    EXPECT_EQ(Screen.PixelColor(0, 0), OldColor) << "nothing is drawn";
    EXPECT_EQ(FinalCopies, 0);
  }
  TRecordingEffect Negative;
  Negative.Units = -3;
  Negative.AttachRenderTarget(Effect.RenderTarget());
  EXPECT_THROW(Negative.DoExecute(Data), EAbort);
  EXPECT_EQ(Negative.Finalized, 1);
}

TEST_F(TimedLoop, AFailingFrameFinalizesClearsTheFrameBitmapAndPropagates) {
  for (int Ms : {0, 1000}) {
    SCOPED_TRACE(Ms);
    TFakeClock Fake(0.001);
    TRecordingEffect Failing;
    Failing.Clock = &Fake;
    Failing.FrameCost = 1;
    Failing.Units = 100;
    Failing.ThrowAt = 3;
    Failing.SetMilliseconds(Ms);
    Failing.AttachRenderTarget(Effect.RenderTarget());
    Screen = Plain(OldColor);
    FinalCopies = 0;
    EXPECT_THROW(Failing.DoExecute(Data), std::runtime_error);
    EXPECT_EQ(Failing.Frames.size(), 3u);
    EXPECT_TRUE(Failing.Frames.back().ShowsWork);
    EXPECT_EQ(Failing.Initialized, 1);
    EXPECT_EQ(Failing.Finalized, 1);
    EXPECT_EQ(Failing.FrameBitmap, nullptr);
    EXPECT_EQ(Failing.DirtyRects, nullptr);
    EXPECT_EQ(FinalCopies, 0);
  }
}

}  // namespace
}  // namespace vte
