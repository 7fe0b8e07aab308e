// The offscreen runner: an effect's passes on bitmaps, through the same frame loop and screen
// copies as a run on the screen.
#include <gtest/gtest.h>

#include <vector>

#include "engine/offscreen_runner.h"
#include "engine/timed_transition.h"
#include "support/bitmap_support.h"

namespace vte {
namespace {

constexpr int W = 40, H = 30;

TBitmap Plain(TColor Color) { return test::PlainBitmap(W, H, Color); }

// Reveals the new image one column per frame unit, from the left; with Reversed from the right.
class TColumnReveal : public TTimedTransitionEffect {
public:
  TColumnReveal() { SetAllowedDirections(DirectionSet(tedRight, tedLeft));
    InitDirection(tedRight);
  }
  void Initialize(TTETransitionData& Data, int& Frames) override {
    TTimedTransitionEffect::Initialize(Data, Frames);
    Frames = Data.Width;
    Passes.push_back({Data.SrcBmp ? Data.SrcBmp->PixelColor(0, 0) : -1, Data.DstBmp->PixelColor(0, 0),
                      DirectionToUse()});
  }
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override {
    TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
    const bool Left = DirectionToUse() == tedRight;
    const TRect R = Left ? Rect(LastExecutedFrame, 0, CurrentFrame, Data.Height)
                         : Rect(Data.Width - CurrentFrame, 0, Data.Width - LastExecutedFrame, Data.Height);
    Data.Canvas().BitBlt(R.Left, R.Top, R.Width(), R.Height(), Data.DstBmp->Canvas(), R.Left, R.Top, SRCCOPY);
    UpdateRect = R;
  }
  bool NeedWorkBitmap() const override { return UseWork; }

  struct TPass {
    TColor From, To;
    TTEEffectDirection Direction;
  };
  std::vector<TPass> Passes;
  bool UseWork = true;
};

TEST(OffscreenRunner, OnePassShowsEachFrameItsChangeAndEndsOnTheNewLook) {
  for (bool Work : {true, false}) {
    TColumnReveal E;
    E.UseWork = Work;
    TBitmap Old = Plain(clRed), New(W, H, pf32bit), Screen;
    test::FillNoise(New, 3);
    std::vector<int> Frames;
    bool OrderRight = true;
    RunOffscreen(E, Old, New, Screen, [&](const TOffscreenFrame& F) {
      Frames.push_back(F.Frame);
      EXPECT_EQ(F.Pass, 1);
      if (F.Final) return;
      // Frame f: columns 0..f-1 new, the rest still old; exactly the new column was copied.
      ASSERT_EQ(F.Changed.size(), 1u);
      EXPECT_EQ(F.Changed[0], Rect(F.Frame - 1, 0, F.Frame, H));
      for (int X = 0; X < W; ++X)
        if (F.Screen.PixelColor(X, 5) != (X < F.Frame ? New.PixelColor(X, 5) : clRed)) OrderRight = false;
    });
    EXPECT_TRUE(OrderRight) << "work bitmap " << Work;
    ASSERT_EQ(Frames.size(), static_cast<std::size_t>(W));  // 39 frames and the final image
    EXPECT_EQ(Frames.back(), W);
    EXPECT_EQ(test::DescribeDifference(Screen, New), "");
  }
}

TEST(OffscreenRunner, TwoPassesGoThroughTheIntermediateImage) {
  TColumnReveal E;
  E.SetPassSetting(teTwoPasses);
  E.Pass2Options()->SetReversed(true);
  TBitmap Old = Plain(clRed), New = Plain(clBlue), Screen;
  std::vector<int> FinalsPerPass(3, 0);
  RunOffscreen(E, Old, New, Screen, [&](const TOffscreenFrame& F) {
    if (F.Final) ++FinalsPerPass[F.Pass];
  });
  ASSERT_EQ(E.Passes.size(), 2u);
  // Without a picture the intermediate image is the button face colour; the first pass runs
  // reversed.
  EXPECT_EQ(E.Passes[0].From, clRed);
  EXPECT_EQ(E.Passes[0].To, ColorToRGB(clBtnFace));
  EXPECT_EQ(E.Passes[0].Direction, tedLeft);
  EXPECT_EQ(E.Passes[1].From, ColorToRGB(clBtnFace));
  EXPECT_EQ(E.Passes[1].To, clBlue);
  EXPECT_EQ(E.Passes[1].Direction, tedRight);
  EXPECT_EQ(FinalsPerPass[1], 1);
  EXPECT_EQ(FinalsPerPass[2], 1);
  EXPECT_EQ(test::DescribeDifference(Screen, New), "");

  // A given intermediate picture is used as it is.
  TColumnReveal G;
  G.SetPassSetting(teTwoPasses);
  TBitmap Mid = Plain(clLime);
  RunOffscreen(G, Old, New, Screen, {}, &Mid);
  ASSERT_EQ(G.Passes.size(), 2u);
  EXPECT_EQ(G.Passes[0].To, clLime);
}

TEST(OffscreenRunner, LeavesTheEffectReusableAfterAnException) {
  struct TFailing : TColumnReveal {
    void ExecuteFrame(TTETransitionData&, int CurrentFrame, int, int, int) override {
      if (CurrentFrame == 3) throw std::runtime_error("frame 3");
    }
  } E;
  TBitmap Old = Plain(clRed), New = Plain(clBlue), Screen;
  EXPECT_THROW(RunOffscreen(E, Old, New, Screen), std::runtime_error);
  EXPECT_EQ(E.FrameBitmap, nullptr);
  EXPECT_EQ(E.RenderTarget().Canvas, nullptr);
  TColumnReveal Again;
  RunOffscreen(Again, Old, New, Screen);
  EXPECT_EQ(test::DescribeDifference(Screen, New), "");
}

}  // namespace
}  // namespace vte
