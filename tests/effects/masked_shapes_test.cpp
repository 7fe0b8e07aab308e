// The circle, radial and diagonal transitions through the offscreen runner, in every style and
// substyle: the effect rules with and without smoothing, the plain path's reveal (once new, a
// pixel stays new), no pixel left at the old image by the last smoothed frame, Reversed as the
// twin substyle (and, for circles and diagonals, whose shapes do not overlap from frame to frame,
// as the same frames backwards), the frame counts and the cases particular to each.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "effects/circle.h"
#include "effects/diagonal.h"
#include "effects/radial.h"
#include "gdi/rasterizer.h"
#include "support/bitmap_support.h"
#include "support/distinct_looks_support.h"
#include "support/effect_rules_support.h"
#include "support/frame_recording_support.h"
#include "support/masked_runs_support.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

using test::CheckEveryStyle;
using test::ExpectPlaysBackwards;
using test::FramesOf;
using test::PlainRun;
using test::TRun;


// --- circle ---

TEST(Circle, PropertiesAndFrameCounts) {
  TCircleTransition E;
  EXPECT_EQ(E.Description(), "Circle");
  EXPECT_EQ(E.EditorClassName(), "TMaskedTransitionEditor");
  EXPECT_EQ(E.StyleCount(), 3);
  E.SetSubStyle(3);  // style 1 has two substyles
  EXPECT_EQ(E.SubStyle(), 1);
  E.SetStyle(2);
  E.SetSubStyle(3);
  EXPECT_EQ(E.SubStyle(), 3);
  E.SetStyle(1);
  EXPECT_EQ(FramesOf(E, 100, 100), 72);
  EXPECT_EQ(FramesOf(E, 100, 100, 1), 72 + 7);
  E.SetStyle(2);
  EXPECT_EQ(FramesOf(E, 100, 100), 142);
  test::TScreenDepth Palette(8);
  EXPECT_FALSE(E.SmoothingActive()) << "no levels on a palette screen";
  EXPECT_EQ(E.GetPixelFormat(), pf8bit);
}

// On every screen depth: the plain frames copy row spans of 1 to 4 bytes a pixel.
TEST(Circle, FrameFShowsTheDiscOfRadiusFOrTheOldImageInsideTheShrinkingOne) {
  for (const int Bits : test::ScreenDepths) {
    test::TScreenDepth Depth(Bits);
    const int W = Bits == 8 ? 9 : 23, H = Bits == 8 ? 7 : 17;
    const test::TDistinctLooks Looks(W, H);
    const TBitmap &Old = Looks.Old(), &New = Looks.New();
    for (int Style = 1; Style <= 3; ++Style)
      for (int S = 1; S <= (Style == 1 ? 2 : 8); ++S) {
        SCOPED_TRACE(std::to_string(Bits) + " bits, style " + std::to_string(Style) + "." + std::to_string(S));
        TCircleTransition E;
        E.SetStyle(Style);
        E.SetSubStyle(S);
        const TPoint C = E.CircleCentre(W, H);
        const bool Growing = Style == 1 ? S == 1 : S <= 4;
        const TRun Run = PlainRun(E, Old, New);
        const int N = Run.Total;
        for (int F = 1; F < N; ++F) {
          const int R = Growing ? F : N - F;
          const TRect Square = Rect(C.X - R, C.Y - R, C.X + R, C.Y + R);
          for (int Y = 0, P = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X, ++P) {
              int L, Rt;
              const bool Inside = EllipseRow(Square, Y, L, Rt) && X >= L && X < Rt;
              ASSERT_EQ(Run.Frames[F - 1][P], Inside == Growing) << "frame " << F << " pixel " << X << "," << Y;
            }
        }
        if (Growing) {
          TCircleTransition Back;
          Back.SetStyle(Style);
          Back.SetSubStyle(S);
          Back.SetReversed(true);
          ExpectPlaysBackwards(E, Back, Old, New);
        }
      }
  }
}

TEST(Circle, EveryStyle) {
  CheckEveryStyle([] { return std::make_unique<TCircleTransition>(); }, 21, 13);
  test::ExpectSpansMatchMasks([] { return std::make_unique<TCircleTransition>(); },
                              [] { return std::make_unique<test::TMaskOnly<TCircleTransition>>(); }, 21, 13);
}


// --- radial ---

