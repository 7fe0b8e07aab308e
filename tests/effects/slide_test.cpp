// The slide transition through the offscreen runner: every frame of every direction and flag
// combination against the picture the direction's geometry describes, the scroll way against the
// bitmap way, Reversed as the time-reversed run, and one run over real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMetaProperty>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "effects/slide.h"
#include "engine/offscreen_runner.h"
#include "engine/transition_registry.h"
#include "gdi/canvas.h"
#include "support/bitmap_support.h"
#include "support/effect_rules_support.h"
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

constexpr TTEEffectDirection Straight[] = {tedDown, tedUp, tedRight, tedLeft};
constexpr TTEEffectDirection Diagonal[] = {tedDownRight, tedDownLeft, tedUpRight, tedUpLeft};

using test::NoiseBitmap;
using test::OneTo;
using test::TRecordedFrame;

struct TSettings {
  TTEEffectDirection Direction = tedDown;
  bool SlideOut = false, ElasticDst = false, ElasticSrc = false, Reversed = false;
  bool FromBitmaps = false;  // ForceRendering: the old look counts as painted
  int Milliseconds = 0;
  std::string Name() const {
    return GetDirectionName(Direction).toStdString() + (SlideOut ? " out" : " in") + (ElasticDst ? " +dst" : "") +
           (ElasticSrc ? " +src" : "") + (Reversed ? " reversed" : "") + (FromBitmaps ? " bitmaps" : " scroll");
  }
};

// All eight combinations of the three flags.
std::vector<TSettings> FlagCombinations(TTEEffectDirection D) {
  std::vector<TSettings> V;
  for (int Bits = 0; Bits < 8; ++Bits) {
    TSettings S;
    S.Direction = D;
    S.SlideOut = Bits & 1;
    S.ElasticDst = Bits & 2;
    S.ElasticSrc = Bits & 4;
    V.push_back(S);
  }
  return V;
}

struct TRun {
  std::vector<TRecordedFrame> Shots;  // the frames shown, without the final image
  std::vector<int> Frames, Steps;     // the frame units asked for
  int Total = 0;
  int Finals = 0;
  bool EndsOnNew = false;
  bool FromBitmaps = false;
  bool ChangesReported = true;  // every pixel a frame changed lies in a rectangle it reported
};

TRun RunSlide(const TSettings& S, const TBitmap& Old, const TBitmap& New) {
  test::TFrameUnitLog<TSlideTransition> E;
  E.SetDirection(S.Direction);
  E.SetSlideOut(S.SlideOut);
  E.SetElasticDst(S.ElasticDst);
  E.SetElasticSrc(S.ElasticSrc);
  E.SetReversed(S.Reversed);
  E.SetMilliseconds(S.Milliseconds);
  E.ForceRendering = S.FromBitmaps;
  test::TFaults Unreported;
  test::TRecordOptions Keep;
  Keep.KeepScreens = true;
  Keep.Inspectors.push_back(test::ChangesInsideReportedRects(Unreported));
  const test::TFrameRecording Recorded = test::RecordRun(E, Old, New, Keep);
  TRun Run;
  for (const TRecordedFrame* F : Recorded.Shown()) Run.Shots.push_back(*F);
  Run.Finals = Recorded.Finals();
  Run.ChangesReported = Unreported.Empty();
  Run.Frames = E.Frames();
  Run.Steps = E.Steps();
  Run.Total = E.Total;
  Run.EndsOnNew = Recorded.EndsOn(New);
  Run.FromBitmaps = E.DrawFromBitmaps();
  return Run;
}

