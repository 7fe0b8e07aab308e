#include "support/frame_costs.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "engine/offscreen_runner.h"
#include "engine/transition_effect.h"
#include "support/bench_support.h"
#include "gdi/simd_level.h"
#include "pixel/mask_work.h"

namespace vte::bench {

namespace {

// The thread's own CPU time leaves out the time other processes had the processor; the wall time
// is printed next to it to show how much that was.
struct TTimes {
  double Cpu = 0, Wall = 0;
};

TTimes Now() {
  const auto Wall = std::chrono::steady_clock::now().time_since_epoch();
  return {ThreadCpuMilliseconds(), std::chrono::duration<double, std::milli>(Wall).count()};
}

TTimes operator-(TTimes A, TTimes B) { return {A.Cpu - B.Cpu, A.Wall - B.Wall}; }
TTimes Least(TTimes A, TTimes B) { return {std::min(A.Cpu, B.Cpu), std::min(A.Wall, B.Wall)}; }

using TRecordedFrames = std::vector<std::vector<TRect>>;

// The recorded rectangles copied row by row from From to To (pf32bit, same size), frame after frame
// as the effect drew them; timed like the effect, from the end of the first frame to the end of
// the last.
double ReplayRects(const TRecordedFrames& Frames, const TBitmap& From, TBitmap& To) {
  const std::uint8_t* Src = From.ScanLine(0);
  std::uint8_t* Dst = To.ScanLine(0);
  const std::size_t Stride = To.ScanlineBytes();
  double Start = 0;
  for (std::size_t F = 0; F < Frames.size(); ++F) {
    for (const TRect& R : Frames[F]) {
      const std::size_t Offset = std::size_t(R.Top) * Stride + std::size_t(R.Left) * 4;
      const std::size_t Bytes = std::size_t(R.Width()) * 4;
      for (int Y = R.Top; Y < R.Bottom; ++Y)
        std::memcpy(Dst + Offset + (Y - R.Top) * Stride, Src + Offset + (Y - R.Top) * Stride, Bytes);
    }
    // The copies must all reach memory, in frame order, as the effect's do: no merging them
    // across frames and no dropping them as never read.
    asm volatile("" : : "r"(Dst) : "memory");
    if (F == 0) Start = Now().Cpu;
  }
  return Now().Cpu - Start;
}

// The same rectangles mixed from Old and New into To through Levels, timed the same way.
double ReplayMix(const TRecordedFrames& Frames, const TBitmap& Old, const TBitmap& New, TBitmap& To,
                 const TBitmap& Levels) {
  const int W = To.Width(), H = To.Height();
  double Start = 0;
  for (std::size_t F = 0; F < Frames.size(); ++F) {
    for (const TRect& R : Frames[F])
      ComposeSmoothed(To.ScanLine(0), Old.ScanLine(0), New.ScanLine(0), Levels.ScanLine(0), TRect{}, R, W, H,
                      Levels.ScanlineBytes(), To.ScanlineBytes());
    asm volatile("" : : "r"(To.ScanLine(0)) : "memory");
    if (F == 0) Start = Now().Cpu;
  }
  return Now().Cpu - Start;
}

double FrameMemcpy(const TBitmap& From, TBitmap& To) {
  const TTimes Start = Now();
  std::memcpy(To.ScanLine(0), From.ScanLine(0), From.ImageSize());
  asm volatile("" : : "r"(To.ScanLine(0)) : "memory");
  return (Now() - Start).Cpu;
}

}  // namespace

TBitmap NoisePicture(std::uint32_t Seed) {
  TBitmap B(FrameWidth, FrameHeight, pf32bit);
  for (int Y = 0; Y < FrameHeight; ++Y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(B.ScanLine(Y));
    for (int X = 0; X < FrameWidth; ++X) {
      Seed = Seed * 1664525u + 1013904223u;
      Row[X] = Seed >> 8;
    }
  }
  return B;
}

TFrameCosts MeasureFrameCosts(const TEffectFactory& Make, const TBitmap& Old, const TBitmap& New, int Runs,
                              bool Mix) {
  const TRect Whole = Rect(0, 0, Old.Width(), Old.Height());
  TRecordedFrames Recorded;
  TTimes Effect{1e300, 1e300};
  double RectCopy = 1e300, Memcpy = 1e300, RectMix = 1e300;
  // Mid levels throughout: every pixel of the rectangles is mixed.
  TBitmap Levels(Old.Width(), Old.Height(), pf8bit);
  if (Mix)
    for (int Y = 0; Y < Levels.Height(); ++Y) std::memset(Levels.ScanLine(Y), 128, Levels.ScanlineBytes());
  // White when made: every page is touched before the first timed copy, as the screen is.
  TBitmap From(Old.Width(), Old.Height(), pf32bit), To(Old.Width(), Old.Height(), pf32bit);
  for (int Run = 0; Run <= Runs; ++Run) {
    const std::unique_ptr<TTransitionEffect> E = Make();
    E->SetMilliseconds(0);
    TBitmap Screen;
    TTimes Start, End;
    int Frame = 0;
    RunOffscreen(*E, Old, New, Screen, [&](const TOffscreenFrame& F) {
      if (F.Final) return;
      ++Frame;
      if (Run == 0) {
        std::vector<TRect>& Rects = Recorded.emplace_back();
        for (const TRect& R : F.Changed)
          if (TRect C; IntersectRect(C, R, Whole)) Rects.push_back(C);
      } else if (Frame == 1) {
        Start = Now();
      } else if (Frame == int(Recorded.size())) {
        End = Now();
      }
    });
    if (Run == 0) {
      if (Recorded.size() >= 2) continue;
      TFrameCosts TooFew;
      TooFew.Frames = int(Recorded.size());
      return TooFew;
    }
    if (Frame != int(Recorded.size())) {
      std::fprintf(stderr, "the effect drew %d frames, then %d: its frames are not repeatable\n",
                   int(Recorded.size()), Frame);
      std::exit(1);
    }
    Effect = Least(Effect, End - Start);
    RectCopy = std::min(RectCopy, ReplayRects(Recorded, From, To));
    if (Mix) RectMix = std::min(RectMix, ReplayMix(Recorded, Old, New, To, Levels));
    for (int I = 0; I < 4; ++I) Memcpy = std::min(Memcpy, FrameMemcpy(I % 2 ? To : From, I % 2 ? From : To));
  }
  double Changed = 0;
  for (std::size_t F = 1; F < Recorded.size(); ++F)
    for (const TRect& R : Recorded[F]) Changed += double(R.Width()) * R.Height();
  const int Timed = int(Recorded.size()) - 1;
  TFrameCosts Costs;
  Costs.Frames = int(Recorded.size());
  Costs.MsPerFrame = Effect.Cpu / Timed;
  Costs.WallPerFrame = Effect.Wall / Timed;
  Costs.ChangedShare = Changed / Timed / (double(Whole.Width()) * Whole.Height());
  Costs.RectCopyMsPerFrame = RectCopy / Timed;
  Costs.FrameMemcpyMs = Memcpy;
  if (Mix) Costs.RectMixMsPerFrame = RectMix / Timed;
  return Costs;
}

void PrintFrameCostHeader(const char* Effect, int Runs) {
  std::printf("%s: %dx%d pf32bit, offscreen runner, Milliseconds 0, SIMD %s; thread CPU time (wall in\n"
              "brackets), least of %d runs (frame memcpy: least of %d); times from the first drawn frame to the "
              "last\n",
              Effect, FrameWidth, FrameHeight, SimdLevelName(CurrentSimdLevel()), Runs, 4 * Runs);
  std::printf("  %-32s %6s %19s %8s %10s %9s %8s %9s %7s\n", "case", "frames", "ms/frame (wall)", "changed",
              "ms/full-eq", "memcpy ms", "x memcpy", "rect-copy", "x rect");
}

void PrintFrameCostRow(const char* Name, const TFrameCosts& C) {
  if (C.ChangedShare <= 0 || C.RectCopyMsPerFrame <= 0) {
    std::printf("  %-32s %6d  (too few frames or nothing changed to measure)\n", Name, C.Frames);
  } else {
    const double PerFull = C.MsPerFrame / C.ChangedShare;
    std::printf("  %-32s %6d %8.4f (%8.4f) %7.3f%% %10.3f %9.3f %8.2f %9.4f %7.2f\n", Name, C.Frames, C.MsPerFrame,
                C.WallPerFrame, 100 * C.ChangedShare, PerFull, C.FrameMemcpyMs, PerFull / C.FrameMemcpyMs,
                C.RectCopyMsPerFrame, C.MsPerFrame / C.RectCopyMsPerFrame);
    if (C.RectMixMsPerFrame > 0)
      std::printf("  %-32s mix of the same rectangles %.4f ms = %.2f x rect-copy; the frame is %.2f x that mix\n", "",
                  C.RectMixMsPerFrame, C.RectMixMsPerFrame / C.RectCopyMsPerFrame, C.MsPerFrame / C.RectMixMsPerFrame);
  }
  std::fflush(stdout);
}

}  // namespace vte::bench
