#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/render_window.h"
#include "engine/transition_effect.h"
#include "render/device.h"
#include "support/hook_effect.h"
#include "support/screen_support.h"

namespace vte {
namespace {

using test::SetColor;
using test::TheRenderWindow;

// An effect that records what the run hands it and shows the new look in one copy.
class TRecordingEffect : public TTransitionEffect {
public:
  explicit TRecordingEffect(std::vector<std::string>& Log) : FLog(Log) {
    OnBeforeTransition = [this](TTransitionEffect*) { FLog.push_back("before"); };
    OnStartTransition = [this](TTransitionEffect*) { FLog.push_back("start"); };
    OnEndTransition = [this](TTransitionEffect*) { FLog.push_back("end"); };
    OnAfterTransition = [this](TTransitionEffect*) { FLog.push_back("after"); };
  }
  void DoExecute(TTETransitionData& Data) override {
    FLog.push_back(SecondPass() ? "pass2" : "pass1");
    Milliseconds.push_back(TTransitionEffect::Milliseconds());
    ReversedSeen.push_back(ReversedToUse());
    if (Data.SrcBmp) SourceColors.push_back(Data.SrcBmp->PixelColor(1, 1));
    if (Data.DstBmp) DestColors.push_back(Data.DstBmp->PixelColor(1, 1));
    if (Throw) throw std::runtime_error("effect failed");
    ShowFinalImage(Data);
  }

  bool Throw = false;
  std::vector<int> Milliseconds;
  std::vector<bool> ReversedSeen;
  std::vector<TColor> SourceColors, DestColors;

private:
  std::vector<std::string>& FLog;
};

int RenderWindowCount() {
  int N = 0;
  for (QWidget* W : QApplication::allWidgets()) N += qobject_cast<TTERenderWindow*>(W) != nullptr;
  return N;
}

QColor ScreenPixel(QWidget* W, QPoint P) {
  const QPoint G = W->mapToGlobal(P);
  return QGuiApplication::primaryScreen()->grabWindow(0, G.x(), G.y(), 1, 1).toImage().pixelColor(0, 0);
}

class RunSequence : public ::testing::Test {
protected:
  void SetUp() override {
    Window.setGeometry(50, 60, 320, 240);
    Panel = new QWidget(&Window);
    Panel->setGeometry(20, 30, 200, 150);
    Panel->setAutoFillBackground(true);
    SetColor(Panel, Qt::red);
    Window.show();
    QApplication::processEvents();
  }
  void TearDown() override { ASSERT_FALSE(TransitionActive); }

  // A shown tab widget with the pages "One" (current) and "Two".
  QTabWidget* AddTabs(QWidget*& First, QWidget*& Second) {
    auto* Tabs = new QTabWidget(&Window);
    Tabs->setGeometry(0, 0, 300, 200);
    First = new QWidget;
    Second = new QWidget;
    Tabs->addTab(First, QStringLiteral("One"));
    Tabs->addTab(Second, QStringLiteral("Two"));
    Tabs->show();
    QApplication::processEvents();
    return Tabs;
  }

