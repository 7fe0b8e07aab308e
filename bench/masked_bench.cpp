// The shapes grown in a mask at full HD, pf32bit, through the offscreen runner, every frame drawn
// (Milliseconds 0): a frame next to a frame memcpy and a memcpy of the rectangles each frame
// changed (bench/support/frame_costs.h), shape painting included; plain and smoothed.
#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "effects/circle.h"
#include "effects/diagonal.h"
#include "effects/radial.h"
#include "support/bench_support.h"
#include "support/frame_costs.h"

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

}  // namespace

int main(int Argc, char** Argv) {
  bench::UseOffscreenFullHdScreen();
  QApplication App(Argc, Argv);
  const TBitmap Old = bench::NoisePicture(7), New = bench::NoisePicture(13);
  struct TCase {
    std::string Name;
    bench::TEffectFactory Make;
  };
  std::vector<TCase> Cases;
  for (int Smoothing : {0, 4}) {
    const std::string S = Smoothing ? ", smoothing 4" : ", plain";
    Cases.push_back({"circle 1.1" + S, Shape<TCircleTransition>(1, 1, Smoothing)});
    Cases.push_back({"radial 1.1" + S, Shape<TRadialTransition>(1, 1, Smoothing)});
    Cases.push_back({"radial 5.3" + S, Shape<TRadialTransition>(5, 3, Smoothing)});
    Cases.push_back({"diagonal 1.1" + S, Shape<TDiagonalTransition>(1, 1, Smoothing)});
  }
  bench::PrintFrameCostHeader("circle, radial, diagonal");
  for (const TCase& C : Cases) bench::PrintFrameCostRow(C.Name.c_str(), bench::MeasureFrameCosts(C.Make, Old, New, 3));
  return 0;
}
