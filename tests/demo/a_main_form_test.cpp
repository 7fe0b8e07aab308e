// The program's start as a user sees it, on an X server of its own: the about box appears and
// goes at a click, the main window rolls in with the hourglass and no menu, and the menu sweeps in
// when the roll has ended.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include "a_demo_support.h"
#include "container/effects_panel.h"
#include "container/form_container.h"
#include "container/image.h"
#include "demo_test_support.h"
#include "engine/transition_effect.h"
#include "form_about.h"
#include "form_navigator.h"
#include "main_form.h"

namespace vte::demo::test {
namespace {

bool OnXServer() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// Runs the MainFormUnderX tests of this program again on a virtual X server, where windows
// appear through their transitions (the offscreen platform shows them at once).
TEST(MainForm, StartsUnderAnXServer) {
  if (OnXServer()) GTEST_SKIP() << "this is the run under the X server";
  const QString XvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
  if (XvfbRun.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  QProcess Run;
  QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
  Env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  Run.setProcessEnvironment(Env);
  Run.setProcessChannelMode(QProcess::MergedChannels);
  Run.start(XvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1920x1080x24"),
                      QCoreApplication::applicationFilePath(), QStringLiteral("--gtest_filter=MainFormUnderX.*")});
  ASSERT_TRUE(Run.waitForFinished(120000));
  const QString Output = QString::fromLocal8Bit(Run.readAll());
  EXPECT_EQ(Run.exitCode(), 0) << Output.toStdString();
  EXPECT_TRUE(Output.contains(QLatin1String("[  PASSED  ] 1 test"))) << Output.toStdString();
}

TEST(MainFormUnderX, TheMenuIsHiddenDuringTheRollAndSweepsInAfterIt) {
  if (!OnXServer()) GTEST_SKIP() << "runs under the X server (MainForm.StartsUnderAnXServer)";
  UseGeneratedData();
  TErrorCatcher Errors;
  // The about box: a click on its picture once the version number has slid in.
  bool AboutSeen = false, ChimeStarted = false, AboutElliptic = false;
  QTimer AboutWatch;
  AboutWatch.setInterval(50);
  QObject::connect(&AboutWatch, &QTimer::timeout, [&] {
    for (QWidget* W : QApplication::topLevelWidgets()) {
      auto* About = qobject_cast<TFormAbout*>(W);
      if (!About || !About->isVisible() || !About->LabelVersion->isVisible()) continue;
      AboutSeen = true;
      ChimeStarted = About->Chime() != nullptr;
      AboutElliptic = !About->mask().contains(QPoint(0, 0)) && About->mask().contains(About->rect().center());
      EXPECT_EQ(About->LabelVersion->text(), QStringLiteral("Version 3.3"));
      ClickOn(About->Image);
    }
  });
  AboutWatch.start();
  std::unique_ptr<TForm> Form(CreateForm(&TMainForm::staticMetaObject, nullptr));
  AboutWatch.stop();
  auto* Main = static_cast<TMainForm*>(Form.get());
  EXPECT_TRUE(AboutSeen && ChimeStarted && AboutElliptic);
  EXPECT_EQ(Main->Caption(), QStringLiteral("Vantorel effects demo (Version 3.3)"));

  struct {
    bool Ran = false, PanelAtStart = true, HourglassAtStart = false, PanelAtEnd = true, PanelAfter = false;
  } Seen;
  TTransitionEffect* Roll = Main->Transition;
  auto Start = Roll->OnStartTransition;
  Roll->OnStartTransition = [&](TTransitionEffect* T) {
    Start(T);
    Seen.Ran = true;
    Seen.PanelAtStart = Main->Navigator->EffectsPanelNavigator->isVisible();
    Seen.HourglassAtStart = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
  };
  auto After = Roll->OnAfterTransition;
  Roll->OnAfterTransition = [&](TTransitionEffect* T) {
    Seen.PanelAtEnd = Main->Navigator->EffectsPanelNavigator->isVisible();
    After(T);
    Seen.PanelAfter = Main->Navigator->EffectsPanelNavigator->isVisible();
  };
  Main->show();
  EXPECT_TRUE(Seen.Ran) << "the window rolled in";
  EXPECT_FALSE(Seen.PanelAtStart);
  EXPECT_TRUE(Seen.HourglassAtStart);
  EXPECT_FALSE(Seen.PanelAtEnd) << "no menu until the roll has ended";
  EXPECT_TRUE(Seen.PanelAfter) << "the menu swept in after it";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(Main->size(), QSize(700, 493));
  EXPECT_EQ(Main->minimumSize(), Main->maximumSize()) << "a fixed border";
  EXPECT_TRUE(Errors.Messages.isEmpty()) << Errors.Messages.join('\n').toStdString();
}

}  // namespace
}  // namespace vte::demo::test
