// Slide and push at 1920x1080 pf32bit through the offscreen runner with Milliseconds 0 (every
// frame): time a frame next to a frame memcpy and a memcpy of the rectangles each frame changed
// (bench/support/frame_costs.h); then paced runs (Milliseconds 1000) through the runner and over a
// full-HD widget on the offscreen platform, with the time they took.
#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <string>

#include "effects/push.h"
#include "effects/slide.h"
#include "engine/offscreen_runner.h"
#include "support/bench_support.h"
#include "support/frame_costs.h"

namespace {

using namespace vte;
using bench::FrameHeight;
using bench::FrameWidth;

struct TCase {
  const char* Name;
  bench::TEffectFactory Make;
};

std::unique_ptr<TTransitionEffect> Slide(TTEEffectDirection D, bool Out, bool Dst, bool Src, bool Bitmaps) {
  auto S = std::make_unique<TSlideTransition>();
  S->SetDirection(D);
  S->SetSlideOut(Out);
  S->SetElasticDst(Dst);
  S->SetElasticSrc(Src);
  S->ForceRendering = Bitmaps;
  return S;
}

std::unique_ptr<TTransitionEffect> Push(TTEEffectDirection D, bool Bitmaps) {
  auto P = std::make_unique<TPushTransition>();
  P->SetDirection(D);
  P->ForceRendering = Bitmaps;
  return P;
}

void FrameCosts(const TBitmap& Old, const TBitmap& New) {
  const TCase Cases[] = {
      {"slide down, rigid, scroll", [] { return Slide(tedDown, false, false, false, false); }},
      {"slide down, rigid, bitmaps", [] { return Slide(tedDown, false, false, false, true); }},
      {"slide right, rigid, scroll", [] { return Slide(tedRight, false, false, false, false); }},
      {"slide out down, rigid, scroll", [] { return Slide(tedDown, true, false, false, false); }},
      {"slide out down, rigid, bitmaps", [] { return Slide(tedDown, true, false, false, true); }},
      {"slide down-right, rigid, scroll", [] { return Slide(tedDownRight, false, false, false, false); }},
      {"slide down, elastic new", [] { return Slide(tedDown, false, true, false, false); }},
      {"slide down, elastic both", [] { return Slide(tedDown, false, true, true, false); }},
      {"slide right, elastic new", [] { return Slide(tedRight, false, true, false, false); }},
      {"slide in (centre)", [] { return Slide(tedIn, false, false, false, false); }},
      {"push down, scroll", [] { return Push(tedDown, false); }},
      {"push down, bitmaps", [] { return Push(tedDown, true); }},
      {"push right, scroll", [] { return Push(tedRight, false); }},
      {"push right, bitmaps", [] { return Push(tedRight, true); }},
  };
  bench::PrintFrameCostHeader("slide and push");
  for (const TCase& C : Cases) bench::PrintFrameCostRow(C.Name, bench::MeasureFrameCosts(C.Make, Old, New));
}

void PacedOffscreen(const TBitmap& Old, const TBitmap& New) {
  std::printf("paced through the offscreen runner, Milliseconds 1000\n  %-32s %12s %8s\n", "case", "duration_ms",
              "frames");
  const TCase Cases[] = {
      {"slide down, rigid, scroll", [] { return Slide(tedDown, false, false, false, false); }},
      {"slide down, elastic new", [] { return Slide(tedDown, false, true, false, false); }},
      {"push right, scroll", [] { return Push(tedRight, false); }},
  };
  for (const TCase& C : Cases)
    for (int Run = 0; Run < 3; ++Run) {
      auto E = C.Make();
      E->SetMilliseconds(1000);
      TBitmap Screen;
      int Frames = 0;
      QElapsedTimer Clock;
      Clock.start();
      RunOffscreen(*E, Old, New, Screen, [&](const TOffscreenFrame&) { ++Frames; });
      std::printf("  %-32s %12.1f %8d\n", C.Name, Clock.nsecsElapsed() / 1e6, Frames);
    }
}

// A full-HD widget changes colour behind the render window; the duration is from the start of
// the animation to the end of Execute (the render window hidden).
void PacedOnScreen() {
  QWidget Window;
  bench::ShowFullHdWindow(Window);
  std::printf("paced over a %dx%d widget on the offscreen platform, Milliseconds 1000\n  %-32s %12s %8s\n",
              FrameWidth, FrameHeight, "case", "duration_ms", "paints");
  const TCase Cases[] = {
      {"slide down, rigid, scroll", [] { return Slide(tedDown, false, false, false, false); }},
      {"slide down, elastic new", [] { return Slide(tedDown, false, true, false, false); }},
      {"push right, scroll", [] { return Push(tedRight, false); }},
  };
  int Run = 0;
  for (const TCase& C : Cases)
    for (int K = 0; K < 3; ++K, ++Run) {
      auto E = C.Make();
      E->SetMilliseconds(1000);
      const bench::TPacedRun R = bench::RunOverWidget(*E, Window, Run % 2 ? Qt::darkBlue : Qt::darkRed);
      if (!R.Prepared) {
        std::printf("  Prepare failed\n");
        return;
      }
      std::printf("  %-32s %12.1f %8d\n", C.Name, R.Milliseconds, R.Paints);
    }
}

}  // namespace

int main(int Argc, char** Argv) {
  bench::UseOffscreenFullHdScreen();
  QApplication App(Argc, Argv);
  const TBitmap Old = bench::NoisePicture(1), New = bench::NoisePicture(2);
  const std::string Only = Argc > 1 ? Argv[1] : "";
  if (Only.empty() || Only == "frames") FrameCosts(Old, New);
  if (Only.empty() || Only == "paced") {
    PacedOffscreen(Old, New);
    PacedOnScreen();
  }
  return 0;
}
