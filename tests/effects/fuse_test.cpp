// The fuse transition: the pattern steps of every style (they fill the tile, pairs are each
// other backwards, the shapes the styles name), every frame through the offscreen runner against
// the tiled pattern, steps skipped by pacing, the random style, the refused style.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "effects/fuse.h"
#include "support/bitmap_support.h"
#include "support/fake_clock.h"
#include "support/frame_recording_support.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

using TCells = std::set<int>;  // pattern cells y * 8 + x

TBitmap FreshPattern() {
  TBitmap P(8, 8, pf1bit);
  P.SetMonochrome(true);
  return P;
}

TCells BlackCells(const TBitmap& P) {
  TCells C;
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X)
      if (!((P.ScanLine(Y)[0] >> (7 - X)) & 1)) C.insert(Y * 8 + X);
  return C;
}

// The cells each step of a style adds, step by step.
std::vector<TCells> StepsOf(int Style) {
  TBitmap P = FreshPattern();
  std::vector<TCells> Steps;
  TCells Before;
  for (int K = 1; K <= TFuseTransition::StyleFrames(Style); ++K) {
    TFuseTransition::ApplyPatternStep(P, Style, K);
    TCells Now = BlackCells(P), Added;
    for (int C : Now)
      if (!Before.count(C)) Added.insert(C);
    Steps.push_back(Added);
    Before = Now;
  }
  return Steps;
}

TEST(Fuse, EveryStyleFillsTheTileAndEachPairPlaysTheSameStepsBackwards) {
  for (int Style = 1; Style <= TFuseTransition::StyleCount; ++Style) {
    SCOPED_TRACE("style " + std::to_string(Style));
    const std::vector<TCells> Steps = StepsOf(Style);
    EXPECT_EQ(static_cast<int>(Steps.size()), Style == 1 || Style == 8 || Style == 9 ? 64 : 8);
    std::size_t Total = 0;
    for (const TCells& S : Steps) {
      EXPECT_FALSE(S.empty()) << "a step that adds nothing";
      Total += S.size();
    }
    EXPECT_EQ(Total, 64u);
    if (Style % 2 == 0) {
      std::vector<TCells> Partner = StepsOf(Style + 1);
      std::reverse(Partner.begin(), Partner.end());
      EXPECT_EQ(Steps, Partner);
    }
  }
  // What the styles draw: rows from the top, columns from the left, a square from the corner, the
  // spiral from the centre, one pixel a row for each diagonal step.
  const auto Row = [](int Y) { TCells C; for (int X = 0; X < 8; ++X) C.insert(Y * 8 + X); return C; };
  const auto Column = [](int X) { TCells C; for (int Y = 0; Y < 8; ++Y) C.insert(Y * 8 + X); return C; };
  for (int K = 1; K <= 8; ++K) {
    EXPECT_EQ(StepsOf(2)[K - 1], Row(K - 1));
    EXPECT_EQ(StepsOf(4)[K - 1], Column(K - 1));
    EXPECT_EQ(StepsOf(6)[K - 1].size(), static_cast<std::size_t>(2 * K - 1));
    EXPECT_TRUE(StepsOf(6)[K - 1].count((K - 1) * 9)) << "the square's new corner";
    for (int Style : {10, 12}) {
      std::array<int, 8> PerRow{};
      for (int C : StepsOf(Style)[K - 1]) ++PerRow[C / 8];
      EXPECT_EQ(PerRow, (std::array<int, 8>{1, 1, 1, 1, 1, 1, 1, 1})) << "style " << Style << " step " << K;
    }
  }
  EXPECT_EQ(StepsOf(8)[0], TCells{3 * 8 + 4});
  EXPECT_EQ(StepsOf(8)[63], TCells{0});
}

constexpr int W = 21, H = 19;

// A frame shows the new image where the tiled pattern, after Steps steps of Style, is black.
void ExpectShowsPattern(const test::TRecordedFrame& F, int Style, int Steps, const TBitmap& Old, const TBitmap& New) {
  TBitmap P = FreshPattern();
  for (int K = 1; K <= Steps; ++K) TFuseTransition::ApplyPatternStep(P, Style, K);
  const TCells Black = BlackCells(P);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      ASSERT_EQ(test::Raw(F.Screen, X, Y), test::Raw(Black.count(Y % 8 * 8 + X % 8) ? New : Old, X, Y))
          << "call " << F.Frame << ", " << Steps << " steps, pixel " << X << "," << Y;
}

TEST(Fuse, EveryFrameLetsTheNewImageThroughTheTiledPattern) {
  const TBitmap OldLook = test::NoiseBitmap(W, H, 1), NewLook = test::NoiseBitmap(W, H, 2);
  for (int Bits : {8, 16, 24, 32}) {
    test::TScreenDepth Depth(Bits);
    const TBitmap Old = test::OnDevice(OldLook), New = test::OnDevice(NewLook);
    for (int Style = 1; Style <= TFuseTransition::StyleCount; ++Style)
      for (bool Reversed : {false, true}) {
        SCOPED_TRACE("style " + std::to_string(Style) + (Reversed ? " reversed, " : ", ") + std::to_string(Bits) +
                     "-bit");
        TFuseTransition Effect;
        Effect.SetStyle(Style);
        Effect.SetReversed(Reversed);
        const int Plays = Style == 1 || !Reversed ? Style : Style % 2 ? Style - 1 : Style + 1;
        EXPECT_EQ(Effect.StyleToUse(), Plays);
        test::TRecordOptions Options;
        Options.KeepScreens = true;
        const test::TFrameRecording Run = test::RecordRun(Effect, OldLook, NewLook, Options);
        ASSERT_EQ(Run.ShownCount(), TFuseTransition::StyleFrames(Plays) - 1);
        ASSERT_TRUE(Run.EndsOn(New));
        for (const test::TRecordedFrame* F : Run.Shown()) ExpectShowsPattern(*F, Plays, F->Frame, Old, New);
      }
  }
}