::testing::AssertionResult SamePicture(const TBitmap& Got, const TBitmap& Want) {
  const std::string D = test::DescribeDifference(Got, Want);
  if (D.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << D;
}

void Blit(TBitmap& Dest, const TRect& R, TBitmap& Source, TPoint From) {
  Dest.Canvas().BitBlt(R.Left, R.Top, R.Width(), R.Height(), Source.Canvas(), From.X, From.Y, SRCCOPY);
}
void Stretch(TBitmap& Dest, const TRect& R, TBitmap& Source) {
  if (R.IsEmpty()) return;
  Dest.Canvas().StretchBlt(R.Left, R.Top, R.Width(), R.Height(), Source.Canvas(), 0, 0, Source.Width(),
                           Source.Height(), SRCCOPY);
}

// Nearest, halves to even, for the test sizes' quotients.
int RoundEven(double V) { return static_cast<int>(std::nearbyint(V)); }

// Where the images are at frame F of T in a straight or diagonal run: the new image's area (the
// entry side or corner) and the source point of its top left, the old image's area and its source.
struct TGeometry {
  TRect Entry, Remaining;
  TPoint NewFrom, OldFrom;
};

TGeometry GeometryAt(TTEEffectDirection D, int W, int H, int T, int F) {
  int x = F, y = F;
  if (D != tedDown && D != tedUp && D != tedLeft && D != tedRight) {
    x = RoundEven(double(W) / T * F);
    y = RoundEven(double(H) / T * F);
  }
  switch (D) {
    case tedDown: return {Rect(0, 0, W, y), Rect(0, y, W, H), {0, H - y}, {0, 0}};
    case tedUp: return {Rect(0, H - y, W, H), Rect(0, 0, W, H - y), {0, 0}, {0, y}};
    case tedRight: return {Rect(0, 0, x, H), Rect(x, 0, W, H), {W - x, 0}, {0, 0}};
    case tedLeft: return {Rect(W - x, 0, W, H), Rect(0, 0, W - x, H), {0, 0}, {x, 0}};
    case tedDownRight: return {Rect(0, 0, x, y), Rect(x, y, W, H), {W - x, H - y}, {0, 0}};
    case tedDownLeft: return {Rect(W - x, 0, W, y), Rect(0, y, W - x, H), {0, H - y}, {x, 0}};
    case tedUpRight: return {Rect(0, H - y, x, H), Rect(x, 0, W, H - y), {W - x, 0}, {0, y}};
    default: return {Rect(W - x, H - y, W, H), Rect(0, 0, W - x, H - y), {0, 0}, {x, y}};
  }
}

// The case a setting plays: reversed runs the opposite way with in/out and the elastic flags'
// roles swapped; a corner takes a stretched new image first, then a squeezed old one.
struct TCase {
  TTEEffectDirection Direction;
  bool Out, StretchNew, SqueezeOld;
};

TCase CaseOf(const TSettings& S) {
  TCase C{S.Reversed ? OppositeDirection(S.Direction) : S.Direction, S.SlideOut != S.Reversed,
          S.Reversed ? S.ElasticSrc : S.ElasticDst, S.Reversed ? S.ElasticDst : S.ElasticSrc};
  const bool Straight = C.Direction == tedDown || C.Direction == tedUp || C.Direction == tedLeft ||
                        C.Direction == tedRight;
  if (!Straight && C.StretchNew) C = {C.Direction, false, true, false};
  else if (!Straight && C.SqueezeOld) C = {C.Direction, true, false, true};
  return C;
}

// The picture of frame F of T of a straight or diagonal run.
TBitmap Expected(const TCase& C, TBitmap& Old, TBitmap& New, int T, int F) {
  const TGeometry G = GeometryAt(C.Direction, Old.Width(), Old.Height(), T, F);
  TBitmap Want = C.Out ? New : Old;  // the image that does not move stays in place
  if (!C.Out) {
    if (C.SqueezeOld) Stretch(Want, G.Remaining, Old);
    if (C.StretchNew) Stretch(Want, G.Entry, New);
    else Blit(Want, G.Entry, New, G.NewFrom);
  } else {
    if (C.StretchNew) Stretch(Want, G.Entry, New);
    if (C.SqueezeOld) Stretch(Want, G.Remaining, Old);
    else Blit(Want, G.Remaining, Old, G.OldFrom);
  }
  return Want;
}

// The picture of frame F of T of tedIn (old image squeezed to the centre) or tedOut (new image
// stretched from it).
TBitmap ExpectedCentre(bool In, TBitmap& Old, TBitmap& New, int T, int F) {
  const int W = Old.Width(), H = Old.Height();
  const int x = RoundEven(double(W) / T * F), y = RoundEven(double(H) / T * F);
  const int a = In ? x / 2 : (W - x) / 2, b = In ? y / 2 : (H - y) / 2;
  TBitmap Want = In ? New : Old;
  Stretch(Want, Rect(a, b, W - a, H - b), In ? Old : New);
  return Want;
}

// ------------------------------------------------------------------------------------------------

TEST(Slide, ClassFactsPropertiesAndRegistration) {
  TSlideTransition Slide;
  EXPECT_EQ(Slide.Description(), QStringLiteral("Slide"));
  EXPECT_EQ(TTransitionEffect::EditorClassName(&TSlideTransition::staticMetaObject),
            QStringLiteral("TSlideTransitionEditor"));
  EXPECT_EQ(FindTransitionClass(QStringLiteral("TSlideTransition")), &TSlideTransition::staticMetaObject);
  EXPECT_EQ(Slide.Direction(), tedDown);
  EXPECT_FALSE(Slide.ElasticDst() || Slide.ElasticSrc() || Slide.SlideOut() || Slide.Reversed());
  EXPECT_TRUE(Slide.NeedSrcImage());
  // Every direction but tedNone.
  for (int D = tedRight; D <= tedOut; ++D) {
    Slide.SetDirection(TTEEffectDirection(D));
    EXPECT_EQ(Slide.Direction(), D);
  }
  Slide.SetDirection(tedNone);
  EXPECT_EQ(Slide.Direction(), tedOut);
  // The published properties by name.
  for (const char* Name : {"ElasticDst", "ElasticSrc", "SlideOut", "Reversed"}) {
    SCOPED_TRACE(Name);
    ASSERT_TRUE(Slide.setProperty(Name, true));
    EXPECT_TRUE(Slide.property(Name).toBool());
  }
  EXPECT_TRUE(Slide.setProperty("Direction", QVariant::fromValue(tedUpLeft)));
  EXPECT_EQ(Slide.Direction(), tedUpLeft);
  EXPECT_TRUE(Slide.setProperty("Milliseconds", 250));
  EXPECT_EQ(Slide.Milliseconds(), 250);
}

TEST(Slide, AssignCopiesTheFlagsFromASlideOnly) {
  TSlideTransition From;
  From.SetElasticDst(true);
  From.SetSlideOut(true);
  From.SetDirection(tedIn);
  From.SetMilliseconds(123);
  TSlideTransition To;
  To.SetElasticSrc(true);
  To.Assign(From);
  EXPECT_TRUE(To.ElasticDst());
  EXPECT_FALSE(To.ElasticSrc());
  EXPECT_TRUE(To.SlideOut());
  EXPECT_EQ(To.Direction(), tedIn);
  EXPECT_EQ(To.Milliseconds(), 123);
  // Another effect gives only the common settings.
  TFlickerFreeTransition Other;
  Other.SetMilliseconds(7);
  To.Assign(Other);
  EXPECT_TRUE(To.ElasticDst() && To.SlideOut());
  EXPECT_EQ(To.Milliseconds(), 7);
}

TEST(Slide, FrameCountsOfEveryDirection) {
  constexpr int W = 9, H = 5;  // W != H, so that each count tells which side it came from
  TBitmap Old = NoiseBitmap(W, H, 1), New = NoiseBitmap(W, H, 2);
  const std::pair<TTEEffectDirection, int> Counts[] = {
      {tedDown, H},      {tedUp, H},        {tedRight, W},    {tedLeft, W}, {tedDownRight, W},
      {tedDownLeft, W},  {tedUpRight, W},   {tedUpLeft, W},   {tedIn, W / 2}, {tedOut, W / 2}};
  for (const auto& [D, Count] : Counts)
    for (bool Reversed : {false, true}) {
      TSettings S;
      S.Direction = D;
      S.Reversed = Reversed;
      SCOPED_TRACE(S.Name());
      const TRun Run = RunSlide(S, Old, New);
      EXPECT_EQ(Run.Total, Count);
      EXPECT_EQ(Run.Frames, OneTo(Count - 1));
      EXPECT_EQ(Run.Finals, 1);
      EXPECT_TRUE(Run.EndsOnNew);
    }
  // Taller than wide: the diagonals and the centre ones take the height.
  TBitmap Tall = NoiseBitmap(4, 11, 3), Tall2 = NoiseBitmap(4, 11, 4);
  for (TTEEffectDirection D : {tedUpRight, tedIn}) {
    TSettings S;
    S.Direction = D;
    EXPECT_EQ(RunSlide(S, Tall, Tall2).Total, D == tedIn ? 5 : 11);
  }
}

TEST(Slide, DefaultSlidesTheNewImageDownOverTheStillOldOne) {
  constexpr int W = 6, H = 5;
  TBitmap Old = NoiseBitmap(W, H, 11), New = NoiseBitmap(W, H, 12);
  for (bool FromBitmaps : {false, true}) {
    TSettings S;
    S.FromBitmaps = FromBitmaps;
    SCOPED_TRACE(S.Name());
    const TRun Run = RunSlide(S, Old, New);
    ASSERT_EQ(Run.Shots.size(), std::size_t(H - 1));
    // First frame: the bottom row of the new image on top, only that row changed.
    const TRecordedFrame& First = Run.Shots.front();
    EXPECT_EQ(First.Unit, 1);
    EXPECT_EQ(First.Changed, std::vector<TRect>{Rect(0, 0, W, 1)});
    // Last frame: all but the top row of the new image, the old image's bottom row still there.
    const TRecordedFrame& Last = Run.Shots.back();
    EXPECT_EQ(Last.Unit, H - 1);
    for (int X = 0; X < W; ++X) {
      EXPECT_EQ(test::Raw(First.Screen, X, 0), test::Raw(New, X, H - 1));
      for (int Y = 1; Y < H; ++Y) EXPECT_EQ(test::Raw(First.Screen, X, Y), test::Raw(Old, X, Y));
      for (int Y = 0; Y < H - 1; ++Y) EXPECT_EQ(test::Raw(Last.Screen, X, Y), test::Raw(New, X, Y + 1));
      EXPECT_EQ(test::Raw(Last.Screen, X, H - 1), test::Raw(Old, X, H - 1));
    }
    EXPECT_TRUE(Run.EndsOnNew);
    EXPECT_EQ(Run.FromBitmaps, FromBitmaps);
  }
}

TEST(Slide, SlideOutRightMovesTheOldImageAndShowsTheNewInPlace) {
  constexpr int W = 7, H = 4;
  TBitmap Old = NoiseBitmap(W, H, 21), New = NoiseBitmap(W, H, 22);
  for (bool FromBitmaps : {false, true}) {
    TSettings S;
    S.Direction = tedRight;
    S.SlideOut = true;
    S.FromBitmaps = FromBitmaps;
    SCOPED_TRACE(S.Name());
    const TRun Run = RunSlide(S, Old, New);
    ASSERT_EQ(Run.Shots.size(), std::size_t(W - 1));
    for (const TRecordedFrame& Shot : Run.Shots)
      for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
          const std::uint32_t Want = X < Shot.Unit ? test::Raw(New, X, Y) : test::Raw(Old, X - Shot.Unit, Y);
          ASSERT_EQ(test::Raw(Shot.Screen, X, Y), Want) << "frame " << Shot.Unit << " at " << X << "," << Y;
        }
    // The first frame changes the whole area: the old image moved by one column.
    EXPECT_EQ(Run.Shots.front().Changed, std::vector<TRect>{Rect(0, 0, W, H)});
    EXPECT_TRUE(Run.EndsOnNew);
  }
}

