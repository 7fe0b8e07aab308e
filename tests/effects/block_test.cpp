// The block transition: its settings and grid, the orders of every style (each block once, the
// spirals and snakes as drawn), and through the offscreen runner for block sizes from one pixel
// up, jigsaw pieces included: the blocks (pieces) tile the area without gaps or overlaps, and
// every frame shows the new image on exactly the blocks of the order so far, each block changing
// once.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "effects/block.h"
#include "gdi/canvas.h"
#include "gdi/random.h"
#include "render/device.h"
#include "support/bitmap_support.h"
#include "support/distinct_looks_support.h"
#include "support/effect_rules_support.h"
#include "support/frame_recording_support.h"
#include "support/masked_runs_support.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

TEST(Blocks, SettingsAndGrid) {
  TBlockTransition E;
  EXPECT_EQ(E.Description(), "Blocks");
  EXPECT_EQ(E.EditorClassName(), "TBlockTransitionEditor");
  EXPECT_EQ(E.StyleCount(), 4);
  EXPECT_EQ(E.GetSubStyleCount(2), 8);
  EXPECT_EQ(E.GetSubStyleCount(4), 4);
  EXPECT_EQ(E.GetReversedSubStyle(2, 7), 8);
  EXPECT_EQ(E.GetReversedSubStyle(4, 2), 1);
  EXPECT_EQ(E.GetReversedSubStyle(1, 1), 1);
  E.SetCols(8);
  EXPECT_EQ(E.BlockWidth(), 0);
  E.SetBlockWidth(20);
  EXPECT_EQ(E.Cols(), 0);
  E.SetCols(-3);
  EXPECT_EQ(E.Cols(), 1);
  E.SetRows(4);
  E.SetPuzzle(true);
  TBlockTransition Copy;
  Copy.Assign(E);
  EXPECT_EQ(Copy.Cols(), 1);
  EXPECT_EQ(Copy.Rows(), 4);
  EXPECT_EQ(Copy.BlockHeight(), 0);
  EXPECT_TRUE(Copy.Puzzle());

  TBlockTransition F;
  EXPECT_EQ(test::FramesOf(F, 100, 100), 4);
  F.SetStyle(2);
  F.SetDual(true);
  EXPECT_EQ(test::FramesOf(F, 100, 100), 2);
  F.SetDual(false);
  F.SetPuzzle(true);
  F.SetBlockWidth(10);
  test::FramesOf(F, 100, 100);
  EXPECT_EQ(F.GridCols(), 6) << "pieces at least 15 pixels wide";
  EXPECT_EQ(F.GridRows(), 2);
  F.SetPuzzle(false);
  F.SetBlockWidth(1);
  F.SetBlockHeight(1);
  EXPECT_EQ(test::FramesOf(F, 9, 7), 63);
  F.SetPuzzle(true);
  test::FramesOf(F, 9, 7);
  EXPECT_EQ(F.GridCols(), 1) << "an area narrower than a piece keeps one column";
}

// The blocks of the run's order, seen during a run of a W x H area.
std::vector<TPoint> OrderOf(TBlockTransition& E, int W, int H) {
  std::vector<TPoint> Order;
  test::TRecordOptions Options;
  Options.Inspectors.push_back([&](const TOffscreenFrame& F, const TBitmap&) {
    if (F.Frame != 1 || F.Final) return;
    for (int I = 1; I <= E.GridCols() * E.GridRows(); ++I) Order.push_back(E.BlockAt(I));
  });
  test::TScreenDepth Depth(32);
  test::RecordRun(E, test::NoiseBitmap(W, H, 1), test::NoiseBitmap(W, H, 2), Options);
  return Order;
}

