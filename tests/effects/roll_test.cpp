// The roll transition's frames through the offscreen runner: every frame against the picture of a
// sheet folded back at a moving edge, band widths, Reversed, a band wider than the area, settings
// changed during a run, two passes, pacing, other device formats.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "effects/roll.h"
#include "engine/offscreen_runner.h"
#include "gdi/canvas.h"
#include "pixel/roll_shade.h"
#include "render/device.h"
#include "support/bitmap_support.h"
#include "support/fake_clock.h"
#include "support/frame_recording_support.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

constexpr int W = 37, H = 23;

using test::OnDevice;
using test::UnionOf;

TBitmap Noise(std::uint32_t Seed) { return test::NoiseBitmap(W, H, Seed); }

bool IsHorizontal(TTEEffectDirection D) { return D == tedRight || D == tedLeft; }

// What frame F of a run shows, line by line (a line is a column when the band travels sideways,
// a row otherwise). The sheet is folded back at the leading edge: the band shows the rolled
// image mirrored about that edge; the flat new image lies on one side, the old one on the other.
struct TRollModel {
  TTEEffectDirection Direction;  // the effective one
  bool Unrolling;
  int L, Z;

  bool Forward() const { return Direction == tedRight || Direction == tedDown; }
  int Total() const { return L + 1; }
  int BandWidth(int F) const {
    if (Unrolling) return Total() - F < Z ? Total() - F - 1 : Z;
    return std::min(F, Z);
  }
  // First line of the band (it may lie outside the area); F = 0 is the band before the first frame.
  int BandStart(int F) const {
    if (F == 0) {
      if (Unrolling) return Forward() ? -Z : L;
      return Forward() ? 0 : L;
    }
    if (Unrolling) return Forward() ? F - BandWidth(F) : L - F;
    return Forward() ? F : L - F - BandWidth(F);
  }
  int BandEnd(int F) const { return F == 0 ? BandStart(0) + (Unrolling ? Z : 0) : BandStart(F) + BandWidth(F); }

  enum TKind { Old, New, Band };
  // Band lines give the line of the rolled image they show, or -1 where it would lie outside
  // the image (nothing defined is drawn there).
  TKind Kind(int F, int X, int& Source) const {
    const int S = BandStart(F), E = BandWidth(F);
    if (X >= S && X < S + E) {
      if (Unrolling) Source = Forward() ? 2 * F - 1 - X : 2 * (L - F) - X;
      else Source = Forward() ? 2 * F - X : 2 * (L - F) - 1 - X;
      if (Source < 0 || Source >= L) Source = -1;
      return Band;
    }
    if (Unrolling) return (Forward() ? X < S : X >= S + E) ? New : Old;
    return (Forward() ? X < F : X >= L - F) ? New : Old;
  }
  // The lines a frame changes: from where the band was to where it is now, inside the area.
  TRect Changed(int PreviousF, int F, int Width, int Height) const {
    const int Lo = std::max(0, std::min(BandStart(PreviousF), BandStart(F)));
    const int Hi = std::min(L, std::max(BandEnd(PreviousF), BandEnd(F)));
    return IsHorizontal(Direction) ? Rect(Lo, 0, Hi, Height) : Rect(0, Lo, Width, Hi);
  }
};

struct TSetup {
  TTEEffectDirection Direction = tedDown;
  bool Unroll = true;
  bool Reversed = false;
  bool Use3D = true;
  int Size = 6;

  TTEEffectDirection Effective() const { return Reversed ? OppositeDirection(Direction) : Direction; }
  TRollModel Model(int Width, int Height) const {
    return {Effective(), Unroll != Reversed, IsHorizontal(Effective()) ? Width : Height, Size};
  }
  std::string Name() const {
    std::ostringstream S;
    S << GetDirectionName(Direction).toStdString() << (Unroll ? " unroll" : " roll") << (Reversed ? " reversed" : "")
      << (Use3D ? " shaded" : " flat") << " size " << Size;
    return S.str();
  }
  void Apply(TRollTransition& R) const {
    R.SetDirection(Direction);
    R.SetUnroll(Unroll);
    R.SetReversed(Reversed);
    R.SetUse3D(Use3D);
    R.SetSize(Size);
  }
};

