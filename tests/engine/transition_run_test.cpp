// One call around any change: a page switch of a stacked widget animates from the old page to the
// new one, and every way out of the call leaves nothing prepared and the cursor as it was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStackedWidget>
#include <stdexcept>

#include "effects/simple_wipe.h"
#include "engine/transition_effect.h"
#include "engine/transition_run.h"
#include "support/screen_support.h"

namespace vte {
namespace {

using test::ScreenOf;
using test::SetColor;
using test::TheRenderWindow;

class TransitionRun : public ::testing::Test {
protected:
  void SetUp() override {
    Window.setGeometry(40, 40, 400, 300);
    Stack = new QStackedWidget(&Window);
    Stack->setGeometry(20, 20, 300, 200);
    for (const QColor C : {QColor(Qt::red), QColor(Qt::blue)}) {
      auto* Page = new QWidget;
      Page->setAutoFillBackground(true);
      SetColor(Page, C);
      Stack->addWidget(Page);
    }
    Window.show();
    QApplication::processEvents();
    Wipe.SetMilliseconds(100);
    Wipe.OnStartTransition = [this](TTransitionEffect*) {
      ++Runs;
      // The stack has switched behind the render window; the screen still shows the old page.
      StartColor = ScreenOf(Stack).pixelColor(150, 100);
    };
  }
  bool LeftNothingBehind() const {
    return !TransitionActive && !Wipe.Prepared() && !TheRenderWindow() && !QApplication::overrideCursor();
  }

  QWidget Window;
  QStackedWidget* Stack = nullptr;
  TSimpleWipeTransition Wipe;
  int Runs = 0;
  QColor StartColor;
};

TEST_F(TransitionRun, APageSwitchAnimatesFromTheOldPage) {
  bool CursorShown = false;
  ChangeWithTransition(&Wipe, Stack, [&] {
    CursorShown = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    Stack->setCurrentIndex(1);
  });
  EXPECT_TRUE(CursorShown);
  EXPECT_EQ(Runs, 1);
  EXPECT_EQ(StartColor, QColor(Qt::red));
  EXPECT_TRUE(test::ScreenShowsItsPaint(Stack));
  EXPECT_EQ(ScreenOf(Stack).pixelColor(150, 100), QColor(Qt::blue));
  EXPECT_TRUE(LeftNothingBehind());

  // A rectangle of the widget: only that part is covered.
  TRect Covered;
  Wipe.OnStartTransition = [&](TTransitionEffect* T) { Covered = T->Run().ControlRect; };
  ChangeWithTransition(&Wipe, Stack, Rect(10, 20, 110, 70), [&] { Stack->setCurrentIndex(0); });
  EXPECT_EQ(Covered.Left, 10);
  EXPECT_EQ(Covered.Bottom, 70);
  EXPECT_TRUE(test::ScreenShowsItsPaint(Stack));
}

TEST_F(TransitionRun, AFailingChangeReachesTheCallerAfterTheCleanUp) {
  EXPECT_THROW(ChangeWithTransition(&Wipe, Stack,
                                    [&] {
                                      Stack->setCurrentIndex(1);
                                      throw std::runtime_error("no page");
                                    }),
               std::runtime_error);
  EXPECT_EQ(Runs, 0);
  EXPECT_TRUE(LeftNothingBehind());
  // A failing run is passed on the same way.
  Wipe.OnStartTransition = [](TTransitionEffect*) { throw std::logic_error("handler"); };
  EXPECT_THROW(ChangeWithTransition(&Wipe, Stack, [&] { Stack->setCurrentIndex(0); }), std::logic_error);
  EXPECT_TRUE(LeftNothingBehind());
}

TEST_F(TransitionRun, WithoutAnAreaToCoverTheChangeIsStillMade) {
  Window.hide();
  ChangeWithTransition(&Wipe, Stack, [&] { Stack->setCurrentIndex(1); });
  ChangeWithTransition(nullptr, Stack, [&] { Stack->setCurrentIndex(0); });
  EXPECT_EQ(Stack->currentIndex(), 0);
  EXPECT_EQ(Runs, 0);
  EXPECT_TRUE(LeftNothingBehind());
}

}  // namespace
}  // namespace vte
