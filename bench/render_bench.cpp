// Capturing a 700x493 page of about twenty widgets into a bitmap, as a transition captures the new
// look of a page, next to Qt's own grab() of the same page. Repeated runs report the median.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <cstdlib>

#include "render/control_render.h"
#include "support/widget_page_support.h"

namespace {

using namespace vte;

const TRect PageRect = Rect(0, 0, test::PageWidth, test::PageHeight);

test::TWidgetPage ShownPage() {
  test::TWidgetPage Page = test::BuildWidgetPage();
  Page.Page->show();
  QApplication::processEvents();
  return Page;
}

void BM_CapturePage(benchmark::State& State, TPixelFormat Format) {
  test::TWidgetPage Page = ShownPage();
  for (auto _ : State) {
    std::unique_ptr<TBitmap> B = RenderControlToBitmap(Page.Page.get(), PageRect, true, Format, true);
    benchmark::DoNotOptimize(B->ScanLine(0));
  }
}
BENCHMARK_CAPTURE(BM_CapturePage, pf32bit, pf32bit)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_CapturePage, pf16bit, pf16bit)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

void BM_CaptureNeverShownPage(benchmark::State& State) {
  test::TWidgetPage Page = test::BuildWidgetPage();
  for (auto _ : State) {
    std::unique_ptr<TBitmap> B = RenderControlToBitmap(Page.Page.get(), PageRect, true, pf32bit, true);
    benchmark::DoNotOptimize(B->ScanLine(0));
  }
}
BENCHMARK(BM_CaptureNeverShownPage)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

void BM_QtGrabPage(benchmark::State& State) {
  test::TWidgetPage Page = ShownPage();
  for (auto _ : State) {
    QImage I = Page.Page->grab().toImage();
    benchmark::DoNotOptimize(I.constBits());
  }
}
BENCHMARK(BM_QtGrabPage)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    const QString Dir = QDir::tempPath() + QStringLiteral("/vte-bench-runtime");
    QDir().mkpath(Dir);
    QFile::setPermissions(Dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", Dir.toLocal8Bit().constData(), 1);
  }
  QApplication App(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