// Compares Screen with frame F of the model; Old, New in the screen's format. Empty when equal.
std::string CheckFrame(const TRollModel& M, bool Shaded, int F, const TBitmap& Screen, const TBitmap& Old,
                       const TBitmap& New) {
  const bool Horizontal = IsHorizontal(M.Direction);
  const TBitmap& Rolled = M.Unrolling ? New : Old;
  std::vector<std::uint32_t> Shades(static_cast<std::size_t>(M.Z) + 2);
  if (Shaded) BuildRollShadeTable(Shades.data(), M.BandWidth(F));
  const std::uint32_t ColourBits = Screen.PixelFormat() == pf32bit ? 0xFFFFFFu : 0xFFFFFFFFu;
  for (int X = 0; X < M.L; ++X) {
    int Source = -1;
    const TRollModel::TKind Kind = M.Kind(F, X, Source);
    if (Kind == TRollModel::Band && Source < 0) continue;
    const int Across = Horizontal ? Screen.Height() : Screen.Width();
    for (int I = 0; I < Across; ++I) {
      const int PX = Horizontal ? X : I, PY = Horizontal ? I : X;
      std::uint32_t Want;
      if (Kind == TRollModel::Old) Want = test::Raw(Old, PX, PY);
      else if (Kind == TRollModel::New) Want = test::Raw(New, PX, PY);
      else {
        Want = Horizontal ? test::Raw(Rolled, Source, PY) : test::Raw(Rolled, PX, Source);
        if (Shaded) ShadeRollPixel(reinterpret_cast<std::uint8_t*>(&Want), Shades[X - M.BandStart(F) + 1]);
      }
      if ((test::Raw(Screen, PX, PY) & ColourBits) != (Want & ColourBits)) {
        std::ostringstream S;
        S << "frame " << F << ": pixel " << PX << "," << PY << " of line " << X << " ("
          << (Kind == TRollModel::Old ? "old" : Kind == TRollModel::New ? "new" : "band") << ") is " << std::hex
          << test::Raw(Screen, PX, PY) << ", want " << Want;
        return S.str();
      }
    }
  }
  return {};
}

struct TRunResult {
  int Frames = 0;  // frames before the final image
  int Finals = 0;
  std::vector<std::string> Faults;
  bool EndedOnNew = false;
};

// Runs every frame (Milliseconds 0) and checks each against the model.
TRunResult RunAndCheck(const TSetup& Setup, const TBitmap& OldLook, const TBitmap& NewLook) {
  TRollTransition Roll;
  Setup.Apply(Roll);
  const TBitmap Old = OnDevice(OldLook), New = OnDevice(NewLook);
  const TRollModel M = Setup.Model(Old.Width(), Old.Height());
  TRunResult Run;
  TBitmap Screen;
  RunOffscreen(Roll, OldLook, NewLook, Screen, [&](const TOffscreenFrame& F) {
    if (F.Final) {
      ++Run.Finals;
      return;
    }
    ++Run.Frames;
    if (Run.Faults.size() >= 3) return;
    const std::string Fault = CheckFrame(M, Setup.Use3D, F.Frame, F.Screen, Old, New);
    if (!Fault.empty()) Run.Faults.push_back(Fault);
    const TRect Want = M.Changed(F.Frame - 1, F.Frame, Old.Width(), Old.Height());
    if (UnionOf(F.Changed) != Want) {
      const TRect Got = UnionOf(F.Changed);
      std::ostringstream S;
      S << "frame " << F.Frame << ": changed " << Got.Left << "," << Got.Top << "," << Got.Right << "," << Got.Bottom
        << ", want " << Want.Left << "," << Want.Top << "," << Want.Right << "," << Want.Bottom;
      Run.Faults.push_back(S.str());
    }
  });
  Run.EndedOnNew = test::DescribeDifference(Screen, New).empty();
  return Run;
}

