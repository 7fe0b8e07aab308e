// The wipe's cost per frame at full HD (pf32bit) through the offscreen runner with Milliseconds 0,
// so that every frame unit is drawn, next to a frame memcpy and a memcpy of the rectangles each
// frame changed (bench/support/frame_costs.h). Then paced runs with Milliseconds 1000 (offscreen
// runner, and a real widget on the offscreen platform): how long they take.
#include <QApplication>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#include "effects/wipe.h"
#include "engine/offscreen_runner.h"
#include "support/bench_support.h"
#include "support/frame_costs.h"

namespace {

using namespace vte;
using bench::FrameHeight;
using bench::FrameWidth;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration D) { return std::chrono::duration<double, std::milli>(D).count(); }

struct TCase {
  const char* Name;
  TTEEffectDirection Direction;
  int BandWidth;
};

void FrameCosts(const char* Only) {
  const TBitmap Old = bench::NoisePicture(1), New = bench::NoisePicture(2);
  const TCase Cases[] = {
      {"right, band 50", tedRight, 50}, {"left, band 50", tedLeft, 50},   {"down, band 50", tedDown, 50},
      {"up, band 50", tedUp, 50},       {"right, no band", tedRight, 0}, {"down, no band", tedDown, 0},
      {"down-right", tedDownRight, 0},  {"up-left", tedUpLeft, 0},       {"in", tedIn, 0},
      {"out", tedOut, 0},
  };
  bench::PrintFrameCostHeader("wipe");
  for (const TCase& C : Cases) {
    if (Only && !std::strstr(C.Name, Only)) continue;
    const auto Make = [&C] {
      auto Wipe = std::make_unique<TWipeTransition>();
      Wipe->SetDirection(C.Direction);
      Wipe->SetBandWidth(C.BandWidth);
      return Wipe;
    };
    bench::PrintFrameCostRow(C.Name, bench::MeasureFrameCosts(Make, Old, New));
  }
}

void PacedOffscreen() {
  const TBitmap Old = bench::NoisePicture(3), New = bench::NoisePicture(4);
  std::printf("\npaced, Milliseconds 1000, offscreen runner: first frame to final image\n");
  std::printf("%-16s %12s %8s\n", "case", "duration_ms", "frames");
  for (TCase C : {TCase{"right, band 50", tedRight, 50}, TCase{"right, no band", tedRight, 0},
                  TCase{"down-right", tedDownRight, 0}, TCase{"out", tedOut, 0}}) {
    for (int Run = 0; Run < 3; ++Run) {
      TWipeTransition Wipe;
      Wipe.SetDirection(C.Direction);
      Wipe.SetBandWidth(C.BandWidth);
      Wipe.SetMilliseconds(1000);
      TBitmap Screen;
      int Shown = 0;
      Clock::time_point End;
      // The loop's clock starts just before the first frame is drawn; the runner's set-up (three
      // full-frame copies and the old image into the work bitmap) comes before and is not paced.
      Clock::time_point Start;
      bool Started = false;
      Wipe.OnStartTransition = [&](TTransitionEffect*) {
        Start = Clock::now();
        Started = true;
      };
      RunOffscreen(Wipe, Old, New, Screen, [&](const TOffscreenFrame& F) {
        if (F.Final) End = Clock::now();
        else ++Shown;
      });
      if (Started) std::printf("%-16s %12.1f %8d\n", C.Name, Ms(End - Start), Shown);
    }
  }
}

void PacedOnScreen() {
  QWidget Window;
  bench::ShowFullHdWindow(Window);
  std::printf("\npaced, Milliseconds 1000, %dx%d widget on the offscreen platform: Execute\n", FrameWidth,
              FrameHeight);
  std::printf("%-16s %12s\n", "case", "duration_ms");
  for (TCase C : {TCase{"right, band 50", tedRight, 50}, TCase{"right, no band", tedRight, 0}}) {
    for (int Run = 0; Run < 3; ++Run) {
      TWipeTransition Wipe;
      Wipe.SetDirection(C.Direction);
      Wipe.SetBandWidth(C.BandWidth);
      Wipe.SetMilliseconds(1000);
      const bench::TPacedRun R = bench::RunOverWidget(Wipe, Window, Run % 2 ? Qt::darkBlue : Qt::darkRed);
      if (!R.Prepared) {
        std::printf("  Prepare failed\n");
        return;
      }
      std::printf("%-16s %12.1f\n", C.Name, R.Milliseconds);
    }
  }
}

}  // namespace

int main(int Argc, char** Argv) {
  bench::UseOffscreenFullHdScreen();
  QApplication App(Argc, Argv);
  // --frames [case name part] or --paced: one half only.
  const bool Paced = !(Argc > 1 && std::strcmp(Argv[1], "--frames") == 0);
  const bool Frames = !(Argc > 1 && std::strcmp(Argv[1], "--paced") == 0);
  if (Frames) FrameCosts(Argc > 2 ? Argv[2] : nullptr);
  if (Paced) {
    PacedOffscreen();
    PacedOnScreen();
  }
  return 0;
}
