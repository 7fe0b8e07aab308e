// The masked transition base with a shape of its own (a bar that grows by one column a frame):
// the setters' rules, the random style and substyle of a run (the same in both passes, drawn anew
// for the next run), the level table, every frame of the plain and the smoothed path, paced or not,
// the palette screen without smoothing, and Assign between classes.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "effects/masked_transition.h"
#include "engine/blend_transition.h"
#include "gdi/canvas.h"
#include "gdi/random.h"
#include "support/bitmap_support.h"
#include "support/fake_clock.h"
#include "support/frame_recording_support.h"
#include "support/frame_unit_log.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

// Shape frame k reaches column k - 1. Styles 1..3, style s with s substyles; Reversed turns a
// substyle s into Count + 1 - s. Cumulative: every frame paints the whole bar so far.
class TBarTransition : public TMaskedTransition {
public:
  explicit TBarTransition(int Styles = 3, bool Cumulative = false, bool BySpans = false)
      : FCumulative(Cumulative), FBySpans(BySpans) {
    SetStyleCount(Styles);
  }
  int GetSubStyleCount(int Style) const override { return Style; }
  int GetReversedSubStyle(int Style, int S) const override { return Style + 1 - S; }
  void DoExecute(TTETransitionData& Data) override {
    Played.push_back({StyleToUse(), SubStyleToUse()});
    TMaskedTransition::DoExecute(Data);
  }
  std::vector<std::pair<int, int>> Played;  // style and substyle of each pass

protected:
  int CalcShapeFrames(const TTETransitionData& Data) override { return Data.Width; }
  void PaintMask(TBitmap& Mask, int Cur, int Step, int, int Prev, const TTETransitionData& Data, bool Draw,
                 bool) override {
    EXPECT_EQ(Cur - Step, Prev);
    UpdateRect = Rect(FCumulative ? 0 : Prev, 0, Cur, Data.Height);
    if (Draw) Mask.Canvas().FillRect(UpdateRect);
  }
  bool MaskIsCumulative() const override { return FCumulative; }
  bool ClearMaskAfterFrame() const override { return !FCumulative; }
  // Shapes painted whole are repainted level by level on a mask of their own.
  bool SmoothWithTwoMasks() const override { return FCumulative; }
  bool RevealsBySpans() const override { return FBySpans; }
  void RevealSpans(const TNewSpans& Spans, int Cur, int, int Prev, const TTETransitionData& Data) override {
    for (int Y = 0; Y < Data.Height; ++Y) Spans.Row(Y, Prev, Cur);
  }

private:
  bool FCumulative, FBySpans;
};

TEST(MaskedTransition, SettersKeepStyleAndSubStyleInRange) {
  TBarTransition E;
  EXPECT_EQ(E.EditorClassName(), "TMaskedTransitionEditor");
  EXPECT_EQ(std::make_pair(E.Style(), E.SubStyle()), std::make_pair(1, 1));
  E.SetSubStyle(2);  // style 1 has one substyle
  EXPECT_EQ(E.SubStyle(), 1);
  E.SetStyle(3);
  E.SetSubStyle(3);
  EXPECT_EQ(E.SubStyle(), 3);
  E.SetStyle(4);  // above StyleCount: nothing changes
  EXPECT_EQ(std::make_pair(E.Style(), E.SubStyle()), std::make_pair(3, 3));
  E.SetStyle(2);  // a new style starts at substyle 1
  EXPECT_EQ(E.SubStyle(), 1);
  E.SetStyle(0);
  EXPECT_EQ(E.SubStyle(), 0);
  E.SetSubStyle(1);  // with a random style only a random substyle
  EXPECT_EQ(E.SubStyle(), 0);
  E.SetSmoothingLevel(6);
  E.SetSmoothingLevel(7);
  EXPECT_EQ(E.SmoothingLevel(), 6);
}

