// The roll transition at full HD, pf32bit, through the offscreen runner:
//  - every frame (Milliseconds 0), flat and shaded band, band across and along the rows: mean
//    time a frame and a full-frame equivalent of changed pixels, next to a frame memcpy measured
//    just before each case; times are the thread's CPU time, so that other programs sharing the
//    machine do not count (median of five runs);
//  - paced runs of Milliseconds 1000, offscreen and over a real widget on the offscreen platform:
//    how long they take.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "effects/roll.h"
#include "support/bench_support.h"
#include "engine/offscreen_runner.h"
#include "gdi/canvas.h"
#include "pixel/simd_level.h"

namespace {

using namespace vte;

constexpr int FrameWidth = 1920, FrameHeight = 1080;
constexpr double FramePixels = double(FrameWidth) * FrameHeight;

// Milliseconds of CPU time this thread has used.
double CpuMs() {
  timespec T;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
  return T.tv_sec * 1e3 + T.tv_nsec / 1e6;
}

// Two different pictures with detail everywhere (the cost does not depend on it, but a band of
// one flat colour would hide mistakes in a look at the numbers).
TBitmap Picture(unsigned Seed) {
  TBitmap B(FrameWidth, FrameHeight, pf32bit);
  for (int Y = 0; Y < FrameHeight; ++Y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(B.ScanLine(Y));
    for (int X = 0; X < FrameWidth; ++X)
      Row[X] = 0xFF000000u | ((X * Seed) & 0xFF) << 16 | ((Y * 3 + Seed) & 0xFF) << 8 | ((X ^ Y) & 0xFF);
  }
  return B;
}

// Milliseconds for one full-frame memcpy (median of many, buffers bigger than the caches).
double FrameMemcpy() {
  const std::size_t Bytes = std::size_t(FrameWidth) * FrameHeight * 4;
  std::vector<std::uint8_t> A(Bytes, 1), B(Bytes, 2);
  std::vector<double> T;
  for (int I = 0; I < 60; ++I) {
    const double Start = CpuMs();
    std::memcpy(I % 2 ? A.data() : B.data(), I % 2 ? B.data() : A.data(), Bytes);
    T.push_back(CpuMs() - Start);
  }
  std::sort(T.begin(), T.end());
  return T[T.size() / 2];
}

struct TResult {
  double PerFrame = 0;     // ms
  double PerFullFrame = 0; // ms per full-frame equivalent of changed pixels
  double ChangedShare = 0; // changed pixels a frame / frame pixels
};

TResult AllFrames(bool Use3D, TTEEffectDirection Direction, bool Unroll, const TBitmap& Old, const TBitmap& New) {
  std::vector<TResult> Runs;
  for (int Run = 0; Run < 5; ++Run) {
    TRollTransition Roll;
    Roll.SetUse3D(Use3D);
    Roll.SetDirection(Direction);
    Roll.SetUnroll(Unroll);
    TBitmap Screen;
    double Start = 0, End = 0, Changed = 0;
    int Frames = 0;
    RunOffscreen(Roll, Old, New, Screen, [&](const TOffscreenFrame& F) {
      if (F.Final) return;
      if (F.Frame == 1) {
        Start = CpuMs();
        return;  // the time up to the first frame includes the run's set-up
      }
      ++Frames;
      for (const TRect& R : F.Changed) Changed += double(R.Width()) * R.Height();
      End = CpuMs();
    });
    TResult R;
    R.PerFrame = (End - Start) / Frames;
    R.PerFullFrame = (End - Start) / (Changed / FramePixels);
    R.ChangedShare = Changed / Frames / FramePixels;
    Runs.push_back(R);
  }
  std::sort(Runs.begin(), Runs.end(), [](const TResult& L, const TResult& R) { return L.PerFrame < R.PerFrame; });
  return Runs[2];
}

void FrameCosts() {
  const TBitmap Old = Picture(7), New = Picture(13);
  std::printf("roll, %dx%d pf32bit, Milliseconds 0, SIMD level %s (CPU time)\n", FrameWidth, FrameHeight,
              SimdLevelName(CurrentSimdLevel()));
  std::printf("  %-24s %9s %13s %13s %10s %8s\n", "case", "ms/frame", "changed/frame", "ms/full frame", "memcpy ms",
              "x memcpy");
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
  for (const TCase& C : Cases) {
    const double Memcpy = FrameMemcpy();
    const TResult R = AllFrames(C.Use3D, C.Direction, C.Unroll, Old, New);
    std::printf("  %-24s %9.4f %12.2f%% %13.3f %10.3f %8.2f\n", C.Name, R.PerFrame, 100 * R.ChangedShare,
                R.PerFullFrame, Memcpy, R.PerFullFrame / Memcpy);
  }
}

void PacedOffscreen() {
  const TBitmap Old = Picture(7), New = Picture(13);
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
  Window.setGeometry(0, 0, FrameWidth, FrameHeight);
  Window.setAutoFillBackground(true);
  Window.show();
  QApplication::processEvents();
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
