// Pictures to look at, not a check: with VTE_MASKED_SHOTS=<folder> in the environment, frames at
// 10, 30, 50, 70 and 90 % of circle, radial, diagonal, interlaced, waterfall and block runs between two scenes are written there
// as PNG files (style, substyle, smoothing and percentage in the name). Skipped otherwise.
#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <cstdlib>
#include <functional>
#include <memory>

#include "effects/block.h"
#include "effects/circle.h"
#include "effects/diagonal.h"
#include "effects/interlaced.h"
#include "effects/radial.h"
#include "effects/waterfall.h"
#include "support/frame_recording_support.h"
#include "support/mask_pictures_support.h"
#include "support/screen_depth.h"

namespace vte {
namespace {

TEST(MaskedShots, WritesFramesToLookAt) {
  const char* Folder = std::getenv("VTE_MASKED_SHOTS");
  if (!Folder) GTEST_SKIP() << "set VTE_MASKED_SHOTS to a folder to get the pictures";
  QDir().mkpath(QString::fromUtf8(Folder));
  test::TScreenDepth Depth(32);
  constexpr int W = 320, H = 200;
  const TBitmap Old = test::ScenePicture(W, H, 0), New = test::ScenePicture(W, H, 1);
  struct TShot {
    const char* Name;
    std::function<std::unique_ptr<TMaskedTransition>()> Make;
    int Style, SubStyle, Smoothing;
    std::function<void(TMaskedTransition&)> Set = nullptr;  // further settings
  };
  const auto Circle = [] { return std::make_unique<TCircleTransition>(); };
  const auto Radial = [] { return std::make_unique<TRadialTransition>(); };
  const auto Diagonal = [] { return std::make_unique<TDiagonalTransition>(); };
  std::vector<TShot> Shots;
  for (int S = 1; S <= 3; ++S) Shots.push_back({"circle", Circle, S, S == 1 ? 1 : 6, 0});
  Shots.push_back({"circle", Circle, 1, 2, 4});
  Shots.push_back({"circle", Circle, 2, 3, 6});
  for (int S = 1; S <= 7; ++S) {
    Shots.push_back({"radial", Radial, S, S == 5 || S == 7 ? 3 : 2, 0});
    Shots.push_back({"radial", Radial, S, S == 5 || S == 7 ? 3 : 2, 4});
  }
  for (int S = 1; S <= 2; ++S) Shots.push_back({"diagonal", Diagonal, S, 1, 6});
  const auto Interlaced = [] { return std::make_unique<TInterlacedTransition>(); };
  for (int S : {1, 4, 7, 10}) Shots.push_back({"interlaced", Interlaced, 1, S, 0});
  Shots.push_back({"interlaced", Interlaced, 1, 1, 3});
  Shots.push_back({"interlaced", Interlaced, 2, 1, 0});
  Shots.push_back({"interlaced", Interlaced, 2, 1, 3});
  for (TTEEffectDirection D : {tedRight, tedLeft, tedDown, tedUp})
    Shots.push_back({"waterfall", [] { return std::make_unique<TWaterfallTransition>(); }, 1, static_cast<int>(D), 0,
                     [D](TMaskedTransition& E) { E.SetDirection(D); }});
  const auto Blocks = [](int Size, bool Puzzle, bool Dual) {
    return [=](TMaskedTransition& E) {
      auto& B = static_cast<TBlockTransition&>(E);
      B.SetBlockWidth(Size);
      B.SetBlockHeight(Size);
      B.SetPuzzle(Puzzle);
      B.SetDual(Dual);
    };
  };
  const auto Block = [] { return std::make_unique<TBlockTransition>(); };
  for (int S = 1; S <= 4; ++S) Shots.push_back({"blocks", Block, S, S == 2 ? 5 : S == 4 ? 3 : 1, 0, Blocks(25, false, false)});
  Shots.push_back({"blocks-dual", Block, 3, 1, 0, Blocks(25, false, true)});
  Shots.push_back({"blocks-1x1", Block, 1, 1, 0, Blocks(1, false, false)});
  Shots.push_back({"blocks-jigsaw35", Block, 1, 1, 0, Blocks(35, true, false)});
  Shots.push_back({"blocks-jigsaw35", Block, 4, 1, 0, Blocks(35, true, false)});
  for (const TShot& Shot : Shots) {
    const auto E = Shot.Make();
    E->SetStyle(Shot.Style);
    E->SetSubStyle(Shot.SubStyle);
    E->SetSmoothingLevel(Shot.Smoothing);
    if (Shot.Set) Shot.Set(*E);
    test::TRecordOptions Options;
    Options.KeepScreens = true;
    const test::TFrameRecording Run = test::RecordRun(*E, Old, New, Options);
    const auto Frames = Run.Shown();
    for (int Percent : {10, 30, 50, 70, 90}) {
      const auto* F = Frames[static_cast<std::size_t>(Frames.size() * Percent / 100)];
      const QString File = QStringLiteral("%1/%2-%3.%4-smooth%5-%6.png")
                               .arg(QString::fromUtf8(Folder), QString::fromUtf8(Shot.Name))
                               .arg(Shot.Style)
                               .arg(Shot.SubStyle)
                               .arg(Shot.Smoothing)
                               .arg(Percent, 2, 10, QLatin1Char('0'));
      F->Screen.ToQImage().save(File);
    }
  }
}

}  // namespace
}  // namespace vte