  QWidget Window;
  QWidget* Panel = nullptr;
  std::vector<std::string> Log;
};

TEST_F(RunSequence, EnabledRunFiresEveryEventOnceInOrderAndShowsTheNewLook) {
  TRecordingEffect E(Log);
  ASSERT_TRUE(E.Prepare(Panel, Rect(0, 0, 200, 150)));
  EXPECT_TRUE(TransitionActive);
  EXPECT_EQ(RenderWindowCount(), 1);
  // Covering the area changes nothing on the screen.
  EXPECT_EQ(ScreenPixel(Panel, {10, 10}), QColor(Qt::red));
  SetColor(Panel, Qt::blue);
  E.Execute();
  EXPECT_EQ(Log, (std::vector<std::string>{"before", "start", "pass1", "end", "after"}));
  EXPECT_EQ(E.SourceColors, std::vector<TColor>{clRed});
  EXPECT_EQ(E.DestColors, std::vector<TColor>{clBlue});
  EXPECT_FALSE(E.Prepared());
  EXPECT_EQ(RenderWindowCount(), 0);
  QApplication::processEvents();
  EXPECT_EQ(ScreenPixel(Panel, {10, 10}), QColor(Qt::blue));
}

TEST_F(RunSequence, DisabledAndUnpreparedRunsFireOnlyBeforeAndAfter) {
  TRecordingEffect E(Log);
  E.SetEnabled(false);
  EXPECT_FALSE(E.Prepare(Panel, Rect(0, 0, 200, 150)));
  E.Execute();
  EXPECT_EQ(Log, (std::vector<std::string>{"before", "after"}));

  Log.clear();
  TRecordingEffect Unprepared(Log);
  Unprepared.Execute();
  EXPECT_EQ(Log, (std::vector<std::string>{"before", "after"}));
}

TEST_F(RunSequence, FlickerFreeCutShowsTheNewLookWithoutAnimationEvents) {
  TRecordingEffect E(Log);
  E.SetEnabled(false);
  E.SetFlickerFreeWhenDisabled(true);
  ASSERT_TRUE(E.Prepare(Panel, Rect(0, 0, 200, 150)));
  SetColor(Panel, Qt::green);
  E.Execute();
  EXPECT_EQ(Log, (std::vector<std::string>{"before", "after"}));
  QApplication::processEvents();
  EXPECT_EQ(ScreenPixel(Panel, {100, 100}), QColor(Qt::green));
}

TEST_F(RunSequence, ExceptionInTheEffectCleansUpAndReachesTheCaller) {
  TRecordingEffect E(Log);
  E.Throw = true;
  ASSERT_TRUE(E.Prepare(Panel, Rect(0, 0, 200, 150)));
  EXPECT_THROW(E.Execute(), std::runtime_error);
  EXPECT_EQ(Log, (std::vector<std::string>{"before", "start", "pass1", "after"}));
  EXPECT_FALSE(TransitionActive);
  EXPECT_FALSE(E.Prepared());
  EXPECT_EQ(RenderWindowCount(), 0);
}

TEST_F(RunSequence, OneTransitionAtATime) {
  TRecordingEffect A(Log), B(Log);
  ASSERT_TRUE(A.Prepare(Panel, Rect(0, 0, 10, 10)));
  EXPECT_FALSE(B.Prepare(Panel, Rect(0, 0, 10, 10)));
  A.UnPrepare();
  EXPECT_TRUE(B.Prepare(Panel, Rect(0, 0, 10, 10)));
  B.SetEnabled(false);  // unprepares
  EXPECT_FALSE(B.Prepared());
  EXPECT_FALSE(TransitionActive);
}

TEST_F(RunSequence, HiddenControlMovesUpAndKeepsItsPlaceOnTheScreen) {
  auto* Hidden = new QWidget(Panel);
  Hidden->setGeometry(30, 40, 100, 80);
  Hidden->hide();
  TRecordingEffect E(Log);
  ASSERT_TRUE(E.Prepare(Hidden, Rect(5, 6, 55, 46)));
  TTERenderWindow* RW = nullptr;
  for (QWidget* W : QApplication::allWidgets())
    if (auto* R = qobject_cast<TTERenderWindow*>(W)) RW = R;
  ASSERT_NE(RW, nullptr);
  EXPECT_EQ(RW->parentWidget(), Panel);
  EXPECT_EQ(RW->geometry(), QRect(35, 46, 50, 40));
  E.UnPrepare();
}

TEST_F(RunSequence, AHiddenTabPageIsCoveredThroughItsTabWidget) {
  QWidget *First, *Second;
  QTabWidget* Tabs = AddTabs(First, Second);
  ASSERT_FALSE(Second->isVisible());
  TRecordingEffect E(Log);
  ASSERT_TRUE(E.Prepare(Second, Rect(4, 5, 54, 35)));
  TTERenderWindow* RW = TheRenderWindow();
  ASSERT_NE(RW, nullptr);
  EXPECT_EQ(RW->parentWidget(), Tabs);
  // The same place as the page's rectangle, which lies where the visible page lies.
  EXPECT_EQ(RW->geometry(), QRect(First->mapTo(Tabs, QPoint(4, 5)), QSize(50, 30)));
  E.UnPrepare();
}

TEST_F(RunSequence, WindowCoordinatesInsideTheClientAreaBecomeClientCoordinates) {
  // A top-level window: its frame is the non-client area.
  TRecordingEffect E(Log);
  E.ClientCoordinates = false;
  const TPoint O = GetClientOffset(&Window);
  ASSERT_GT(O.X, 0);
  ASSERT_TRUE(E.Prepare(&Window, Rect(O.X + 5, O.Y + 6, O.X + 105, O.Y + 56)));
  TTERenderWindow* RW = TheRenderWindow();
  ASSERT_NE(RW, nullptr);
  EXPECT_EQ(RW->parentWidget(), &Window);
  EXPECT_EQ(RW->geometry(), QRect(5, 6, 100, 50));
  E.UnPrepare();

  // Reaching into the frame of a window without a parent: a top-level pop-up covers it.
  ASSERT_TRUE(E.Prepare(&Window, Rect(0, 0, 100, 50)));
  RW = TheRenderWindow();
  ASSERT_NE(RW, nullptr);
  EXPECT_TRUE(RW->isWindow());
  const QRect Frame = Window.frameGeometry();
  EXPECT_EQ(RW->geometry(), QRect(Frame.topLeft(), QSize(100, 50)));
  E.UnPrepare();
  EXPECT_EQ(TheRenderWindow(), nullptr);
}

TEST_F(RunSequence, TheRenderWindowTakesTheRegionAndInputWaitsForTheEndOfTheRun) {
  TRecordingEffect E(Log);
  int KeysSeen = 0;
  struct TKeyCounter : QWidget {
    int* Count;
    explicit TKeyCounter(QWidget* P, int* C) : QWidget(P), Count(C) { setFocusPolicy(Qt::StrongFocus); }
    void keyPressEvent(QKeyEvent*) override { ++*Count; }
  };
  auto* Target = new TKeyCounter(Panel, &KeysSeen);
  Target->setGeometry(0, 0, 20, 20);
  Target->show();
  E.RenderWindowRegion = QRegion(0, 0, 40, 30, QRegion::Ellipse);
  ASSERT_TRUE(E.Prepare(Panel, Rect(0, 0, 200, 150)));
  QRegion Seen;
  E.OnStartTransition = [&](TTransitionEffect*) {
    Seen = TheRenderWindow()->mask();
    // A key typed during the run waits for its end.
    QKeyEvent Key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(Target, &Key);
  };
  E.Execute();
  EXPECT_EQ(Seen, QRegion(0, 0, 40, 30, QRegion::Ellipse));
  EXPECT_EQ(KeysSeen, 0);
  QApplication::processEvents();
  EXPECT_EQ(KeysSeen, 1);
}

TEST_F(RunSequence, TwoPassesHalveTheTimeReverseTheFirstPassAndUseTheControlColour) {
  TRecordingEffect E(Log);
  E.SetPassSetting(teTwoPasses);
  E.SetMilliseconds(1001);
  E.Pass2Options()->SetDistributedTime(true);
  E.Pass2Options()->SetReversed(true);
  ASSERT_TRUE(E.Prepare(Panel, Rect(0, 0, 200, 150)));
  // The caller empties the control first and makes the intermediate image: a plain bitmap of
  // the control's colour at that moment (SolidColor is clNone).
  SetColor(Panel, Qt::green);
  E.PreparePass2Image();
  SetColor(Panel, Qt::blue);
  E.Execute();
  EXPECT_EQ(Log, (std::vector<std::string>{"before", "start", "pass1", "pass2", "end", "after"}));
  EXPECT_EQ(E.Milliseconds, (std::vector<int>{500, 500}));
  EXPECT_EQ(E.TTransitionEffect::Milliseconds(), 1001);
  EXPECT_EQ(E.ReversedSeen, (std::vector<bool>{true, false}));
  ASSERT_EQ(E.DestColors.size(), 2u);
  EXPECT_EQ(E.SourceColors[0], clRed);
  EXPECT_EQ(E.DestColors[0], clLime);
  EXPECT_EQ(E.SourceColors[1], clLime);
  EXPECT_EQ(E.DestColors[1], clBlue);
}

TEST_F(RunSequence, PaletteDependentPassesFollowTheScreenDepth) {
  TRecordingEffect E(Log);
  E.SetPassSetting(tePaletteDependent);
  ForceScreenBitsPerPixel(8);
  EXPECT_EQ(E.PassesToUse(), 2);
  ForceScreenBitsPerPixel(32);
  EXPECT_EQ(E.PassesToUse(), 1);
  ForceScreenBitsPerPixel(0);
  E.SetPassSetting(teOnePass);
  E.SetReversed(true);
  E.Pass2Options()->SetReversed(true);
  EXPECT_TRUE(E.ReversedToUse());  // one pass: always Reversed itself
}

}  // namespace
}  // namespace vte

