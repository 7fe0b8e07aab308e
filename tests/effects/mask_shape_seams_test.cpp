// The shapes the circle, radial and diagonal transitions paint into their masks, straight from
// their PaintMask on odd sizes: a run's shapes leave no pixel unpainted, however the frames are
// grouped into steps (a pixel the shapes of frames 1..f cover one at a time is covered when they
// come as fewer, larger shapes), circles nest, and diagonals cover each pixel once.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "effects/circle.h"
#include "effects/diagonal.h"
#include "effects/radial.h"
#include "gdi/canvas.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

template <class E> class TProbe : public E {
public:
  using E::PaintMask;
};

struct TSize {
  int W, H;
};
constexpr TSize Sizes[] = {{1, 1}, {1, 9}, {9, 1}, {7, 5}, {701, 493}};

// A run of Effect set up on a W x H area, with a white 1-bit mask to paint on.
template <class E> class TShapeRun {
public:
  TShapeRun(TProbe<E>& Effect, int W, int H)
      : Effect(Effect),
        Bmp(Effect.GetBitmapsWidth(W), H, Effect.GetPixelFormat()),
        Data(W, H, &Bmp, &Bmp, &Bmp, nullptr, Effect.GetPixelFormat(), true),
        Mask(Effect.GetBitmapsWidth(W), H, pf1bit) {
    Effect.Initialize(Data, Frames);
    Mask.Canvas().Pen().Color = Mask.Canvas().Brush().Color = clBlack;
  }
  ~TShapeRun() { Effect.Finalize(Data); }

  void Clear() {
    for (int Y = 0; Y < Data.Height; ++Y) std::fill_n(Mask.ScanLine(Y), Mask.ScanlineBytes(), 0xFF);
  }
  // Paints the shape of the change from frame Prev to Cur.
  void Paint(int Cur, int Prev) { Effect.PaintMask(Mask, Cur, Cur - Prev, Frames, Prev, Data, true, false); }
  bool Covered(int X, int Y) const { return !((Mask.ScanLine(Y)[X >> 3] >> (7 - (X & 7))) & 1); }
  std::vector<bool> Pixels() const {
    std::vector<bool> V;
    for (int Y = 0; Y < Data.Height; ++Y)
      for (int X = 0; X < Data.Width; ++X) V.push_back(Covered(X, Y));
    return V;
  }
  // The covered pixels as bits, a row's bytes after the other's (bits past the width clear).
  std::vector<std::uint8_t> CoveredBits() const {
    std::vector<std::uint8_t> V;
    const int Bytes = (Data.Width + 7) / 8, Tail = Data.Width % 8;
    for (int Y = 0; Y < Data.Height; ++Y)
      for (int I = 0; I < Bytes; ++I)
        V.push_back(static_cast<std::uint8_t>(~Mask.ScanLine(Y)[I] & (I == Bytes - 1 && Tail ? 0xFF << (8 - Tail) : 0xFF)));
    return V;
  }
  int Uncovered() const {
    int N = Data.Width * Data.Height;
    for (std::uint8_t B : CoveredBits()) N -= std::popcount(B);
    return N;
  }

  TProbe<E>& Effect;
  TBitmap Bmp;
  TTETransitionData Data;
  TBitmap Mask;
  int Frames = 0;
};

// Steps of 1, then of growing odd sizes: wedges of many positions, starting anywhere.
std::vector<int> CoarseSteps(int Frames) {
  std::vector<int> Ends;
  for (int F = 0, S = 1; F < Frames; S += 2) Ends.push_back(F = std::min(Frames, F + S));
  return Ends;
}

// Every shape frame painted over the others covers the picture, whether the frames come one by
// one or in coarse steps; at every step's end the coarse union holds all the single frames did.
template <class E> void ExpectUnionsCover(TProbe<E>& Effect, int W, int H, bool CompareSteps) {
  TShapeRun<E> Fine(Effect, W, H);
  const std::vector<int> Ends = CoarseSteps(Fine.Frames);
  std::vector<std::vector<bool>> FineAt;
  std::size_t Next = 0;
  for (int F = 1; F <= Fine.Frames; ++F) {
    Fine.Paint(F, F - 1);
    if (CompareSteps && Next < Ends.size() && Ends[Next] == F) {
      FineAt.push_back(Fine.Pixels());
      ++Next;
    }
  }
  EXPECT_EQ(Fine.Uncovered(), 0) << "frames one by one, " << Fine.Frames << " frames";
  Fine.Clear();
  int Prev = 0;
  for (std::size_t I = 0; I < Ends.size(); ++I) {
    Fine.Paint(Ends[I], Prev);
    Prev = Ends[I];
    if (!CompareSteps) continue;
    const std::vector<bool> Now = Fine.Pixels();
    for (std::size_t P = 0; P < Now.size(); ++P)
      ASSERT_TRUE(Now[P] || !FineAt[I][P]) << "pixel " << P % W << "," << P / W << " left out by the step to frame "
                                           << Ends[I];
  }
  EXPECT_EQ(Fine.Uncovered(), 0) << "frames in coarse steps";
}

