// The interlaced transition: its line and ring orders (each line or ring painted by exactly one
// frame, odd and even sizes alike), frame counts, and every frame of every order through the
// offscreen runner showing exactly the lines of the frames so far.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "effects/interlaced.h"
#include "support/bitmap_support.h"
#include "support/masked_runs_support.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

using I = TInterlacedTransition;

std::vector<int> Lines(int S, int Frames, int Count) {
  std::vector<int> L;
  for (int F = 1; F <= Frames; ++F) L.push_back(I::LineOfFrame(S, F, Count));
  return L;
}

TEST(Interlaced, PropertiesAndOrders) {
  I E;
  EXPECT_EQ(E.Description(), "Interlaced");
  EXPECT_EQ(E.EditorClassName(), "TMaskedTransitionEditor");
  EXPECT_EQ(E.StyleCount(), 2);
  EXPECT_EQ(E.GetSubStyleCount(1), 10);
  EXPECT_EQ(E.GetSubStyleCount(2), 1);
  EXPECT_EQ(E.GetReversedSubStyle(1, 1), 1);
  EXPECT_EQ(E.GetReversedSubStyle(1, 7), 8);
  EXPECT_EQ(E.GetReversedSubStyle(1, 10), 9);
  EXPECT_EQ(E.GetReversedSubStyle(2, 1), 1);
  EXPECT_EQ(Lines(3, 8, 8), (std::vector<int>{0, 2, 4, 6, 7, 5, 3, 1}));
  EXPECT_EQ(Lines(1, 6, 6), (std::vector<int>{5, 0, 3, 2, 1, 4}));
  EXPECT_EQ(Lines(7, 7, 7), (std::vector<int>{0, 2, 4, 6, 1, 3, 5}));
  EXPECT_EQ(Lines(8, 8, 8), (std::vector<int>{7, 5, 3, 1, 6, 4, 2, 0}));
  std::vector<int> Rings;
  for (int F = 1; F <= 6; ++F) Rings.push_back(I::RingOfFrame(F, 12));
  EXPECT_EQ(Rings, (std::vector<int>{0, 5, 2, 3, 4, 1}));
  // Every line, and every ring, exactly once whatever the count.
  for (int N = 1; N <= 13; ++N) {
    for (int S = 1; S <= 10; ++S) {
      const int Frames = S <= 2 ? (N + 1) / 2 * 2 : N;
      std::vector<int> Seen(N, 0);
      for (int L : Lines(S, Frames, N))
        if (L >= 0 && L < N) ++Seen[L];
        else EXPECT_TRUE(S <= 2 && N % 2) << "substyle " << S << " of " << N << " paints nothing in a frame";
      EXPECT_EQ(Seen, std::vector<int>(N, 1)) << "substyle " << S << " of " << N << " lines";
    }
    std::vector<int> Seen((N + 1) / 2, 0);
    for (int F = 1; F <= (N + 1) / 2; ++F) ++Seen.at(I::RingOfFrame(F, N));
    EXPECT_EQ(Seen, std::vector<int>((N + 1) / 2, 1)) << "rings of " << N;
  }
}

TEST(Interlaced, FrameCounts) {
  I E;
  E.SetSubStyle(3);
  EXPECT_EQ(test::FramesOf(E, 20, 8), 8);
  E.SetSubStyle(1);
  EXPECT_EQ(test::FramesOf(E, 20, 7), 8);  // the even field of 7 rows needs frame 8
  EXPECT_EQ(test::FramesOf(E, 20, 8, 1), 4 + 7);
  E.SetSubStyle(6);
  EXPECT_EQ(test::FramesOf(E, 20, 8, 1), 20 + 7);
  E.SetStyle(2);
  EXPECT_EQ(test::FramesOf(E, 12, 12), 6);
  EXPECT_EQ(test::FramesOf(E, 12, 30, 2), 3 + 14);
}

// Frame f shows the new image exactly on the lines (rings) of frames 1..f.
TEST(Interlaced, EachFrameShowsTheLinesSoFar) {
  test::TScreenDepth Depth(32);
  constexpr int W = 9, H = 7;
  const TBitmap Old = test::NoiseBitmap(W, H, 3), New = test::NoiseBitmap(W, H, 4);
  for (int Style = 1; Style <= 2; ++Style)
    for (int S = 1; S <= (Style == 1 ? 10 : 1); ++S) {
      SCOPED_TRACE("style " + std::to_string(Style) + "." + std::to_string(S));
      I E;
      E.SetStyle(Style);
      E.SetSubStyle(S);
      const test::TRun Run = test::PlainRun(E, Old, New);
      const bool ByRows = S == 1 || S == 3 || S == 4 || S == 7 || S == 8;
      // The frame that paints each pixel.
      const auto FrameOf = [&](int X, int Y) {
        for (int F = 1; F <= Run.Total; ++F) {
          if (Style == 2 && I::RingOfFrame(F, std::min(W, H)) == std::min({X, Y, W - 1 - X, H - 1 - Y})) return F;
          if (Style == 1 && I::LineOfFrame(S, F, ByRows ? H : W) == (ByRows ? Y : X)) return F;
        }
        return 0;
      };
      ASSERT_EQ(Run.Total, Style == 2 ? 4 : S <= 2 ? (ByRows ? 8 : 10) : (ByRows ? H : W));
      for (int F = 1; F < Run.Total; ++F)
        for (int Y = 0, P = 0; Y < H; ++Y)
          for (int X = 0; X < W; ++X, ++P)
            ASSERT_EQ(Run.Frames[F - 1][P], FrameOf(X, Y) <= F) << "frame " << F << " pixel " << X << "," << Y;
    }
}

TEST(Interlaced, EveryStyle) {
  test::CheckEveryStyle([] { return std::make_unique<I>(); }, 9, 7);
}

}  // namespace
}  // namespace vte
