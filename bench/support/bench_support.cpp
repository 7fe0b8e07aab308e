#include "support/bench_support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "engine/transition_effect.h"

namespace vte::bench {

double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

double ThreadCpuMilliseconds() {
  timespec T;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
  return T.tv_sec * 1e3 + T.tv_nsec / 1e6;
}

void UseOffscreenFullHdScreen() {
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    const QString Dir = QDir::tempPath() + QStringLiteral("/vte-bench-runtime");
    QDir().mkpath(Dir);
    QFile::setPermissions(Dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", Dir.toLocal8Bit().constData(), 1);
  }
  if (std::getenv("QT_QPA_PLATFORM")) return;
  const QString Config = QDir::tempPath() + QStringLiteral("/vte-bench-screen.json");
  QFile F(Config);
  if (F.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    F.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":1920,"height":1080,"logicalDpi":96,)"
            R"("logicalBaseDpi":96,"dpr":1}],"windowFrameMargins":false})");
    F.close();
  }
  setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + Config).toLocal8Bit().constData(), 1);
}

void ShowFullHdWindow(QWidget& Window) {
  Window.setGeometry(0, 0, 1920, 1080);
  Window.setAutoFillBackground(true);
  Window.show();
  QApplication::processEvents();
}

TPacedRun RunOverWidget(TTransitionEffect& Effect, QWidget& Window, QColor NewColor) {
  TPacedRun Run;
  if (!Effect.Prepare(&Window, Rect(0, 0, Window.width(), Window.height()))) return Run;
  Run.Prepared = true;
  QPalette P = Window.palette();
  P.setColor(QPalette::Window, NewColor);
  Window.setPalette(P);
  struct TCounter : QObject {
    int* Paints;
    bool eventFilter(QObject*, QEvent* E) override {
      if (E->type() == QEvent::Paint) ++*Paints;
      return false;
    }
  } Counter;
  Counter.Paints = &Run.Paints;
  // The render window is the child the transition just added.
  for (QWidget* W : Window.findChildren<QWidget*>()) W->installEventFilter(&Counter);
  QElapsedTimer T;
  auto Start = Effect.OnStartTransition;
  Effect.OnStartTransition = [&](TTransitionEffect* Sender) {
    T.start();
    if (Start) Start(Sender);
  };
  Effect.Execute();
  Run.Milliseconds = T.nsecsElapsed() / 1e6;
  Effect.OnStartTransition = Start;
  QApplication::processEvents();
  return Run;
}

}  // namespace vte::bench