TEST(MaskShapeSeams, RadialWedgesAndLinesLeaveNoGap) {
  test::TScreenDepth Depth(32);
  for (const TSize& Size : Sizes)
    for (int Smoothing : {0, 3})
      for (int Style = 1; Style <= 7; ++Style) {
        TRadialTransition Counter;
        for (int S = 1; S <= Counter.GetSubStyleCount(Style); ++S) {
          SCOPED_TRACE(std::to_string(Size.W) + "x" + std::to_string(Size.H) + " style " + std::to_string(Style) +
                       "." + std::to_string(S) + (Smoothing ? " smoothed" : ""));
          TProbe<TRadialTransition> E;
          E.SetStyle(Style);
          E.SetSubStyle(S);
          E.SetSmoothingLevel(Smoothing);
          ExpectUnionsCover(E, Size.W, Size.H, Size.W * Size.H < 100);
        }
      }
}

TEST(MaskShapeSeams, DiagonalLinesCoverEachPixelOnce) {
  for (const TSize& Size : Sizes)
    for (int Style = 1; Style <= 2; ++Style)
      for (int S = 1; S <= 4; ++S) {
        SCOPED_TRACE(std::to_string(Size.W) + "x" + std::to_string(Size.H) + " style " + std::to_string(Style) + "." +
                     std::to_string(S));
        TProbe<TDiagonalTransition> E;
        E.SetStyle(Style);
        E.SetSubStyle(S);
        ExpectUnionsCover(E, Size.W, Size.H, Size.W * Size.H < 100);
        if (Size.W * Size.H > 100) continue;  // one painting a frame over the whole area
        TShapeRun<TDiagonalTransition> Run(E, Size.W, Size.H);
        ASSERT_EQ(Run.Frames, Size.W + Size.H - 1);
        std::vector<int> Times(static_cast<std::size_t>(Size.W * Size.H));
        for (int F = 1; F <= Run.Frames; ++F) {
          Run.Clear();
          Run.Paint(F, F - 1);
          const std::vector<bool> P = Run.Pixels();
          for (std::size_t I = 0; I < P.size(); ++I) Times[I] += P[I];
        }
        EXPECT_EQ(std::count(Times.begin(), Times.end(), 1), static_cast<long>(Times.size()));
      }
}

TEST(MaskShapeSeams, CirclesNestAndTheLastCoversThePicture) {
  for (const TSize& Size : Sizes)
    for (int Style = 1; Style <= 3; ++Style)
      for (int S = 1; S <= (Style == 1 ? 2 : 8); ++S) {
        SCOPED_TRACE(std::to_string(Size.W) + "x" + std::to_string(Size.H) + " style " + std::to_string(Style) + "." +
                     std::to_string(S));
        TProbe<TCircleTransition> E;
        E.SetStyle(Style);
        E.SetSubStyle(S);
        const bool Growing = Style == 1 ? S == 1 : S <= 4;
        TShapeRun<TCircleTransition> Run(E, Size.W, Size.H);
        Run.Paint(0, 0);
        std::vector<std::uint8_t> Before = Run.CoveredBits();
        EXPECT_EQ(Run.Uncovered(), Growing ? Size.W * Size.H : 0) << "frame 0";
        for (int F = 1; F <= Run.Frames; ++F) {
          Run.Clear();
          Run.Paint(F, F - 1);
          const std::vector<std::uint8_t> Now = Run.CoveredBits();
          for (std::size_t I = 0; I < Now.size(); ++I)
            ASSERT_EQ(Growing ? Before[I] & ~Now[I] : Now[I] & ~Before[I], 0) << "frame " << F << " byte " << I;
          Before = Now;
        }
        // The run ends on a circle of the full radius (growing) or of none (shrinking).
        EXPECT_EQ(Run.Uncovered(), Growing ? 0 : Size.W * Size.H);
      }
}

}  // namespace
}  // namespace vte
