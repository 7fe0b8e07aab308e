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

// Every black pixel of Mask lies in a piece of Cover; the pieces share no pixel and start and end
// on multiples of Align (or on the picture's right edge).
void ExpectCoverOf(const TBitmap& Mask, const TFCDirtyRects& Cover, int Align, int Case) {
  const std::vector<TRect>& Pieces = Cover.All();
  for (std::size_t I = 0; I < Pieces.size(); ++I) {
    EXPECT_EQ(Pieces[I].Left % Align, 0) << Case;
    EXPECT_TRUE(Pieces[I].Right % Align == 0 || Pieces[I].Right == Mask.Width()) << Case;
    for (std::size_t J = 0; J < I; ++J) {
      TRect Shared;
      EXPECT_FALSE(IntersectRect(Shared, Pieces[I], Pieces[J])) << "case " << Case << ": pieces overlap";
    }
  }
  for (int Y = 0; Y < Mask.Height(); ++Y)
    for (int X = 0; X < Mask.Width(); ++X) {
      if (Mask.PixelColor(X, Y) != clBlack) continue;
      bool In = false;
      for (const TRect& R : Pieces) In = In || (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom);
      ASSERT_TRUE(In) << "case " << Case << ": pixel " << X << "," << Y << " outside the cover";
    }
}

TFCDirtyRects CoverWithin(int W, int H) {
  TFCDirtyRects Cover;
  Cover.ClipToBounds = true;
  Cover.Bounds = Rect(0, 0, W, H);
  return Cover;
}

TEST(DirtyRects, CoversHoldEveryPixelTheCanvasPaintsInDisjointAlignedPieces) {
  // Thin wedges and lines from a pivot (the radial hands' shapes) and random triangles, some
  // reaching one pixel past the picture as the hands do; rings about a point inside, on the edge
  // and at a corner of the picture (the circle's centres). Odd sizes.
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
    TFCDirtyRects Aligned = CoverWithin(W, H), Fine = CoverWithin(W, H);
    Aligned.AddPolygonCover(Points, 4, 8);
    // Every other case, a second wedge from the same pivot, as a sweep of two hands paints: the
    // two covers overlap near the pivot until separated.
    if (Case % 2) {
      const std::vector<TPoint> Other{Points[0], {Any(W), Any(H)}, {Any(W), Any(H)}};
      C.Polygon(Other);
      Aligned.AddPolygonCover(Other, 4, 8);
      Aligned.Separate(8);
    }
    ExpectCoverOf(Mask, Aligned, 8, Case);
    // A thin shape across a wide box is covered by far less than its box.
    Fine.AddPolygonCover(Points, 4, 1);
    int Covered = 0;
    for (const TRect& R : Fine.All()) Covered += R.Width() * R.Height();
    const int BoxW = std::abs(Points[1].X - Points[0].X) + 1, BoxH = std::abs(Points[1].Y - Points[0].Y) + 1;
    if (Case % 3 != 2 && BoxW >= 24 && BoxH >= 24) {
      EXPECT_LT(Covered, BoxW * BoxH / 2) << Case;
    }
  }
  for (const TPoint Centre : {TPoint{48, 30}, TPoint{0, 30}, TPoint{48, 61}, TPoint{97, 0}})
    for (int Inner = 0; Inner < 110; Inner += 7) {
      const int Outer = Inner + 1 + Inner % 3;
      TBitmap Ring(W, H, pf1bit), Hole(W, H, pf1bit);
      for (TBitmap* B : {&Ring, &Hole}) {
        B->Canvas().Brush().Color = clWhite;
        B->Canvas().FillRect(Rect(0, 0, W, H));
        B->Canvas().Pen().Color = B->Canvas().Brush().Color = clBlack;
      }
      Ring.Canvas().Ellipse(Rect(Centre.X - Outer, Centre.Y - Outer, Centre.X + Outer, Centre.Y + Outer));
      Hole.Canvas().Ellipse(Rect(Centre.X - Inner, Centre.Y - Inner, Centre.X + Inner, Centre.Y + Inner));
      // The ring alone: the hole's pixels back to white.
      for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
          if (Inner > 0 && Hole.PixelColor(X, Y) == clBlack) Ring.Canvas().SetPixel(X, Y, clWhite);
      TFCDirtyRects Cover = CoverWithin(W, H);
      Cover.AddRingCover(Centre, Inner, Outer, 4, 8);
      ExpectCoverOf(Ring, Cover, 8, 1000 + Inner);
    }
}

}  // namespace
}  // namespace vte

#include "frame_state_test.moc"
