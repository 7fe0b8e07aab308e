// One call around any change: a page switch of a stacked widget animates from the old page to the
// new one, and every way out of the call leaves nothing prepared and the cursor as it was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QStackedWidget>
#include <stdexcept>
#include <string>
#include <vector>

#include "effects/simple_wipe.h"
#include "effects/slide.h"
#include "engine/reduced_motion.h"
#include "engine/render_window.h"
#include "engine/transition_run.h"
#include "support/screen_support.h"

namespace vte {
namespace {

using test::ScreenOf;

bool NothingLeft(const TTransitionEffect& T) {
  return !TransitionActive && !T.Prepared() && !test::TheRenderWindow() && !QApplication::overrideCursor();
}

// A shown window holding a stacked widget of a red page (current) and a blue one.
QStackedWidget* RedAndBluePages(QWidget& Window) {
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
  return Stack;
}

TEST(TransitionRun, AStackedWidgetSwitchesPagesThroughTheTransition) {
  QWidget Window;
  QStackedWidget* Stack = RedAndBluePages(Window);
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

// Counts the paints of the render window between the start and the end of a run.
class TPaintCounter : public QObject {
public:
  int Paints = 0;
  bool eventFilter(QObject*, QEvent* E) override {
    Paints += E->type() == QEvent::Paint;
    return false;
  }
};

TEST(TransitionRun, WithReducedMotionTheChangeIsOneCutAndTheEventsStillFireInOrder) {
  QWidget Window;
  QStackedWidget* Stack = RedAndBluePages(Window);
  struct TRestore {
    ~TRestore() { ResetReducedMotion(); }
  } Restore;

  for (bool Reduced : {false, true}) {
    SCOPED_TRACE(Reduced ? "reduced motion" : "full motion");
    SetReducedMotion(Reduced);
    TSlideTransition Slide;
    Slide.SetMilliseconds(150);
    // Two passes would show a solid intermediate look: with reduced motion it must not flash.
    Slide.SetPassSetting(teTwoPasses);
    std::vector<std::string> Log;
    TPaintCounter Counter;
    QColor AtStart;
    Slide.OnBeforeTransition = [&](TTransitionEffect*) { Log.push_back("before"); };
    Slide.OnStartTransition = [&](TTransitionEffect*) {
      Log.push_back("start");
      AtStart = ScreenOf(Stack).pixelColor(150, 100);
      if (test::TheRenderWindow()) test::TheRenderWindow()->installEventFilter(&Counter);
    };
    Slide.OnEndTransition = [&](TTransitionEffect*) { Log.push_back("end"); };
    Slide.OnAfterTransition = [&](TTransitionEffect*) { Log.push_back("after"); };
    ChangeWithTransition(&Slide, Stack, [&] { Stack->setCurrentIndex(1 - Stack->currentIndex()); });
    const QColor Shown = ScreenOf(Stack).pixelColor(150, 100);
    EXPECT_EQ(AtStart, Stack->currentIndex() == 1 ? QColor(Qt::red) : QColor(Qt::blue));
    EXPECT_EQ(Shown, Stack->currentIndex() == 1 ? QColor(Qt::blue) : QColor(Qt::red));
    EXPECT_TRUE(test::ScreenShowsItsPaint(Stack));
    // Two passes: the first pass's events frame the pair of passes, as they do animated.
    EXPECT_EQ(Log, (std::vector<std::string>{"before", "start", "end", "after"}));
    if (Reduced)
      EXPECT_EQ(Counter.Paints, 1) << "only the new look is shown";
    else
      EXPECT_GT(Counter.Paints, 2) << "the animation shows frames (else this test proves nothing)";
    EXPECT_TRUE(NothingLeft(Slide));
  }
  // The environment turns it on for a program that does not set it.
  ResetReducedMotion();
  setenv("VTE_REDUCED_MOTION", "1", 1);
  EXPECT_TRUE(ReducedMotion());
  setenv("VTE_REDUCED_MOTION", "0", 1);
  EXPECT_FALSE(ReducedMotion());
  SetReducedMotion(true);
  EXPECT_TRUE(ReducedMotion()) << "the program's own setting wins over the environment";
  unsetenv("VTE_REDUCED_MOTION");
}

}  // namespace
}  // namespace vte
