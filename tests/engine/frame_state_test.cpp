// What the base class does between frames: the screen copy of a frame's changes, the throttled
// abort poll, and the settings rules (directions, Assign, class facts).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/dirty_rects.h"
#include "gdi/canvas.h"

#include "engine/transition_effect.h"
#include "support/bitmap_support.h"
#include "support/fake_clock.h"

namespace vte {
namespace {

class TPlainEffect : public TTransitionEffect {
public:
  TPlainEffect() {
    SetAllowedDirections(DirectionSet(tedRight, tedLeft, tedIn, tedOut));
    InitDirection(tedRight);
  }
  void DoExecute(TTETransitionData&) override {}
};

class TNamedEffect : public TPlainEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "Named effect")
};

class TUnnamedEffect : public TNamedEffect {
  Q_OBJECT
};

// A frame bitmap of noise, a screen of zeros, and the parts the copy flushed.
struct FrameCopy : ::testing::Test {
  FrameCopy() : Frame(50, 40, pf32bit), Screen(50, 40, pf32bit) {
    test::FillNoise(Frame, 9);
    Screen.Canvas().Brush().Color = clBlack;
    Screen.Canvas().FillRect(Rect(0, 0, 50, 40));
    E.AttachRenderTarget({&Screen.Canvas(), [this](const TRect& R) { Flushed.push_back(R); }, {}});
    E.FrameBitmap = &Frame;
  }
  // Which pixels of the screen now show the frame.
  bool Copied(int X, int Y) const { return Screen.PixelColor(X, Y) == Frame.PixelColor(X, Y); }

  TPlainEffect E;
  TBitmap Frame, Screen;
  std::vector<TRect> Flushed;
};

TEST_F(FrameCopy, AZeroUpdateRectCopiesTheWholeFrame) {
  E.UpdateScreen(false);
  EXPECT_EQ(Flushed, std::vector<TRect>{Rect(0, 0, 50, 40)});
  EXPECT_TRUE(Copied(0, 0) && Copied(49, 39));
}

TEST_F(FrameCopy, UpdateRectWithoutItsUnchangedPart) {
  E.UpdateRect = Rect(10, 10, 30, 30);
  E.UnchangedRect = Rect(15, 15, 25, 25);
  E.UpdateScreen(false);
  EXPECT_TRUE(Copied(10, 10));
  EXPECT_TRUE(Copied(29, 29));
  EXPECT_FALSE(Copied(20, 20));  // left out
  EXPECT_FALSE(Copied(9, 10));
  EXPECT_FALSE(Copied(30, 30));
  // The frame state moves on, and the clip region is gone again.
  EXPECT_EQ(E.PrevUpdateRect, Rect(10, 10, 30, 30));
  EXPECT_EQ(E.PrevUnchangedRect, Rect(15, 15, 25, 25));
  EXPECT_EQ(E.UpdateRect, TRect{});
  EXPECT_FALSE(Screen.Canvas().HasClipRegion());
}

TEST_F(FrameCopy, DirtyRectanglesReplaceTheUpdateRectOnlyWhenThereAreSeveral) {
  E.DirtyRects = std::make_unique<TFCDirtyRects>();
  E.DirtyRects->Add(Rect(0, 0, 5, 5));
  E.UpdateRect = Rect(20, 20, 25, 25);
  E.UpdateScreen(false);
  EXPECT_EQ(Flushed, std::vector<TRect>{Rect(20, 20, 25, 25)});
  EXPECT_FALSE(Copied(2, 2));
  EXPECT_EQ(E.DirtyRects->Count(), 0);  // auto-cleared

  Flushed.clear();
  E.DirtyRects->Add(Rect(0, 0, 5, 5));
  E.DirtyRects->Add(Rect(40, 30, 45, 35));
  E.UpdateRect = Rect(20, 20, 25, 25);
  E.UpdateScreen(false);
  EXPECT_EQ(Flushed, (std::vector<TRect>{Rect(0, 0, 5, 5), Rect(40, 30, 45, 35)}));
  EXPECT_TRUE(Copied(2, 2) && Copied(42, 32));

  // A disabled frame copies nothing but still moves the state on.
  Flushed.clear();
  E.FrameEnabled = false;
  E.UpdateRect = Rect(1, 1, 2, 2);
  E.UpdateScreen(true);
  EXPECT_TRUE(Flushed.empty());
  EXPECT_EQ(E.PrevUpdateRect, Rect(1, 1, 2, 2));
}

TEST(DirtyRects, ClipToBounds) {
  TFCDirtyRects D;
  D.ClipToBounds = true;
  D.Bounds = Rect(0, 0, 10, 10);
  D.Add(Rect(5, 5, 20, 20));
  D.Add(Rect(10, 0, 20, 5));  // nothing left: not added
  ASSERT_EQ(D.Count(), 1);
  EXPECT_EQ(D.Rects(0), Rect(5, 5, 10, 10));
}