TEST(Roll, EveryFrameOfEveryDirectionModeAndLookFoldsTheSheetAtTheEdge) {
  const TBitmap Old = Noise(1), New = Noise(2);
  for (TTEEffectDirection D : {tedRight, tedLeft, tedDown, tedUp})
    for (bool Unroll : {true, false})
      for (bool Reversed : {false, true})
        for (bool Use3D : {false, true})
          for (int Size : {6, 1, 0}) {
            const TSetup S{D, Unroll, Reversed, Use3D, Size};
            SCOPED_TRACE(S.Name());
            const TRunResult Run = RunAndCheck(S, Old, New);
            // Frames 1 .. W (or H): TotalFrames is one more and never drawn.
            EXPECT_EQ(Run.Frames, IsHorizontal(S.Effective()) ? W : H);
            EXPECT_EQ(Run.Finals, 1);
            EXPECT_TRUE(Run.Faults.empty()) << Run.Faults.front();
            EXPECT_TRUE(Run.EndedOnNew);
          }
}

// A band wider than the area starts (unrolling) or ends (rolling) partly outside: what a frame
// changes is clipped to the area, and the frames still fold the sheet at the edge.
TEST(Roll, SizeLargerThanTheAreaClipsTheUpdateRect) {
  const TBitmap Old = Noise(3), New = Noise(4);
  for (TTEEffectDirection D : {tedRight, tedLeft, tedDown, tedUp})
    for (bool Unroll : {true, false})
      for (bool Use3D : {false, true}) {
        const TSetup S{D, Unroll, false, Use3D, 100};
        SCOPED_TRACE(S.Name());
        TRollTransition Roll;
        S.Apply(Roll);
        std::vector<TRect> Changed;
        TBitmap Screen;
        RunOffscreen(Roll, Old, New, Screen, [&](const TOffscreenFrame& F) {
          if (!F.Final) Changed.push_back(UnionOf(F.Changed));
        });
        ASSERT_FALSE(Changed.empty());
        for (const TRect& R : Changed) {
          EXPECT_FALSE(R.IsEmpty());
          EXPECT_GE(R.Left, 0);
          EXPECT_GE(R.Top, 0);
          EXPECT_LE(R.Right, W);
          EXPECT_LE(R.Bottom, H);
        }
        // Unrolling, the band comes in one line a frame; rolling, it grows a line a frame from
        // the first uncovered line on, until it reaches past the far edge.
        const int Lines = Unroll ? 1 : 2;
        EXPECT_EQ(Changed.front(), D == tedRight ? Rect(0, 0, Lines, H) : D == tedLeft ? Rect(W - Lines, 0, W, H)
                                   : D == tedDown ? Rect(0, 0, W, Lines) : Rect(0, H - Lines, W, H));
        if (!Unroll) {
          // Frame L / 2 + 1: uncovered up to there, the band from there to beyond the far edge.
          const int L = IsHorizontal(D) ? W : H, F = L / 2 + 1;
          EXPECT_EQ(Changed[F - 1], D == tedRight ? Rect(F - 1, 0, W, H) : D == tedLeft ? Rect(0, 0, W - F + 1, H)
                                    : D == tedDown ? Rect(0, F - 1, W, H) : Rect(0, 0, W, H - F + 1));
        }
        const TRunResult Run = RunAndCheck(S, Old, New);
        EXPECT_TRUE(Run.Faults.empty()) << Run.Faults.front();
        EXPECT_TRUE(Run.EndedOnNew);
      }
}

