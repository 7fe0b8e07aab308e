// What a change of page in a 700x493 form container costs beyond the effect's own frames: the
// whole ShowForm (old look prepared from the screen or the widgets, the change, the new look
// captured, focus, the render window shown and hidden) minus the time between the start and the
// end of the animation. Measured for the flicker-free cut a container uses by default and for a
// wipe drawing every frame, on pages with a few controls. Medians of thread CPU and wall times.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "container/form_container.h"
#include "effects/wipe.h"
#include "support/bench_support.h"

namespace vte {

class TBenchPage : public TForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TBenchPage(QObject* Owner) : TForm(Owner) {
    SetBorderStyle(bsNone);
    static int Made = 0;
    SetColor(++Made % 2 ? RGB(220, 230, 245) : RGB(245, 235, 220));
    for (int I = 0; I < 6; ++I) {
      (new QLabel(QStringLiteral("Setting %1").arg(I + 1), this))->setGeometry(20, 20 + 40 * I, 120, 24);
      (new QLineEdit(QStringLiteral("value %1").arg(I), this))->setGeometry(150, 20 + 40 * I, 200, 24);
      (new QCheckBox(QStringLiteral("Option %1").arg(I + 1), this))->setGeometry(380, 20 + 40 * I, 150, 24);
    }
    (new QPushButton(QStringLiteral("Next"), this))->setGeometry(560, 440, 110, 30);
  }
};

}  // namespace vte

namespace {

using namespace vte;

constexpr int Changes = 31;

using bench::Median;

// Wall times of the phases: prepare (old look), change (the form shown, focus), capture (new
// look), animation, finish (render window gone, the page on the screen).
struct TCost {
  double Cpu = 0, Wall = 0, Frames = 0;
  double Prepare = 0, Change = 0, Capture = 0, Finish = 0;
  double LeastBeyond = 0;  // the least disturbed change: wall beyond the animation
};

// Times Changes changes of page through Effect; Frames is the animation's share of the wall time.
TCost Measure(TFormContainer& Container, TTransitionEffect* Effect) {
  std::vector<double> Cpu, Wall, Frames, Prepare, Change, Capture, Finish;
  for (int I = 0; I < Changes; ++I) {
    TForm* Page = Container.CreateForm(&TBenchPage::staticMetaObject);
    QApplication::processEvents();
    QElapsedTimer Animation;
    double AnimationMs = 0;
    TTransitionEffect* Used = Effect;
    std::unique_ptr<TFlickerFreeTransition> Cut;
    if (!Used) {
      Cut = std::make_unique<TFlickerFreeTransition>();
      Used = Cut.get();
    }
    QElapsedTimer Clock;
    double At[4] = {};
    auto Mark = [&](int I) { At[I] = Clock.nsecsElapsed() / 1e6; };
    Container.OnFormChange = [&](QObject*, TForm*, TForm*, bool&) { Mark(0); };
    Used->OnBeforeTransition = [&](TTransitionEffect*) { Mark(1); };
    Used->OnStartTransition = [&](TTransitionEffect*) {
      Mark(2);
      Animation.start();
    };
    Used->OnEndTransition = [&](TTransitionEffect*) {
      AnimationMs = Animation.nsecsElapsed() / 1e6;
      Mark(3);
    };
    const double CpuStart = bench::ThreadCpuMilliseconds();
    Clock.start();
    Container.ShowForm(Page, true, fcfaDefault, nullptr, Used);
    Wall.push_back(Clock.nsecsElapsed() / 1e6);
    Prepare.push_back(At[0]);
    Change.push_back(At[1] - At[0]);
    Capture.push_back(At[2] - At[1]);
    Finish.push_back(Wall.back() - At[3]);
    Cpu.push_back(bench::ThreadCpuMilliseconds() - CpuStart);
    Frames.push_back(AnimationMs);
    QApplication::processEvents();
  }
  Container.OnFormChange = nullptr;
  double Least = Wall[0] - Frames[0];
  for (std::size_t I = 1; I < Wall.size(); ++I) Least = std::min(Least, Wall[I] - Frames[I]);
  return {Median(Cpu),     Median(Wall),    Median(Frames), Median(Prepare),
          Median(Change),  Median(Capture), Median(Finish), Least};
}

}  // namespace

int main(int argc, char** argv) {
  bench::UseOffscreenFullHdScreen();
  QApplication App(argc, argv);
  TForm Main;
  Main.SetBorderStyle(bsNone);
  Main.setGeometry(100, 100, 720, 513);
  auto* Container = new TFormContainer(&Main);
  Container->setGeometry(10, 10, 700, 493);
  Container->SetSafeFormDestroy(false);
  Main.show();
  QApplication::processEvents();
  Container->ShowForm(Container->CreateForm(&TBenchPage::staticMetaObject), true);

  TWipeTransition Wipe;
  Wipe.SetMilliseconds(0);
  const TCost Cut = Measure(*Container, nullptr);
  const TCost Wiped = Measure(*Container, &Wipe);
  std::printf("Change of page in a 700x493 container (%s), median of %d changes, ms\n",
              qPrintable(QGuiApplication::platformName()), Changes);
  std::printf("%-20s %7s %7s %10s %15s %7s   %8s %7s %8s %7s\n", "transition", "CPU", "wall", "animation",
              "wall beyond it", "least", "prepare", "change", "capture", "finish");
  for (const auto& [Name, C] : {std::pair{"flicker-free cut", Cut}, std::pair{"wipe, every frame", Wiped}})
    std::printf("%-20s %7.2f %7.2f %10.2f %15.2f %7.2f   %8.2f %7.2f %8.2f %7.2f\n", Name, C.Cpu, C.Wall, C.Frames,
                C.Wall - C.Frames, C.LeastBeyond, C.Prepare, C.Change, C.Capture, C.Finish);
  return 0;
}

#include "container_bench.moc"
