// On a platform that cannot copy the screen (the minimal one here, Wayland in the field) a run
// paints the old look instead, and the effects run as anywhere else.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <memory>

#include "container/form.h"
#include "container/form_transitions.h"
#include "effects/slide.h"
#include "effects/wipe.h"
#include "engine/blend_transition.h"
#include "engine/render_window.h"
#include "render/device.h"
#include "support/screen_support.h"

namespace vte {
namespace {

class MinimalPlatform : public test::TPanelScreen, public ::testing::WithParamInterface<const char*> {
protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("minimal"));
    BuildPanel(QRect(0, 0, 240, 180), QRect(10, 10, 160, 120), QRect());
  }
};

std::unique_ptr<TTransitionEffect> Make(const char* Name) {
  if (qstrcmp(Name, "wipe") == 0) return std::make_unique<TWipeTransition>();
  if (qstrcmp(Name, "slide") == 0) return std::make_unique<TSlideTransition>();
  return std::make_unique<TBlendTransition>();
}

TEST_P(MinimalPlatform, TheOldLookIsPaintedAndTheRunEndsOnTheNewLook) {
  ASSERT_FALSE(ScreenCanBeCopied());
  std::unique_ptr<TTransitionEffect> E = Make(GetParam());
  ASSERT_TRUE(E->Prepare(Panel, Rect(0, 0, 160, 120)));
  EXPECT_TRUE(E->Run().OldLookPainted());
  TTERenderWindow* RW = test::TheRenderWindow();
  ASSERT_NE(RW, nullptr);
  EXPECT_EQ(RW->Surface().Canvas().Pixel(80, 60), clRed);
  test::SetColor(Panel, Qt::blue);
  bool Started = false;
  TColor Final = clNone, Old = clNone;
  E->OnStartTransition = [&](TTransitionEffect*) { Started = true; };
  E->OnEndTransition = [&](TTransitionEffect* T) {
    Final = RW->Surface().Canvas().Pixel(80, 60);
    if (T->Run().OldBitmap) Old = T->Run().OldBitmap->Canvas().Pixel(80, 60);
  };
  E->Execute();
  EXPECT_TRUE(Started);
  EXPECT_EQ(Final, clBlue);
  if (Old != clNone) {
    EXPECT_EQ(Old, clRed);
  }
  EXPECT_FALSE(E->Prepared());
  EXPECT_FALSE(TransitionActive);
}

INSTANTIATE_TEST_SUITE_P(Effects, MinimalPlatform, ::testing::Values("wipe", "slide", "blend"));

// With no screen to copy there is no old look for a window that appears: it shows at once.
TEST(MinimalPlatformForm, AFormWithAShowTransitionShowsAtOnce) {
  TForm Form;
  auto* Wipe = new TWipeTransition;
  int Runs = 0;
  Wipe->OnStartTransition = [&](TTransitionEffect*) { ++Runs; };
  (new TFormTransitions(&Form))->SetShowTransition(Wipe);
  Form.show();
  EXPECT_EQ(Runs, 0);
  EXPECT_TRUE(Form.isVisible() && Form.mask().isEmpty());
}

}  // namespace
}  // namespace vte
