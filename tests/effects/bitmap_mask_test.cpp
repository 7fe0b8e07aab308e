// The bitmap-mask transition through the offscreen runner: every frame against the order the mask
// gives (plain and reversed, uniform and one-pixel masks, every screen depth), the graded fade of
// each smoothing level, the effect rules with smoothing, the two refusals and loading a mask file.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <string>

#include "effects/bitmap_mask.h"
#include "engine/errors.h"
#include "render/device.h"
#include "support/bitmap_support.h"
#include "support/effect_rules_support.h"
#include "support/frame_recording_support.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

// Two widths: the looks' rows are rounded up to whole groups of pixels, so at 24 they are as long
// as the screen's and the frames are drawn on it straight away, at 23 in the work bitmap.
constexpr int Widths[] = {23, 24};
constexpr int H = 11;

TBitmap GreyMask(int Width, int Height, std::uint32_t Seed) {
  TBitmap M = test::NoiseBitmap(Width, Height, Seed, pf8bit);
  M.SetPalette(GreyPalette());
  return M;
}

TBitmap UniformMask(int Width, int Height, std::uint8_t Level) {
  TBitmap M(Width, Height, pf8bit);
  M.SetPalette(GreyPalette());
  for (int Y = 0; Y < Height; ++Y) std::fill_n(M.ScanLine(Y), Width, Level);
  return M;
}

// The level of area pixel (X, Y) for masks that stretch trivially (the area's size, or uniform).
int LevelAt(const TBitmap& Mask, int X, int Y, bool Reversed, int W) {
  const int V = Mask.ScanLine(Y * Mask.Height() / H)[X * Mask.Width() / W];
  return Reversed ? 255 - V : V;
}

TEST(BmpMask, EveryFrameShowsNewPixelsExactlyWhereTheLevelHasBeenReached) {
  struct TCase {
    const char* Name;
    TBitmap Mask;
    bool Reversed;
  };
  for (int W : Widths) {
    const TCase Cases[] = {{"levels of the area's size", GreyMask(W, H, 5), false},
                           {"the same, reversed", GreyMask(W, H, 5), true},
                           {"uniform 128: all at frame 128", UniformMask(5, 3, 128), false},
                           {"one pixel of 77: a cut at frame 179", UniformMask(1, 1, 77), false},
                           {"0 reversed: all at frame 1", UniformMask(1, 1, 0), true}};
    const TBitmap OldLook = test::NoiseBitmap(W, H, 1), NewLook = test::NoiseBitmap(W, H, 2);
    for (int Bits : {8, 16, 24, 32}) {
      test::TScreenDepth Depth(Bits);
      const TBitmap Old = test::OnDevice(OldLook), New = test::OnDevice(NewLook);
      for (const TCase& C : Cases) {
        SCOPED_TRACE(std::string(C.Name) + ", " + std::to_string(Bits) + "-bit screen");
        TBmpMaskTransition Effect;
        Effect.SetMask(&C.Mask);
        Effect.SetReversed(C.Reversed);
        // Palette screens cannot show a fade: there a smoothing level changes nothing, and the
        // frames are composed in the old image itself.
        Effect.SetSmoothingLevel(Bits == 8 ? 3 : 0);
        EXPECT_TRUE(Effect.WorkOnOldImage());
        EXPECT_EQ(Effect.GetPixelFormat(), DevicePixelFormat());
        test::TRecordOptions Options;
        Options.KeepScreens = true;
        const test::TFrameRecording Run = test::RecordRun(Effect, OldLook, NewLook, Options);
        ASSERT_EQ(Run.ShownCount(), 255);
        ASSERT_TRUE(Run.EndsOn(New));
        for (const test::TRecordedFrame* F : Run.Shown())
          for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X) {
              const bool Changed = LevelAt(C.Mask, X, Y, C.Reversed, W) >= 256 - F->Frame;
              ASSERT_EQ(test::Raw(F->Screen, X, Y), test::Raw(Changed ? New : Old, X, Y))
                  << "frame " << F->Frame << " pixel " << X << "," << Y << ", width " << W;
            }
      }
    }
  }
}

// round(X / D), halves up.
int RoundedDiv(int X, int D) { return (2 * X + D) / (2 * D); }

