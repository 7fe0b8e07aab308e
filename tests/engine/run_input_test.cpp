// What reaches the application while a transition runs: input is delivered the way the platform
// delivers it (through the top-level window), abort requests are taken, everything else waits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "engine/render_window.h"
#include "support/hook_effect.h"
#include "support/screen_support.h"

namespace vte {
namespace {

using test::THookEffect;

class RunInput : public test::TPanelScreen {
protected:
  void SetUp() override { BuildPanel(QRect(60, 70, 320, 240), QRect(20, 30, 200, 150), QRect()); }
  void TearDown() override { EXPECT_FALSE(TransitionActive); }

  // The point P of Panel in the coordinates of the top-level window that input arrives at.
  QPoint InWindow(QPoint P) const { return Panel->mapTo(&Window, P); }
};

TEST_F(RunInput, ARealClickOnAChildRenderWindowAbortsAndOneBesideItDoesNot) {
  for (const bool OnTheWindow : {true, false}) {
    THookEffect E(40);
    E.SetAbortOnClick(true);
    ASSERT_TRUE(E.Prepare(Panel, Rect(0, 0, 100, 75)));
    ASSERT_FALSE(test::TheRenderWindow()->isWindow());
    const QPoint At = InWindow(OnTheWindow ? QPoint(50, 40) : QPoint(150, 120));
    E.OnFrame = [&](int Frame) {
      if (Frame == 3) QTest::mouseClick(Window.windowHandle(), Qt::LeftButton, Qt::NoModifier, At);
    };
    E.Execute();
    EXPECT_EQ(E.Aborted(), OnTheWindow);
    // The frame after the click sees it.
    EXPECT_EQ(E.FramesDrawn, OnTheWindow ? 4 : 39);
    QApplication::processEvents();
  }
}

TEST_F(RunInput, InputDuringARunReachesTheWidgetsAfterIt) {
  auto* Edit = new QLineEdit(&Window);
  Edit->setGeometry(240, 10, 70, 24);
  auto* Button = new QPushButton(QStringLiteral("Go"), &Window);
  Button->setGeometry(240, 50, 70, 30);
  Button->setFocusPolicy(Qt::NoFocus);
  Edit->show();
  Button->show();
  Edit->setFocus();
  int Clicks = 0;
  QObject::connect(Button, &QPushButton::clicked, [&] { ++Clicks; });
  const QPoint OnButton = Button->geometry().center();
  QApplication::processEvents();

  THookEffect E(10);
  E.SetAbortOnEscape(true);
  // Pressed before the run, released during it: the button must still get its release.
  QTest::mousePress(Window.windowHandle(), Qt::LeftButton, Qt::NoModifier, OnButton);
  ASSERT_TRUE(Button->isDown());
  ASSERT_TRUE(E.Prepare(Panel, Rect(0, 0, 200, 150)));
  E.OnFrame = [&](int Frame) {
    if (Frame != 2) return;
    QTest::mouseRelease(Window.windowHandle(), Qt::LeftButton, Qt::NoModifier, OnButton);
    for (const char C : {'a', 'b', 'c'}) QTest::keyClick(Window.windowHandle(), C);
    EXPECT_EQ(Edit->text(), QString()) << "input reached a widget during the run";
    EXPECT_EQ(Clicks, 0);
  };
  E.Execute();
  EXPECT_FALSE(E.Aborted());
  EXPECT_EQ(E.FramesDrawn, 9);
  QApplication::processEvents();
  EXPECT_EQ(Edit->text(), QStringLiteral("abc"));
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(Button->isDown());
}

TEST_F(RunInput, EscapeAbortsOnlyWhenAskedAndIsKeptOtherwise) {
  auto* Edit = new QLineEdit(&Window);
  Edit->setGeometry(240, 10, 70, 24);
  Edit->show();
  Edit->setFocus();
  int EscapesSeen = 0;
  struct TEscapeCounter : QObject {
    int* Count;
    explicit TEscapeCounter(int* C) : Count(C) {}
    bool eventFilter(QObject*, QEvent* E) override {
      if (E->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(E)->key() == Qt::Key_Escape) ++*Count;
      return false;
    }
  } Counter(&EscapesSeen);
  Edit->installEventFilter(&Counter);
  for (const bool Abort : {true, false}) {
    EscapesSeen = 0;
    THookEffect E(30);
    E.SetAbortOnEscape(Abort);
    E.SetAbortOnClick(true);
    ASSERT_TRUE(E.Prepare(Panel, Rect(0, 0, 200, 150)));
    E.OnFrame = [&](int Frame) {
      if (Frame == 4) QTest::keyClick(Window.windowHandle(), Qt::Key_Escape);
    };
    E.Execute();
    EXPECT_EQ(E.Aborted(), Abort);
    QApplication::processEvents();
    EXPECT_EQ(EscapesSeen, Abort ? 0 : 1) << "abort " << Abort;
  }
}

TEST_F(RunInput, TimersAndQueuedEventsWaitForTheEndOfTheRun) {
  THookEffect E(12);
  E.SetAbortOnClick(true);
  E.SetAbortOnEscape(true);
  bool DuringRun = false;
  QStringList Ran, RanDuringRun;
  auto Seen = [&](const char* What) {
    Ran << QLatin1String(What);
    if (DuringRun) RanDuringRun << QLatin1String(What);
  };
  QTimer Timer;
  Timer.setInterval(1);
  QObject::connect(&Timer, &QTimer::timeout, [&] {
    Timer.stop();
    Seen("timer");
  });
  struct TReceiver : QObject {
    std::function<void()> OnUser;
    bool event(QEvent* E) override {
      if (E->type() != QEvent::User) return QObject::event(E);
      OnUser();
      return true;
    }
  } Receiver;
  Receiver.OnUser = [&] { Seen("posted"); };
  ASSERT_TRUE(E.Prepare(Panel, Rect(0, 0, 200, 150)));
  E.OnStartTransition = [&](TTransitionEffect*) {
    DuringRun = true;
    Timer.start();
    QMetaObject::invokeMethod(&Receiver, [&] { Seen("queued call"); }, Qt::QueuedConnection);
    QCoreApplication::postEvent(&Receiver, new QEvent(QEvent::User));
  };
  // Long enough for the timer to be due at every abort check.
  E.OnFrame = [](int) { QTest::qSleep(2); };
  E.Execute();
  DuringRun = false;
  // Where the platform has an input device of its own, fetching its input runs the event loop
  // once, and a queued slot call (which Qt gives no way to copy) cannot be held back then.
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) RanDuringRun.removeAll(QStringLiteral("queued call"));
  EXPECT_EQ(RanDuringRun, QStringList());
  QTest::qWait(20);
  Ran.sort();
  EXPECT_EQ(Ran, (QStringList{QStringLiteral("posted"), QStringLiteral("queued call"), QStringLiteral("timer")}));
}

}  // namespace
}  // namespace vte
