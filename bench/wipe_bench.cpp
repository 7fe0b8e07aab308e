// The wipe's cost per frame at full HD (pf32bit) through the offscreen runner with Milliseconds 0,
// so that every frame unit is drawn: mean time a frame, and the time per full frame's worth of
// changed pixels next to a full-frame memcpy and a three-stream pass measured in the same run.
// Then paced runs with Milliseconds 1000 (offscreen runner, and a real widget on the offscreen
// platform): how long they take.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "effects/wipe.h"
#include "support/bench_support.h"
#include "engine/offscreen_runner.h"

namespace {

using namespace vte;
using Clock = std::chrono::steady_clock;

constexpr int FrameWidth = 1920, FrameHeight = 1080;
constexpr double FramePixels = double(FrameWidth) * FrameHeight;

double Ms(Clock::duration D) { return std::chrono::duration<double, std::milli>(D).count(); }

// Wall time and the time this thread ran, in milliseconds. The machine is shared: the thread's
// own time leaves out the time other processes had the processor.
struct TTimes {
  double Wall = 0, Cpu = 0;
};
TTimes Now() {
  timespec T;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
  return {Ms(Clock::now().time_since_epoch()), T.tv_sec * 1e3 + T.tv_nsec / 1e6};
}
TTimes operator-(TTimes A, TTimes B) { return {A.Wall - B.Wall, A.Cpu - B.Cpu}; }

// Repeatable noise in every pixel.
void FillNoise(TBitmap& B, std::uint32_t Seed) {
  for (int Y = 0; Y < B.Height(); ++Y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(B.ScanLine(Y));
    for (int X = 0; X < B.Width(); ++X) {
      Seed = Seed * 1664525u + 1013904223u;
      Row[X] = Seed >> 8;
    }
  }
}

// The least of several measurements is the one least disturbed.
TTimes Least(const std::vector<TTimes>& V) {
  TTimes L = V.front();
  for (const TTimes& T : V) L = {std::min(L.Wall, T.Wall), std::min(L.Cpu, T.Cpu)};
  return L;
}

// The yardsticks, on frame-sized blocks of memory: a memcpy, and a pass that reads two blocks
// and writes a third. Hot: the same blocks again and again, so that they stay in the 32 MB cache
// of this processor, as the few rows a wipe frame touches do. Cold: eight blocks in turn, more
// than the cache holds: the memory-bandwidth limit.
struct TYardsticks {
  TTimes HotCopy, HotThree, ColdCopy, ColdThree;
};

// Vectorised as the pixel kernels are (this file is built at -O2, which would leave it scalar).
__attribute__((optimize("O3"))) void ThreeStream(std::uint32_t* __restrict C, const std::uint32_t* __restrict A,
                                                 const std::uint32_t* __restrict B, std::size_t Words) {
  for (std::size_t K = 0; K < Words; ++K) C[K] = A[K] | B[K];
}

TYardsticks MeasureYardsticks() {
  const std::size_t Words = std::size_t(FrameWidth) * FrameHeight;
  std::vector<std::vector<std::uint32_t>> Blocks(8, std::vector<std::uint32_t>(Words, 0x01020304u));
  std::vector<TTimes> HotCopy, HotThree, ColdCopy, ColdThree;
  auto Three = [&](std::vector<std::uint32_t>& C, const std::vector<std::uint32_t>& A,
                   const std::vector<std::uint32_t>& B) { ThreeStream(C.data(), A.data(), B.data(), Words); };
  for (int I = 0; I < 16; ++I) {
    TTimes T0 = Now();
    std::memcpy(Blocks[1].data(), Blocks[0].data(), Words * 4);
    TTimes T1 = Now();
    Three(Blocks[2], Blocks[0], Blocks[1]);
    TTimes T2 = Now();
    HotCopy.push_back(T1 - T0);
    HotThree.push_back(T2 - T1);
  }
  for (int I = 0; I < 16; ++I) {
    auto& A = Blocks[(3 * I) % 8];
    auto& B = Blocks[(3 * I + 1) % 8];
    auto& C = Blocks[(3 * I + 2) % 8];
    TTimes T0 = Now();
    std::memcpy(B.data(), A.data(), Words * 4);
    TTimes T1 = Now();
    ColdCopy.push_back(T1 - T0);
    auto& D = Blocks[(3 * I + 4) % 8];
    auto& E = Blocks[(3 * I + 5) % 8];
    T0 = Now();
    Three(C, D, E);
    T1 = Now();
    ColdThree.push_back(T1 - T0);
  }
  // Keeps the passes from being folded away.
  volatile std::uint32_t Sink = Blocks[2][Words / 2] + Blocks[7][Words / 3];
  (void)Sink;
  return {Least(HotCopy), Least(HotThree), Least(ColdCopy), Least(ColdThree)};
}

struct TCase {
  const char* Name;
  TTEEffectDirection Direction;
  int BandWidth;
};

struct TResult {
  int Frames = 0;
  TTimes PerFrame;
  double ChangedShare = 0;  // changed pixels a frame / pixels of a frame
};

// From the first frame shown to the last: the set-up of the run (looks, old image into the work
// bitmap) and the final copy are not frame costs. A first run counts the frames and the changed
// pixels; the timed runs read the clocks at the first and the last frame only.
TResult MeasureCase(const TCase& C, const TBitmap& Old, const TBitmap& New) {
  std::vector<TTimes> PerFrame;
  int Shown = 0;
  double Changed = 0;
  for (int Run = 0; Run <= 5; ++Run) {
    TWipeTransition Wipe;
    Wipe.SetDirection(C.Direction);
    Wipe.SetBandWidth(C.BandWidth);
    TBitmap Screen;
    TTimes Start, End;
    int Frame = 0;
    RunOffscreen(Wipe, Old, New, Screen, [&](const TOffscreenFrame& F) {
      if (F.Final) return;
      ++Frame;
      if (Run == 0) {
        Shown = Frame;
        if (Frame > 1)
          for (const TRect& R : F.Changed) Changed += double(R.Width()) * R.Height();
      } else if (Frame == 1) {
        Start = Now();
      } else if (Frame == Shown) {
        End = Now();
      }
    });
    if (Run > 0) {
      const TTimes T = End - Start;
      PerFrame.push_back({T.Wall / (Shown - 1), T.Cpu / (Shown - 1)});
    }
  }
  return {Shown, Least(PerFrame), Changed / (Shown - 1) / FramePixels};
}

void FrameCosts(const char* Only) {
  TBitmap Old(FrameWidth, FrameHeight, pf32bit), New(FrameWidth, FrameHeight, pf32bit);
  FillNoise(Old, 1);
  FillNoise(New, 2);
  const TCase Cases[] = {
      {"right, band 50", tedRight, 50}, {"left, band 50", tedLeft, 50},   {"down, band 50", tedDown, 50},
      {"up, band 50", tedUp, 50},       {"right, no band", tedRight, 0}, {"down, no band", tedDown, 0},
      {"down-right", tedDownRight, 0},  {"up-left", tedUpLeft, 0},       {"in", tedIn, 0},
      {"out", tedOut, 0},
  };
  const TYardsticks Before = MeasureYardsticks();
  std::vector<TResult> Results;
  std::vector<const TCase*> Run;
  for (const TCase& C : Cases)
    if (!Only || std::strstr(C.Name, Only)) Run.push_back(&C);
  for (const TCase* C : Run) Results.push_back(MeasureCase(*C, Old, New));
  const TYardsticks After = MeasureYardsticks();
  auto Best = [](TTimes A, TTimes B) { return TTimes{std::min(A.Wall, B.Wall), std::min(A.Cpu, B.Cpu)}; };
  const TTimes HotCopy = Best(Before.HotCopy, After.HotCopy), HotThree = Best(Before.HotThree, After.HotThree);
  const TTimes ColdCopy = Best(Before.ColdCopy, After.ColdCopy), ColdThree = Best(Before.ColdThree, After.ColdThree);

  std::printf("wipe, %dx%d pf32bit, offscreen runner, Milliseconds 0; least of 5 runs; thread time (wall)\n",
              FrameWidth, FrameHeight);
  std::printf("frame memcpy: hot %.3f ms (%.3f), cold %.3f ms (%.3f); 3-stream pass: hot %.3f ms, cold %.3f ms\n",
              HotCopy.Cpu, HotCopy.Wall, ColdCopy.Cpu, ColdCopy.Wall, HotThree.Cpu, ColdThree.Cpu);
  std::printf("%-16s %6s %18s %9s %11s %9s %9s\n", "case", "frames", "ms/frame (wall)", "changed", "ms/full-eq",
              "x hot", "x cold");
  for (std::size_t I = 0; I < Results.size(); ++I) {
    const TResult& R = Results[I];
    const double PerFull = R.PerFrame.Cpu / R.ChangedShare;
    std::printf("%-16s %6d %8.4f (%7.4f) %8.4f%% %11.3f %9.2f %9.2f\n", Run[I]->Name, R.Frames, R.PerFrame.Cpu,
                R.PerFrame.Wall, 100 * R.ChangedShare, PerFull, PerFull / HotCopy.Cpu, PerFull / ColdCopy.Cpu);
  }
}

void PacedOffscreen() {
  TBitmap Old(FrameWidth, FrameHeight, pf32bit), New(FrameWidth, FrameHeight, pf32bit);
  FillNoise(Old, 3);
  FillNoise(New, 4);
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
  Window.setGeometry(0, 0, FrameWidth, FrameHeight);
  Window.setAutoFillBackground(true);
  Window.show();
  QApplication::processEvents();
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
