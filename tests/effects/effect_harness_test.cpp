// The effect test harness itself: the distinct looks tell every pixel's look and place, and each
// rule catches the fault it is there for in a small effect made to commit it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/timed_transition.h"
#include "gdi/canvas.h"
#include "support/distinct_looks_support.h"
#include "support/effect_rules_support.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

TEST(DistinctLooks, EveryPixelNamesItsLookAndPlaceAndNothingElseDoes) {
  for (TPixelFormat F : {pf15bit, pf16bit, pf24bit, pf32bit, pf8bit}) {
    SCOPED_TRACE(F);
    const test::TDistinctLooks Looks(97, 61, F);
    std::set<std::uint32_t> Seen;
    for (test::TLook L : {test::lkOld, test::lkMiddle, test::lkNew})
      for (int Y = 0; Y < 61; ++Y)
        for (int X = 0; X < 97; ++X) {
          const std::uint32_t V = ReadPixel(Looks.Look(L).ScanLine(Y), X, F);
          ASSERT_EQ(Looks.LookOf(V), L) << X << "," << Y;
          if (F == pf8bit) continue;
          ASSERT_TRUE(Seen.insert(V).second) << "a second pixel of colour " << V;
          ASSERT_EQ(Looks.PlaceOf(V).X, X);
          ASSERT_EQ(Looks.PlaceOf(V).Y, Y);
        }
    const TBitmap& Old = Looks.Old();
    EXPECT_EQ(Looks.LookOf(EncodePixel(F, Old.Palette(), qRgb(0, 0, 0))), test::lkNone) << "black";
    EXPECT_EQ(Looks.LookOf(EncodePixel(F, Old.Palette(), qRgb(255, 255, 255))), test::lkNone) << "white";
    if (F == pf8bit) continue;
    // Half-way mixes of neighbours are almost never a look's pixel.
    int Looklike = 0;
    for (int X = 0; X + 1 < 97; ++X) {
      const QRgb A = Old.PixelColor(X, 5), B = Looks.New().PixelColor(X + 1, 5);
      const QRgb Mix = qRgb((qRed(A) + qRed(B)) / 2, (qGreen(A) + qGreen(B)) / 2, (qBlue(A) + qBlue(B)) / 2);
      Looklike += Looks.LookOf(EncodePixel(F, Old.Palette(), Mix)) != test::lkNone;
    }
    EXPECT_LT(Looklike, 96 * (F == pf15bit ? 3 : 2) / 4);
  }
  EXPECT_THROW(test::TDistinctLooks(200, 100, pf15bit), std::invalid_argument);
}

// Reveals the new look column by column; each flaw breaks one rule.
class TFlawedReveal : public TTimedTransitionEffect {
public:
  enum TFlaw { None, ShortRect, Grey, NoFinal, WrongEnd };
  explicit TFlawedReveal(TFlaw Flaw) : Flaw(Flaw) {}

  void DoExecute(TTETransitionData& Data) override {
    if (Flaw == NoFinal) {
      // The new look in one copy, never reported as a final image.
      Data.RenderCanvas->BitBlt(0, 0, Data.Width, Data.Height, Data.DstBmp->Canvas(), 0, 0, SRCCOPY);
      RenderTarget().Flush(Rect(0, 0, Data.Width, Data.Height));
      return;
    }
    TTimedTransitionEffect::DoExecute(Data);
    if (Flaw == WrongEnd) {
      Data.RenderCanvas->Brush().Color = clBlack;
      Data.RenderCanvas->FillRect(Rect(0, 0, 1, 1));
    }
  }
  void Initialize(TTETransitionData& Data, int& Frames) override {
    TTimedTransitionEffect::Initialize(Data, Frames);
    Frames = Data.Width;
  }
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames, int Last) override {
    TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, Last);
    const TRect R = Rect(Last, 0, CurrentFrame, Data.Height);
    TCanvas& C = Data.Canvas();
    C.BitBlt(R.Left, R.Top, R.Width(), R.Height(), Data.DstBmp->Canvas(), R.Left, R.Top, SRCCOPY);
    if (Flaw == Grey) {
      C.Brush().Color = 0x808080;
      C.FillRect(Rect(Last, 0, CurrentFrame, 1));
    }
    UpdateRect = Flaw == ShortRect ? Rect(R.Left, R.Top, R.Right, R.Bottom - 1) : R;
  }
  // Drawn straight onto the screen, a frame shows more than it reports; from a work bitmap only
  // what it reports is copied.
  bool NeedWorkBitmap() const override { return Flaw != ShortRect; }

  TFlaw Flaw;
};

std::string Broken(TFlawedReveal::TFlaw Flaw) {
  const test::TDistinctLooks Looks(9, 4);
  TFlawedReveal E(Flaw);
  return test::KeepsEffectRules(E, Looks).message();
}

TEST(EffectRules, EachRuleCatchesItsFault) {
  for (int Bits : {32, 8}) {
    SCOPED_TRACE(Bits);
    test::TScreenDepth Depth(Bits);
    EXPECT_EQ(Broken(TFlawedReveal::None), "");
    // Frames 1..8 of the 9 columns each leave a pixel out of their rectangle, or show a grey one.
    EXPECT_EQ(Broken(TFlawedReveal::ShortRect).rfind("rule changes broken: 8 faults; pass 1 frame 1: 1 changed", 0), 0u)
        << Broken(TFlawedReveal::ShortRect);
    EXPECT_EQ(Broken(TFlawedReveal::Grey).rfind("rule looks broken: 8 faults; pass 1 frame 1: 1 pixels of neither", 0), 0u)
        << Broken(TFlawedReveal::Grey);
    EXPECT_EQ(Broken(TFlawedReveal::NoFinal), "rule frames broken: 1 fault; pass 1: no call at all, neither a frame nor its final image");
    EXPECT_EQ(Broken(TFlawedReveal::WrongEnd).rfind("rule ends broken: 1 fault; the run does not end on the new look", 0), 0u)
        << Broken(TFlawedReveal::WrongEnd);
  }
  // Two passes: the first must end on the intermediate look, and the looks of each pass differ.
  test::TScreenDepth Depth(32);
  const test::TDistinctLooks Looks(9, 4);
  TFlawedReveal Twice(TFlawedReveal::None);
  Twice.SetPassSetting(teTwoPasses);
  EXPECT_TRUE(test::KeepsEffectRules(Twice, Looks));
}

}  // namespace
}  // namespace vte