TEST(Blocks, OrdersVisitEveryBlockOnce) {
  const auto Make = [](int Style, int S, bool Dual) {
    TBlockTransition E;
    E.SetCols(3);
    E.SetRows(3);
    E.SetStyle(Style);
    E.SetSubStyle(S);
    E.SetDual(Dual);
    return OrderOf(E, 30, 30);
  };
  using P = std::vector<TPoint>;
  EXPECT_EQ(Make(4, 1, false), (P{{1, 1}, {2, 1}, {3, 1}, {3, 2}, {3, 3}, {2, 3}, {1, 3}, {1, 2}, {2, 2}}));
  EXPECT_EQ(Make(4, 3, false), (P{{3, 1}, {2, 1}, {1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}, {3, 2}, {2, 2}}));
  EXPECT_EQ(Make(3, 3, false), (P{{1, 1}, {1, 2}, {1, 3}, {2, 3}, {2, 2}, {2, 1}, {3, 1}, {3, 2}, {3, 3}}));
  EXPECT_EQ(Make(2, 7, false), (P{{3, 1}, {3, 2}, {3, 3}, {2, 1}, {2, 2}, {2, 3}, {1, 1}, {1, 2}, {1, 3}}));
  EXPECT_EQ(Make(2, 1, true), (P{{1, 1}, {3, 3}, {2, 1}, {2, 3}, {3, 1}, {1, 3}, {1, 2}, {3, 2}, {2, 2}}));
  EXPECT_EQ(Make(2, 2, true), Make(2, 1, true)) << "Dual shows the forward order";
  // Every order, on grids of odd and even sides, has each block once.
  for (int Style = 1; Style <= 4; ++Style)
    for (int S = 1; S <= TBlockTransition().GetSubStyleCount(Style); ++S)
      for (bool Dual : {false, true})
        for (auto [Cols, Rows] : {std::pair{4, 5}, std::pair{5, 2}, std::pair{1, 3}}) {
          TBlockTransition E;
          E.SetCols(Cols);
          E.SetRows(Rows);
          E.SetStyle(Style);
          E.SetSubStyle(S);
          E.SetDual(Dual);
          std::vector<TPoint> O = OrderOf(E, 40, 40);
          std::sort(O.begin(), O.end(), [](TPoint A, TPoint B) { return A.Y != B.Y ? A.Y < B.Y : A.X < B.X; });
          P All;
          for (int R = 1; R <= Rows; ++R)
            for (int C = 1; C <= Cols; ++C) All.push_back({C, R});
          EXPECT_EQ(O, All) << "style " << Style << "." << S << (Dual ? " dual " : " ") << Cols << "x" << Rows;
        }
}

// Runs E over a W x H area: the effect rules; the blocks painted one by one on empty masks tile
// the area without gaps or overlaps; every frame shows the new image on exactly the blocks
// 1..k of the order for a k that only grows.
void CheckTilesAndFrames(TBlockTransition& E, int W, int H) {
  test::TScreenDepth Depth(32);
  const test::TDistinctLooks Looks(W, H);
  EXPECT_TRUE(test::KeepsEffectRules(E, Looks));
  std::vector<int> Owner(static_cast<std::size_t>(W * H), 0);
  std::vector<TRect> Bodies(1);  // by block index
  int Knob = 0;
  std::string Fault;
  const auto Pieces = [&](const TOffscreenFrame& F, const TBitmap&) {
    if (F.Frame != 1 || F.Final) return;
    TBitmap Scratch;
    SetupBitmap(Scratch, nullptr, W, H, pf1bit);
    for (int I = 1; I <= E.GridCols() * E.GridRows() && Fault.empty(); ++I) {
      Scratch.Canvas().Brush().Color = clWhite;
      Scratch.Canvas().FillRect(Rect(0, 0, W, H));
      const std::uint32_t White = test::Raw(Scratch, 0, 0);
      Scratch.Canvas().Brush().Color = clBlack;
      const TPoint B = E.BlockAt(I);
      Bodies.push_back(E.BlockRect(B.Y, B.X, false));
      Knob = E.KnobSize();
      E.PaintBlock(Scratch, B.Y, B.X);
      for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
          if (test::Raw(Scratch, X, Y) != White) {
            int& O = Owner[static_cast<std::size_t>(Y * W + X)];
            if (O != 0) Fault = "blocks " + std::to_string(O) + " and " + std::to_string(I) + " overlap at " +
                                std::to_string(X) + "," + std::to_string(Y);
            O = I;
          }
    }
  };
  const test::TRun Run = test::PlainRun(E, Looks.Old(), Looks.New(), {Pieces});
  ASSERT_EQ(Fault, "");
  if (Run.Frames.empty()) {
    // One block: the final image is the only change.
    EXPECT_EQ(E.GridCols() * E.GridRows(), 1);
    return;
  }
  int OutsideBody = 0;  // pixels of knobs in the neighbour's block
  for (int Y = 0, P = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X, ++P) {
      ASSERT_NE(Owner[P], 0) << "a gap at " << X << "," << Y;
      if (!PtInRect(Bodies[static_cast<std::size_t>(Owner[P])], TPoint{X, Y})) ++OutsideBody;
    }
  EXPECT_EQ(OutsideBody > 0, E.Puzzle() && Knob > 0) << "knob size " << Knob;
  int K = 0;
  for (std::size_t F = 0; F < Run.Frames.size(); ++F) {
    int Reached = 0;
    for (std::size_t P = 0; P < Owner.size(); ++P)
      if (Run.Frames[F][P]) Reached = std::max(Reached, Owner[P]);
    ASSERT_GE(Reached, K) << "frame " << F + 1;
    K = Reached;
    for (std::size_t P = 0; P < Owner.size(); ++P)
      ASSERT_EQ(Run.Frames[F][P], Owner[P] <= K) << "frame " << F + 1 << " pixel " << P << " of block " << Owner[P];
  }
}