// The first and the last frame drawn, spelled out for a downward run.
TEST(Roll, FirstAndLastFramesDown) {
  const TBitmap Old = Noise(5), New = Noise(6);
  struct TFrames {
    std::vector<TBitmap> Shots;
    std::vector<TRect> Changed;
  };
  auto Run = [&](bool Unroll) {
    TRollTransition Roll;
    Roll.SetUse3D(false);
    Roll.SetUnroll(Unroll);
    Roll.SetSize(6);
    TFrames Out;
    TBitmap Screen;
    RunOffscreen(Roll, Old, New, Screen, [&](const TOffscreenFrame& F) {
      if (F.Final) return;
      Out.Shots.push_back(F.Screen);
      Out.Changed.push_back(UnionOf(F.Changed));
    });
    return Out;
  };
  auto RowIs = [](const TBitmap& A, int Ya, const TBitmap& B, int Yb) {
    for (int X = 0; X < W; ++X)
      if ((test::Raw(A, X, Ya) & 0xFFFFFF) != (test::Raw(B, X, Yb) & 0xFFFFFF)) return false;
    return true;
  };
  {
    SCOPED_TRACE("unrolling");
    const TFrames F = Run(true);
    ASSERT_EQ(F.Shots.size(), static_cast<std::size_t>(H));
    // Frame 1: the band's last row has come in, showing the new image's row 1 (the fold lies
    // between rows 0 and 1); the rest is old.
    EXPECT_EQ(F.Changed.front(), Rect(0, 0, W, 1));
    EXPECT_TRUE(RowIs(F.Shots.front(), 0, New, 1));
    for (int Y = 1; Y < H; ++Y) EXPECT_TRUE(RowIs(F.Shots.front(), Y, Old, Y)) << Y;
    // Frame H: the band is gone; the new image lies flat everywhere.
    EXPECT_EQ(test::DescribeDifference(F.Shots.back(), New), "");
    // The band (one row wide the frame before) and what it uncovered.
    EXPECT_EQ(F.Changed.back(), Rect(0, H - 2, W, H));
  }
  {
    SCOPED_TRACE("rolling");
    const TFrames F = Run(false);
    ASSERT_EQ(F.Shots.size(), static_cast<std::size_t>(H));
    // Frame 1: row 0 uncovered, a one-row band (the old row 1 mirrored onto itself) below it.
    EXPECT_EQ(F.Changed.front(), Rect(0, 0, W, 2));
    EXPECT_TRUE(RowIs(F.Shots.front(), 0, New, 0));
    for (int Y = 1; Y < H; ++Y) EXPECT_TRUE(RowIs(F.Shots.front(), Y, Old, Y)) << Y;
    // Frame 2: rows 0-1 new, the band (rows 2-3) shows old rows 2 and 1.
    EXPECT_TRUE(RowIs(F.Shots[1], 2, Old, 2));
    EXPECT_TRUE(RowIs(F.Shots[1], 3, Old, 1));
    // Frame H: the last row uncovered, the band past the bottom edge.
    EXPECT_EQ(F.Changed.back(), Rect(0, H - 1, W, H));
    EXPECT_EQ(test::DescribeDifference(F.Shots.back(), New), "");
  }
}

// The visible band widths, counted on the screen: with plain looks every shaded band line differs
// from both.
TEST(Roll, BandWidthsWhileRollingAndUnrolling) {
  const TBitmap Old = test::PlainBitmap(W, H, 0x3060A0), New = test::PlainBitmap(W, H, 0xA06030);
  auto Widths = [&](bool Unroll) {
    TRollTransition Roll;
    Roll.SetUnroll(Unroll);
    Roll.SetSize(6);
    std::vector<int> Out;
    TBitmap Screen;
    RunOffscreen(Roll, Old, New, Screen, [&](const TOffscreenFrame& F) {
      if (F.Final) return;
      int Count = 0;
      for (int Y = 0; Y < H; ++Y) {
        const TColor C = F.Screen.PixelColor(W / 2, Y);
        if (C != 0x3060A0 && C != 0xA06030) ++Count;
      }
      Out.push_back(Count);
    });
    return Out;
  };
  // Unrolling: coming in, full Size, then from the frame where fewer than Size frames remain it
  // is TotalFrames - CurrentFrame - 1 wide, 0 at CurrentFrame = TotalFrames - 1.
  EXPECT_EQ(Widths(true), (std::vector<int>{1, 2, 3, 4, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 4, 3, 2, 1, 0}));
  // Rolling: CurrentFrame wide until it reaches Size, then leaving past the far edge.
  EXPECT_EQ(Widths(false), (std::vector<int>{1, 2, 3, 4, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 5, 4, 3, 2, 1, 0}));
}

std::vector<TBitmap> AllFrames(const TSetup& S, const TBitmap& Old, const TBitmap& New) {
  TRollTransition Roll;
  S.Apply(Roll);
  std::vector<TBitmap> Shots;
  TBitmap Screen;
  RunOffscreen(Roll, Old, New, Screen, [&](const TOffscreenFrame& F) { Shots.push_back(F.Screen); });
  return Shots;
}

