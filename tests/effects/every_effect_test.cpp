// Every registered transition class keeps the effect rules (support/effect_rules_support.h): with
// the settings it is created with, in each direction it allows forwards and reversed, and in two
// passes (always, or on palette screens), on odd sizes and at every screen depth. A class that
// registers is checked here without a line of its own; what it does in particular belongs in its
// own tests.
#include <gtest/gtest.h>

#include <QMetaObject>
#include <QVariant>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "effects/bitmap_mask.h"
#include "engine/reduced_motion.h"
#include "engine/transition_effect.h"
#include "engine/transition_registry.h"
#include "support/distinct_looks_support.h"
#include "support/effect_rules_support.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

// Effects that mix the two looks with some settings: their frames hold colours of neither look
// there, so the looks rule does not apply; every other rule still does.
struct TMixingEffect {
  const char* ClassName;
  const char* Why;
  bool (*Mixes)(const TTransitionEffect& Effect, TPixelFormat Screen);
};
const TMixingEffect MixingEffects[] = {
    {"vte::TBlendTransition", "every frame is a weighted mix of the looks (palette screens dither whole pixels)",
     [](const TTransitionEffect&, TPixelFormat Screen) { return Screen != pf8bit; }},
    {"vte::TRollTransition", "Use3D lights the band like a cylinder, darkening the rolled pixels",
     [](const TTransitionEffect& E, TPixelFormat) { return E.property("Use3D").toBool(); }},
    {"vte::TBmpMaskTransition", "smoothing fades each pixel from the old to the new look",
     [](const TTransitionEffect& E, TPixelFormat Screen) {
       return E.property("SmoothingLevel").toInt() > 0 && Screen != pf8bit;
     }},
};

// Effects that cannot run as created: what they are given first.
void MakeReady(TTransitionEffect& Effect) {
  if (auto* Mask = qobject_cast<TBmpMaskTransition*>(&Effect)) {
    // Levels of every value, in a 13x7 picture that no area divides evenly.
    TBitmap Levels(13, 7, pf8bit);
    Levels.SetPalette(GreyPalette());
    for (int Y = 0; Y < 7; ++Y)
      for (int X = 0; X < 13; ++X) Levels.ScanLine(Y)[X] = static_cast<std::uint8_t>((X * 7 + Y) * 37 % 256);
    Mask->SetMask(&Levels);
  }
}

// Why the effect mixes the looks with its present settings, or null when it does not.
const char* WhyItMixes(const TTransitionEffect& Effect, TPixelFormat Screen) {
  for (const TMixingEffect& M : MixingEffects)
    if (std::strcmp(Effect.metaObject()->className(), M.ClassName) == 0 && M.Mixes(Effect, Screen)) return M.Why;
  return nullptr;
}

struct TSetting {
  std::string Name;
  std::function<void(TTransitionEffect&)> Apply;
};

std::vector<TSetting> SettingsOf(const TTransitionEffect& Probe) {
  std::vector<TSetting> V{{"as created", [](TTransitionEffect&) {}}};
  for (int D = tedNone; D <= tedOut; ++D) {
    const auto Direction = static_cast<TTEEffectDirection>(D);
    if (!InDirections(Probe.AllowedDirections(), Direction)) continue;
    const std::string Name = Direction == tedNone ? "no direction" : GetDirectionName(Direction).toStdString();
    for (bool Reversed : {false, true})
      V.push_back({Name + (Reversed ? ", reversed" : ""), [Direction, Reversed](TTransitionEffect& E) {
                     E.SetDirection(Direction);
                     E.SetReversed(Reversed);
                   }});
  }
  V.push_back({"two passes", [](TTransitionEffect& E) { E.SetPassSetting(teTwoPasses); }});
  V.push_back({"two passes on palette screens", [](TTransitionEffect& E) { E.SetPassSetting(tePaletteDependent); }});
  V.push_back({"two passes, the first reversed", [](TTransitionEffect& E) {
                 E.SetPassSetting(teTwoPasses);
                 E.Pass2Options()->SetReversed(true);
               }});
  return V;
}

std::unique_ptr<TTransitionEffect> Create(const QMetaObject* Class) {
  QObject* Made = Class->newInstance(Q_ARG(QObject*, nullptr));
  auto* Effect = qobject_cast<TTransitionEffect*>(Made);
  if (!Effect) delete Made;
  return std::unique_ptr<TTransitionEffect>(Effect);
}