TEST(Blocks, BlocksOfEverySizeAndStyleChangeOnceAndTile) {
  struct TCase {
    int Size, W, H, Style, S;
    bool Dual, Puzzle;
  };
  const TCase Cases[] = {
      {1, 13, 9, 1, 1, false, false},  {1, 11, 8, 4, 3, true, false},  {15, 70, 50, 2, 6, false, false},
      {15, 70, 50, 3, 2, true, false}, {35, 70, 50, 4, 1, false, false}, {35, 70, 50, 2, 3, false, false},
      {200, 70, 50, 1, 1, false, false}, {2, 14, 10, 3, 4, false, false},
      // Jigsaw pieces: 6 x 4, knobs of 6 pixels; rounded blocks of two sizes; pieces as large as
      // the area.
      {20, 120, 90, 2, 1, false, true},  {17, 103, 71, 1, 1, false, true}, {35, 70, 50, 4, 2, false, true},
      {15, 47, 31, 3, 1, true, true},    {200, 70, 50, 1, 1, false, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Size) + " on " + std::to_string(C.W) + "x" + std::to_string(C.H) + " style " +
                 std::to_string(C.Style) + "." + std::to_string(C.S) + (C.Dual ? " dual" : "") +
                 (C.Puzzle ? " puzzle" : ""));
    TBlockTransition E;
    E.SetBlockWidth(C.Size);
    E.SetBlockHeight(C.Size);
    E.SetStyle(C.Style);
    E.SetSubStyle(C.S);
    E.SetDual(C.Dual);
    E.SetPuzzle(C.Puzzle);
    CheckTilesAndFrames(E, C.W, C.H);
  }
}

// Frames of many blocks each (a step unit of 120 blocks).
class TCoarseBlocks : public TBlockTransition {
public:
  int GetStepUnit() const override { return 120; }
};

TEST(Blocks, FramesOfManyBlocks) {
  for (int Size : {1, 2}) {
    SCOPED_TRACE("blocks of " + std::to_string(Size));
    TCoarseBlocks E;
    E.SetBlockWidth(Size);
    E.SetBlockHeight(Size);
    E.SetStyle(Size == 1 ? 1 : 3);
    CheckTilesAndFrames(E, 19 * Size, 13 * Size);
  }
}

TEST(Blocks, SeededRandomOrderRepeats) {
  TBlockTransition E;
  E.SetBlockWidth(5);
  E.SetBlockHeight(5);
  RandSeed = 99;
  const std::vector<TPoint> A = OrderOf(E, 60, 40);
  RandSeed = 99;
  EXPECT_EQ(OrderOf(E, 60, 40), A);
  EXPECT_NE(OrderOf(E, 60, 40), A);
}

}  // namespace
}  // namespace vte
