// The two example transitions, driven through DoExecute with a bitmap as the screen.
#include <gtest/gtest.h>

#include <QMetaProperty>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "effects/shake.h"
#include "effects/simple_wipe.h"
#include "engine/offscreen_runner.h"
#include "engine/transition_registry.h"
#include "gdi/canvas.h"
#include "support/bitmap_support.h"
#include "support/fake_clock.h"

namespace vte {
namespace {

constexpr int W = 12, H = 7;
constexpr TColor OldColor = 0x204060;

TBitmap Plain(TColor Color) { return test::PlainBitmap(W, H, Color); }
TBitmap Noise(std::uint32_t Seed) { return test::NoiseBitmap(W, H, Seed); }

// ------------------------------------------------------------------------------------------------
// Simple wipe

// Runs a wipe onto a screen that shows the old colour; after every strip the screen must show the
// new image exactly where the strips so far lie, and the old colour elsewhere.
struct TWipeRun {
  std::vector<TRect> Strips;
  int Finals = 0;
  bool ScreenRight = true;
  bool EndedOnNewImage = false;
};

TWipeRun RunWipe(TSimpleWipeTransition& Wipe) {
  TBitmap New = Noise(7), Screen = Plain(OldColor);
  TTETransitionData Data(W, H, nullptr, &New, nullptr, &Screen.Canvas(), pf32bit, true);
  TWipeRun Run;
  TRect Revealed;
  Wipe.AttachRenderTarget(TTERenderTarget{&Screen.Canvas(), [&](const TRect& R) {
    if (R == Rect(0, 0, W, H)) {
      ++Run.Finals;
      return;
    }
    Run.Strips.push_back(R);
    UnionRect(Revealed, Revealed, R);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        const TColor Want = PtInRect(Revealed, {X, Y}) ? New.PixelColor(X, Y) : OldColor;
        if (Screen.PixelColor(X, Y) != Want) Run.ScreenRight = false;
      }
  }, {}});
  Wipe.DoExecute(Data);
  Run.EndedOnNewImage = test::DescribeDifference(Screen, New).empty();
  return Run;
}

std::vector<TRect> OnePixelStrips(TTEEffectDirection D) {
  std::vector<TRect> S;
  const int Count = (D == tedRight || D == tedLeft) ? W : H;
  for (int K = 1; K < Count; ++K) switch (D) {
      case tedRight: S.push_back(Rect(K - 1, 0, K, H)); break;
      case tedLeft: S.push_back(Rect(W - K, 0, W - K + 1, H)); break;
      case tedDown: S.push_back(Rect(0, K - 1, W, K)); break;
      default: S.push_back(Rect(0, H - K, W, H - K + 1)); break;
    }
  return S;
}

TEST(SimpleWipe, EachDirectionUncoversStripByStripAndEndsOnTheNewImage) {
  for (TTEEffectDirection D : {tedRight, tedLeft, tedDown, tedUp}) {
    SCOPED_TRACE(GetDirectionName(D).toStdString());
    TSimpleWipeTransition Wipe;
    Wipe.SetDirection(D);
    const TWipeRun Run = RunWipe(Wipe);
    EXPECT_EQ(Run.Strips, OnePixelStrips(D));
    EXPECT_TRUE(Run.ScreenRight);
    EXPECT_EQ(Run.Finals, 1);
    EXPECT_TRUE(Run.EndedOnNewImage);
  }
}

TEST(SimpleWipe, ReversedRunsTheOppositeWay) {
  const std::pair<TTEEffectDirection, TTEEffectDirection> Pairs[] = {
      {tedRight, tedLeft}, {tedLeft, tedRight}, {tedDown, tedUp}, {tedUp, tedDown}};
  for (const auto& [Set, Runs] : Pairs) {
    SCOPED_TRACE(GetDirectionName(Set).toStdString());
    TSimpleWipeTransition Wipe;
    Wipe.SetDirection(Set);
    Wipe.SetReversed(true);
    const TWipeRun Run = RunWipe(Wipe);
    EXPECT_EQ(Run.Strips, OnePixelStrips(Runs));
    EXPECT_TRUE(Run.ScreenRight);
  }
  // Right, reversed: the first strip is the rightmost column.
  TSimpleWipeTransition Wipe;
  Wipe.SetReversed(true);
  const TWipeRun Run = RunWipe(Wipe);
  ASSERT_FALSE(Run.Strips.empty());
  EXPECT_EQ(Run.Strips.front(), Rect(W - 1, 0, W, H));
}

TEST(SimpleWipe, PacedStripsAreContiguousAndTheRunEndsOnTheNewImage) {
  test::TFakeClock Clock(0.001);
  TSimpleWipeTransition Wipe;
  Wipe.SetDirection(tedDown);
  Wipe.SetMilliseconds(60);
  const TWipeRun Run = RunWipe(Wipe);
  ASSERT_FALSE(Run.Strips.empty());
  EXPECT_EQ(Run.Strips.front().Top, 0);
  for (std::size_t I = 1; I < Run.Strips.size(); ++I) EXPECT_EQ(Run.Strips[I].Top, Run.Strips[I - 1].Bottom);
  EXPECT_LT(Run.Strips.back().Bottom, H);
  EXPECT_TRUE(Run.ScreenRight);
  EXPECT_EQ(Run.Finals, 1);
  EXPECT_TRUE(Run.EndedOnNewImage);
}

TEST(SimpleWipe, FramesDoNotPollForAborts) {
  TSimpleWipeTransition Wipe;
  Wipe.AbortCheckInterval = -1;
  bool Drawing = false;
  Wipe.OnAbortQuery = [&](QObject*, TTransitionEffect*, bool& Abort) { Abort = Drawing; };
  TBitmap New = Noise(3), Screen = Plain(OldColor);
  TTETransitionData Data(W, H, nullptr, &New, nullptr, &Screen.Canvas(), pf32bit, true);
  int Strips = 0;
  Wipe.AttachRenderTarget(TTERenderTarget{&Screen.Canvas(), [&](const TRect&) {
    ++Strips;
    Drawing = true;
  }, {}});
  Wipe.DoExecute(Data);
  EXPECT_EQ(Strips, W - 1 + 1);  // every strip, then the new image
  EXPECT_FALSE(Wipe.Aborted());
}

TEST(SimpleWipe, PublishesItsSettingsAndStaysOutOfTheRegistry) {
  TSimpleWipeTransition Wipe;
  EXPECT_EQ(Wipe.Direction(), tedRight);
  EXPECT_FALSE(Wipe.Reversed());
  EXPECT_EQ(Wipe.Milliseconds(), 0);
  Wipe.SetDirection(tedDownRight);
  EXPECT_EQ(Wipe.Direction(), tedRight) << "not an allowed direction";
  Wipe.SetDirection(tedIn);
  EXPECT_EQ(Wipe.Direction(), tedRight);
  Wipe.SetDirection(tedUp);
  EXPECT_EQ(Wipe.Direction(), tedUp);
  EXPECT_EQ(Wipe.AllowedDirections(), DirectionSet(tedRight, tedLeft, tedDown, tedUp));

  EXPECT_EQ(Wipe.Description(), "Simple wipe");
  EXPECT_FALSE(Wipe.RenderWhenClipped());
  EXPECT_FALSE(Wipe.NeedSrcImage());
  EXPECT_TRUE(Wipe.NeedDstImage());
  EXPECT_FALSE(Wipe.NeedWorkBitmap());

  // Settings by name, as editors and stored lists reach them.
  EXPECT_TRUE(Wipe.setProperty("Direction", QVariant::fromValue(tedLeft)));
  EXPECT_EQ(Wipe.Direction(), tedLeft);
  EXPECT_TRUE(Wipe.setProperty("Reversed", true));
  EXPECT_TRUE(Wipe.Reversed());
  EXPECT_TRUE(Wipe.setProperty("Milliseconds", 750));
  EXPECT_EQ(Wipe.Milliseconds(), 750);
  const QMetaObject& M = TSimpleWipeTransition::staticMetaObject;
  EXPECT_TRUE(M.property(M.indexOfProperty("Direction")).isEnumType());

  EXPECT_EQ(FindTransitionClass("TSimpleWipeTransition"), nullptr);
  std::unique_ptr<QObject> Made(M.newInstance(Q_ARG(QObject*, nullptr)));
  EXPECT_NE(qobject_cast<TSimpleWipeTransition*>(Made.get()), nullptr);
}

TEST(SimpleWipe, RunsThroughTheOffscreenRunner) {
  TSimpleWipeTransition Wipe;
  Wipe.SetDirection(tedLeft);
  const TBitmap Old = Plain(OldColor), New = Noise(11);
  TBitmap Screen;
  RunOffscreen(Wipe, Old, New, Screen);
  EXPECT_EQ(test::DescribeDifference(Screen, New), "");
}

// ------------------------------------------------------------------------------------------------
// Shake

TEST(Shake, WithoutTimeDrawsTheOldImageOnceInPlace) {
  TShakeTransition Shake;
  TBitmap Old = Noise(5), Screen = Plain(0x00FF00);
  TTETransitionData Data(W, H, &Old, nullptr, nullptr, &Screen.Canvas(), pf32bit, true);
  std::vector<TRect> Shown;
  Shake.AttachRenderTarget(TTERenderTarget{&Screen.Canvas(), [&](const TRect& R) { Shown.push_back(R); }, {}});
  Shake.DoExecute(Data);
  EXPECT_EQ(Shown, (std::vector<TRect>{Rect(0, 0, W, H)}));
  EXPECT_EQ(test::DescribeDifference(Screen, Old), "");
}

// The offset (dx, dy) in -3..3 at which Screen shows Old, if any.
bool FindOffset(const TBitmap& Screen, const TBitmap& Old, int& Dx, int& Dy) {
  for (Dy = -3; Dy <= 3; ++Dy)
    for (Dx = -3; Dx <= 3; ++Dx) {
      bool Match = true;
      for (int Y = 0; Y < H && Match; ++Y)
        for (int X = 0; X < W && Match; ++X)
          if (X - Dx >= 0 && X - Dx < W && Y - Dy >= 0 && Y - Dy < H)
            Match = Screen.PixelColor(X, Y) == Old.PixelColor(X - Dx, Y - Dy);
      if (Match) return true;
    }
  return false;
}

TEST(Shake, JittersTheOldImageUntilTheTimeIsUpThenPutsItBack) {
  test::TFakeClock Clock;  // moves 40 ms with every frame shown
  TShakeTransition Shake;
  Shake.SetMilliseconds(400);
  TBitmap Old = Noise(9), Screen = Plain(0x00FF00);
  TTETransitionData Data(W, H, &Old, nullptr, nullptr, &Screen.Canvas(), pf32bit, true);
  std::vector<TBitmap> Frames;
  Shake.AttachRenderTarget(TTERenderTarget{&Screen.Canvas(), [&](const TRect& R) {
    EXPECT_EQ(R, Rect(0, 0, W, H));
    Frames.push_back(Screen);
    Clock.Advance(40);
  }, {}});
  Shake.DoExecute(Data);

  // Frames at 0, 40, ... 360 ms, then the old image in place.
  ASSERT_EQ(Frames.size(), 11u);
  EXPECT_EQ(test::DescribeDifference(Frames.back(), Old), "");
  TBitmap Previous = Plain(0x00FF00);
  std::set<std::pair<int, int>> Offsets;
  for (std::size_t I = 0; I + 1 < Frames.size(); ++I) {
    SCOPED_TRACE(I);
    int Dx = 0, Dy = 0;
    ASSERT_TRUE(FindOffset(Frames[I], Old, Dx, Dy));
    Offsets.insert({Dx, Dy});
    // What the shifted copy does not reach keeps what the frame before left there.
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X)
        if (X - Dx < 0 || X - Dx >= W || Y - Dy < 0 || Y - Dy >= H) {
          EXPECT_EQ(Frames[I].PixelColor(X, Y), Previous.PixelColor(X, Y)) << X << "," << Y;
        }
    Previous = Frames[I];
  }
  EXPECT_GT(Offsets.size(), 1u) << "every frame draws a new offset";
}

TEST(Shake, HasOnlyADurationAndNeedsNoNewImage) {
  TShakeTransition Shake;
  EXPECT_EQ(Shake.Description(), "Shake");
  EXPECT_FALSE(Shake.NeedDstImage());
  EXPECT_EQ(Shake.AllowedDirections(), DirectionSet(tedNone));
  const QMetaObject& M = TShakeTransition::staticMetaObject;
  EXPECT_GE(M.indexOfProperty("Milliseconds"), 0);
  EXPECT_EQ(M.indexOfProperty("Direction"), -1);
  EXPECT_EQ(M.indexOfProperty("Reversed"), -1);
  EXPECT_EQ(FindTransitionClass("TShakeTransition"), nullptr);
}

}  // namespace
}  // namespace vte
