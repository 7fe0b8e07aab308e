// A simple wipe over real widgets on the offscreen screen: the render window keeps the old look,
// frames reach the screen while the run goes on, and the screen ends on the new look.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>

#include "effects/simple_wipe.h"
#include "engine/render_window.h"
#include "engine/transition_effect.h"
#include "support/screen_support.h"

namespace vte {
namespace {

using test::ScreenOf;
using test::ScreenShowsItsPaint;
using test::SetColor;
using test::TheRenderWindow;




class ScreenRun : public test::TPanelScreen {
protected:
  void SetUp() override { BuildPanel(QRect(40, 40, 400, 300), QRect(10, 10, 300, 200), QRect(20, 20, 60, 40)); }
};

// Counts the render window's paints: one a frame shown.
struct TPaintCounter : QObject {
  int Paints = 0;
  bool eventFilter(QObject*, QEvent* E) override {
    if (E->type() == QEvent::Paint) ++Paints;
    return false;
  }
};

TEST_F(ScreenRun, FramesReachTheScreenAndTheRunEndsOnTheNewLook) {
  TSimpleWipeTransition Wipe;
  Wipe.SetMilliseconds(300);
  ASSERT_TRUE(Wipe.Prepare(Panel, Rect(0, 0, 300, 200)));
  SetColor(Panel, Qt::blue);
  Child->hide();
  Wipe.OnStartTransition = [&](TTransitionEffect*) {
    // The panel has changed behind the render window; the screen still shows the old look.
    const QImage S = ScreenOf(Panel);
    EXPECT_EQ(S.pixelColor(150, 100), QColor(Qt::red));
    EXPECT_EQ(S.pixelColor(30, 30), QColor(Qt::yellow));
  };
  TPaintCounter Counter;
  TTERenderWindow* RW = TheRenderWindow();
  ASSERT_NE(RW, nullptr);
  RW->installEventFilter(&Counter);
  Wipe.Execute();
  EXPECT_GT(Counter.Paints, 10);
  EXPECT_EQ(TheRenderWindow(), nullptr);
  // The screen shows the new look.
  EXPECT_TRUE(ScreenShowsItsPaint(Panel));
  const QImage S = ScreenOf(Panel);
  EXPECT_EQ(S.pixelColor(30, 30), QColor(Qt::blue));
}

TEST_F(ScreenRun, PartialFramesShowTheWipeEdge) {
  TSimpleWipeTransition Wipe;
  Wipe.SetMilliseconds(0);
  ASSERT_TRUE(Wipe.Prepare(Panel, Rect(0, 0, 300, 200)));
  SetColor(Panel, Qt::blue);
  int Checked = 0;
  // Each frame is one paint of the render window; when the 151st begins, the screen shows the
  // 150th frame.
  struct TFilter : QObject {
    QWidget* Panel;
    int* Checked;
    int Paints = 0;
    bool eventFilter(QObject* O, QEvent* E) override {
      if (E->type() == QEvent::Paint && ++Paints == 151) {
        O->removeEventFilter(this);
        const QImage S = ScreenOf(Panel);
        // 150 one-pixel strips from the left are new, the rest still old.
        EXPECT_EQ(S.pixelColor(10, 100), QColor(Qt::blue));
        EXPECT_EQ(S.pixelColor(250, 100), QColor(Qt::red));
        ++*Checked;
      }
      return false;
    }
  } Filter;
  Filter.Panel = Panel;
  Filter.Checked = &Checked;
  TheRenderWindow()->installEventFilter(&Filter);
  Wipe.Execute();
  EXPECT_EQ(Checked, 1);
}

TEST_F(ScreenRun, ClickOrEscapeAbortsToTheFinalImage) {
  for (int Kind = 0; Kind < 2; ++Kind) {
    SetColor(Panel, Qt::red);
    QApplication::processEvents();
    TSimpleWipeTransition Wipe;
    Wipe.SetMilliseconds(5000);
    Wipe.SetAbortOnClick(Kind == 0);
    Wipe.SetAbortOnEscape(Kind == 1);
    ASSERT_TRUE(Wipe.Prepare(Panel, Rect(0, 0, 300, 200)));
    SetColor(Panel, Qt::blue);
    TTERenderWindow* RW = TheRenderWindow();
    ASSERT_NE(RW, nullptr);
    // The simple wipe's frames never poll, but the frame loop polls once before the first frame:
    // a request already waiting then ends the run at once.
    if (Kind == 0)
      QCoreApplication::postEvent(RW, new QMouseEvent(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5),
                                                     RW->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                                                     Qt::LeftButton, Qt::NoModifier));
    else
      QCoreApplication::postEvent(RW, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QElapsedTimer T;
    T.start();
    Wipe.Execute();
    EXPECT_LT(T.elapsed(), 2000) << "kind " << Kind;
    EXPECT_TRUE(Wipe.Aborted()) << "kind " << Kind;
    QApplication::processEvents();
    EXPECT_EQ(ScreenOf(Panel).pixelColor(150, 100), QColor(Qt::blue));
  }
}

}  // namespace
}  // namespace vte