// Every frame of every straight and diagonal direction, flag combination and way of drawing,
// unreversed and reversed, against the geometry's picture; changes are always reported.
TEST(Slide, EveryFrameOfStraightAndDiagonalRunsShowsItsGeometry) {
  // 13 x 7: the diagonals take 13 frames, and no quotient of theirs falls on a half.
  constexpr int W = 13, H = 7;
  TBitmap Old = NoiseBitmap(W, H, 31), New = NoiseBitmap(W, H, 32);
  std::vector<TTEEffectDirection> All(std::begin(Straight), std::end(Straight));
  All.insert(All.end(), std::begin(Diagonal), std::end(Diagonal));
  for (TTEEffectDirection D : All)
    for (TSettings S : FlagCombinations(D))
      for (bool Reversed : {false, true})
        for (bool FromBitmaps : {false, true}) {
          S.Reversed = Reversed;
          S.FromBitmaps = FromBitmaps;
          SCOPED_TRACE(S.Name());
          const TRun Run = RunSlide(S, Old, New);
          const TCase C = CaseOf(S);
          for (const TRecordedFrame& Shot : Run.Shots)
            ASSERT_TRUE(SamePicture(Shot.Screen, Expected(C, Old, New, Run.Total, Shot.Unit)))
                << "frame " << Shot.Unit;
          EXPECT_TRUE(Run.ChangesReported);
          EXPECT_TRUE(Run.EndsOnNew);
          EXPECT_EQ(Run.FromBitmaps, FromBitmaps);
        }
}

