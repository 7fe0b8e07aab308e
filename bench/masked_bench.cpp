// The shapes grown in a mask (circle, radial, diagonal, interlaced lines, waterfall, blocks) at full HD, pf32bit, through the offscreen runner, every frame drawn
// (Milliseconds 0): a frame next to a frame memcpy and a memcpy of the rectangles each frame
// changed (bench/support/frame_costs.h), shape painting included; plain and smoothed.
#include <QApplication>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "effects/block.h"
#include "effects/circle.h"
#include "effects/diagonal.h"
#include "effects/interlaced.h"
#include "effects/radial.h"
#include "effects/waterfall.h"
#include "engine/timed_transition.h"
#include "gdi/random.h"
#include "support/bench_support.h"
#include "support/frame_costs.h"
#include "support/xfade_costs.h"

namespace {

using namespace vte;

template <class T> bench::TEffectFactory Shape(int Style, int SubStyle, int Smoothing) {
  return [=] {
    auto E = std::make_unique<T>();
    E->SetStyle(Style);
    E->SetSubStyle(SubStyle);
    E->SetSmoothingLevel(Smoothing);
    return std::unique_ptr<TTransitionEffect>(std::move(E));
  };
}

// The frame loop alone: frames that report one pixel changed, at random, and draw nothing. What a
// frame costs before it touches a pixel, measured next to the copy of one pixel like the 1x1
// blocks.
class TFrameLoopAlone : public TTimedTransitionEffect {
public:
  void Initialize(TTETransitionData& Data, int& Frames) override {
    TTimedTransitionEffect::Initialize(Data, Frames);
    FW = Data.Width;
    FH = Data.Height;
    Frames = FW * FH;
  }
  bool DrawsOnRenderTarget() const override { return true; }
  void ExecuteFrame(TTETransitionData& Data, int Cur, int Step, int Total, int Last) override {
    TTimedTransitionEffect::ExecuteFrame(Data, Cur, Step, Total, Last);
    const int X = Random(FW), Y = Random(FH);
    UpdateRect = Rect(X, Y, X + 1, Y + 1);
  }

private:
  int FW = 1, FH = 1;
};

}  // namespace

int main(int Argc, char** Argv) {
  bench::UseOffscreenFullHdScreen();
  QApplication App(Argc, Argv);
  const TBitmap Old = bench::NoisePicture(7), New = bench::NoisePicture(13);
  // Xfade: the FFmpeg transition a whole run is measured against, where there is one.
  struct TCase {
    std::string Name;
    bench::TEffectFactory Make;
    const char* Xfade = nullptr;
    bool Mixes = false;  // smoothed: measured next to a mix of the same rectangles too
  };
  std::vector<TCase> Cases;
  for (int Smoothing : {0, 4}) {
    const std::string S = Smoothing ? ", smoothing 4" : ", plain";
    const bool Mixes = Smoothing > 0;
    Cases.push_back({"circle 1.1" + S, Shape<TCircleTransition>(1, 1, Smoothing), "circleopen", Mixes});
    Cases.push_back({"radial 1.1" + S, Shape<TRadialTransition>(1, 1, Smoothing), "radial", Mixes});
    Cases.push_back({"radial 5.3" + S, Shape<TRadialTransition>(5, 3, Smoothing), "radial", Mixes});
    Cases.push_back({"diagonal 1.1" + S, Shape<TDiagonalTransition>(1, 1, Smoothing), "diagtl", Mixes});
  }
  Cases.push_back({"interlaced 1.1, plain", Shape<TInterlacedTransition>(1, 1, 0), "hlslice"});
  Cases.push_back({"interlaced 2.1, plain", Shape<TInterlacedTransition>(2, 1, 0), "hlslice"});
  Cases.push_back({"interlaced 1.1, smoothing 4", Shape<TInterlacedTransition>(1, 1, 4), "hlslice", true});
  Cases.push_back({"interlaced 2.1, smoothing 4", Shape<TInterlacedTransition>(2, 1, 4), "hlslice", true});
  // Random orders repeat from a fixed seed: the measured runs must draw the recorded frames.
  Cases.push_back({"waterfall down", [] {
                     RandSeed = 1;
                     return std::unique_ptr<TTransitionEffect>(new TWaterfallTransition);
                   },
                   "hlslice"});
  auto Blocks = [](int Size, bool Puzzle) -> bench::TEffectFactory {
    return [=] {
      RandSeed = 1;
      auto E = std::make_unique<TBlockTransition>();
      E->SetStyle(1);
      E->SetBlockWidth(Size);
      E->SetBlockHeight(Size);
      E->SetPuzzle(Puzzle);
      return std::unique_ptr<TTransitionEffect>(std::move(E));
    };
  };
  Cases.push_back({"blocks 1x1 random", Blocks(1, false), "dissolve"});
  Cases.push_back({"blocks 40x40 jigsaw", Blocks(40, true), "dissolve"});
  Cases.push_back({"frame loop alone, 1 pixel", [] {
                     RandSeed = 1;
                     return std::unique_ptr<TTransitionEffect>(new TFrameLoopAlone);
                   }});
  bench::PrintFrameCostHeader("masked shapes");
  // An argument keeps only the cases whose name contains it.
  const std::string Only = Argc > 1 ? Argv[1] : "";
  for (const TCase& C : Cases)
    if (C.Name.find(Only) != std::string::npos)
      bench::PrintFrameCostRow(C.Name.c_str(), bench::MeasureFrameCosts(C.Make, Old, New, 3, C.Mixes));

  // Whole runs next to five frames of the FFmpeg counterpart, each xfade transition measured once.
  std::map<std::string, double> Xfade;
  for (const TCase& C : Cases)
    if (C.Xfade && C.Name.find(Only) != std::string::npos && !Xfade.count(C.Xfade))
      Xfade[C.Xfade] = bench::XfadeMillisecondsPerFrame(Old, New, C.Xfade);
  if (Xfade.empty() || Xfade.begin()->second <= 0) {
    std::printf("whole runs: ffmpeg not found, no xfade comparison\n");
    return 0;
  }
  std::printf("\nwhole runs (every frame drawn, set-up included; thread CPU, least of 3) next to 5 frames of FFmpeg "
              "xfade\n(CPU of a 32-frame command less a 2-frame one, over 30; least of 3)\n");
  std::printf("paced: the same effect over one second, a virtual clock moving 1/60 s a drawn frame\n");
  std::printf("  %-32s %12s %-11s %14s %12s %7s %14s %7s\n", "case", "whole run ms", "xfade", "ms/xfade frame",
              "5 frames ms", "x 5", "paced ms (fr)", "x 5");
  for (const TCase& C : Cases)
    if (C.Xfade && C.Name.find(Only) != std::string::npos) {
      const double Whole = bench::WholeRunMilliseconds(C.Make, Old, New), Five = 5 * Xfade[C.Xfade];
      int Frames = 0;
      const double Paced = bench::PacedRunMilliseconds(C.Make, Old, New, Frames);
      std::printf("  %-32s %12.1f %-11s %14.2f %12.1f %7.2f %8.1f (%3d) %7.2f\n", C.Name.c_str(), Whole, C.Xfade,
                  Xfade[C.Xfade], Five, Whole / Five, Paced, Frames, Paced / Five);
      std::fflush(stdout);
    }
  return 0;
}