// Reversed runs the opposite direction in the other mode: unrolling downwards reversed rolls the
// old image up from the bottom.
TEST(Roll, ReversedSwapsDirectionAndMode) {
  const TBitmap Old = Noise(7), New = Noise(8);
  for (TTEEffectDirection D : {tedRight, tedLeft, tedDown, tedUp})
    for (bool Unroll : {true, false})
      for (bool Use3D : {false, true}) {
        const TSetup Reversed{D, Unroll, true, Use3D, 6};
        const TSetup Straight{OppositeDirection(D), !Unroll, false, Use3D, 6};
        SCOPED_TRACE(Reversed.Name());
        const std::vector<TBitmap> A = AllFrames(Reversed, Old, New), B = AllFrames(Straight, Old, New);
        ASSERT_EQ(A.size(), B.size());
        for (std::size_t I = 0; I < A.size(); ++I) ASSERT_EQ(test::DescribeDifference(A[I], B[I]), "") << "frame " << I + 1;
      }
  // Down, unrolling, reversed: frame 1 uncovers the bottom row of the new image and the band
  // above it shows the old image (rolling).
  TRollTransition Roll;
  Roll.SetReversed(true);
  Roll.SetUse3D(false);
  std::vector<TBitmap> Shots;
  TBitmap Screen;
  RunOffscreen(Roll, Old, New, Screen, [&](const TOffscreenFrame& F) { Shots.push_back(F.Screen); });
  ASSERT_GE(Shots.size(), 3u);
  for (int X = 0; X < W; ++X) {
    EXPECT_EQ(Shots[1].PixelColor(X, H - 1), New.PixelColor(X, H - 1));
    EXPECT_EQ(Shots[1].PixelColor(X, H - 2), New.PixelColor(X, H - 2));
    EXPECT_EQ(Shots[1].PixelColor(X, H - 3), Old.PixelColor(X, H - 2)) << "the band: old row H-2 mirrored";
    EXPECT_EQ(Shots[1].PixelColor(X, H - 4), Old.PixelColor(X, H - 1));
  }
}

// Settings changed while a run goes on (an editor's preview, say) wait for the next run.
TEST(Roll, SettingsChangedDuringARunWaitForTheNext) {
  const TBitmap Old = Noise(31), New = Noise(32);
  const TBitmap OldD = OnDevice(Old), NewD = OnDevice(New);
  const TSetup S{tedDown, true, false, true, 6};
  const TRollModel M = S.Model(W, H);
  TRollTransition Roll;
  S.Apply(Roll);
  std::vector<std::string> Faults;
  TBitmap Screen;
  RunOffscreen(Roll, Old, New, Screen, [&](const TOffscreenFrame& F) {
    if (F.Final) return;
    const std::string Fault = CheckFrame(M, true, F.Frame, F.Screen, OldD, NewD);
    if (!Fault.empty() && Faults.size() < 3) Faults.push_back(Fault);
    Roll.SetSize(F.Frame % 2 ? 500 : 2);
    Roll.SetUnroll(F.Frame % 3 == 0);
    Roll.SetUse3D(F.Frame % 2 == 0);
    Roll.SetDirection(F.Frame % 2 ? tedRight : tedUp);
  });
  EXPECT_TRUE(Faults.empty()) << Faults.front();
  EXPECT_EQ(test::DescribeDifference(Screen, NewD), "");
}