TEST(BmpMask, SmoothingFadesEachPixelLinearlyOverItsLevelsFrames) {
  test::TScreenDepth Depth(32);
  for (int W : Widths) {
    const TBitmap Mask = GreyMask(W, H, 9);
    const TBitmap Old = test::NoiseBitmap(W, H, 3), New = test::NoiseBitmap(W, H, 4);
    for (int Level = 1; Level <= 5; ++Level) {
      SCOPED_TRACE("smoothing level " + std::to_string(Level));
      const int Fade = TBmpMaskTransition::FadeLength(Level);
      EXPECT_EQ(Fade, 4 << Level);
      TBmpMaskTransition Effect;
      Effect.SetMask(&Mask);
      Effect.SetSmoothingLevel(Level);
      test::TRecordOptions Options;
      Options.KeepScreens = true;
      const test::TFrameRecording Run = test::RecordRun(Effect, Old, New, Options);
      ASSERT_EQ(Run.ShownCount(), 256 + Fade - 2);
      ASSERT_TRUE(Run.EndsOn(test::OnDevice(New)));
      for (const test::TRecordedFrame* F : Run.Shown())
        for (int Y = 0; Y < H; ++Y)
          for (int X = 0; X < W; ++X) {
            const int D = std::clamp(LevelAt(Mask, X, Y, false, W) - (255 - F->Frame), 0, Fade);
            for (int B = 0; B < 3; ++B) {
              const int O = Old.ScanLine(Y)[4 * X + B], N = New.ScanLine(Y)[4 * X + B];
              ASSERT_EQ(F->Screen.ScanLine(Y)[4 * X + B], RoundedDiv(O * (Fade - D) + N * D, Fade))
                  << "frame " << F->Frame << " pixel " << X << "," << Y << ", width " << W;
            }
          }
    }
  }
}

TEST(BmpMask, SmoothedRunsKeepTheEffectRulesButTheLooksOneOnOddSizesAndDepths) {
  for (int Bits : {15, 16, 24, 32}) {
    test::TScreenDepth Depth(Bits);
    for (auto [Width, Height] : {std::pair{1, 1}, std::pair{3, 40}, std::pair{61, 9}}) {
      const test::TDistinctLooks Looks(Width, Height);
      const TBitmap Mask = GreyMask(7, 5, 11);
      for (int Level : {1, 5})
        for (bool TwoPasses : {false, true}) {
          SCOPED_TRACE(std::to_string(Bits) + "-bit, " + std::to_string(Width) + "x" + std::to_string(Height) +
                       ", level " + std::to_string(Level) + (TwoPasses ? ", two passes" : ""));
          TBmpMaskTransition Effect;
          Effect.SetMask(&Mask);
          Effect.SetSmoothingLevel(Level);
          if (TwoPasses) Effect.SetPassSetting(teTwoPasses);
          test::TRuleOptions Options;
          Options.Mixes = true;
          EXPECT_TRUE(test::KeepsEffectRules(Effect, Looks, Options));
        }
    }
  }
}

TEST(BmpMask, SettersRefuseWhatTheRunCannotUse) {
  TBmpMaskTransition Effect;
  const TBitmap Levels = GreyMask(4, 4, 1);
  Effect.SetMask(&Levels);
  const TBitmap Colours(4, 4, pf32bit);
  try {
    Effect.SetMask(&Colours);
    ADD_FAILURE() << "a 32-bit mask was taken";
  } catch (const ETransitionEffectError& E) {
    EXPECT_STREQ(E.what(), "Transition mask should have 8 bits per pixel");
  }
  EXPECT_TRUE(test::SameMemory(Effect.Mask(), Levels));
  Effect.SetSmoothingLevel(5);
  Effect.SetSmoothingLevel(6);
  EXPECT_EQ(Effect.SmoothingLevel(), 5);

  Effect.SetMask(nullptr);
  EXPECT_TRUE(Effect.Mask().Empty());
  const TBitmap Old = test::NoiseBitmap(8, 8, 1), New = test::NoiseBitmap(8, 8, 2);
  TBitmap Screen;
  try {
    RunOffscreen(Effect, Old, New, Screen);
    ADD_FAILURE() << "a run without a mask went on";
  } catch (const ETransitionEffectError& E) {
    EXPECT_STREQ(E.what(), "Transition mask is empty");
  }
  EXPECT_EQ(test::DescribeDifference(Screen, test::OnDevice(Old)), "");
}

TEST(BmpMask, LoadsGreyBmpByteForByteAndOtherPicturesAsTheirGreyLevels) {
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  const TBitmap Grey = GreyMask(13, 6, 21);
  const QString BmpFile = Dir.filePath("mask.bmp");
  Grey.SaveToFile(BmpFile);
  const TBitmap FromBmp = TBmpMaskTransition::LoadMaskFromFile(BmpFile);
  EXPECT_EQ(FromBmp.PixelFormat(), pf8bit);
  EXPECT_EQ(test::DescribeDifference(FromBmp, Grey), "");

  QImage Colours(5, 4, QImage::Format_RGB32);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 5; ++X) Colours.setPixel(X, Y, qRgb(X * 60, Y * 80, (X + Y) * 30));
  const QString PngFile = Dir.filePath("colours.png");
  ASSERT_TRUE(Colours.save(PngFile));
  const TBitmap FromPng = TBmpMaskTransition::LoadMaskFromFile(PngFile);
  ASSERT_EQ(FromPng.PixelFormat(), pf8bit);
  EXPECT_EQ(FromPng.Palette(), GreyPalette());
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 5; ++X) EXPECT_EQ(FromPng.ScanLine(Y)[X], qGray(Colours.pixel(X, Y))) << X << "," << Y;
  EXPECT_THROW(TBmpMaskTransition::LoadMaskFromFile(Dir.filePath("missing.bmp")), std::runtime_error);
}

}  // namespace
}  // namespace vte
