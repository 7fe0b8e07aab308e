// A full-HD form painted through its background options (a tiled picture with glass over all of
// it), next to the passes that bound such a repaint, timed back to back in every iteration on the
// same machine: a memcpy of a frame and a tint of a frame. The repaint is timed twice: the
// options' painting into a painter on a frame (what the form's paint event does), and a synchronous
// repaint of the shown form through Qt's backing store. Medians of the iterations' thread CPU times.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "container/background_options.h"
#include "container/form.h"
#include "gdi/canvas.h"
#include "gdi/simd_level.h"
#include "pixel/blend_work.h"
#include "support/bench_support.h"
#include "support/frame_costs.h"

namespace vte {

class TBenchForm : public TForm {
  Q_OBJECT
  Q_PROPERTY(vte::TFCBackgroundOptions* BackgroundOptions READ BackgroundOptions)

public:
  explicit TBenchForm() : TForm(nullptr), FOptions(new TFCBackgroundOptions(this)) { FOptions->AttachTo(this); }
  TFCBackgroundOptions* BackgroundOptions() const { return FOptions; }

private:
  TFCBackgroundOptions* FOptions;
};

}  // namespace vte

namespace {

using namespace vte;

constexpr int Iterations = 21;

using bench::Median;

template <class F> double Timed(F&& Work) {
  const double Start = bench::ThreadCpuMilliseconds();
  Work();
  return bench::ThreadCpuMilliseconds() - Start;
}

}  // namespace

int main(int argc, char** argv) {
  bench::UseOffscreenFullHdScreen();
  QApplication App(argc, argv);
  const int W = bench::FrameWidth, H = bench::FrameHeight;

  TBenchForm Form;
  Form.SetBorderStyle(bsNone);
  Form.setGeometry(0, 0, W, H);
  const TBitmap Tile = bench::NoisePicture(7);
  TBitmap Small(97, 61, pf32bit);  // a tile that does not divide the frame
  Small.Canvas().BitBlt(0, 0, 97, 61, const_cast<TBitmap&>(Tile).Canvas(), 0, 0, SRCCOPY);
  TPicture Picture;
  Picture.SetBitmap(&Small);
  TFCBackgroundOptions& Options = *Form.BackgroundOptions();
  Options.SetPicture(Picture);
  Options.SetGlassColor(RGB(20, 40, 160));
  Options.SetGlassTranslucency(128);
  Form.show();
  QApplication::processEvents();

  QImage Target(W, H, QImage::Format_RGB32);
  TBitmap From = bench::NoisePicture(1), To(W, H, pf32bit);
  std::vector<double> Paint, Repaint, Memcpy, Tint;
  for (int I = 0; I < Iterations; ++I) {
    Memcpy.push_back(Timed([&] { std::memcpy(To.Bits(), From.Bits(), From.ImageSize()); }));
    Tint.push_back(Timed([&] { TintBitmap(To, nullptr, pf32bit, 128, Rect(0, 0, W, H), RGB(20, 40, 160)); }));
    Paint.push_back(Timed([&] {
      QPainter P(&Target);
      Options.Paint(P, Rect(0, 0, W, H));
    }));
    Repaint.push_back(Timed([&] { Form.repaint(); }));
  }
  const double Bound = Median(Memcpy) + Median(Tint);
  std::printf("Background options repaint, %dx%d, tile 97x61 + glass 128, SIMD %s, thread CPU ms, median of %d\n", W, H,
              SimdLevelName(CurrentSimdLevel()), Iterations);
  std::printf("%-34s %8s %8s\n", "case", "ms", "x bound");
  std::printf("%-34s %8.2f\n", "frame memcpy", Median(Memcpy));
  std::printf("%-34s %8.2f\n", "TintBitmap of a frame", Median(Tint));
  std::printf("%-34s %8.2f %8.2f\n", "options paint into a painter", Median(Paint), Median(Paint) / Bound);
  std::printf("%-34s %8.2f %8.2f\n", "form repaint (backing store)", Median(Repaint), Median(Repaint) / Bound);
  return 0;
}

#include "background_bench.moc"