TEST(MaskedTransition, LevelTable) {
  struct TRow {
    int Step, Count, Top, Bottom;
  };
  const TRow Rows[] = {{0, 0, 0, 0},     {31, 8, 236, 19}, {16, 15, 239, 15}, {8, 31, 247, 7},
                       {4, 63, 251, 3}, {3, 85, 253, 1},  {2, 127, 253, 1}};
  for (int L = 0; L <= 6; ++L) {
    const TMaskedTransition::TLevels V = TMaskedTransition::Levels(L);
    EXPECT_EQ(V.LevelStep, Rows[L].Step) << L;
    EXPECT_EQ(V.LevelCount, Rows[L].Count) << L;
    EXPECT_EQ(V.TopLevel, Rows[L].Top) << L;
    EXPECT_EQ(V.BottomLevel, Rows[L].Bottom) << L;
  }
}

constexpr int W = 37, H = 5;

TEST(MaskedTransition, RandomStyleIsDrawnOncePerRunAndKeptAcrossTwoPasses) {
  const TBitmap Old = test::NoiseBitmap(W, H, 1), New = test::NoiseBitmap(W, H, 2);
  TBarTransition E;
  E.SetStyle(0);
  E.SetReversed(true);
  RandSeed = 12345;
  const int Style = Random(3) + 1, Sub = Random(Style) + 1;
  RandSeed = 12345;
  test::RecordRun(E, Old, New);
  // The substyle is drawn first, then mapped.
  EXPECT_EQ(E.Played, (std::vector<std::pair<int, int>>{{Style, Style + 1 - Sub}}));

  E.Played.clear();
  E.SetPassSetting(teTwoPasses);
  for (int Run = 0; Run < 4; ++Run) test::RecordRun(E, Old, New);
  ASSERT_EQ(E.Played.size(), 8u);
  std::vector<std::pair<int, int>> Runs;
  for (std::size_t I = 0; I < 8; I += 2) {
    EXPECT_EQ(E.Played[I], E.Played[I + 1]) << "the passes of run " << I / 2;
    Runs.push_back(E.Played[I]);
  }
  const std::set<std::pair<int, int>> Distinct(Runs.begin(), Runs.end());
  EXPECT_GT(Distinct.size(), 1u) << "every run the same draw";
}

// The level of a pixel of column X in frame F: 255 before the bar reaches it (shape frame X + 1),
// then TopLevel, a LevelStep less each frame, 0 below BottomLevel. Without levels: 255 or 0.
int LevelAt(int X, int F, const TMaskedTransition::TLevels& L) {
  const int Reached = X + 1;
  if (F < Reached) return 255;
  const int Level = L.TopLevel - (F - Reached) * L.LevelStep;
  return Level < L.BottomLevel ? 0 : Level;
}

TEST(MaskedTransition, EveryFrameOfBothPathsPacedOrNot) {
  const TBitmap OldLook = test::NoiseBitmap(W, H, 3), NewLook = test::NoiseBitmap(W, H, 4);
  for (int Bits : {8, 32})
    for (int Level : {0, 1, 4})
      for (bool Cumulative : {false, true})
        for (bool Paced : {false, true})
          for (bool BySpans : {false, true}) {
            if (BySpans && Level > 0) continue;  // the plain path's shortcut
            test::TScreenDepth Depth(Bits);
            SCOPED_TRACE(std::to_string(Bits) + "-bit, level " + std::to_string(Level) +
                         (Cumulative ? ", cumulative" : "") + (Paced ? ", paced" : "") + (BySpans ? ", by spans" : ""));
            test::TFakeClock Clock(Paced ? 2 : 0);
            test::TFrameUnitLog<TBarTransition> E(3, Cumulative, BySpans);
            E.SetSmoothingLevel(Level);
            E.SetMilliseconds(Paced ? 100 : 0);
            const bool Smooth = Level > 0 && Bits > 8;
            EXPECT_EQ(E.SmoothingActive(), Smooth);
            EXPECT_EQ(E.WorkOnOldImage(), !Smooth);
            EXPECT_EQ(E.GetBitmapsWidth(W), Smooth ? 40 : 64);
            const TMaskedTransition::TLevels L = TMaskedTransition::Levels(Smooth ? Level : 0);
            test::TRecordOptions Options;
            Options.KeepScreens = true;
            const test::TFrameRecording Run = test::RecordRun(E, OldLook, NewLook, Options);
            const TBitmap Old = test::OnDevice(OldLook), New = test::OnDevice(NewLook);
            EXPECT_EQ(E.Total, W + (Smooth ? L.LevelCount - 1 : 0));
            if (!Paced) {
              EXPECT_EQ(Run.ShownCount(), E.Total - 1);
            } else {
              // At level 1 steps pass over whole fades (new shape frames already past BottomLevel).
              EXPECT_GT(E.LargestStep(), Smooth && Level == 1 ? L.LevelCount : 1) << "the clock should make steps";
            }
            ASSERT_TRUE(Run.EndsOn(New));
            for (const test::TRecordedFrame* F : Run.Shown())
              for (int Y = 0; Y < H; ++Y)
                for (int X = 0; X < W; ++X) {
                  const int V = LevelAt(X, F->Unit, L);
                  if (!Smooth) {
                    ASSERT_EQ(test::Raw(F->Screen, X, Y), test::Raw(V == 255 ? Old : New, X, Y))
                        << "frame " << F->Unit << " pixel " << X << "," << Y;
                    continue;
                  }
                  for (int B = 0; B < 3; ++B) {
                    const int O = Old.ScanLine(Y)[4 * X + B], N = New.ScanLine(Y)[4 * X + B];
                    ASSERT_EQ(F->Screen.ScanLine(Y)[4 * X + B], (2 * (O * V + N * (255 - V)) + 255) / 510)
                        << "frame " << F->Unit << " pixel " << X << "," << Y;
                  }
                }
          }
}