// The screen is told of the rows a frame changed and of no others: the row styles change one row
// of eight a frame, the dither and the spiral one cell, the square an edge of it.
TEST(Fuse, FramesReportExactlyTheRowsTheyChange) {
  const TBitmap OldLook = test::NoiseBitmap(W, H, 5), NewLook = test::NoiseBitmap(W, H, 6);
  test::TScreenDepth Depth(32);
  const TBitmap Old = test::OnDevice(OldLook);
  for (int Style = 1; Style <= TFuseTransition::StyleCount; ++Style) {
    SCOPED_TRACE("style " + std::to_string(Style));
    TFuseTransition Effect;
    Effect.SetStyle(Style);
    test::TRecordOptions Options;
    Options.KeepScreens = true;
    const test::TFrameRecording Run = test::RecordRun(Effect, OldLook, NewLook, Options);
    const TBitmap* Before = &Old;
    for (const test::TRecordedFrame* F : Run.Shown()) {
      for (int Y = 0; Y < H; ++Y) {
        bool Changed = false, Reported = false;
        for (int X = 0; X < W; ++X) Changed |= test::Raw(F->Screen, X, Y) != test::Raw(*Before, X, Y);
        for (const TRect& R : F->Changed) Reported |= R.Top <= Y && Y < R.Bottom && R.Left <= 0 && R.Right >= W;
        ASSERT_EQ(Reported, Changed) << "frame " << F->Frame << ", row " << Y;
      }
      Before = &F->Screen;
    }
  }
}

TEST(Fuse, PacedFramesApplyEveryStepTheyPassOver) {
  test::TFakeClock Clock(3);  // every reading of the clock 3 ms later: frames skip steps
  const TBitmap OldLook = test::NoiseBitmap(W, H, 3), NewLook = test::NoiseBitmap(W, H, 4);
  const TBitmap Old = test::OnDevice(OldLook), New = test::OnDevice(NewLook);
  TFuseTransition Effect;
  Effect.SetStyle(9);
  Effect.SetMilliseconds(200);
  test::TRecordOptions Options;
  Options.KeepScreens = true;
  const test::TFrameRecording Run = test::RecordRun(Effect, OldLook, NewLook, Options);
  ASSERT_LT(Run.ShownCount(), 63) << "the clock should have made the loop skip steps";
  ASSERT_GT(Run.ShownCount(), 2);
  // The recording numbers frames by call, not by frame number: style 9 adds one pixel a step, so
  // the new pixels of the first tile say how many steps a frame has applied; the whole screen must
  // then be exactly the pattern of that many steps (a skipped step leaves a hole in it).
  int Before = 0;
  for (const test::TRecordedFrame* F : Run.Shown()) {
    int Steps = 0;
    for (int Y = 0; Y < 8; ++Y)
      for (int X = 0; X < 8; ++X) Steps += test::Raw(F->Screen, X, Y) == test::Raw(New, X, Y);
    EXPECT_GT(Steps, Before);
    Before = Steps;
    ExpectShowsPattern(*F, 9, Steps, Old, New);
  }
}

TEST(Fuse, StyleZeroDrawsOneStyleForBothPassesAndStyle14IsRefused) {
  TFuseTransition Effect;
  Effect.SetStyle(14);
  EXPECT_EQ(Effect.Style(), 1);
  Effect.SetStyle(0);
  EXPECT_EQ(Effect.Style(), 0);
  Effect.SetPassSetting(teTwoPasses);
  const TBitmap Old = test::NoiseBitmap(W, H, 5), New = test::NoiseBitmap(W, H, 6);
  test::TRecordOptions Options;
  Options.KeepScreens = true;
  // The pixels the first frame of a pass changed: the cells of the style's first step.
  const auto FirstStep = [](const test::TFrameRecording& R, int Pass, const TBitmap& From) {
    TCells C;
    for (const test::TRecordedFrame& F : R.Frames)
      if (F.Pass == Pass && F.Frame == 1)
        for (int Y = 0; Y < 8; ++Y)
          for (int X = 0; X < 8; ++X)
            if (test::Raw(F.Screen, X, Y) != test::Raw(From, X, Y)) C.insert(Y * 8 + X);
    return C;
  };
  for (int Run = 0; Run < 4; ++Run) {
    const test::TFrameRecording R = test::RecordRun(Effect, Old, New, Options);
    const int First = R.ShownCount(1), Second = R.ShownCount(2);
    EXPECT_TRUE(First == 7 || First == 63) << First;
    EXPECT_EQ(First, Second) << "both passes play one style";
    const TBitmap* Middle = nullptr;
    for (const test::TRecordedFrame& F : R.Frames)
      if (F.Pass == 1 && F.Final) Middle = &F.Screen;
    ASSERT_NE(Middle, nullptr);
    EXPECT_EQ(FirstStep(R, 1, test::OnDevice(Old)), FirstStep(R, 2, *Middle));
  }
}

}  // namespace
}  // namespace vte
