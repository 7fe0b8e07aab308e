// The alpha blend through the offscreen runner on forced screen depths: frame counts, every frame
// against the per-channel mix (or the dither pattern on palette screens), the exact end, the
// similarity count, two passes through a plain colour, and the class facts.
#include <gtest/gtest.h>

#include <QMetaObject>
#include <string>
#include <vector>

#include "engine/blend_transition.h"
#include "engine/offscreen_runner.h"
#include "engine/transition_registry.h"
#include "gdi/canvas.h"
#include "pixel/blend_work.h"
#include "render/device.h"
#include "support/bitmap_support.h"
#include "support/fake_clock.h"
#include "support/frame_recording_support.h"
#include "support/frame_unit_log.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

constexpr int W = 23, H = 9;

using test::TScreenDepth;

TBitmap Noise(std::uint32_t Seed, TPixelFormat F) { return test::NoiseBitmap(W, H, Seed, F); }

int FloorDiv256(int X) { return X >= 0 ? X / 256 : -((-X + 255) / 256); }

// What frame Frame of a blend from Old to New shows, channel by channel as defined.
TBitmap Mixed(const TBitmap& New, const TBitmap& Old, int Frame) {
  const TPixelFormat F = New.PixelFormat();
  const bool Five = F == pf15bit || F == pf16bit;
  const int Level = Five ? 8 * Frame : Frame;
  struct TCh {
    int Shift, Bits;
  };
  std::vector<TCh> Channels = {{0, 8}, {8, 8}, {16, 8}};
  if (F == pf16bit) Channels = {{0, 5}, {5, 6}, {11, 5}};
  if (F == pf15bit) Channels = {{0, 5}, {5, 5}, {10, 5}};
  TBitmap R(W, H, F);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const std::uint32_t A = test::Raw(New, X, Y), B = test::Raw(Old, X, Y);
      std::uint32_t P = 0;
      for (const TCh& C : Channels) {
        const int M = (1 << C.Bits) - 1, Ca = (A >> C.Shift) & M, Cb = (B >> C.Shift) & M;
        const int V = Level <= 128 ? Cb + FloorDiv256((Ca - Cb) * Level)
                                   : Ca + FloorDiv256((Cb - Ca) * ((Five ? 256 : 255) - Level));
        P |= static_cast<std::uint32_t>(V) << C.Shift;
      }
      WritePixel(R.ScanLine(Y), X, F, P);
    }
  return R;
}

// What frame Frame shows on a palette screen: the new pixel where the dither cell is at most Frame.
TBitmap Dithered(const TBitmap& New, const TBitmap& Old, int Frame) {
  TBitmap Pattern(8, 8, pf1bit);
  Pattern.SetMonochrome(true);
  for (int Cell = 1; Cell <= Frame; ++Cell) SetDitherCell(Pattern, Cell);
  TBitmap R(Old);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      if (test::Raw(Pattern, X % 8, Y % 8) == 0) WritePixel(R.ScanLine(Y), X, R.PixelFormat(), test::Raw(New, X, Y));
  return R;
}

// Logs the frame units the loop asks for.
using TLoggedBlend = test::TFrameUnitLog<TBlendTransition>;