// Every other frame's shape lies wholly outside the picture, as a clock hand along its edge does.
class TOutsideBar : public TBarTransition {
public:
  using TBarTransition::TBarTransition;

protected:
  void PaintMask(TBitmap& Mask, int Cur, int Step, int Total, int Prev, const TTETransitionData& Data, bool Draw,
                 bool Final) override {
    if (Cur % 2 == 0) UpdateRect = Rect(Data.Width + 1, 0, Data.Width + 2, Data.Height);
    else TBarTransition::PaintMask(Mask, Cur, Step, Total, Prev, Data, Draw, Final);
  }
};

TEST(MaskedTransition, AShapeOutsideThePictureReportsNothingChanged) {
  // Its clipped rectangle is empty: not the all-zero one, which stands for the whole picture.
  test::TScreenDepth Depth(32);
  for (bool BySpans : {false, true}) {
    TOutsideBar E(1, false, BySpans);
    const test::TFrameRecording Run =
        test::RecordRun(E, test::NoiseBitmap(W, H, 1), test::NoiseBitmap(W, H, 2), test::TRecordOptions{});
    ASSERT_EQ(Run.ShownCount(), W - 1);
    for (const test::TRecordedFrame* F : Run.Shown()) {
      int Area = 0;
      for (const TRect& R : F->Changed)
        if (TRect In; IntersectRect(In, R, Rect(0, 0, W, H))) Area += In.Width() * In.Height();
      EXPECT_EQ(Area == 0, F->Frame % 2 == 0) << "frame " << F->Frame << (BySpans ? " by spans" : "");
    }
  }
}

TEST(MaskedTransition, AssignDropsWhatTheDestinationDoesNotOffer) {
  TBarTransition From(3), To(2);
  From.SetStyle(3);
  From.SetSubStyle(3);
  From.SetSmoothingLevel(5);
  From.SetMilliseconds(77);
  To.Assign(From);
  EXPECT_EQ(To.Style(), 1);  // style 3 is not offered: the setter ignores it
  EXPECT_EQ(To.SubStyle(), 1);
  EXPECT_EQ(To.SmoothingLevel(), 5);
  EXPECT_EQ(To.Milliseconds(), 77);
  From.SetStyle(2);
  From.SetSubStyle(2);
  To.Assign(From);
  EXPECT_EQ(std::make_pair(To.Style(), To.SubStyle()), std::make_pair(2, 2));
  TBlendTransition Other;
  Other.SetMilliseconds(5);
  To.Assign(Other);
  EXPECT_EQ(To.Milliseconds(), 5);
  EXPECT_EQ(std::make_pair(To.Style(), To.SubStyle()), std::make_pair(2, 2));
}

}  // namespace
}  // namespace vte
