// Slide and push at 1920x1080 pf32bit through the offscreen runner with Milliseconds 0 (every
// frame): mean time a frame and per full-frame equivalent of changed pixels, against a frame-sized
// memcpy measured in the same run; then paced runs (Milliseconds 1000) through the runner and over
// a full-HD widget on the offscreen platform, with the time they took.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "effects/push.h"
#include "effects/slide.h"
#include "support/bench_support.h"
#include "engine/offscreen_runner.h"

namespace {

using namespace vte;

constexpr int FrameWidth = 1920, FrameHeight = 1080;
constexpr double FramePixels = double(FrameWidth) * FrameHeight;

// Repeatable noise: every pixel differs from its neighbours, as in a photograph's worst case.
void FillNoise(TBitmap& B, std::uint32_t Seed) {
  for (int Y = 0; Y < B.Height(); ++Y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(B.ScanLine(Y));
    for (int X = 0; X < B.Width(); ++X) {
      Seed = Seed * 1664525u + 1013904223u;
      Row[X] = Seed >> 8;
    }
  }
}

double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

// A frame-sized memcpy in milliseconds (median of 30): between two buffers that stay warm, and from
// the looks into a screen-sized buffer, which touches as much memory as the effects' frames do.
double MemcpyMs(const std::uint8_t* From1 = nullptr, const std::uint8_t* From2 = nullptr) {
  const std::size_t Size = std::size_t(FramePixels) * 4;
  static std::vector<std::uint8_t> A(Size, 1), B(Size, 2);
  std::vector<double> T;
  for (int I = 0; I < 30; ++I) {
    const std::uint8_t* From = From1 ? (I % 2 ? From2 : From1) : (I % 2 ? B.data() : A.data());
    std::uint8_t* To = From1 ? A.data() : (I % 2 ? A.data() : B.data());
    QElapsedTimer Clock;
    Clock.start();
    std::memcpy(To, From, Size);
    T.push_back(Clock.nsecsElapsed() / 1e6);
  }
  return Median(T);
}

struct TCase {
  const char* Name;
  std::function<std::unique_ptr<TTransitionEffect>()> Make;
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

struct TResult {
  int Frames = 0;
  double Ms = 0;          // first frame drawn to last frame shown
  double Equivalents = 0; // changed pixels of those frames / frame pixels
};

TResult Measure(TTransitionEffect& E, const TBitmap& Old, const TBitmap& New) {
  TBitmap Screen;
  TResult R;
  QElapsedTimer Clock;
  double End = 0;
  double Changed = 0;
  Clock.start();
  RunOffscreen(E, Old, New, Screen, [&](const TOffscreenFrame& F) {
    if (F.Final) return;
    ++R.Frames;
    for (const TRect& C : F.Changed) Changed += double(C.Width()) * C.Height();
    End = Clock.nsecsElapsed() / 1e6;
  });
  R.Ms = End;
  R.Equivalents = Changed / FramePixels;
  return R;
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
  std::printf("frame costs, %dx%d pf32bit, offscreen runner, Milliseconds 0 (median of 3 runs)\n", FrameWidth,
              FrameHeight);
  std::printf("  %-32s %6s %9s %9s %8s | %8s %6s | %8s %6s\n", "case", "frames", "ms/frame", "ffe/frame",
              "ms/ffe", "cpy_warm", "ratio", "cpy_look", "ratio");
  for (const TCase& C : Cases) {
    std::vector<double> PerFrame, PerEquivalent, Warm, Looks, WarmRatio, LookRatio;
    TResult R;
    for (int Run = 0; Run < 3; ++Run) {
      auto E = C.Make();
      R = Measure(*E, Old, New);
      const double M = MemcpyMs(), L = MemcpyMs(Old.ScanLine(0), New.ScanLine(0));
      PerFrame.push_back(R.Ms / R.Frames);
      PerEquivalent.push_back(R.Ms / R.Equivalents);
      Warm.push_back(M);
      Looks.push_back(L);
      // Time against a memcpy of exactly the pixels the frames changed.
      WarmRatio.push_back(R.Ms / (R.Equivalents * M));
      LookRatio.push_back(R.Ms / (R.Equivalents * L));
    }
    std::printf("  %-32s %6d %9.3f %9.3f %8.3f | %8.3f %6.2f | %8.3f %6.2f\n", C.Name, R.Frames, Median(PerFrame),
                R.Equivalents / R.Frames, Median(PerEquivalent), Median(Warm), Median(WarmRatio), Median(Looks),
                Median(LookRatio));
  }
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
  Window.setGeometry(0, 0, FrameWidth, FrameHeight);
  Window.setAutoFillBackground(true);
  Window.show();
  QApplication::processEvents();
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
  TBitmap Old(FrameWidth, FrameHeight, pf32bit), New(FrameWidth, FrameHeight, pf32bit);
  FillNoise(Old, 1);
  FillNoise(New, 2);
  const std::string Only = Argc > 1 ? Argv[1] : "";
  if (Only.empty() || Only == "frames") FrameCosts(Old, New);
  if (Only.empty() || Only == "paced") {
    PacedOffscreen(Old, New);
    PacedOnScreen();
  }
  return 0;
}