// Two passes through an intermediate image, the first one reversed: each pass is a roll of its
// own, with its own mode.
TEST(Roll, TwoPassesRollEachPassInItsOwnMode) {
  const TBitmap Old = Noise(21), Middle = Noise(22), New = Noise(23);
  const TBitmap OldD = OnDevice(Old), MiddleD = OnDevice(Middle), NewD = OnDevice(New);
  for (bool Use3D : {false, true}) {
    SCOPED_TRACE(Use3D ? "shaded" : "flat");
    TRollTransition Roll;
    Roll.SetUse3D(Use3D);
    Roll.SetSize(6);
    Roll.SetPassSetting(teTwoPasses);
    Roll.Pass2Options()->SetReversed(true);
    // Pass 1 runs reversed: upwards, rolling the old image up; pass 2 unrolls the new one down.
    const TRollModel First = TSetup{tedDown, true, true, Use3D, 6}.Model(W, H);
    const TRollModel Second = TSetup{tedDown, true, false, Use3D, 6}.Model(W, H);
    int Frames[3] = {0, 0, 0};
    std::vector<std::string> Faults;
    TBitmap Screen;
    RunOffscreen(
        Roll, Old, New, Screen,
        [&](const TOffscreenFrame& F) {
          if (F.Final) {
            EXPECT_EQ(test::DescribeDifference(F.Screen, F.Pass == 1 ? MiddleD : NewD), "") << "pass " << F.Pass;
            return;
          }
          ++Frames[F.Pass];
          const std::string Fault = F.Pass == 1 ? CheckFrame(First, Use3D, F.Frame, F.Screen, OldD, MiddleD)
                                                : CheckFrame(Second, Use3D, F.Frame, F.Screen, MiddleD, NewD);
          if (!Fault.empty() && Faults.size() < 3) Faults.push_back("pass " + std::to_string(F.Pass) + ", " + Fault);
        },
        &Middle);
    EXPECT_EQ(Frames[1], H);
    EXPECT_EQ(Frames[2], H);
    EXPECT_TRUE(Faults.empty()) << Faults.front();
    EXPECT_EQ(test::DescribeDifference(Screen, NewD), "");
  }
}

// Paced frames skip ahead by several lines; each is still a frame of the model, in order, and
// the run ends on the new image.
TEST(Roll, PacedFramesAreFramesOfTheRollInOrder) {
  const TBitmap Old = Noise(9), New = Noise(10);
  for (bool Unroll : {true, false})
    for (TTEEffectDirection D : {tedRight, tedUp}) {
      const TSetup S{D, Unroll, false, true, 6};
      SCOPED_TRACE(S.Name());
      test::TFakeClock Clock(0.001);
      TRollTransition Roll;
      S.Apply(Roll);
      Roll.SetMilliseconds(60);
      const TRollModel M = S.Model(W, H);
      const TBitmap OldD = OnDevice(Old), NewD = OnDevice(New);
      int Last = 0, Frames = 0;
      TBitmap Screen;
      RunOffscreen(Roll, Old, New, Screen, [&](const TOffscreenFrame& F) {
        if (F.Final) return;
        ++Frames;
        Clock.Advance(8);
        int Found = 0;
        for (int Try = Last + 1; Try < M.Total() && !Found; ++Try)
          if (CheckFrame(M, true, Try, F.Screen, OldD, NewD).empty()) Found = Try;
        ASSERT_NE(Found, 0) << "frame " << F.Frame << " is no frame of the roll after " << Last;
        EXPECT_EQ(UnionOf(F.Changed), M.Changed(Last, Found, W, H));
        Last = Found;
      });
      EXPECT_GT(Frames, 2);
      EXPECT_LT(Frames, M.L / 2) << "the clock leaves time for a few frames only";
      EXPECT_EQ(test::DescribeDifference(Screen, NewD), "");
    }
}

// On 8, 16 and 24-bit devices the flat band works in the device format (frames exact there), the
// shaded one in 32 bits; both end on the new image.
TEST(Roll, OtherDeviceFormats) {
  const TBitmap Old = Noise(11), New = Noise(12);
  for (int Bits : {8, 16, 24}) {
    test::TScreenDepth Depth(Bits);
    for (bool Use3D : {false, true}) {
      const TSetup S{tedLeft, true, false, Use3D, 6};
      SCOPED_TRACE(std::to_string(Bits) + " bits, " + S.Name());
      TRollTransition Roll;
      S.Apply(Roll);
      EXPECT_EQ(Roll.GetPixelFormat(), Use3D ? pf32bit : DevicePixelFormat());
      if (Bits != 8 && !Use3D) {
        const TRunResult Run = RunAndCheck(S, Old, New);
        EXPECT_TRUE(Run.Faults.empty()) << Run.Faults.front();
        EXPECT_TRUE(Run.EndedOnNew);
      } else {
        TBitmap Screen;
        int Frames = 0;
        RunOffscreen(Roll, Old, New, Screen, [&](const TOffscreenFrame& F) { Frames += !F.Final; });
        EXPECT_EQ(Frames, W);
        EXPECT_EQ(test::DescribeDifference(Screen, OnDevice(New)), "");
      }
    }
  }
}

}  // namespace
}  // namespace vte