TEST(Radial, PropertiesFrameCountsAndTheFirstLine) {
  TRadialTransition E;
  EXPECT_EQ(E.Description(), "Radial");
  EXPECT_EQ(E.EditorClassName(), "TMaskedTransitionEditor");
  EXPECT_EQ(E.StyleCount(), 7);
  EXPECT_EQ(E.GetSubStyleCount(5), 16);
  EXPECT_EQ(E.GetReversedSubStyle(5, 8), 7);
  EXPECT_EQ(E.GetReversedSubStyle(5, 15), 16);
  EXPECT_EQ(E.GetReversedSubStyle(4, 9), 9);
  // 100 x 60: odd sizes 101 x 61, 328 positions around.
  EXPECT_EQ(FramesOf(E, 100, 60), 328);
  E.SetStyle(3);
  EXPECT_EQ(FramesOf(E, 100, 60), 82);
  EXPECT_EQ(FramesOf(E, 100, 60, 2), 82 + 14);
  E.SetStyle(1);
  E.SetSmoothingLevel(0);
  test::TScreenDepth Depth(32);
  const TBitmap Old = test::NoiseBitmap(100, 60, 1), New = test::NoiseBitmap(100, 60, 2);
  const TRun Run = PlainRun(E, Old, New);
  // Frame 1: the line from the centre (50, 30) straight up.
  for (int Y = 0, P = 0; Y < 60; ++Y)
    for (int X = 0; X < 100; ++X, ++P)
      ASSERT_EQ(Run.Frames[0][P], X == 50 && Y <= 30) << X << "," << Y;
}

TEST(Radial, EveryStyle) {
  CheckEveryStyle([] { return std::make_unique<TRadialTransition>(); }, 14, 9);
  test::ExpectSpansMatchMasks([] { return std::make_unique<TRadialTransition>(); },
                              [] { return std::make_unique<test::TMaskOnly<TRadialTransition>>(); }, 14, 9);
}

// --- diagonal ---

TEST(Diagonal, PropertiesFramesAndEnds) {
  TDiagonalTransition E;
  EXPECT_EQ(E.Description(), "Diagonal");
  EXPECT_EQ(E.EditorClassName(), "TMaskedTransitionEditor");
  EXPECT_EQ(E.StyleCount(), 2);
  EXPECT_EQ(E.GetReversedSubStyle(2, 1), 3);
  EXPECT_EQ(E.GetReversedSubStyle(1, 3), 4);
  EXPECT_EQ(FramesOf(E, 10, 4), 13);
  EXPECT_EQ(FramesOf(E, 10, 4, 1), 13 + 7);
  E.SetStyle(2);  // two edges are never smoothed
  EXPECT_EQ(FramesOf(E, 10, 4, 3), 13);
  E.SetStyle(1);
  E.SetSmoothingLevel(0);
  test::TScreenDepth Depth(32);
  const TBitmap Old = test::NoiseBitmap(10, 4, 1), New = test::NoiseBitmap(10, 4, 2);
  const TRun Run = PlainRun(E, Old, New);
  ASSERT_EQ(Run.Frames.size(), 12u);
  for (int F = 1; F <= 12; ++F)
    for (int Y = 0, P = 0; Y < 4; ++Y)
      for (int X = 0; X < 10; ++X, ++P) ASSERT_EQ(Run.Frames[F - 1][P], X + Y <= F - 1) << F << ": " << X << "," << Y;
  for (int Style = 1; Style <= 2; ++Style)
    for (int S = 1; S <= 4; ++S) {
      SCOPED_TRACE("style " + std::to_string(Style) + "." + std::to_string(S));
      TDiagonalTransition A, B;
      A.SetStyle(Style);
      A.SetSubStyle(S);
      B.SetStyle(Style);
      B.SetSubStyle(A.GetReversedSubStyle(Style, S));
      ExpectPlaysBackwards(A, B, Old, New);
    }
}

TEST(Diagonal, EveryStyle) {
  CheckEveryStyle([] { return std::make_unique<TDiagonalTransition>(); }, 19, 11);
  test::ExpectSpansMatchMasks([] { return std::make_unique<TDiagonalTransition>(); },
                              [] { return std::make_unique<test::TMaskOnly<TDiagonalTransition>>(); }, 19, 11);
}

}  // namespace
}  // namespace vte
