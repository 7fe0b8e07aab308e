// What a screen of device pixel ratio 2 costs a transition: the looks and every frame hold four
// times the pixels of the same logical area at ratio 1. Each effect runs every frame it has
// (Milliseconds 0) through the offscreen runner over a 960x540 logical area, with looks of its
// device pixels at ratio 1 and at ratio 2; the line gives the CPU time of a frame at each ratio
// and their quotient (4x the pixels: at most 4.4x the time is the aim), measured as every frame
// cost is (support/frame_costs.h).
#include <QApplication>
#include <cstdio>
#include <memory>

#include "effects/slide.h"
#include "effects/wipe.h"
#include "engine/blend_transition.h"
#include "gdi/canvas.h"
#include "support/bench_support.h"
#include "support/frame_costs.h"

namespace {

using namespace vte;

constexpr int LogicalWidth = bench::FrameWidth / 2, LogicalHeight = bench::FrameHeight / 2;

// The device pixels of the logical area at Ratio: the full-HD noise picture, or its top-left part.
TBitmap Look(std::uint32_t Seed, int Ratio) {
  const TBitmap Full = bench::NoisePicture(Seed);
  if (Ratio == 2) return Full;
  TBitmap Part(LogicalWidth, LogicalHeight, pf32bit);
  Part.Canvas().BitBlt(0, 0, LogicalWidth, LogicalHeight, const_cast<TBitmap&>(Full).Canvas(), 0, 0, SRCCOPY);
  return Part;
}

struct TCase {
  const char* Name;
  bench::TEffectFactory Make;
};

}  // namespace

int main(int Argc, char** Argv) {
  bench::UseOffscreenFullHdScreen();
  QApplication App(Argc, Argv);
  const TCase Cases[] = {
      {"slide left", [] {
         std::unique_ptr<TTransitionEffect> E = std::make_unique<TSlideTransition>();
         E->SetDirection(tedLeft);
         return E;
       }},
      {"wipe right, band 50", [] {
         auto W = std::make_unique<TWipeTransition>();
         W->SetDirection(tedRight);
         W->SetBandWidth(50);
         return std::unique_ptr<TTransitionEffect>(std::move(W));
       }},
      {"blend", [] { return std::unique_ptr<TTransitionEffect>(std::make_unique<TBlendTransition>()); }},
  };
  std::printf("%dx%d logical, every frame, CPU ms a frame (the least of 3 runs); a whole-frame memcpy\n"
              "at each ratio as the yardstick: above 4x there, the memory (caches) makes the difference\n",
              LogicalWidth, LogicalHeight);
  std::printf("%-22s %10s %10s %8s %12s\n", "effect", "ratio 1", "ratio 2", "2 : 1", "memcpy 2 : 1");
  for (const TCase& C : Cases) {
    const bench::TFrameCosts One = bench::MeasureFrameCosts(C.Make, Look(1, 1), Look(2, 1), 3);
    const bench::TFrameCosts Two = bench::MeasureFrameCosts(C.Make, Look(1, 2), Look(2, 2), 3);
    std::printf("%-22s %10.3f %10.3f %7.2fx %11.2fx\n", C.Name, One.MsPerFrame, Two.MsPerFrame,
                Two.MsPerFrame / One.MsPerFrame, Two.FrameMemcpyMs / One.FrameMemcpyMs);
  }
  return 0;
}
