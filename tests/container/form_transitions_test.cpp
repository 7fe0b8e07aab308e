// Top-level forms that appear through a transition. The checks on the screen need a window system
// that honours window masks (X11: CMake runs these tests again under Xvfb); on the offscreen
// platform the same forms must simply show at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "container/form.h"
#include "container/form_transitions.h"
#include "effects/roll.h"
#include "effects/simple_wipe.h"
#include "engine/render_window.h"
#include "engine/transition_list.h"
#include "render/device.h"
#include "support/screen_support.h"

namespace vte {
namespace {

using test::ScreenOf;
using test::ScreenShowsItsPaint;
using test::TheRenderWindow;

// Stands for the embedded form, known to the component by its class name only.
class TFCEmbeddedForm : public TForm {
  Q_OBJECT

public:
  explicit TFCEmbeddedForm(QObject* Owner = nullptr) : TForm(Owner) {}
};

std::string MessageOfMaking(QObject* Owner) {
  try {
    new TFormTransitions(Owner);
  } catch (const std::runtime_error& E) {
    return E.what();
  }
  return {};
}

int ComponentsOn(QObject* Owner) { return Owner->findChildren<TFormTransitions*>().size(); }

TEST(FormTransitions, RefusedComponentsLeaveNothingBehind) {
  TForm Form;
  auto* First = new TFormTransitions(&Form);
  EXPECT_EQ(First->Form(), &Form);
  EXPECT_EQ(MessageOfMaking(&Form), "Only one FormTransitions component is allowed per form");
  EXPECT_EQ(ComponentsOn(&Form), 1);

  TFCEmbeddedForm Embedded;
  ASSERT_STREQ(Embedded.metaObject()->className(), "vte::TFCEmbeddedForm");
  EXPECT_EQ(MessageOfMaking(&Embedded), "A FormTransitions component is not necessary in a TFCEmbeddedForm");
  EXPECT_EQ(ComponentsOn(&Embedded), 0);
}

TEST(FormTransitions, PropertiesAndTheOptionsItAnswersFor) {
  TForm Form;
  auto* C = new TFormTransitions(&Form);
  EXPECT_TRUE(C->Enabled());
  EXPECT_TRUE(C->DestroyTransitions());
  EXPECT_EQ(C->ShowTransition(), nullptr);
  C->setProperty("Version", QStringLiteral("other"));
  EXPECT_EQ(C->property("Version").toString(), QStringLiteral("Version 3.3"));
  // The form's surface is painted by the component's options.
  EXPECT_EQ(FindBackgroundOptions(&Form), C->BackgroundOptions());
  EXPECT_EQ(C->BackgroundOptions()->OwnerControl(), &Form);

  // A replaced transition is freed; one of a list stays the list's.
  QPointer<TTransitionEffect> Own = new TSimpleWipeTransition;
  C->SetShowTransition(Own);
  TTransitionList List;
  auto* Listed = new TRollTransition(&List);
  Listed->SetTransitionList(&List);
  C->SetShowTransition(Listed);
  EXPECT_TRUE(Own.isNull());
  EXPECT_FALSE(C->DestroyTransitions());
  // A transition freed elsewhere is no longer the show transition.
  delete Listed;
  EXPECT_EQ(C->ShowTransition(), nullptr);
}

// A blue window below, and a form of red with a yellow child that appears over it.
class FormTransitionsScreen : public ::testing::Test {
public:
  // The screen where the form shows.
  QImage Area() const {
    return QGuiApplication::primaryScreen()->grabWindow(0, 120, 100, 400, 300).toImage().convertToFormat(QImage::Format_RGB32);
  }

protected:
  void SetUp() override {
    Below.setGeometry(60, 60, 600, 400);
    Below.setAutoFillBackground(true);
    test::SetColor(&Below, Qt::blue);
    Below.show();
    // A real window system exposes and paints the window in its own time.
    ASSERT_TRUE(QTest::qWaitFor([this] { return Area().pixelColor(10, 10) == QColor(Qt::blue); }, 3000));
    Form.SetBorderStyle(bsNone);
    Form.SetColor(clRed);
    Form.setGeometry(120, 100, 400, 300);
    auto* Child = new QWidget(&Form);
    Child->setGeometry(40, 40, 120, 80);
    Child->setAutoFillBackground(true);
    test::SetColor(Child, Qt::yellow);
    Component = new TFormTransitions(&Form);
  }
  static void Settle() {
    for (int I = 0; I < 5; ++I) QApplication::processEvents();
  }
  // Counts the runs of the show transition, and, from inside each, the screen before its frames.
  void Watch(TTransitionEffect* T) {
    T->OnStartTransition = [this](TTransitionEffect*) {
      ++Runs;
      StartLooks.push_back(Area());
    };
  }