// Paced runs take steps of several pixels; the scroll way must still draw what enters.
TEST(Slide, PacedRunsWithLargeStepsShowTheGeometryOnBothWays) {
  constexpr int W = 40, H = 23;
  TBitmap Old = NoiseBitmap(W, H, 41), New = NoiseBitmap(W, H, 42);
  for (TTEEffectDirection D : {tedDown, tedLeft, tedUpRight, tedDownLeft})
    for (TSettings S : FlagCombinations(D))
      for (bool FromBitmaps : {false, true}) {
        S.FromBitmaps = FromBitmaps;
        S.Milliseconds = 30;
        SCOPED_TRACE(S.Name());
        test::TFakeClock Clock(0.5);
        const TRun Run = RunSlide(S, Old, New);
        ASSERT_FALSE(Run.Shots.empty());
        EXPECT_GT(*std::max_element(Run.Steps.begin(), Run.Steps.end()), 1);
        const TCase C = CaseOf(S);
        for (const TRecordedFrame& Shot : Run.Shots)
          ASSERT_TRUE(SamePicture(Shot.Screen, Expected(C, Old, New, Run.Total, Shot.Unit))) << "frame " << Shot.Unit;
        EXPECT_TRUE(Run.ChangesReported);
        EXPECT_TRUE(Run.EndsOnNew);
      }
}

