// The push transition: both images move together; with the old look on the screen the old image is
// never captured and the screen's own pixels are scrolled. Offscreen runs check every frame of
// every direction on both ways; one run goes over real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "effects/push.h"
#include "engine/offscreen_runner.h"
#include "engine/transition_registry.h"
#include "gdi/canvas.h"
#include "support/bitmap_support.h"
#include "support/fake_clock.h"
#include "support/frame_recording_support.h"
#include "support/frame_unit_log.h"
#include "support/screen_support.h"

namespace vte {
namespace {

using test::ScreenOf;
using test::ScreenShowsItsPaint;
using test::SetColor;
using test::TheRenderWindow;

using test::NoiseBitmap;
using test::OneTo;
using test::PlainBitmap;
using test::TRecordedFrame;

struct TRun {
  std::vector<TRecordedFrame> Shots;  // the frames shown, without the final image
  std::vector<int> Frames, Steps;     // the frame units asked for
  int Total = 0;
  int Finals = 0;
  bool EndsOnNew = false;
  bool HadOldImage = false;
  bool FromBitmaps = false;
};

TRun RunPush(TTEEffectDirection D, bool Reversed, bool FromBitmaps, const TBitmap& Old, const TBitmap& New,
             int Milliseconds = 0) {
  test::TFrameUnitLog<TPushTransition> E;
  E.SetDirection(D);
  E.SetReversed(Reversed);
  E.SetMilliseconds(Milliseconds);
  E.ForceRendering = FromBitmaps;
  TRun Run;
  E.AfterInitialize = [&](TTETransitionData& Data) { Run.HadOldImage = Data.SrcBmp != nullptr; };
  test::TRecordOptions Keep;
  Keep.KeepScreens = true;
  const test::TFrameRecording Recorded = test::RecordRun(E, Old, New, Keep);
  for (const TRecordedFrame* F : Recorded.Shown()) Run.Shots.push_back(*F);
  Run.Finals = Recorded.Finals();
  Run.Frames = E.Frames();
  Run.Steps = E.Steps();
  Run.Total = E.Total;
  Run.EndsOnNew = Recorded.EndsOn(New);
  Run.FromBitmaps = E.DrawFromBitmaps();
  return Run;
}

// Frame f: the new image has come in f pixels from the side opposite to D, the old one has gone
// f pixels out at D's side.
std::uint32_t Want(TTEEffectDirection D, const TBitmap& Old, const TBitmap& New, int f, int X, int Y) {
  const int W = Old.Width(), H = Old.Height();
  switch (D) {
    case tedRight: return X < f ? test::Raw(New, X + W - f, Y) : test::Raw(Old, X - f, Y);
    case tedLeft: return X >= W - f ? test::Raw(New, X - (W - f), Y) : test::Raw(Old, X + f, Y);
    case tedDown: return Y < f ? test::Raw(New, X, Y + H - f) : test::Raw(Old, X, Y - f);
    default: return Y >= H - f ? test::Raw(New, X, Y - (H - f)) : test::Raw(Old, X, Y + f);
  }
}

::testing::AssertionResult ShowsFrame(const TRecordedFrame& Shot, TTEEffectDirection D, const TBitmap& Old,
                                      const TBitmap& New) {
  for (int Y = 0; Y < Old.Height(); ++Y)
    for (int X = 0; X < Old.Width(); ++X)
      if (test::Raw(Shot.Screen, X, Y) != Want(D, Old, New, Shot.Unit, X, Y))
        return ::testing::AssertionFailure() << "frame " << Shot.Unit << " differs at " << X << "," << Y;
  return ::testing::AssertionSuccess();
}

constexpr TTEEffectDirection Accepted[] = {tedRight, tedLeft, tedDown, tedUp};

// ------------------------------------------------------------------------------------------------

TEST(Push, ClassFactsDirectionsAndRegistration) {
  TPushTransition Push;
  EXPECT_EQ(Push.Description(), QStringLiteral("Push"));
  EXPECT_EQ(TTransitionEffect::EditorClassName(&TPushTransition::staticMetaObject),
            QStringLiteral("TTransitionEffectEditor"));
  EXPECT_EQ(FindTransitionClass(QStringLiteral("TPushTransition")), &TPushTransition::staticMetaObject);
  EXPECT_EQ(Push.Direction(), tedDown);
  for (TTEEffectDirection D : Accepted) {
    Push.SetDirection(D);
    EXPECT_EQ(Push.Direction(), D);
  }
  // Diagonals, in, out and none are rejected: the property keeps its value.
  for (TTEEffectDirection D : {tedDownRight, tedDownLeft, tedUpRight, tedUpLeft, tedIn, tedOut, tedNone}) {
    Push.SetDirection(D);
    EXPECT_EQ(Push.Direction(), tedUp) << D;
    Push.setProperty("Direction", QVariant::fromValue(D));
    EXPECT_EQ(Push.Direction(), tedUp) << D;
  }
  ASSERT_TRUE(Push.setProperty("Reversed", true));
  EXPECT_TRUE(Push.Reversed());
  ASSERT_TRUE(Push.setProperty("Milliseconds", 40));
  EXPECT_EQ(Push.Milliseconds(), 40);
}

TEST(Push, FrameCountsAndEveryFrameOfEveryDirectionOnBothWays) {
  constexpr int W = 11, H = 6;
  TBitmap Old = NoiseBitmap(W, H, 1), New = NoiseBitmap(W, H, 2);
  for (TTEEffectDirection D : Accepted)
    for (bool Reversed : {false, true})
      for (bool FromBitmaps : {false, true}) {
        SCOPED_TRACE(GetDirectionName(D).toStdString() + (Reversed ? " reversed" : "") +
                     (FromBitmaps ? " bitmaps" : " scroll"));
        const TRun Run = RunPush(D, Reversed, FromBitmaps, Old, New);
        const TTEEffectDirection Moves = Reversed ? OppositeDirection(D) : D;
        const int Count = (Moves == tedRight || Moves == tedLeft) ? W : H;
        EXPECT_EQ(Run.Total, Count);
        EXPECT_EQ(Run.Frames, OneTo(Count - 1));
        ASSERT_EQ(Run.Shots.size(), std::size_t(Count - 1));
        EXPECT_EQ(Run.Shots.front().Unit, 1);
        EXPECT_EQ(Run.Shots.back().Unit, Count - 1);
        for (const TRecordedFrame& Shot : Run.Shots) {
          ASSERT_TRUE(ShowsFrame(Shot, Moves, Old, New));
          EXPECT_EQ(Shot.Changed, std::vector<TRect>{Rect(0, 0, W, H)});
        }
        EXPECT_EQ(Run.Finals, 1);
        EXPECT_TRUE(Run.EndsOnNew);
        EXPECT_EQ(Run.FromBitmaps, FromBitmaps);
        EXPECT_EQ(Run.HadOldImage, FromBitmaps);
      }
}

// The old look comes from the screen: no old image at all, the frames still show it pushed out.
TEST(Push, UnobscuredRunNeverCapturesTheOldImage) {
  constexpr int W = 9, H = 7;
  TBitmap Old = NoiseBitmap(W, H, 11), New = NoiseBitmap(W, H, 12);
  TPushTransition Probe;
  EXPECT_FALSE(Probe.NeedSrcImage());  // no run, no old image
  EXPECT_EQ(Probe.ChooseOldLookOrigin(nullptr, {}), TTEOldLookOrigin::Screen);
  Probe.ForceRendering = true;
  EXPECT_EQ(Probe.ChooseOldLookOrigin(nullptr, {}), TTEOldLookOrigin::Painting);
  Probe.ForceScreenCopy = true;  // the screen way wins over everything
  EXPECT_EQ(Probe.ChooseOldLookOrigin(nullptr, {}), TTEOldLookOrigin::Screen);

  const TRun Run = RunPush(tedRight, false, false, Old, New);
  EXPECT_FALSE(Run.HadOldImage);
  ASSERT_FALSE(Run.Shots.empty());
  // The first frame: the screen's own pixels one column on, the new image's last column in front.
  ASSERT_TRUE(ShowsFrame(Run.Shots.front(), tedRight, Old, New));
  EXPECT_TRUE(Run.EndsOnNew);
}

TEST(Push, ReversedDownMovesBothImagesUp) {
  constexpr int W = 5, H = 8;
  TBitmap Old = NoiseBitmap(W, H, 21), New = NoiseBitmap(W, H, 22);
  const TRun Run = RunPush(tedDown, true, false, Old, New);
  ASSERT_EQ(Run.Shots.size(), std::size_t(H - 1));
  // Frame 1: the old image's row 1 at the top, the new image's row 0 at the bottom.
  for (int X = 0; X < W; ++X) {
    EXPECT_EQ(test::Raw(Run.Shots[0].Screen, X, 0), test::Raw(Old, X, 1));
    EXPECT_EQ(test::Raw(Run.Shots[0].Screen, X, H - 1), test::Raw(New, X, 0));
  }
}

// Plain images: at frame f exactly f rows or columns show the new colour, from its side.
TEST(Push, VisibleNewPartIsExactlyFramePixelsDeep) {
  constexpr int W = 10, H = 7;
  constexpr TColor OldColor = 0x2040C0, NewColor = 0x30A050;
  TBitmap Old = PlainBitmap(W, H, OldColor), New = PlainBitmap(W, H, NewColor);
  for (TTEEffectDirection D : Accepted)
    for (bool FromBitmaps : {false, true}) {
      SCOPED_TRACE(GetDirectionName(D).toStdString() + (FromBitmaps ? " bitmaps" : " scroll"));
      const TRun Run = RunPush(D, false, FromBitmaps, Old, New);
      const bool Across = D == tedRight || D == tedLeft;
      for (const TRecordedFrame& Shot : Run.Shots) {
        int Depth = 0;
        // Lines counted from the side the new image enters.
        for (int L = 0; L < (Across ? W : H); ++L) {
          const int X = D == tedRight ? L : D == tedLeft ? W - 1 - L : 0;
          const int Y = D == tedDown ? L : D == tedUp ? H - 1 - L : 0;
          if (Shot.Screen.PixelColor(X, Y) != NewColor) break;
          ++Depth;
        }
        EXPECT_EQ(Depth, Shot.Unit);
        // The rest is old, right to the far edge.
        EXPECT_EQ(Shot.Screen.PixelColor(D == tedLeft ? 0 : W - 1, D == tedUp ? 0 : H - 1), OldColor);
      }
    }
}

// Paced steps of several pixels: the scroll draws the whole entering strip.
TEST(Push, PacedRunsWithLargeStepsShowEveryFrameOnBothWays) {
  constexpr int W = 50, H = 31;
  TBitmap Old = NoiseBitmap(W, H, 31), New = NoiseBitmap(W, H, 32);
  for (TTEEffectDirection D : Accepted)
    for (bool FromBitmaps : {false, true}) {
      SCOPED_TRACE(GetDirectionName(D).toStdString() + (FromBitmaps ? " bitmaps" : " scroll"));
      test::TFakeClock Clock(0.5);
      const TRun Run = RunPush(D, false, FromBitmaps, Old, New, 30);
      ASSERT_FALSE(Run.Shots.empty());
      EXPECT_GT(*std::max_element(Run.Steps.begin(), Run.Steps.end()), 1);
      for (const TRecordedFrame& Shot : Run.Shots) ASSERT_TRUE(ShowsFrame(Shot, D, Old, New));
      EXPECT_TRUE(Run.EndsOnNew);
    }
}

// A run that draws into a work bitmap starts it as the old image, so the scroll way works there too.
TEST(Push, WorkBitmapStartsAsTheOldImage) {
  constexpr int W = 6, H = 4;
  TBitmap Old = NoiseBitmap(W, H, 41), New = NoiseBitmap(W, H, 42), Work = PlainBitmap(W, H, clBlack), Screen = PlainBitmap(W, H, clWhite);
  TPushTransition Push;
  TTETransitionData Data(W, H, &Old, &New, &Work, &Screen.Canvas(), pf32bit, true);
  int Frames = 0;
  Push.Initialize(Data, Frames);
  EXPECT_EQ(Frames, H);
  EXPECT_TRUE(test::DescribeDifference(Work, Old).empty());
  Push.ExecuteFrame(Data, 1, 1, Frames, 0);
  for (int X = 0; X < W; ++X) {
    EXPECT_EQ(test::Raw(Work, X, 0), test::Raw(New, X, H - 1));
    EXPECT_EQ(test::Raw(Work, X, 1), test::Raw(Old, X, 0));
  }
  Push.Finalize(Data);
}

// ------------------------------------------------------------------------------------------------
// Over real widgets on the offscreen screen.



class PushOnScreen : public test::TPanelScreen {
protected:
  void SetUp() override { BuildPanel(QRect(80, 70, 420, 320), QRect(10, 10, 300, 220), QRect(200, 150, 60, 40)); }
};

TEST_F(PushOnScreen, UnobscuredPanelIsScrolledWithoutAnOldImageAndEndsOnTheNewLook) {
  TPushTransition Push;
  Push.SetDirection(tedLeft);
  Push.SetMilliseconds(150);
  ASSERT_TRUE(Push.Prepare(Panel, Rect(0, 0, 300, 220)));
  EXPECT_FALSE(Push.NeedSrcImage());
  SetColor(Panel, Qt::blue);
  Child->hide();
  int Checked = 0;
  Push.OnStartTransition = [&](TTransitionEffect*) {
    EXPECT_EQ(ScreenOf(Panel).pixelColor(220, 160), QColor(Qt::yellow));
    ++Checked;
  };
  Push.Execute();
  EXPECT_EQ(Checked, 1);
  EXPECT_FALSE(Push.DrawFromBitmaps());
  EXPECT_TRUE(ScreenShowsItsPaint(Panel));
  const QImage S = ScreenOf(Panel);
  EXPECT_EQ(S.pixelColor(220, 160), QColor(Qt::blue));
}

TEST_F(PushOnScreen, ObscuredOrRenderedPanelNeedsTheOldImage) {
  {
    TPushTransition Push;
    Push.PreferRendering = true;
    ASSERT_TRUE(Push.Prepare(Panel, Rect(0, 0, 300, 220)));
    EXPECT_TRUE(Push.NeedSrcImage());
    SetColor(Panel, Qt::green);
    Push.Execute();
    EXPECT_TRUE(Push.DrawFromBitmaps());
    QApplication::processEvents();
    EXPECT_EQ(ScreenOf(Panel).pixelColor(20, 20), QColor(Qt::green));
  }
  // A sibling over a corner of the panel: the screen cannot give the old look.
  QWidget Cover(&Window);
  Cover.setGeometry(280, 200, 60, 60);
  Cover.show();
  QApplication::processEvents();
  TPushTransition Push;
  ASSERT_TRUE(Push.Prepare(Panel, Rect(0, 0, 300, 220)));
  EXPECT_TRUE(Push.NeedSrcImage());
  Push.UnPrepare();
  // Over a part the sibling does not reach, the screen will do.
  ASSERT_TRUE(Push.Prepare(Panel, Rect(0, 0, 200, 150)));
  EXPECT_FALSE(Push.NeedSrcImage());
  Push.UnPrepare();
}

}  // namespace
}  // namespace vte