  QWidget Below;
  TForm Form;
  TFormTransitions* Component = nullptr;
  int Runs = 0;
  std::vector<QImage> StartLooks;
};

bool AnimatesHere() { return ScreenCanBeCopied() && WindowMasksShapeTheScreen(); }

TEST_F(FormTransitionsScreen, EnabledDecidesEachShowAndHidingNeverAnimates) {
  auto* Wipe = new TSimpleWipeTransition;
  Wipe->SetMilliseconds(60);
  Watch(Wipe);
  Component->SetShowTransition(Wipe);
  Component->SetEnabled(false);
  Form.show();
  EXPECT_EQ(Runs, 0);
  Form.hide();
  Component->SetEnabled(true);
  Form.show();
  // Where masks cannot keep the mapped form off the screen, it shows at once.
  EXPECT_EQ(Runs, AnimatesHere() ? 1 : 0);
  EXPECT_EQ(TransitionActive, false);
  EXPECT_TRUE(ScreenShowsItsPaint(&Form));
  Form.hide();
  EXPECT_EQ(Runs, AnimatesHere() ? 1 : 0);
  // Shown and hidden: the mask is the form's again (it had none).
  EXPECT_TRUE(Form.mask().isEmpty());
  // Without a transition of its own the form is cut in by a flicker-free transition made for
  // that show only.
  Component->SetShowTransition(nullptr);
  Form.show();
  EXPECT_TRUE(ScreenShowsItsPaint(&Form));
  EXPECT_EQ(Component->ShowTransition(), nullptr);
  EXPECT_FALSE(TransitionActive);
}

TEST_F(FormTransitionsScreen, FramesGoFromTheScreenBelowToTheForm) {
  if (!AnimatesHere()) GTEST_SKIP() << "the screen cannot show a mapped window as hidden here";
  auto* Wipe = new TSimpleWipeTransition;
  Wipe->SetMilliseconds(150);
  Watch(Wipe);
  // The first paint of the render window puts the first frame on the screen: what the screen
  // shows just before it must still be the screen below.
  struct TFirstPaint : QObject {
    FormTransitionsScreen* Test;
    QImage Look;
    bool eventFilter(QObject*, QEvent* E) override {
      if (E->type() == QEvent::Paint && Look.isNull()) Look = Test->Area();
      return false;
    }
  } FirstPaint;
  FirstPaint.Test = this;
  Wipe->OnBeforeTransition = [&](TTransitionEffect*) { TheRenderWindow()->installEventFilter(&FirstPaint); };
  Component->SetShowTransition(Wipe);
  const QImage Before = Area();
  ASSERT_EQ(Before.pixelColor(10, 10), QColor(Qt::blue));
  Form.show();
  ASSERT_EQ(Runs, 1);
  EXPECT_EQ(StartLooks[0], Before) << "the form flashed before its transition";
  ASSERT_FALSE(FirstPaint.Look.isNull());
  EXPECT_EQ(FirstPaint.Look, Before);
  EXPECT_EQ(TheRenderWindow(), nullptr);
  EXPECT_TRUE(ScreenShowsItsPaint(&Form));
  EXPECT_EQ(Area().pixelColor(50, 50), QColor(Qt::yellow));
}

TEST_F(FormTransitionsScreen, AShapedStayOnTopFormKeepsStyleAndShape) {
  Form.SetFormStyle(fsStayOnTop);
  const QRegion Shape = QRegion(0, 0, 400, 300, QRegion::Ellipse);
  Form.setMask(Shape);
  auto* Wipe = new TSimpleWipeTransition;
  Wipe->SetMilliseconds(60);
  QRegion RenderShape;
  Wipe->OnStartTransition = [&](TTransitionEffect*) { RenderShape = TheRenderWindow()->mask(); };
  Component->SetShowTransition(Wipe);
  Form.show();
  EXPECT_EQ(Form.FormStyle(), fsStayOnTop);
  EXPECT_TRUE(Form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(Form.mask(), Shape);
  if (AnimatesHere()) {
    EXPECT_EQ(RenderShape, Shape) << "the render window takes the form's shape";
    // Outside the ellipse the screen below stays.
    Settle();
    EXPECT_EQ(Area().pixelColor(2, 2), QColor(Qt::blue));
  }
}

// A roll seen at a quarter, half and three quarters of its run; saved as PNG when VTE_SHOT_DIR
// names a folder.
TEST_F(FormTransitionsScreen, ARollShowsBothLooksHalfway) {
  if (!AnimatesHere()) GTEST_SKIP() << "the screen cannot show a mapped window as hidden here";
  auto* Roll = new TRollTransition;
  Roll->SetMilliseconds(600);
  std::vector<QImage> Shots;
  QElapsedTimer Clock;
  struct TShooter : QObject {
    std::function<void()> Shoot;
    bool eventFilter(QObject*, QEvent* E) override {
      if (E->type() == QEvent::Paint) Shoot();
      return false;
    }
  } Shooter;
  // The screen shows the frame before the one being painted; close enough to the marks.
  Shooter.Shoot = [&] {
    const qint64 Mark = Roll->Milliseconds() * static_cast<qint64>(Shots.size() + 1) / 4;
    if (Shots.size() < 3 && Clock.elapsed() >= Mark) Shots.push_back(Area());
  };
  Roll->OnStartTransition = [&](TTransitionEffect*) {
    Clock.start();
    TheRenderWindow()->installEventFilter(&Shooter);
  };
  Component->SetShowTransition(Roll);
  const QImage Before = Area();
  Form.show();
  Settle();
  const QImage After = Area();
  ASSERT_EQ(Shots.size(), 3u);
  // Halfway, part of the screen below and part of the form show.
  const QImage& Half = Shots[1];
  bool Old = false, New = false;
  for (int Y = 0; Y < Half.height(); Y += 4)
    for (int X = 0; X < Half.width(); X += 4) {
      Old |= Half.pixel(X, Y) == Before.pixel(X, Y) && Before.pixel(X, Y) != After.pixel(X, Y);
      New |= Half.pixel(X, Y) == After.pixel(X, Y) && Before.pixel(X, Y) != After.pixel(X, Y);
    }
  EXPECT_TRUE(Old && New);
  if (const char* Dir = std::getenv("VTE_SHOT_DIR")) {
    const char* Names[] = {"25", "50", "75"};
    for (int I = 0; I < 3; ++I)
      Shots[I].save(QString::fromLocal8Bit(Dir) + QStringLiteral("/form-roll-") + QLatin1String(Names[I]) +
                    QStringLiteral(".png"));
    Before.save(QString::fromLocal8Bit(Dir) + QStringLiteral("/form-roll-00.png"));
    After.save(QString::fromLocal8Bit(Dir) + QStringLiteral("/form-roll-100.png"));
  }
}

}  // namespace
}  // namespace vte

#include "form_transitions_test.moc"