// Reversed plays the straight slides backwards in time: its frame g between A and B is frame
// T - g of the unreversed run between B and A, for every flag combination.
TEST(Slide, ReversedStraightRunIsTheTimeReversedPicture) {
  constexpr int W = 8, H = 6;
  TBitmap A = NoiseBitmap(W, H, 51), B = NoiseBitmap(W, H, 52);
  for (TTEEffectDirection D : Straight)
    for (TSettings S : FlagCombinations(D)) {
      SCOPED_TRACE(S.Name());
      const TRun Forward = RunSlide(S, A, B);
      S.Reversed = true;
      const TRun Backward = RunSlide(S, B, A);
      ASSERT_EQ(Forward.Shots.size(), Backward.Shots.size());
      const int T = Forward.Total;
      for (std::size_t I = 0; I < Backward.Shots.size(); ++I) {
        const TRecordedFrame& G = Backward.Shots[I];
        ASSERT_TRUE(SamePicture(G.Screen, Forward.Shots[T - G.Unit - 1].Screen)) << "frame " << G.Unit;
      }
    }
}

TEST(Slide, BothElasticFlagsGiveTheSamePictureInAndOut) {
  constexpr int W = 10, H = 6;
  TBitmap Old = NoiseBitmap(W, H, 61), New = NoiseBitmap(W, H, 62);
  for (TTEEffectDirection D : Straight) {
    TSettings S;
    S.Direction = D;
    S.ElasticDst = S.ElasticSrc = true;
    SCOPED_TRACE(S.Name());
    const TRun In = RunSlide(S, Old, New);
    S.SlideOut = true;
    const TRun Out = RunSlide(S, Old, New);
    ASSERT_EQ(In.Shots.size(), Out.Shots.size());
    for (std::size_t I = 0; I < In.Shots.size(); ++I) ASSERT_TRUE(SamePicture(In.Shots[I].Screen, Out.Shots[I].Screen));
    // Both images really are resized: half way, neither shows as it is.
    const TRecordedFrame& Half = In.Shots[In.Shots.size() / 2];
    EXPECT_FALSE(SamePicture(Half.Screen, Expected({D, false, false, false}, Old, New, In.Total, Half.Unit)));
  }
}

