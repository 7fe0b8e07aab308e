// Soak: 10 000 transitions in a row through the offscreen runner (every registered class in turn,
// each with a fresh object, small looks so the run stays short) and 500 page switches of a real
// widget tree through ChangeWithTransition. The resident memory after the first 100 and after the
// last of each must stay within 2 MB: anything a run keeps would add up over thousands.
#include <QApplication>
#include <QLabel>
#include <QStackedWidget>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "effects/bitmap_mask.h"
#include "engine/offscreen_runner.h"
#include "engine/transition_effect.h"
#include "engine/transition_registry.h"
#include "engine/transition_run.h"
#include "engine/timed_transition.h"
#include "gdi/canvas.h"
#include "support/bench_support.h"

namespace {

using namespace vte;

double ResidentMB() {
  long Pages = 0, Resident = 0;
  if (FILE* F = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(F, "%ld %ld", &Pages, &Resident) != 2) Resident = 0;
    std::fclose(F);
  }
  return Resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

std::unique_ptr<TTransitionEffect> Make(const QMetaObject* Class, const TBitmap& Mask) {
  std::unique_ptr<TTransitionEffect> E(CreateTransition(QString::fromLatin1(Class->className())));
  if (auto* Timed = qobject_cast<TTimedTransitionEffect*>(E.get())) Timed->SetMilliseconds(0);
  if (auto* Masked = qobject_cast<TBmpMaskTransition*>(E.get())) Masked->SetMask(&Mask);
  return E;
}

bool Report(const char* What, double After100, double AtEnd) {
  const bool Ok = AtEnd - After100 <= 2.0;
  std::printf("%-40s RSS after 100: %7.2f MB, at the end: %7.2f MB, growth %+5.2f MB  %s\n", What, After100, AtEnd,
              AtEnd - After100, Ok ? "ok" : "OVER 2 MB");
  return Ok;
}

}  // namespace

int main(int argc, char** argv) {
  bench::UseOffscreenFullHdScreen();
  QApplication App(argc, argv);
  TBitmap Old(48, 32, pf32bit), New(48, 32, pf32bit), Mask(16, 16, pf8bit), Screen;
  New.Canvas().Brush().Color = clRed;
  New.Canvas().FillRect(Rect(0, 0, 48, 32));
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) Mask.ScanLine(Y)[X] = static_cast<std::uint8_t>(X * 16 + Y);
  const auto& Classes = TransitionClasses();
  double After100 = 0;
  for (int I = 0; I < 10000; ++I) {
    auto E = Make(Classes[static_cast<std::size_t>(I) % Classes.size()], Mask);
    RunOffscreen(*E, Old, New, Screen);
    if (I == 99) After100 = ResidentMB();
  }
  bool Ok = Report("10 000 offscreen runs", After100, ResidentMB());

  QStackedWidget Stack;
  for (int I = 0; I < 3; ++I) Stack.addWidget(new QLabel(QStringLiteral("Page %1").arg(I)));
  Stack.setGeometry(100, 100, 320, 200);
  Stack.show();
  QApplication::processEvents();
  for (int I = 0; I < 500; ++I) {
    auto E = Make(Classes[static_cast<std::size_t>(I) % Classes.size()], Mask);
    ChangeWithTransition(E.get(), &Stack, [&] { Stack.setCurrentIndex((Stack.currentIndex() + 1) % 3); });
    QApplication::processEvents();
    if (I == 99) After100 = ResidentMB();
  }
  Ok = Report("500 switches of a widget tree", After100, ResidentMB()) && Ok;
  return Ok ? 0 : 1;
}
