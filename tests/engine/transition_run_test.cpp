// One call around any change: a page switch of a stacked widget animates from the old page to the
// new one, and every way out of the call leaves nothing prepared and the cursor as it was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStackedWidget>
#include <stdexcept>

#include "effects/simple_wipe.h"
#include "engine/transition_run.h"
#include "support/screen_support.h"

namespace vte {
namespace {

using test::ScreenOf;

bool NothingLeft(const TTransitionEffect& T) {
  return !TransitionActive && !T.Prepared() && !test::TheRenderWindow() && !QApplication::overrideCursor();
}

TEST(TransitionRun, AStackedWidgetSwitchesPagesThroughTheTransition) {
  QWidget Window;
  Window.setGeometry(40, 40, 400, 300);
  auto* Stack = new QStackedWidget(&Window);
  Stack->setGeometry(20, 20, 300, 200);
  for (const QColor C : {QColor(Qt::red), QColor(Qt::blue)}) {
    auto* Page = new QWidget;
    Page->setAutoFillBackground(true);
    test::SetColor(Page, C);
    Stack->addWidget(Page);
  }
  Window.show();
  QApplication::processEvents();
  TSimpleWipeTransition Wipe;
  Wipe.SetMilliseconds(100);
  QColor AtStart;
  Wipe.OnStartTransition = [&](TTransitionEffect*) { AtStart = ScreenOf(Stack).pixelColor(150, 100); };
  ChangeWithTransition(&Wipe, Stack, [&] { Stack->setCurrentIndex(1); });
  EXPECT_EQ(AtStart, QColor(Qt::red)) << "the old page stays until the run starts";
  EXPECT_TRUE(test::ScreenShowsItsPaint(Stack));
  EXPECT_EQ(ScreenOf(Stack).pixelColor(150, 100), QColor(Qt::blue));
  EXPECT_TRUE(NothingLeft(Wipe));

  // A failing change, or a failing run, reaches the caller once everything is released.
  EXPECT_THROW(ChangeWithTransition(&Wipe, Stack, Rect(10, 20, 110, 70), [] { throw std::runtime_error("no page"); }),
               std::runtime_error);
  EXPECT_TRUE(NothingLeft(Wipe));
  Wipe.OnStartTransition = [](TTransitionEffect*) { throw std::logic_error("handler"); };
  EXPECT_THROW(ChangeWithTransition(&Wipe, Stack, [&] { Stack->setCurrentIndex(0); }), std::logic_error);
  EXPECT_TRUE(NothingLeft(Wipe));
  // With nothing on the screen to cover the change is simply made.
  Window.hide();
  ChangeWithTransition(&Wipe, Stack, [&] { Stack->setCurrentIndex(1); });
  EXPECT_EQ(Stack->currentIndex(), 1);
  EXPECT_TRUE(NothingLeft(Wipe));
}

}  // namespace
}  // namespace vte