TEST(Slide, DiagonalFlagRules) {
  constexpr int W = 11, H = 9;
  TBitmap Old = NoiseBitmap(W, H, 71), New = NoiseBitmap(W, H, 72);
  for (TTEEffectDirection D : Diagonal) {
    SCOPED_TRACE(GetDirectionName(D).toStdString());
    const auto Shots = [&](bool Out, bool Dst, bool Src) {
      TSettings S;
      S.Direction = D;
      S.SlideOut = Out;
      S.ElasticDst = Dst;
      S.ElasticSrc = Src;
      return RunSlide(S, Old, New).Shots;
    };
    const auto Same = [](const std::vector<TRecordedFrame>& A, const std::vector<TRecordedFrame>& B) {
      if (A.size() != B.size()) return false;
      for (std::size_t I = 0; I < A.size(); ++I)
        if (!test::DescribeDifference(A[I].Screen, B[I].Screen).empty()) return false;
      return true;
    };
    // ElasticDst: a stretched slide-in, whatever ElasticSrc and SlideOut say.
    const auto Stretched = Shots(false, true, false);
    EXPECT_TRUE(Same(Stretched, Shots(true, true, false)));
    EXPECT_TRUE(Same(Stretched, Shots(false, true, true)));
    EXPECT_TRUE(Same(Stretched, Shots(true, true, true)));
    // Only ElasticSrc: a squeezing slide-out, whatever SlideOut says.
    const auto Squeezed = Shots(false, false, true);
    EXPECT_TRUE(Same(Squeezed, Shots(true, false, true)));
    // And those are four different pictures.
    EXPECT_FALSE(Same(Stretched, Squeezed));
    EXPECT_FALSE(Same(Shots(false, false, false), Shots(true, false, false)));
    EXPECT_FALSE(Same(Squeezed, Shots(true, false, false)));
  }
}