TEST(BlendTransition, UntimedRunsDrawEveryFrameOfTheDepthAndEndOnTheNewImage) {
  struct TCase {
    int Bits, Frames;
  };
  for (const TCase& C : {TCase{16, 31}, TCase{32, 254}, TCase{24, 254}, TCase{15, 31}, TCase{8, 63}}) {
    SCOPED_TRACE("depth " + std::to_string(C.Bits));
    TScreenDepth Depth(C.Bits);
    const TPixelFormat F = DevicePixelFormat();
    TBitmap Old = Noise(1, F), New = Noise(2, F);
    TLoggedBlend E;
    bool PatternDuringRun = false;
    E.AfterFrame = [&](int) { PatternDuringRun = E.Pattern() != nullptr; };
    int Wrong = 0;
    test::TRecordOptions Check;
    Check.Inspectors.push_back([&](const TOffscreenFrame& Fr, const TBitmap&) {
      if (Fr.Final) return;
      ASSERT_EQ(Fr.Changed, (std::vector<TRect>{Rect(0, 0, W, H)}));
      const TBitmap Want = C.Bits == 8 ? Dithered(New, Old, Fr.Frame) : Mixed(New, Old, Fr.Frame);
      if (!test::DescribeDifference(Fr.Screen, Want).empty()) ++Wrong;
    });
    const test::TFrameRecording Run = test::RecordRun(E, Old, New, Check);
    EXPECT_EQ(Run.ShownCount(), C.Frames);
    EXPECT_EQ(E.Units.size(), static_cast<std::size_t>(C.Frames));
    EXPECT_EQ(Run.Finals(), 1);
    EXPECT_EQ(Wrong, 0);
    EXPECT_EQ(test::DescribeDifference(Run.Screen, New), "");
    EXPECT_EQ(PatternDuringRun, C.Bits == 8);
    EXPECT_EQ(E.Pattern(), nullptr);
  }
}

TEST(BlendTransition, PacedFramesComeFromTheTwoImagesWhateverFramesAreSkipped) {
  TScreenDepth Depth(32);
  test::TFakeClock Clock;
  TBitmap Old = Noise(3, pf32bit), New = Noise(4, pf32bit);
  TLoggedBlend E;
  E.SetMilliseconds(100);
  // Far slower than 255 frames in 100 ms allow: most frames are skipped.
  E.AfterFrame = [&](int) { Clock.Advance(7); };
  test::TRecordOptions Keep;
  Keep.KeepScreens = true;
  const test::TFrameRecording Run = test::RecordRun(E, Old, New, Keep);
  std::vector<int> Wrong;
  for (const test::TRecordedFrame* Fr : Run.Shown())
    if (!test::DescribeDifference(Fr->Screen, Mixed(New, Old, Fr->Unit)).empty()) Wrong.push_back(Fr->Unit);
  EXPECT_EQ(Run.ShownCount(), static_cast<int>(E.Units.size()));
  EXPECT_LT(E.Units.size(), 40u);
  EXPECT_GT(E.Units.size(), 3u);
  EXPECT_TRUE(Wrong.empty()) << Wrong.size() << " frames wrong, the first " << Wrong.front();
  EXPECT_EQ(test::DescribeDifference(Run.Screen, New), "");
}

TEST(BlendTransition, SimilarityCountsTheCommonWords) {
  TScreenDepth Depth(32);
  TBitmap Old = Noise(5, pf32bit), Screen;
  // Identical images: 100, and no frame changes the picture.
  TBlendTransition Same;
  EXPECT_EQ(Same.Similarity(), 0);
  int Changed = 0;
  RunOffscreen(Same, Old, Old, Screen, [&](const TOffscreenFrame& Fr) {
    if (!test::DescribeDifference(Fr.Screen, Old).empty()) ++Changed;
  });
  EXPECT_EQ(Same.Similarity(), 100);
  EXPECT_EQ(Changed, 0);
  // Three rows of nine differ in every word: 6 * 23 of 9 * 23 words equal, 66 percent. The
  // frames skip the equal words and still show the right mix.
  TBitmap New(Old);
  TBitmap Other = Noise(6, pf32bit);
  for (int Y = 2; Y < 5; ++Y)
    for (int X = 0; X < W; ++X) WritePixel(New.ScanLine(Y), X, pf32bit, test::Raw(Other, X, Y) ^ 0x01000000);
  TBlendTransition Part;
  int Wrong = 0;
  RunOffscreen(Part, Old, New, Screen, [&](const TOffscreenFrame& Fr) {
    if (!Fr.Final && !test::DescribeDifference(Fr.Screen, Mixed(New, Old, Fr.Frame)).empty()) ++Wrong;
  });
  EXPECT_EQ(Part.Similarity(), 66);
  EXPECT_EQ(Wrong, 0);
  // Nothing in common.
  TBlendTransition None;
  RunOffscreen(None, Old, Other, Screen);
  EXPECT_EQ(None.Similarity(), 0);
}

