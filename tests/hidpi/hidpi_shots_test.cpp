// Pictures to look at: the 700x493 page of widgets switching to another page at the screen's
// ratio, a frame from the middle of a wipe and its final frame, and an ease-out slide taken at
// equal steps of time. Written as PNG files into the folder VTE_HIDPI_SHOTS names (run it on an
// X server with Qt's scaling, e.g. QT_SCALE_FACTOR=2 under xvfb-run, so that the screen holds
// device pixels); skipped without it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <cstdlib>
#include <utility>
#include <vector>

#include "effects/slide.h"
#include "effects/wipe.h"
#include "engine/transition_run.h"
#include "support/screen_support.h"
#include "support/widget_page_support.h"

namespace vte {
namespace {

QWidget* SecondPage() {
  auto* Page = new QWidget;
  auto* Layout = new QVBoxLayout(Page);
  auto* Title = new QLabel(QStringLiteral("Settings"));
  QFont F = Title->font();
  F.setPointSize(F.pointSize() * 2);
  Title->setFont(F);
  Layout->addWidget(Title);
  Layout->addWidget(new QLabel(QStringLiteral("Your name, as it should appear on the cover:")));
  Layout->addWidget(new QLineEdit(QStringLiteral("Ada Lovelace")));
  Layout->addWidget(new QCheckBox(QStringLiteral("Send me a copy of every page")));
  Layout->addWidget(new QPushButton(QStringLiteral("Continue")));
  Layout->addStretch();
  return Page;
}

TEST(HiDpiShots, WritesFramesToLookAt) {
  const char* Folder = std::getenv("VTE_HIDPI_SHOTS");
  if (!Folder) GTEST_SKIP() << "set VTE_HIDPI_SHOTS to a folder to get the pictures";
  const QString Dir = QString::fromUtf8(Folder);
  QDir().mkpath(Dir);
  QStackedWidget Stack;
  Stack.setGeometry(20, 20, test::PageWidth, test::PageHeight);
  Stack.addWidget(test::BuildWidgetPage().Page.release());
  Stack.addWidget(SecondPage());
  Stack.show();
  ASSERT_TRUE(test::SettleScreen(&Stack));
  test::ScreenOf(&Stack).save(Dir + QStringLiteral("/0-before.png"));

  // A wipe: the frame shown when half the time has gone, and the end.
  TWipeTransition Wipe;
  Wipe.SetDirection(tedRight);
  Wipe.SetMilliseconds(800);
  Wipe.AbortCheckInterval = -1;
  QElapsedTimer Clock;
  bool TakenMid = false;
  Wipe.OnStartTransition = [&](TTransitionEffect*) { Clock.start(); };
  Wipe.OnAbortQuery = [&](QObject*, TTransitionEffect*, bool&) {
    if (TakenMid || !Clock.isValid() || Clock.elapsed() < 400) return;
    test::ScreenOf(&Stack).save(Dir + QStringLiteral("/1-wipe-middle.png"));
    TakenMid = true;
  };
  ChangeWithTransition(&Wipe, &Stack, [&] { Stack.setCurrentIndex(1); });
  QApplication::processEvents();
  test::ScreenOf(&Stack).save(Dir + QStringLiteral("/2-wipe-final.png"));
  EXPECT_TRUE(TakenMid);

  // An ease-out slide back, a picture every 100 ms of its 1000, kept in memory until the run ends
  // (writing a file would cost the run its pace); each file names the time it was taken at.
  TSlideTransition Slide;
  Slide.SetDirection(tedRight);
  Slide.SetMilliseconds(1000);
  Slide.SetEasing(QEasingCurve::OutCubic);
  Slide.AbortCheckInterval = -1;
  QElapsedTimer SlideClock;
  std::vector<std::pair<qint64, QImage>> Steps;
  Slide.OnStartTransition = [&](TTransitionEffect*) { SlideClock.start(); };
  Slide.OnAbortQuery = [&](QObject*, TTransitionEffect*, bool&) {
    if (!SlideClock.isValid() || SlideClock.elapsed() < static_cast<qint64>(Steps.size()) * 100) return;
    Steps.emplace_back(SlideClock.elapsed(), test::ScreenOf(&Stack));
  };
  ChangeWithTransition(&Slide, &Stack, [&] { Stack.setCurrentIndex(0); });
  QApplication::processEvents();
  for (std::size_t I = 0; I < Steps.size(); ++I)
    Steps[I].second.save(Dir + QStringLiteral("/3-slide-%1-at%2ms.png").arg(I).arg(Steps[I].first, 4, 10, QLatin1Char('0')));
  test::ScreenOf(&Stack).save(Dir + QStringLiteral("/4-slide-final.png"));
  EXPECT_GE(Steps.size(), 6u);
}

}  // namespace
}  // namespace vte
