// The engine's own costs: a paced simple wipe over a full-HD widget on the offscreen platform
// (duration and frames shown, five runs), and the offscreen runner's cost per frame for an effect
// that draws nothing (a one-pixel change a frame).
#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "effects/simple_wipe.h"
#include "engine/offscreen_runner.h"
#include "engine/timed_transition.h"
#include "support/bench_support.h"

namespace {

using namespace vte;

constexpr int FrameWidth = 1920, FrameHeight = 1080;

// Frames that change one pixel: what is left is the loop, the polling and the screen copy.
class TIdleEffect : public TTimedTransitionEffect {
public:
  void Initialize(TTETransitionData& Data, int& Frames) override {
    TTimedTransitionEffect::Initialize(Data, Frames);
    Frames = FrameCount;
  }
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames, int Last) override {
    TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, Last);
    UpdateRect = Rect(0, 0, 1, 1);
  }
  bool NeedWorkBitmap() const override { return true; }
  int FrameCount = 5000;
};

void PacedWipe() {
  QWidget Window;
  bench::ShowFullHdWindow(Window);
  std::printf("paced simple wipe, %dx%d, Milliseconds 1000\n  run  duration_ms  frames_shown\n", FrameWidth,
              FrameHeight);
  for (int Run = 1; Run <= 5; ++Run) {
    TSimpleWipeTransition Wipe;
    Wipe.SetMilliseconds(1000);
    const bench::TPacedRun R = bench::RunOverWidget(Wipe, Window, Run % 2 ? Qt::darkBlue : Qt::darkRed);
    if (!R.Prepared) {
      std::printf("  Prepare failed\n");
      return;
    }
    std::printf("  %d    %9.1f  %12d\n", Run, R.Milliseconds, R.Paints);
  }
}

void RunnerCost() {
  TBitmap Old(FrameWidth, FrameHeight, pf32bit), New(FrameWidth, FrameHeight, pf32bit), Screen;
  New.Canvas().Brush().Color = clBlue;
  New.Canvas().FillRect(Rect(0, 0, FrameWidth, FrameHeight));
  std::vector<double> PerFrame;
  for (int Run = 0; Run < 5; ++Run) {
    TIdleEffect E;
    int Shown = 0;
    QElapsedTimer T;
    double Start = 0, End = 0;
    T.start();
    RunOffscreen(E, Old, New, Screen, [&](const TOffscreenFrame& F) {
      if (F.Frame == 1) Start = T.nsecsElapsed() / 1e6;
      if (!F.Final) {
        ++Shown;
        End = T.nsecsElapsed() / 1e6;
      }
    });
    PerFrame.push_back((End - Start) / (Shown - 1));
  }
  std::sort(PerFrame.begin(), PerFrame.end());
  std::printf("offscreen runner, %dx%d, effect drawing nothing: %.4f ms a frame (median of 5 runs of %d frames)\n",
              FrameWidth, FrameHeight, PerFrame[2], TIdleEffect().FrameCount - 1);
}

}  // namespace

int main(int Argc, char** Argv) {
  bench::UseOffscreenFullHdScreen();
  QApplication App(Argc, Argv);
  RunnerCost();
  PacedWipe();
  return 0;
}