TEST(AbortPoll, ThrottledPollsLookNoMoreOftenThanEvery300Milliseconds) {
  test::TFakeClock Clock;
  TPlainEffect E;
  int Asked = 0;
  E.OnAbortQuery = [&](QObject*, TTransitionEffect* T, bool& Abort) {
    EXPECT_EQ(T, &E);
    ++Asked;
    Abort = Asked == 3;
  };
  E.CheckAbort(false);  // unthrottled: asks at once
  EXPECT_EQ(Asked, 1);
  Clock.Advance(200);
  E.CheckAbort(true);
  EXPECT_EQ(Asked, 1);
  Clock.Advance(100);  // exactly 300: still not past the interval
  E.CheckAbort(true);
  EXPECT_EQ(Asked, 1);
  Clock.Advance(1);
  E.CheckAbort(true);
  EXPECT_EQ(Asked, 2);
  Clock.Advance(301);
  E.CheckAbort(true);
  EXPECT_EQ(Asked, 3);
  EXPECT_TRUE(E.Aborted());
  Clock.Advance(1000);
  E.CheckAbort(false);  // once aborted, nobody is asked again
  EXPECT_EQ(Asked, 3);
}

TEST(Settings, DirectionsAssignAndClassFacts) {
  TPlainEffect A, B;
  A.SetDirection(tedDown);  // not allowed: ignored
  EXPECT_EQ(A.Direction(), tedRight);
  A.SetDirection(tedIn);
  EXPECT_EQ(A.ReversedDirection(), tedOut);
  A.SetReversed(true);
  EXPECT_EQ(A.DirectionToUse(), tedOut);

  A.SetMilliseconds(750);
  A.SetPassSetting(teTwoPasses);
  A.Pass2Options()->SetSolidColor(clRed);
  A.SetAbortOnEscape(true);
  A.SetEnabled(false);
  A.OnAfterTransition = [](TTransitionEffect*) {};
  B.Assign(A);
  EXPECT_EQ(B.Milliseconds(), 750);
  EXPECT_EQ(B.PassSetting(), teTwoPasses);
  EXPECT_EQ(B.Pass2Options()->SolidColor(), clRed);
  EXPECT_TRUE(B.AbortOnEscape());
  EXPECT_FALSE(B.Enabled());
  EXPECT_EQ(B.Direction(), tedIn);
  EXPECT_TRUE(B.Reversed());
  EXPECT_FALSE(B.OnAfterTransition);  // events are not copied

  TTransitionEffect& Narrow = B;
  struct TRightOnly : TPlainEffect {
    TRightOnly() { SetAllowedDirections(DirectionSet(tedRight)); }
  } C;
  C.Assign(Narrow);
  EXPECT_EQ(C.Direction(), tedRight);  // tedIn is not allowed here

  EXPECT_EQ(GetDirectionName(tedDownLeft), QStringLiteral("Down and left"));
  EXPECT_EQ(GetDirectionName(tedNone), QString());
  EXPECT_EQ(TTransitionEffect::Description(&TNamedEffect::staticMetaObject), QStringLiteral("Named effect"));
  EXPECT_EQ(TTransitionEffect::Description(&TUnnamedEffect::staticMetaObject), QStringLiteral("Named effect"));
  EXPECT_EQ(TTransitionEffect::Description(&TFlickerFreeTransition::staticMetaObject),
            QStringLiteral("Flicker free cut"));
  EXPECT_EQ(TTransitionEffect::EditorClassName(&TNamedEffect::staticMetaObject),
            QStringLiteral("TTransitionEffectEditor"));
  EXPECT_EQ(A.Version(), QStringLiteral("Version 3.3"));
}

TEST(DirtyRects, APolygonCoverHoldsEveryPixelTheCanvasPaintsForIt) {
  // Thin wedges and lines from a pivot (the radial hands' shapes) and random triangles, on an odd
  // size, some reaching one pixel past the picture as the hands do.
  std::mt19937 Rng(5);
  const int W = 97, H = 61;
  for (int Case = 0; Case < 300; ++Case) {
    const auto Any = [&](int Max) { return static_cast<int>(Rng() % (Max + 2)) - 1; };
    std::vector<TPoint> Points{{Any(W), Any(H)}, {Any(W), Any(H)}};
    if (Case % 3) Points.push_back(Case % 3 == 1 ? TPoint{Points[1].X + 1, Points[1].Y} : TPoint{Any(W), Any(H)});
    TBitmap Mask(W, H, pf1bit);
    TCanvas& C = Mask.Canvas();
    C.Brush().Color = clWhite;
    C.FillRect(Rect(0, 0, W, H));
    C.Pen().Color = C.Brush().Color = clBlack;
    if (Points.size() == 2) {
      C.MoveTo(Points[0].X, Points[0].Y);
      C.LineTo(Points[1].X, Points[1].Y);
    } else {
      C.Polygon(Points);
    }
    TFCDirtyRects Cover;
    Cover.ClipToBounds = true;
    Cover.Bounds = Rect(0, 0, W, H);
    Cover.AddPolygonCover(Points, 4);
    int Covered = 0;
    for (const TRect& R : Cover.All()) Covered += R.Width() * R.Height();
    // A thin shape across a wide box is covered by far less than its box.
    const int BoxW = std::abs(Points[1].X - Points[0].X) + 1, BoxH = std::abs(Points[1].Y - Points[0].Y) + 1;
    if (Case % 3 != 2 && BoxW >= 24 && BoxH >= 24) {
      EXPECT_LT(Covered, BoxW * BoxH / 2) << Case;
    }
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        if (Mask.PixelColor(X, Y) != clBlack) continue;
        bool In = false;
        for (const TRect& R : Cover.All()) In = In || (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom);
        ASSERT_TRUE(In) << "case " << Case << ": pixel " << X << "," << Y << " outside the cover";
      }
  }
}

}  // namespace
}  // namespace vte

#include "frame_state_test.moc"