TEST(BlendTransition, TwoPassesFadeToTheSolidColourAndFromIt) {
  TScreenDepth Depth(16);
  const TPixelFormat F = DevicePixelFormat();
  TBitmap Old = Noise(7, F), New = Noise(8, F), Screen;
  TBlendTransition E;
  E.SetPassSetting(teTwoPasses);
  E.Pass2Options()->SetUseSolidColor(true);
  E.Pass2Options()->SetSolidColor(clRed);
  const TBitmap Red = test::PlainBitmap(W, H, clRed, F);
  int Wrong = 0, Finals = 0;
  std::vector<int> PerPass(3, 0);
  RunOffscreen(E, Old, New, Screen, [&](const TOffscreenFrame& Fr) {
    if (Fr.Final) {
      ++Finals;
      if (!test::DescribeDifference(Fr.Screen, Fr.Pass == 1 ? Red : New).empty()) ++Wrong;
      return;
    }
    ++PerPass[Fr.Pass];
    const TBitmap Want = Fr.Pass == 1 ? Mixed(Red, Old, Fr.Frame) : Mixed(New, Red, Fr.Frame);
    if (!test::DescribeDifference(Fr.Screen, Want).empty()) ++Wrong;
  });
  EXPECT_EQ(PerPass[1], 31);
  EXPECT_EQ(PerPass[2], 31);
  EXPECT_EQ(Finals, 2);
  EXPECT_EQ(Wrong, 0);
  EXPECT_EQ(test::DescribeDifference(Screen, New), "");
}

TEST(BlendTransition, PaletteScreensDitherIntoTheOldImageItself) {
  TScreenDepth Depth(8);
  TBitmap Old = Noise(9, pf8bit), New = Noise(10, pf8bit), Screen(W, H, pf8bit);
  const TBitmap OldBefore(Old);
  TBlendTransition E;
  EXPECT_TRUE(E.WorkOnOldImage());
  E.AttachRenderTarget(TTERenderTarget{&Screen.Canvas(), {}, {}});
  TTETransitionData Data(W, H, &Old, &New, &Old, &Screen.Canvas(), pf8bit, false);
  E.DoExecute(Data);
  // The last frame drawn is 63: all but cell 64 of every 8x8 block show the new image.
  EXPECT_EQ(test::DescribeDifference(Old, Dithered(New, OldBefore, 63)), "");
  EXPECT_NE(test::DescribeDifference(Old, OldBefore), "");
  EXPECT_EQ(test::DescribeDifference(Screen, New), "");
  EXPECT_EQ(E.Pattern(), nullptr);
  E.AttachRenderTarget({});
}

TEST(BlendTransition, ClassFacts) {
  TBlendTransition E;
  EXPECT_EQ(E.Description(), QStringLiteral("Alpha blend"));
  EXPECT_EQ(FindTransitionClass(QStringLiteral("TBlendTransition")), &TBlendTransition::staticMetaObject);
  const QMetaObject& M = TBlendTransition::staticMetaObject;
  for (const char* Published : {"Enabled", "FlickerFreeWhenDisabled", "Milliseconds", "Pass2Options", "PassSetting"})
    EXPECT_GE(M.indexOfProperty(Published), 0) << Published;
  EXPECT_LT(M.indexOfProperty("Direction"), 0);
  EXPECT_LT(M.indexOfProperty("Reversed"), 0);
  EXPECT_FALSE(E.RenderWhenClipped());
  EXPECT_TRUE(E.NeedWorkBitmap());
  for (int Bits : {8, 15, 16, 24, 32}) {
    TScreenDepth Depth(Bits);
    EXPECT_EQ(E.GetPixelFormat(), DevicePixelFormat()) << Bits;
    EXPECT_EQ(E.WorkOnOldImage(), Bits == 8) << Bits;
  }
  std::unique_ptr<TTransitionEffect> Made(CreateTransition(QStringLiteral("TBlendTransition")));
  EXPECT_NE(dynamic_cast<TBlendTransition*>(Made.get()), nullptr);
}

}  // namespace
}  // namespace vte