namespace vte {
namespace {

TEST_F(RunSequence, AHiddenControlOnATabPageCoversTheTabWidgetAndSurvivesASwitchOfTabs) {
  QWidget *First, *Second;
  QTabWidget* Tabs = AddTabs(First, Second);
  auto* Hidden = new QWidget(First);
  Hidden->setGeometry(10, 10, 50, 40);
  TRecordingEffect E(Log);
  ASSERT_TRUE(E.Prepare(Hidden, Rect(0, 0, 50, 40)));
  ASSERT_NE(TheRenderWindow(), nullptr);
  EXPECT_EQ(TheRenderWindow()->parentWidget(), Tabs);
  Tabs->setCurrentIndex(1);
  E.Execute();
  EXPECT_EQ(Log, (std::vector<std::string>{"before", "start", "pass1", "end", "after"}));
}

TEST_F(RunSequence, EveryHandlersFailureReachesTheCallerAfterTheCleanUp) {
  struct TCase {
    const char* Name;
    std::function<void(TRecordingEffect&)> Arm;
    std::vector<std::string> Log;
  };
  auto Throw = [](TTransitionEffect*) { throw std::runtime_error("handler"); };
  const std::vector<TCase> Cases = {
      {"after", [&](TRecordingEffect& E) { E.OnAfterTransition = Throw; }, {"pass1"}},
      {"after aborts silently", [](TRecordingEffect& E) { E.OnAfterTransition = [](TTransitionEffect*) { throw EAbort(); }; }, {"pass1"}},
      {"start and after", [&](TRecordingEffect& E) { E.OnStartTransition = E.OnAfterTransition = Throw; }, {}},
      {"before", [&](TRecordingEffect& E) { E.OnBeforeTransition = Throw; }, {}},
  };
  for (const TCase& C : Cases) {
    Log.clear();
    TRecordingEffect E(Log);
    E.OnBeforeTransition = E.OnStartTransition = E.OnEndTransition = E.OnAfterTransition = nullptr;
    C.Arm(E);
    ASSERT_TRUE(E.Prepare(Panel, Rect(0, 0, 200, 150))) << C.Name;
    if (std::string(C.Name) == "after aborts silently") EXPECT_THROW(E.Execute(), EAbort);
    else EXPECT_THROW(E.Execute(), std::runtime_error) << C.Name;
    EXPECT_EQ(Log, C.Log) << C.Name;
    EXPECT_FALSE(E.Prepared()) << C.Name;
    EXPECT_FALSE(TransitionActive) << C.Name;
    EXPECT_EQ(RenderWindowCount(), 0) << C.Name;
  }
}

TEST_F(RunSequence, ExecuteAfterTheCoveredWidgetWasDestroyedCleansUpWithoutAnimating) {
  auto* Child = new QWidget(Panel);
  Child->setGeometry(10, 10, 100, 80);
  Child->show();
  QApplication::processEvents();
  TRecordingEffect E(Log);
  ASSERT_TRUE(E.Prepare(Child, Rect(0, 0, 100, 80)));
  delete Child;
  E.Execute();
  EXPECT_EQ(Log, (std::vector<std::string>{"before", "after"}));
  EXPECT_FALSE(E.Prepared());
  EXPECT_EQ(RenderWindowCount(), 0);
}

TEST_F(RunSequence, ReleasingTheRunFromAHandlerWaitsForTheEndOfTheRun) {
  for (int Way = 0; Way < 3; ++Way) {
    test::THookEffect E(8);
    ASSERT_TRUE(E.Prepare(Panel, Rect(0, 0, 200, 150)));
    bool PrepareAnswer = false;
    E.OnStartTransition = [&](TTransitionEffect* T) {
      if (Way == 0) T->SetEnabled(false);
      if (Way == 1) T->UnPrepare();
      if (Way == 2) PrepareAnswer = T->Prepare(Panel, Rect(0, 0, 20, 20));
    };
    TColor Last = clNone;
    E.OnEndTransition = [&](TTransitionEffect*) { Last = TheRenderWindow()->Surface().Canvas().Pixel(100, 140); };
    SetColor(Panel, Qt::blue);
    E.Execute();
    EXPECT_TRUE(E.PreparedDuringRun) << "way " << Way;
    EXPECT_EQ(E.FramesDrawn, 7) << "way " << Way;
    EXPECT_EQ(Last, clBlue) << "way " << Way;
    EXPECT_FALSE(PrepareAnswer);
    EXPECT_FALSE(E.Prepared());
    EXPECT_EQ(E.Enabled(), Way != 0);
    EXPECT_EQ(RenderWindowCount(), 0);
    SetColor(Panel, Qt::red);
  }
}

TEST(TimedEffects, AnApplicationsOwnTimedEffectPublishesMilliseconds) {
  test::THookEffect E;
  ASSERT_GE(E.metaObject()->indexOfProperty("Milliseconds"), 0);
  EXPECT_TRUE(E.setProperty("Milliseconds", 750));
  EXPECT_EQ(E.Milliseconds(), 750);
}

}  // namespace
}  // namespace vte