struct TSize {
  int Width, Height;
};
// One pixel; a sliver either way; an odd area large enough for every effect's band.
constexpr TSize Sizes[] = {{1, 1}, {3, 200}, {200, 3}, {97, 61}};

// A registered class as a test parameter, printed by its name.
struct TRegistered {
  const QMetaObject* Class;
  std::string Name() const {
    const std::string Full = Class->className();
    return Full.substr(Full.rfind(':') + 1);
  }
  friend void PrintTo(const TRegistered& R, std::ostream* Out) { *Out << R.Name(); }
};

std::vector<TRegistered> RegisteredClasses() {
  std::vector<TRegistered> V;
  for (const QMetaObject* Class : TransitionClasses()) V.push_back({Class});
  return V;
}

class EveryEffect : public testing::TestWithParam<TRegistered> {};

TEST_P(EveryEffect, KeepsTheRulesInEverySettingSizeDirectionAndDepth) {
  const QMetaObject* Class = GetParam().Class;
  const std::unique_ptr<TTransitionEffect> Probe = Create(Class);
  ASSERT_NE(Probe, nullptr) << Class->className() << " cannot be created";
  for (int Bits : test::ScreenDepths) {
    test::TScreenDepth Depth(Bits);
    const TPixelFormat Screen = DevicePixelFormat();
    for (const TSize& Size : Sizes) {
      const test::TDistinctLooks Looks(Size.Width, Size.Height);
      for (const TSetting& S : SettingsOf(*Probe)) {
        SCOPED_TRACE(S.Name + ", " + std::to_string(Size.Width) + "x" + std::to_string(Size.Height) + ", " +
                     std::to_string(Bits) + "-bit screen");
        const std::unique_ptr<TTransitionEffect> Effect = Create(Class);
        MakeReady(*Effect);
        S.Apply(*Effect);
        Effect->SetMilliseconds(0);
        test::TRuleOptions Options;
        const char* Why = WhyItMixes(*Effect, Screen);
        Options.Mixes = Why != nullptr;
        SCOPED_TRACE(Why ? std::string("no looks rule: ") + Why : std::string("all rules"));
        // A single pixel may leave an effect no frame to draw at all.
        Options.MayEndSilently = Size.Width * Size.Height == 1;
        EXPECT_TRUE(test::KeepsEffectRules(*Effect, Looks, Options));
      }
    }
  }
}

// With reduced motion every effect, in one pass or two, is the flicker-free cut: no frame before the
// final image, no intermediate look, the new look at the end, and its start and end events fired.
TEST_P(EveryEffect, IsOneCutWithReducedMotion) {
  const QMetaObject* Class = GetParam().Class;
  struct TRestore {
    ~TRestore() { ResetReducedMotion(); }
  } Restore;
  SetReducedMotion(true);
  const test::TDistinctLooks Looks(97, 61);
  for (const TTEPassSettingType Passes : {teOnePass, teTwoPasses}) {
    SCOPED_TRACE(Passes == teOnePass ? "one pass" : "two passes");
    const std::unique_ptr<TTransitionEffect> Effect = Create(Class);
    ASSERT_NE(Effect, nullptr);
    MakeReady(*Effect);
    Effect->SetPassSetting(Passes);
    Effect->SetMilliseconds(5000);  // an animation would be noticed: the test would take seconds
    std::string Events;
    Effect->OnStartTransition = [&](TTransitionEffect*) { Events += "start "; };
    Effect->OnEndTransition = [&](TTransitionEffect*) { Events += "end"; };
    test::TRecordOptions Options;
    Options.Pass2Look = &Looks.Middle();
    const test::TFrameRecording Run = test::RecordRun(*Effect, Looks.Old(), Looks.New(), Options);
    EXPECT_FALSE(Run.EndedSilently);
    EXPECT_EQ(Run.ShownCount(), 0);
    ASSERT_EQ(Run.Frames.size(), 1u);
    EXPECT_TRUE(Run.Frames[0].Final);
    EXPECT_EQ(Run.Frames[0].Pass, 1);
    EXPECT_TRUE(Run.EndsOn(Looks.New()));
    EXPECT_EQ(Events, "start end");
  }
}

INSTANTIATE_TEST_SUITE_P(Registered, EveryEffect, testing::ValuesIn(RegisteredClasses()),
                         [](const testing::TestParamInfo<TRegistered>& Info) { return Info.param.Name(); });

}  // namespace
}  // namespace vte