// W = 2H: the corner grows two columns for each row and fills both sides at the end together.
TEST(Slide, DiagonalOnAWideAreaCoversTheWidthAtTwiceTheSpeed) {
  constexpr int W = 16, H = 8;
  TBitmap Old = NoiseBitmap(W, H, 81), New = NoiseBitmap(W, H, 82);
  TSettings S;
  S.Direction = tedDownRight;
  const TRun Run = RunSlide(S, Old, New);
  EXPECT_EQ(Run.Total, W);
  // Frame 1 is half a row deep, which rounds to none: nothing to show.
  ASSERT_FALSE(Run.Shots.empty());
  EXPECT_EQ(Run.Shots.front().Unit, 2);
  for (const TRecordedFrame& Shot : Run.Shots) {
    const int f = Shot.Unit;
    const int Depth = RoundEven(f / 2.0);  // 1.5 -> 2, 2.5 -> 2, 3.5 -> 4
    EXPECT_EQ(Shot.Changed, std::vector<TRect>{Rect(0, 0, f, Depth)}) << "frame " << f;
    // The new image's bottom right corner leads.
    EXPECT_EQ(test::Raw(Shot.Screen, 0, 0), test::Raw(New, W - f, H - Depth));
    EXPECT_EQ(test::Raw(Shot.Screen, f - 1, Depth - 1), test::Raw(New, W - 1, H - 1));
  }
  EXPECT_EQ(Run.Shots[3].Changed.front(), Rect(0, 0, 5, 2));
  EXPECT_EQ(Run.Shots[5].Changed.front(), Rect(0, 0, 7, 4));
  // The last drawn frame already fills the height; the final image completes both.
  EXPECT_EQ(Run.Shots.back().Unit, W - 1);
  EXPECT_EQ(Run.Shots.back().Changed.front(), Rect(0, 0, W - 1, H));
  EXPECT_TRUE(Run.EndsOnNew);
}

TEST(Slide, InAndOutIgnoreTheFlagsAndReverseIntoEachOther) {
  // 14 x 10: seven frames, no quotient on a half.
  constexpr int W = 14, H = 10;
  TBitmap A = NoiseBitmap(W, H, 91), B = NoiseBitmap(W, H, 92);
  for (TTEEffectDirection D : {tedIn, tedOut})
    for (TSettings S : FlagCombinations(D))
      for (bool FromBitmaps : {false, true}) {
        S.FromBitmaps = FromBitmaps;
        SCOPED_TRACE(S.Name());
        const TRun Run = RunSlide(S, A, B);
        EXPECT_EQ(Run.Total, 7);
        for (const TRecordedFrame& Shot : Run.Shots)
          ASSERT_TRUE(SamePicture(Shot.Screen, ExpectedCentre(D == tedIn, A, B, 7, Shot.Unit)))
              << "frame " << Shot.Unit;
        EXPECT_TRUE(Run.ChangesReported);
        EXPECT_TRUE(Run.EndsOnNew);
        // Reversed turns one into the other.
        TSettings R = S;
        R.Reversed = true;
        const TRun Reversed = RunSlide(R, A, B);
        for (const TRecordedFrame& Shot : Reversed.Shots)
          ASSERT_TRUE(SamePicture(Shot.Screen, ExpectedCentre(D != tedIn, A, B, 7, Shot.Unit)));
      }
  // The squeeze to the centre is the stretch from it played backwards.
  TSettings In, Out;
  In.Direction = tedIn;
  Out.Direction = tedOut;
  const TRun Forward = RunSlide(In, A, B), Backward = RunSlide(Out, B, A);
  ASSERT_EQ(Forward.Shots.size(), 6u);
  for (int G = 1; G <= 6; ++G) EXPECT_TRUE(SamePicture(Backward.Shots[G - 1].Screen, Forward.Shots[6 - G].Screen));
}

// Two passes: the second scrolls from the intermediate image the first ended on.
TEST(Slide, TwoPassesGiveTheSameFramesOnBothWays) {
  constexpr int W = 12, H = 9;
  TBitmap Old = NoiseBitmap(W, H, 101), New = NoiseBitmap(W, H, 102), Middle = NoiseBitmap(W, H, 103);
  for (TTEEffectDirection D : {tedUp, tedDownLeft}) {
    std::vector<TRecordedFrame> Frames[2];
    for (bool FromBitmaps : {false, true}) {
      TSlideTransition E;
      E.SetDirection(D);
      E.SetSlideOut(true);
      E.SetPassSetting(teTwoPasses);
      E.ForceRendering = FromBitmaps;
      test::TRecordOptions Keep;
      Keep.KeepScreens = true;
      Keep.Pass2Look = &Middle;
      const test::TFrameRecording Recorded = test::RecordRun(E, Old, New, Keep);
      Frames[FromBitmaps] = Recorded.Frames;
      EXPECT_TRUE(SamePicture(Recorded.Screen, New));
    }
    ASSERT_EQ(Frames[0].size(), Frames[1].size());
    ASSERT_GT(Frames[0].size(), 4u);
    for (std::size_t I = 0; I < Frames[0].size(); ++I)
      ASSERT_TRUE(SamePicture(Frames[0][I].Screen, Frames[1][I].Screen)) << I;
  }
}

