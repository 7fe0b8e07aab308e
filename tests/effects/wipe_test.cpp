// The wipe through the offscreen runner (and once on the screen): frame counts, the picture of
// every frame in all directions with and without the band, the band mask and its lifetime, and
// the property rules.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "effects/simple_wipe.h"
#include "effects/wipe.h"
#include "engine/offscreen_runner.h"
#include "engine/render_window.h"
#include "engine/transition_registry.h"
#include "gdi/canvas.h"
#include "gdi/random.h"
#include "render/device.h"
#include "support/bitmap_support.h"
#include "support/fake_clock.h"
#include "support/frame_recording_support.h"
#include "support/frame_unit_log.h"
#include "support/screen_depth.h"
#include "support/screen_support.h"

namespace vte {
namespace {

constexpr int W = 40, H = 26;
const TTEEffectDirection AllDirections[] = {tedRight,    tedLeft,   tedDown,   tedUp,     tedDownRight,
                                            tedDownLeft, tedUpRight, tedUpLeft, tedIn,     tedOut};
const TTEEffectDirection Straight[] = {tedRight, tedLeft, tedDown, tedUp};

std::string Name(TTEEffectDirection D) { return GetDirectionName(D).toStdString(); }

// The old look is noise; the new one flips the top bit of every channel, so that every pixel
// tells which of the two it shows, in every pixel format.
struct TLooks {
  TBitmap Old, New;
};
TLooks MakeLooks(int Width, int Height, std::uint32_t Seed) {
  TLooks L{TBitmap(Width, Height, pf32bit), TBitmap(Width, Height, pf32bit)};
  test::FillNoise(L.Old, Seed);
  for (int Y = 0; Y < Height; ++Y) {
    const auto* From = reinterpret_cast<const std::uint32_t*>(L.Old.ScanLine(Y));
    auto* To = reinterpret_cast<std::uint32_t*>(L.New.ScanLine(Y));
    for (int X = 0; X < Width; ++X) To[X] = From[X] ^ 0x808080u;
  }
  return L;
}

// A look as the screen holds it (the device format).
using test::OnDevice;

// Logs the frame units asked for, and the frame count of the run.
using TRecordingWipe = test::TFrameUnitLog<TWipeTransition>;

int ExpectedFrames(TTEEffectDirection D, int Width, int Height, int BW) {
  switch (D) {
    case tedRight:
    case tedLeft: return BW + Width;
    case tedDown:
    case tedUp: return BW + Height;
    case tedDownRight: return Width + Height;
    case tedIn:
    case tedOut: return std::max(Width, Height) / 2;
    default: return std::max(Width, Height);
  }
}

// Without a band: whether pixel (X, Y) shows the new image after frame F of T.
bool HardEdgeNew(TTEEffectDirection D, int F, int T, int X, int Y) {
  auto S = [&](int Size) { return static_cast<int>(std::nearbyint(F * (static_cast<double>(Size) / T))); };
  switch (D) {
    case tedRight: return X < F;
    case tedLeft: return X >= W - F;
    case tedDown: return Y < F;
    case tedUp: return Y >= H - F;
    case tedDownRight: return X < S(W) && Y < S(H);
    case tedDownLeft: return X >= W - S(W) && Y < S(H);
    case tedUpRight: return X < S(W) && Y >= H - S(H);
    case tedUpLeft: return X >= W - S(W) && Y >= H - S(H);
    case tedIn: {
      const int U = S(W) / 2, V = S(H) / 2;
      return !(X >= U && X < W - U && Y >= V && Y < H - V);
    }
    default: {
      const int U = (W - S(W)) / 2, V = (H - S(H)) / 2;
      return X >= U && X < W - U && Y >= V && Y < H - V;
    }
  }
}

// With a band, along the axis of motion after frame F (a step of Step): the new image up to the
// edge, a column the band leaves behind (tedLeft only) that may show either, the band [Lo, Hi)
// whose pixel K = a - Lo reads mask line K, and the old image beyond.
struct TBandZones {
  int Lo, Hi;
  bool NewAt(int A) const { return Forward ? A < Lo : A >= NewFrom; }
  bool EitherAt(int A) const { return !Forward && A >= Hi && A < NewFrom; }
  bool Forward;
  int NewFrom;
};
TBandZones Zones(TTEEffectDirection D, int F, int Step, int BW, int Width, int Height) {
  switch (D) {
    case tedRight:
    case tedDown: return {F - BW + 1, F + 1, true, 0};
    case tedLeft: {
      const int E = Width + BW - F;
      return {E - 1 - BW, E - 1, false, E};
    }
    default: {
      // The band ends one above the previous top edge, under this frame's strip.
      const int E = Height + BW - F;
      return {E + Step - 1 - BW, E, false, E};
    }
  }
}

// Checks a band frame: each pixel old or new as the zones say, the band through the mask read at
// one offset (0..74) along the edge for the whole band. Empty when right.
std::string CheckBandFrame(TTEEffectDirection D, int F, int Step, int BW, const TBitmap& S, const TBitmap& Old,
                           const TBitmap& New, const TBitmap& Mask) {
  const bool Horizontal = D == tedRight || D == tedLeft;
  const TBandZones Z = Zones(D, F, Step, BW, S.Width(), S.Height());
  std::ostringstream Out;
  for (int Y = 0; Y < S.Height(); ++Y)
    for (int X = 0; X < S.Width(); ++X) {
      const std::uint32_t V = test::Raw(S, X, Y);
      const bool IsOld = V == test::Raw(Old, X, Y), IsNew = V == test::Raw(New, X, Y);
      const int A = Horizontal ? X : Y;
      if (!IsOld && !IsNew) Out << "(" << X << "," << Y << ") neither old nor new; ";
      else if (A >= Z.Lo && A < Z.Hi) continue;
      else if (Z.EitherAt(A)) continue;
      else if (Z.NewAt(A) != IsNew) Out << "(" << X << "," << Y << ") should be " << (IsNew ? "old" : "new") << "; ";
    }
  if (!Out.str().empty()) return Out.str();
  for (int O = 0; O < 75; ++O) {
    bool Match = true;
    for (int A = std::max(Z.Lo, 0); A < std::min(Z.Hi, Horizontal ? S.Width() : S.Height()) && Match; ++A)
      for (int B = 0; B < (Horizontal ? S.Height() : S.Width()) && Match; ++B) {
        const int X = Horizontal ? A : B, Y = Horizontal ? B : A;
        const bool White = Horizontal ? test::Raw(Mask, A - Z.Lo, B + O) : test::Raw(Mask, B + O, A - Z.Lo);
        Match = (test::Raw(S, X, Y) == test::Raw(White ? Old : New, X, Y));
      }
    if (Match) return "";
  }
  return "the band matches the mask at no offset";
}

// The mask as defined, built here on a generator of our own.
TBitmap ExpectedMask(TTEEffectDirection D, int Width, int Height, int BW) {
  const bool Horizontal = D == tedRight || D == tedLeft;
  TBitmap M(Horizontal ? BW : Width + 75, Horizontal ? Height + 75 : BW, pf1bit);
  std::uint32_t Seed = 1642000;
  const int Length = Horizontal ? M.Height() : M.Width();
  for (int K = 0; K < BW; ++K) {
    const int Dd = K * 100 / BW;
    const int Threshold = (D == tedRight || D == tedDown) ? (Dd == 100 ? 1 : 100 - Dd) : (Dd == 0 ? 1 : Dd);
    for (int I = 0; I <= Length; ++I) {
      Seed = Seed * 134775813u + 1;
      const int R = static_cast<int>((std::uint64_t{Seed} * 100) >> 32);
      if (Threshold >= R && I < Length) M.Canvas().SetPixel(Horizontal ? K : I, Horizontal ? I : K, clBlack);
    }
  }
  return M;
}

std::uint32_t Advance(std::uint32_t Seed, long long Draws) {
  while (Draws-- > 0) Seed = Seed * 134775813u + 1;
  return Seed;
}

// ------------------------------------------------------------------------------------------------

TEST(WipeTransition, PublishesItsSettingsClassFactsAndRegistration) {
  TWipeTransition Wipe;
  EXPECT_EQ(Wipe.BandWidth(), 50);
  EXPECT_EQ(Wipe.Direction(), tedRight);
  EXPECT_FALSE(Wipe.Reversed());
  EXPECT_EQ(Wipe.Milliseconds(), 0);
  EXPECT_EQ(Wipe.BandMask(), nullptr);
  EXPECT_FALSE(Wipe.RenderWhenClipped());
  EXPECT_EQ(TTransitionEffect::Description(&TWipeTransition::staticMetaObject), "Wipe");
  EXPECT_EQ(TTransitionEffect::EditorClassName(&TWipeTransition::staticMetaObject), "TWipeTransitionEditor");

  // Every direction but none.
  for (TTEEffectDirection D : AllDirections) {
    Wipe.SetDirection(D);
    EXPECT_EQ(Wipe.Direction(), D);
  }
  Wipe.SetDirection(tedNone);
  EXPECT_EQ(Wipe.Direction(), tedOut);

  EXPECT_TRUE(Wipe.setProperty("BandWidth", 12));
  EXPECT_TRUE(Wipe.setProperty("Direction", QVariant::fromValue(tedUp)));
  EXPECT_TRUE(Wipe.setProperty("Reversed", true));
  EXPECT_TRUE(Wipe.setProperty("Milliseconds", 640));
  EXPECT_EQ(Wipe.property("BandWidth").toInt(), 12);
  EXPECT_EQ(Wipe.Direction(), tedUp);
  EXPECT_TRUE(Wipe.Reversed());
  EXPECT_EQ(Wipe.Milliseconds(), 640);

  EXPECT_EQ(FindTransitionClass("TWipeTransition"), &TWipeTransition::staticMetaObject);
  std::unique_ptr<TTransitionEffect> Made(CreateTransition("TWipeTransition"));
  EXPECT_NE(qobject_cast<TWipeTransition*>(Made.get()), nullptr);
}

TEST(WipeTransition, BandWidthReadsZeroOffTheStraightDirectionsAndRejectsNegatives) {
  TWipeTransition Wipe;
  Wipe.SetBandWidth(70);
  EXPECT_TRUE(Wipe.NeedSrcImage());
  EXPECT_TRUE(Wipe.NeedWorkBitmap());
  for (TTEEffectDirection D : {tedDownLeft, tedDownRight, tedUpRight, tedUpLeft, tedIn, tedOut}) {
    Wipe.SetDirection(D);
    EXPECT_EQ(Wipe.BandWidth(), 0) << Name(D);
    EXPECT_FALSE(Wipe.NeedSrcImage());
    EXPECT_FALSE(Wipe.NeedWorkBitmap());
  }
  Wipe.SetDirection(tedRight);
  EXPECT_EQ(Wipe.BandWidth(), 70) << "the stored value stays";
  Wipe.SetReversed(true);  // runs left: still straight
  EXPECT_EQ(Wipe.BandWidth(), 70);

  Wipe.SetBandWidth(-5);
  EXPECT_EQ(Wipe.BandWidth(), 0);
  EXPECT_FALSE(Wipe.NeedSrcImage());
  EXPECT_FALSE(Wipe.NeedWorkBitmap());
  EXPECT_TRUE(Wipe.setProperty("BandWidth", -1));
  EXPECT_EQ(Wipe.property("BandWidth").toInt(), 0);
  // A run with it is a hard-edged wipe.
  const TLooks L = MakeLooks(W, H, 3);
  TRecordingWipe Run;
  Run.SetBandWidth(-8);
  TBitmap Screen;
  RunOffscreen(Run, L.Old, L.New, Screen);
  EXPECT_EQ(Run.Total, W);
  EXPECT_EQ(Run.BandMask(), nullptr);
}

TEST(WipeTransition, AssignCopiesTheBandWidthAsItReads) {
  TWipeTransition Source, Target;
  Source.SetBandWidth(70);
  Source.SetDirection(tedDownLeft);
  Source.SetMilliseconds(300);
  Target.Assign(Source);
  Target.SetDirection(tedRight);
  EXPECT_EQ(Target.BandWidth(), 0) << "a corner wipe passes no band";
  EXPECT_EQ(Target.Milliseconds(), 300);

  Source.SetDirection(tedUp);
  Source.SetReversed(true);
  Target.Assign(Source);
  EXPECT_EQ(Target.BandWidth(), 70);
  EXPECT_EQ(Target.Direction(), tedUp);
  EXPECT_TRUE(Target.Reversed());

  // Another kind of transition leaves the band alone.
  TSimpleWipeTransition Other;
  Target.Assign(Other);
  EXPECT_EQ(Target.BandWidth(), 70);
  EXPECT_EQ(Target.Direction(), tedRight);
}

TEST(WipeTransition, FrameCountsAndTheEndOnTheNewImageInEveryDirection) {
  const TLooks L = MakeLooks(W, H, 5);
  for (TTEEffectDirection D : AllDirections)
    for (bool Reversed : {false, true})
      for (int BW : {0, 7}) {
        SCOPED_TRACE(Name(D) + (Reversed ? " reversed" : "") + " band " + std::to_string(BW));
        TRecordingWipe Wipe;
        Wipe.SetDirection(D);
        Wipe.SetReversed(Reversed);
        Wipe.SetBandWidth(BW);
        const TTEEffectDirection Effective = Reversed ? OppositeDirection(D) : D;
        const int BandUsed = std::find(std::begin(Straight), std::end(Straight), D) != std::end(Straight) ? BW : 0;
        const test::TFrameRecording Run = test::RecordRun(Wipe, L.Old, L.New);
        int EmptyFrames = 0;
        for (const test::TRecordedFrame* F : Run.Shown()) EmptyFrames += F->Changed.empty();
        const int T = ExpectedFrames(Effective, W, H, BandUsed);
        EXPECT_EQ(Wipe.Total, T);
        ASSERT_EQ(Wipe.Units.size(), static_cast<std::size_t>(T - 1));
        EXPECT_EQ(Wipe.Units.front().Frame, 1);
        EXPECT_EQ(Wipe.Units.back().Frame, T - 1);
        EXPECT_EQ(Run.Finals(), 1);
        EXPECT_EQ(EmptyFrames, 0) << "a frame that changes nothing is not shown";
        EXPECT_EQ(test::DescribeDifference(Run.Screen, OnDevice(L.New)), "");
        EXPECT_EQ(Wipe.BandMask() != nullptr, BandUsed > 0);
      }
}

// Every shown frame of a hard-edged wipe, unpaced and paced (steps larger than one): new inside
// the uncovered shape, old outside; what the frame reports as changed is exactly what changed.
TEST(WipeTransition, HardEdgeFramesUncoverTheShapeOfEachDirection) {
  const TLooks L = MakeLooks(W, H, 8);
  const TBitmap Old = OnDevice(L.Old), New = OnDevice(L.New);
  for (TTEEffectDirection D : AllDirections)
    for (int Milliseconds : {0, 40}) {
      SCOPED_TRACE(Name(D) + " ms " + std::to_string(Milliseconds));
      test::TFakeClock Clock(0.2);
      TRecordingWipe Wipe;
      Wipe.SetDirection(D);
      Wipe.SetBandWidth(0);
      Wipe.SetMilliseconds(Milliseconds);
      TBitmap Previous = Old;
      int Wrong = 0, Misreported = 0, Shown = 0;
      TBitmap Screen;
      RunOffscreen(Wipe, L.Old, L.New, Screen, [&](const TOffscreenFrame& F) {
        if (F.Final) return;
        ++Shown;
        const int Frame = Wipe.Units.back().Frame;
        long long Changed = 0, Reported = 0;
        for (int Y = 0; Y < H; ++Y)
          for (int X = 0; X < W; ++X) {
            const std::uint32_t V = test::Raw(F.Screen, X, Y);
            if (V != test::Raw(HardEdgeNew(D, Frame, Wipe.Total, X, Y) ? New : Old, X, Y) && Wrong++ == 0)
              ADD_FAILURE() << "frame " << Frame << " pixel " << X << "," << Y;
            const bool Inside = std::any_of(F.Changed.begin(), F.Changed.end(),
                                            [&](const TRect& R) { return PtInRect(R, {X, Y}); });
            Reported += Inside;
            if (V != test::Raw(Previous, X, Y)) {
              ++Changed;
              if (!Inside) ++Misreported;
            }
          }
        // Nothing that stayed is reported as changed either (the whole area would be, for one).
        if (Reported != Changed) ++Misreported;
        Previous = F.Screen;
      });
      EXPECT_EQ(Wrong, 0);
      EXPECT_EQ(Misreported, 0);
      if (Milliseconds == 0) {
        EXPECT_EQ(Wipe.Units.size(), static_cast<std::size_t>(Wipe.Total - 1));
      } else {
        const bool Bigger = std::any_of(Wipe.Units.begin(), Wipe.Units.end(), [](auto& C) { return C.Step > 1; });
        EXPECT_TRUE(Bigger) << "the paced run should take larger steps";
      }
      EXPECT_GT(Shown, 0);
    }
}

// Every frame of a banded wipe in the four straight directions (and reversed), unpaced and paced.
TEST(WipeTransition, BandFramesMixOnlyOldAndNewPixelsThroughTheMask) {
  constexpr int BW = 9;
  const TLooks L = MakeLooks(W, H, 11);
  const TBitmap Old = OnDevice(L.Old), New = OnDevice(L.New);
  for (TTEEffectDirection D : Straight)
    for (bool Reversed : {false, true})
      for (int Milliseconds : {0, 40}) {
        SCOPED_TRACE(Name(D) + (Reversed ? " reversed" : "") + " ms " + std::to_string(Milliseconds));
        test::TFakeClock Clock(0.2);
        TRecordingWipe Wipe;
        Wipe.SetDirection(D);
        Wipe.SetReversed(Reversed);
        Wipe.SetBandWidth(BW);
        Wipe.SetMilliseconds(Milliseconds);
        const TTEEffectDirection Effective = Reversed ? OppositeDirection(D) : D;
        TBitmap Screen;
        int Failures = 0;
        RunOffscreen(Wipe, L.Old, L.New, Screen, [&](const TOffscreenFrame& F) {
          if (F.Final) return;
          for (const TRect& R : F.Changed) {
            TRect Inside;
            IntersectRect(Inside, R, Rect(0, 0, W, H));
            EXPECT_EQ(Inside, R) << "reported changes stay inside the area";
          }
          const auto& C = Wipe.Units.back();
          const std::string Problem = CheckBandFrame(Effective, C.Frame, C.Step, BW, F.Screen, Old, New, *Wipe.BandMask());
          if (!Problem.empty() && Failures++ < 3) ADD_FAILURE() << "frame " << C.Frame << ": " << Problem;
        });
        EXPECT_EQ(Failures, 0);
        EXPECT_EQ(Wipe.MaskDirection(), Effective);
        EXPECT_EQ(test::DescribeDifference(Screen, New), "");
      }
}

// Over a whole run, the share of new pixels at each distance from the edge falls from almost all
// next to the edge to a few in a hundred at the far side.
TEST(WipeTransition, ShareOfNewPixelsFallsWithTheDistanceFromTheEdge) {
  constexpr int BW = 50, Wd = 160, Ht = 120;
  const TLooks L = MakeLooks(Wd, Ht, 13);
  const TBitmap Old = OnDevice(L.Old), New = OnDevice(L.New);
  for (TTEEffectDirection D : Straight) {
    SCOPED_TRACE(Name(D));
    TRecordingWipe Wipe;
    Wipe.SetDirection(D);
    const bool Horizontal = D == tedRight || D == tedLeft, Forward = D == tedRight || D == tedDown;
    std::vector<double> NewCount(BW, 0), All(BW, 0);
    TBitmap Screen;
    RunOffscreen(Wipe, L.Old, L.New, Screen, [&](const TOffscreenFrame& F) {
      if (F.Final) return;
      const TBandZones Z = Zones(D, Wipe.Units.back().Frame, 1, BW, Wd, Ht);
      for (int A = std::max(Z.Lo, 0); A < std::min(Z.Hi, Horizontal ? Wd : Ht); ++A) {
        const int Distance = Forward ? A - Z.Lo : Z.Hi - 1 - A;
        for (int B = 0; B < (Horizontal ? Ht : Wd); ++B) {
          const int X = Horizontal ? A : B, Y = Horizontal ? B : A;
          NewCount[Distance] += test::Raw(F.Screen, X, Y) == test::Raw(New, X, Y);
          All[Distance] += 1;
        }
      }
    });
    // Buckets of ten distances: one mask column alone holds too few pixels to measure its share.
    double Previous = 2;
    std::vector<double> Shares;
    for (int Bucket = 0; Bucket < BW; Bucket += 10) {
      double N = 0, A = 0;
      for (int K = Bucket; K < Bucket + 10; ++K) N += NewCount[K], A += All[K];
      const double Share = N / A;
      EXPECT_LT(Share, Previous) << "distances " << Bucket << ".." << Bucket + 9;
      Previous = Share;
      Shares.push_back(Share);
    }
    EXPECT_GT(Shares.front(), 0.85);
    EXPECT_LT(Shares.back(), 0.15);
    EXPECT_NEAR(Shares[2], 0.5, 0.08) << "the middle of the band is half new";
  }
}

// The first frame with a step up to the band width: the strip still lies outside the area and
// only the band has entered. The strip is copied one pixel wider than itself, so at exactly the
// band width a right or down wipe shows the first column or row new.
TEST(WipeTransition, FirstStraightFrameWithinTheBandWidthRevealsNothing) {
  constexpr int BW = 12;
  const TLooks L = MakeLooks(W, H, 17);
  for (TTEEffectDirection D : Straight)
    for (int Step : {1, 6, BW - 1, BW}) {
      SCOPED_TRACE(Name(D) + " step " + std::to_string(Step));
      TWipeTransition Wipe;
      Wipe.SetDirection(D);
      Wipe.SetBandWidth(BW);
      // The screen shows the old look when a run begins.
      TBitmap Old = L.Old, New = L.New, Work(W, H, pf32bit), Screen = L.Old;
      TTETransitionData Data(W, H, &Old, &New, &Work, &Screen.Canvas(), pf32bit, true);
      int Frames = 0;
      Wipe.Initialize(Data, Frames);
      Wipe.ExecuteFrame(Data, Step, Step, Frames, 0);
      const TBitmap& Drawn = Wipe.DrawsOnRenderTarget() ? Screen : Work;
      EXPECT_EQ(CheckBandFrame(D, Step, Step, BW, Drawn, Old, New, *Wipe.BandMask()), "");
      const TBandZones Z = Zones(D, Step, Step, BW, W, H);
      const bool Horizontal = D == tedRight || D == tedLeft;
      int NewLines = 0;
      for (int A = 0; A < (Horizontal ? W : H); ++A)
        if (Z.NewAt(A) && !(A >= Z.Lo && A < Z.Hi)) ++NewLines;
      const bool EdgeLine = Step == BW && (D == tedRight || D == tedDown);
      EXPECT_EQ(NewLines, EdgeLine ? 1 : 0);
      Wipe.Finalize(Data);
    }
}

TEST(WipeTransition, BandMaskIsTheSeededPatternForEachStraightDirection) {
  constexpr int BW = 11;
  const TLooks L = MakeLooks(W, H, 19);
  for (TTEEffectDirection D : Straight) {
    SCOPED_TRACE(Name(D));
    TWipeTransition Wipe;
    Wipe.SetDirection(D);
    Wipe.SetBandWidth(BW);
    TBitmap Screen;
    RunOffscreen(Wipe, L.Old, L.New, Screen);
    ASSERT_NE(Wipe.BandMask(), nullptr);
    EXPECT_EQ(test::DescribeDifference(*Wipe.BandMask(), ExpectedMask(D, W, H, BW)), "");
  }
}

// The mask outlives a run and is rebuilt (the generator reseeded) only when the size, the band
// width or the effective direction changes; each frame draws one offset from the generator.
TEST(WipeTransition, BandMaskIsKeptAcrossRunsAndRebuiltOnlyWhenItNoLongerFits) {
  constexpr int BW = 9;
  const TLooks L = MakeLooks(W, H, 23), Taller = MakeLooks(W, H + 3, 23);
  TWipeTransition Wipe;
  Wipe.SetBandWidth(BW);
  TBitmap Screen;
  const long long Build = static_cast<long long>(BW) * (H + 76), Frames = BW + W - 1;
  auto Run = [&](const TLooks& Looks, std::uint32_t Seed) {
    RandSeed = Seed;
    RunOffscreen(Wipe, Looks.Old, Looks.New, Screen);
    return RandSeed;
  };
  EXPECT_EQ(Run(L, 5), Advance(1642000, Build + Frames)) << "first run builds";
  EXPECT_EQ(Run(L, 777), Advance(777, Frames)) << "same size and direction: kept";
  Wipe.SetReversed(true);
  EXPECT_EQ(Run(L, 777), Advance(1642000, Build + Frames)) << "reversed: rebuilt";
  EXPECT_EQ(Wipe.MaskDirection(), tedLeft);
  EXPECT_EQ(test::DescribeDifference(*Wipe.BandMask(), ExpectedMask(tedLeft, W, H, BW)), "");
  EXPECT_EQ(Run(L, 4242), Advance(4242, Frames));
  Wipe.SetDirection(tedLeft);
  Wipe.SetReversed(false);
  EXPECT_EQ(Run(L, 31), Advance(31, Frames)) << "the same effective direction keeps it";
  EXPECT_EQ(Run(Taller, 31), Advance(1642000, BW * (H + 3 + 76LL) + Frames)) << "new size: rebuilt";
  Wipe.SetBandWidth(BW + 1);
  EXPECT_EQ(Run(Taller, 31), Advance(1642000, (BW + 1) * (H + 3 + 76LL) + BW + 1 + W - 1)) << "new band width";

  // A corner wipe has no band: it frees the mask and draws nothing from the generator.
  Wipe.SetDirection(tedUpLeft);
  EXPECT_EQ(Run(L, 99), 99u);
  EXPECT_EQ(Wipe.BandMask(), nullptr);
}

// Bitmaps whose pixels cannot be mixed directly (here old and new in 24 bits, the work bitmap in
// 32) go through the band buffers and raster operations; both ways give the same frames.
TEST(WipeTransition, BandBuffersAndDirectMixingGiveTheSameFrames) {
  const TLooks L = MakeLooks(W, H, 29);
  auto Frames = [&](TPixelFormat LookFormat, TTEEffectDirection D) {
    TBitmap Old(W, H, LookFormat), New(W, H, LookFormat), Work(W, H, pf32bit), Screen(W, H, pf32bit);
    Old.Canvas().BitBlt(0, 0, W, H, const_cast<TBitmap&>(L.Old).Canvas(), 0, 0, SRCCOPY);
    New.Canvas().BitBlt(0, 0, W, H, const_cast<TBitmap&>(L.New).Canvas(), 0, 0, SRCCOPY);
    Screen.Canvas().BitBlt(0, 0, W, H, Old.Canvas(), 0, 0, SRCCOPY);
    TWipeTransition Wipe;
    Wipe.SetDirection(D);
    Wipe.SetBandWidth(8);
    std::vector<TBitmap> Shown;
    TTERenderTarget Target;
    Target.Canvas = &Screen.Canvas();
    Target.FrameDone = [&](bool) { Shown.push_back(Screen); };
    Wipe.AttachRenderTarget(Target);
    TTETransitionData Data(W, H, &Old, &New, &Work, &Screen.Canvas(), pf32bit, true);
    RandSeed = 1;
    Wipe.DoExecute(Data);
    return Shown;
  };
  for (TTEEffectDirection D : Straight) {
    SCOPED_TRACE(Name(D));
    const std::vector<TBitmap> Buffered = Frames(pf24bit, D), Direct = Frames(pf32bit, D);
    ASSERT_EQ(Buffered.size(), Direct.size());
    for (std::size_t I = 0; I < Buffered.size(); ++I)
      ASSERT_EQ(test::DescribeDifference(Buffered[I], Direct[I]), "") << "frame " << I + 1;
  }
}

TEST(WipeTransition, EveryScreenDepthMixesTheBandAndEndsOnTheNewImage) {
  constexpr int BW = 6;
  const TLooks L = MakeLooks(W, H, 31);
  for (int Bits : {8, 15, 16, 24, 32}) {
    test::TScreenDepth Depth(Bits);
    SCOPED_TRACE(Bits);
    const TBitmap Old = OnDevice(L.Old), New = OnDevice(L.New);
    for (TTEEffectDirection D : {tedRight, tedUp, tedIn}) {
      SCOPED_TRACE(Name(D));
      TRecordingWipe Wipe;
      Wipe.SetDirection(D);
      Wipe.SetBandWidth(BW);
      TBitmap Screen;
      int Failures = 0;
      RunOffscreen(Wipe, L.Old, L.New, Screen, [&](const TOffscreenFrame& F) {
        if (F.Final || D == tedIn) return;
        const auto& C = Wipe.Units.back();
        if (!CheckBandFrame(D, C.Frame, C.Step, BW, F.Screen, Old, New, *Wipe.BandMask()).empty()) ++Failures;
      });
      EXPECT_EQ(Failures, 0);
      EXPECT_EQ(Screen.PixelFormat(), New.PixelFormat());
      EXPECT_EQ(test::DescribeDifference(Screen, New), "");
    }
  }
}

// ------------------------------------------------------------------------------------------------
// On the screen: a real panel covered by the render window.

using test::ScreenOf;
using test::ScreenShowsItsPaint;
using test::SetColor;

TEST(WipeTransition, OnScreenTheBandCrossesThePanelAndTheScreenEndsOnTheNewLook) {
  QWidget Window;
  Window.setGeometry(60, 60, 420, 300);
  auto* Panel = new QWidget(&Window);
  Panel->setGeometry(10, 10, 300, 200);
  Panel->setAutoFillBackground(true);
  SetColor(Panel, Qt::red);
  auto* Child = new QWidget(Panel);
  Child->setGeometry(200, 120, 60, 40);
  Child->setAutoFillBackground(true);
  SetColor(Child, Qt::yellow);
  Window.show();
  QApplication::processEvents();

  TWipeTransition Wipe;
  Wipe.SetBandWidth(20);
  ASSERT_TRUE(Wipe.Prepare(Panel, Rect(0, 0, 300, 200)));
  SetColor(Panel, Qt::blue);
  Child->hide();

  // When the 151st frame is painted the screen shows the 150th: the edge at column 130, the band
  // over columns 131..150 (only red and blue there), red beyond.
  struct TFilter : QObject {
    QWidget* Panel;
    int Paints = 0;
    bool Checked = false;
    bool eventFilter(QObject* O, QEvent* E) override {
      if (E->type() != QEvent::Paint || ++Paints != 151) return false;
      O->removeEventFilter(this);
      const QImage S = ScreenOf(Panel);
      for (int Y = 0; Y < 200; Y += 7) {
        EXPECT_EQ(S.pixelColor(60, Y), QColor(Qt::blue));
        EXPECT_EQ(S.pixelColor(170, Y), QColor(Qt::red));
        for (int X = 131; X <= 150; ++X) {
          const QColor C = S.pixelColor(X, Y);
          EXPECT_TRUE(C == QColor(Qt::blue) || C == QColor(Qt::red)) << X << "," << Y;
        }
      }
      Checked = true;
      return false;
    }
  } Filter;
  Filter.Panel = Panel;
  TTERenderWindow* RenderWindow = nullptr;
  for (QWidget* Widget : QApplication::allWidgets())
    if (auto* R = qobject_cast<TTERenderWindow*>(Widget)) RenderWindow = R;
  ASSERT_NE(RenderWindow, nullptr);
  RenderWindow->installEventFilter(&Filter);
  Wipe.Execute();
  EXPECT_TRUE(Filter.Checked);
  EXPECT_TRUE(ScreenShowsItsPaint(Panel));
  const QImage S = ScreenOf(Panel);
  EXPECT_EQ(S.pixelColor(230, 140), QColor(Qt::blue));
}

}  // namespace
}  // namespace vte
