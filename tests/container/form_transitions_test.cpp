// Top-level forms that appear through a transition. The checks on the screen need a window system
// that honours window masks (CMake runs these tests again under Xvfb); on the offscreen platform
// the same forms simply show at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <stdexcept>

#include "container/embedded_form.h"
#include "container/form.h"
#include "container/form_transitions.h"
#include "effects/roll.h"
#include "effects/simple_wipe.h"
#include "engine/render_window.h"
#include "render/device.h"
#include "support/screen_support.h"

namespace vte {
namespace {

using test::ScreenShowsItsPaint;
using test::TheRenderWindow;

TEST(FormTransitions, RefusedComponentsLeaveNothingBehindAndOneAnswersForTheForm) {
  auto Refusal = [](QObject* Owner) -> std::string {
    try {
      new TFormTransitions(Owner);
    } catch (const std::runtime_error& E) {
      return E.what();
    }
    return {};
  };
  TForm Form;
  auto* C = new TFormTransitions(&Form);
  EXPECT_EQ(Refusal(&Form), "Only one FormTransitions component is allowed per form");
  EXPECT_EQ(Form.findChildren<TFormTransitions*>().size(), 1);
  TFCEmbeddedForm Embedded;
  EXPECT_EQ(Refusal(&Embedded), "A FormTransitions component is not necessary in a TFCEmbeddedForm");
  EXPECT_TRUE(Embedded.findChildren<TFormTransitions*>().isEmpty());
  // The form is painted by the component's options.
  EXPECT_EQ(FindBackgroundOptions(&Form), C->BackgroundOptions());
  EXPECT_EQ(C->property("Version").toString(), QStringLiteral("Version 3.3"));
}

// A blue window below, and a borderless red form with a yellow child that appears over it.
class FormTransitionsScreen : public ::testing::Test {
public:
  static QImage Area() {
    return QGuiApplication::primaryScreen()->grabWindow(0, 120, 100, 400, 300).toImage().convertToFormat(QImage::Format_RGB32);
  }

protected:
  void SetUp() override {
    Below.setGeometry(60, 60, 600, 400);
    Below.setAutoFillBackground(true);
    test::SetColor(&Below, Qt::blue);
    Below.show();
    // A real window system exposes and paints the window in its own time.
    ASSERT_TRUE(QTest::qWaitFor([] { return Area().pixelColor(10, 10) == QColor(Qt::blue); }, 3000));
    Form.SetBorderStyle(bsNone);
    Form.SetColor(clRed);
    Form.setGeometry(120, 100, 400, 300);
    auto* Child = new QWidget(&Form);
    Child->setGeometry(40, 40, 120, 80);
    Child->setAutoFillBackground(true);
    test::SetColor(Child, Qt::yellow);
    Component = new TFormTransitions(&Form);
  }
  TTransitionEffect* Counted(TTransitionEffect* T) {
    T->SetMilliseconds(60);
    T->OnStartTransition = [this](TTransitionEffect*) { ++Runs; };
    Component->SetShowTransition(T);
    return T;
  }

  QWidget Below;
  TForm Form;
  TFormTransitions* Component = nullptr;
  int Runs = 0;
};

bool AnimatesHere() { return ScreenCanBeCopied() && WindowMasksShapeTheScreen(); }

TEST_F(FormTransitionsScreen, EnabledDecidesEachShowAndHidingNeverAnimates) {
  Counted(new TSimpleWipeTransition);
  Component->SetEnabled(false);
  Form.show();
  EXPECT_EQ(Runs, 0);
  Form.hide();
  Component->SetEnabled(true);
  Form.show();
  EXPECT_EQ(Runs, AnimatesHere() ? 1 : 0);
  EXPECT_TRUE(ScreenShowsItsPaint(&Form));
  Form.hide();
  EXPECT_EQ(Runs, AnimatesHere() ? 1 : 0);
  EXPECT_TRUE(Form.mask().isEmpty());
  // Without a transition of its own the form is cut in flicker-free.
  Component->SetShowTransition(nullptr);
  Form.show();
  EXPECT_TRUE(ScreenShowsItsPaint(&Form));
  EXPECT_FALSE(TransitionActive);
}

TEST_F(FormTransitionsScreen, AShapedStayOnTopFormKeepsStyleAndShape) {
  Form.SetFormStyle(fsStayOnTop);
  const QRegion Shape(0, 0, 400, 300, QRegion::Ellipse);
  Form.setMask(Shape);
  QRegion RenderShape;
  Counted(new TSimpleWipeTransition)->OnStartTransition = [&](TTransitionEffect*) {
    RenderShape = TheRenderWindow()->mask();
  };
  Form.show();
  EXPECT_TRUE(Form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(Form.FormStyle(), fsStayOnTop);
  EXPECT_EQ(Form.mask(), Shape);
  if (AnimatesHere()) {
    EXPECT_EQ(RenderShape, Shape);
  }
}

// The frames of a roll: the screen shows the screen below until the first frame, both looks
// halfway, the form at the end. Saved as PNG at 25/50/75 % when VTE_SHOT_DIR names a folder.
TEST_F(FormTransitionsScreen, ARollGoesFromTheScreenBelowToTheForm) {
  if (!AnimatesHere()) GTEST_SKIP() << "a mapped window cannot be kept off this screen";
  auto* Roll = Counted(new TRollTransition);
  Roll->SetMilliseconds(600);
  std::vector<QImage> Shots;  // before the first frame, then at each quarter
  QElapsedTimer Clock;
  // At each paint of the render window the screen still shows the frame before.
  struct TShooter : QObject {
    std::function<void()> Shoot;
    bool eventFilter(QObject*, QEvent* E) override {
      if (E->type() == QEvent::Paint) Shoot();
      return false;
    }
  } Shooter;
  Shooter.Shoot = [&] {
    if (Shots.empty() || (Shots.size() < 4 && Clock.elapsed() >= 150 * static_cast<qint64>(Shots.size())))
      Shots.push_back(Area());
  };
  Roll->OnBeforeTransition = [&](TTransitionEffect*) {
    Clock.start();
    TheRenderWindow()->installEventFilter(&Shooter);
  };
  const QImage Before = Area();
  Form.show();
  ASSERT_EQ(Shots.size(), 4u);
  EXPECT_EQ(Shots[0], Before) << "the form showed before its first frame";
  EXPECT_TRUE(ScreenShowsItsPaint(&Form));
  const QImage After = Area();
  int Old = 0, New = 0;
  for (int Y = 0; Y < 300; ++Y) {
    Old += Shots[2].pixel(200, Y) == Before.pixel(200, Y);
    New += Shots[2].pixel(200, Y) == After.pixel(200, Y);
  }
  EXPECT_TRUE(Old > 50 && New > 50) << Old << " rows old, " << New << " rows new halfway";
  if (const char* Dir = std::getenv("VTE_SHOT_DIR"))
    for (int I = 1; I < 4; ++I) Shots[I].save(QStringLiteral("%1/form-roll-%2.png").arg(QString::fromLocal8Bit(Dir)).arg(25 * I));
}

}  // namespace
}  // namespace vte