TEST(Slide, RunsWithNearestNeighbourStretchingAndRestoresTheCanvasMode) {
  constexpr int W = 6, H = 4;
  TBitmap Old = NoiseBitmap(W, H, 111), New = NoiseBitmap(W, H, 112), Screen = Old;
  Screen.Canvas().SetStretchMode(HALFTONE);
  TSlideTransition E;
  E.SetElasticDst(true);
  std::vector<int> Modes;
  TTERenderTarget Target;
  Target.Canvas = &Screen.Canvas();
  Target.Flush = [&](const TRect&) { Modes.push_back(Screen.Canvas().StretchMode()); };
  E.AttachRenderTarget(Target);
  TTETransitionData Data(W, H, &Old, &New, nullptr, &Screen.Canvas(), pf32bit, true);
  E.DoExecute(Data);
  ASSERT_EQ(Modes.size(), std::size_t(H));  // three frames and the final image
  EXPECT_EQ(Modes.front(), COLORONCOLOR);
  EXPECT_EQ(Screen.Canvas().StretchMode(), HALFTONE);
  EXPECT_TRUE(SamePicture(Screen, New));
}

// ------------------------------------------------------------------------------------------------
// Over real widgets on the offscreen screen.



class SlideOnScreen : public test::TPanelScreen {
protected:
  void SetUp() override { BuildPanel(QRect(60, 60, 420, 320), QRect(10, 10, 320, 240), QRect(30, 40, 90, 50)); }
};

TEST_F(SlideOnScreen, ScrollsTheScreenAndEndsOnTheNewLook) {
  for (bool Out : {false, true}) {
    SCOPED_TRACE(Out ? "out" : "in");
    SetColor(Panel, Qt::red);
    Child->show();
    QApplication::processEvents();
    TSlideTransition Slide;
    Slide.SetDirection(tedDownRight);
    Slide.SetSlideOut(Out);
    Slide.SetMilliseconds(150);
    ASSERT_TRUE(Slide.Prepare(Panel, Rect(0, 0, 320, 240)));
    SetColor(Panel, Qt::blue);
    Child->hide();
    bool MidRunChecked = false;
    Slide.OnStartTransition = [&](TTransitionEffect*) {
      // The panel has changed behind the render window; the screen still shows the old look.
      EXPECT_EQ(ScreenOf(Panel).pixelColor(50, 50), QColor(Qt::yellow));
      MidRunChecked = true;
    };
    Slide.Execute();
    EXPECT_TRUE(MidRunChecked);
    EXPECT_FALSE(Slide.DrawFromBitmaps());  // nothing covers the panel: the screen was scrolled
    EXPECT_TRUE(ScreenShowsItsPaint(Panel));
    const QImage S = ScreenOf(Panel);
    EXPECT_EQ(S.pixelColor(50, 50), QColor(Qt::blue));
  }
}

TEST_F(SlideOnScreen, PaintedOldLookIsDrawnFromTheBitmaps) {
  TSlideTransition Slide;
  Slide.SetSlideOut(true);
  Slide.PreferRendering = true;
  ASSERT_TRUE(Slide.Prepare(Panel, Rect(0, 0, 320, 240)));
  SetColor(Panel, Qt::green);
  Slide.Execute();
  EXPECT_TRUE(Slide.DrawFromBitmaps());
  QApplication::processEvents();
  EXPECT_EQ(ScreenOf(Panel).pixelColor(200, 200), QColor(Qt::green));
}

}  // namespace
}  // namespace vte
