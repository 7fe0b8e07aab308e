// The roll transition at full HD, pf32bit, through the offscreen runner:
//  - every frame (Milliseconds 0), flat and shaded band, band across and along the rows: time a
//    frame next to a frame memcpy and a memcpy of the rectangles each frame changed
//    (bench/support/frame_costs.h);
//  - paced runs of Milliseconds 1000, offscreen and over a real widget on the offscreen platform:
//    how long they take.
#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <memory>

#include "effects/roll.h"
#include "engine/offscreen_runner.h"
#include "support/bench_support.h"
#include "support/frame_costs.h"

namespace {

using namespace vte;
using bench::FrameHeight;
using bench::FrameWidth;

void FrameCosts() {
  const TBitmap Old = bench::NoisePicture(7), New = bench::NoisePicture(13);
  struct TCase {
    const char* Name;
    bool Use3D;
    TTEEffectDirection Direction;
    bool Unroll;
  };
  const TCase Cases[] = {
      {"flat, down, unroll", false, tedDown, true},      {"flat, right, unroll", false, tedRight, true},
      {"flat, down, roll", false, tedDown, false},       {"shaded, down, unroll", true, tedDown, true},
      {"shaded, right, unroll", true, tedRight, true},   {"shaded, down, roll", true, tedDown, false},
      {"shaded, left, roll", true, tedLeft, false},
  };
  bench::PrintFrameCostHeader("roll");
  for (const TCase& C : Cases) {
    const auto Make = [&C] {
      auto Roll = std::make_unique<TRollTransition>();
      Roll->SetUse3D(C.Use3D);
      Roll->SetDirection(C.Direction);
      Roll->SetUnroll(C.Unroll);
      return Roll;
    };
    bench::PrintFrameCostRow(C.Name, bench::MeasureFrameCosts(Make, Old, New));
  }
}

void PacedOffscreen() {
  const TBitmap Old = bench::NoisePicture(7), New = bench::NoisePicture(13);
  std::printf("paced roll offscreen, %dx%d, Milliseconds 1000 (set-up: from the call to the first frame)\n"
              "  %-10s %12s %10s %8s\n", FrameWidth, FrameHeight, "case", "duration_ms", "set-up_ms", "frames");
  for (bool Use3D : {false, true})
    for (int Run = 0; Run < 3; ++Run) {
      TRollTransition Roll;
      Roll.SetUse3D(Use3D);
      Roll.SetMilliseconds(1000);
      TBitmap Screen;
      QElapsedTimer T;
      int Frames = 0;
      double First = 0, End = 0;
      T.start();
      // From the call (the run's set-up included) to the final image on the screen.
      RunOffscreen(Roll, Old, New, Screen, [&](const TOffscreenFrame& F) {
        if (++Frames == 1) First = T.nsecsElapsed() / 1e6;
        if (F.Final) End = T.nsecsElapsed() / 1e6;
      });
      std::printf("  %-10s %12.1f %10.1f %8d\n", Use3D ? "shaded" : "flat", End, First, Frames);
    }
}

void PacedOnScreen() {
  QWidget Window;
  bench::ShowFullHdWindow(Window);
  std::printf("paced roll over a widget on the offscreen screen, %dx%d, Milliseconds 1000\n  %-10s %12s %8s\n",
              FrameWidth, FrameHeight, "case", "duration_ms", "paints");
  for (bool Use3D : {false, true})
    for (int Run = 1; Run <= 3; ++Run) {
      TRollTransition Roll;
      Roll.SetUse3D(Use3D);
      Roll.SetMilliseconds(1000);
      const bench::TPacedRun R = bench::RunOverWidget(Roll, Window, Run % 2 ? Qt::darkBlue : Qt::darkRed);
      if (!R.Prepared) {
        std::printf("  Prepare failed\n");
        return;
      }
      std::printf("  %-10s %12.1f %8d\n", Use3D ? "shaded" : "flat", R.Milliseconds, R.Paints);
    }
}

}  // namespace

int main(int Argc, char** Argv) {
  bench::UseOffscreenFullHdScreen();
  QApplication App(Argc, Argv);
  const bool Paced = Argc < 2 || std::strcmp(Argv[1], "frames") != 0;
  const bool Frames = Argc < 2 || std::strcmp(Argv[1], "paced") != 0;
  if (Frames) FrameCosts();
  if (Paced) {
    PacedOffscreen();
    PacedOnScreen();
  }
  return 0;
}
