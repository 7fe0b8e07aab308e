// The bitmap mask, drip and fuse transitions at full HD, pf32bit, through the offscreen runner, every
// frame drawn (Milliseconds 0): time a frame next to a frame memcpy and a memcpy of the rectangles
// each frame changed (bench/support/frame_costs.h). Where FFmpeg is installed, its xfade dissolve
// and fadegrays are timed in the same run, per output frame, with a full bitmap-mask run next to
// ten dissolve frames.
//
//   bench_mask [CASE]                the table (only the cases whose name holds CASE)
//   bench_mask --look DIR [OLD NEW]  no timing: PNG frames at 10, 30, 50, 70 and 90 % of each case
//                                    looked at (bitmap mask with a twirl and a wiper at smoothing
//                                    0, 2 and 4, drip down, fuse styles 1, 4 and 13) between two
//                                    pictures (drawn ones unless given) into DIR
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "effects/bitmap_mask.h"
#include "effects/drip.h"
#include "effects/fuse.h"
#include "engine/offscreen_runner.h"
#include "gdi/canvas.h"
#include "support/bench_support.h"
#include "support/frame_costs.h"
#include "support/mask_pictures_support.h"

namespace {

using namespace vte;
using bench::FrameHeight;
using bench::FrameWidth;

struct TCase {
  std::string Name;
  std::function<std::unique_ptr<TTransitionEffect>()> Make;
};

std::unique_ptr<TTransitionEffect> MaskEffect(const TBitmap& Mask, int Smoothing) {
  auto E = std::make_unique<TBmpMaskTransition>();
  E->SetMask(&Mask);
  E->SetSmoothingLevel(Smoothing);
  return E;
}

const char* DirectionName(TTEEffectDirection D) {
  return D == tedDown ? "down" : D == tedUp ? "up" : D == tedLeft ? "left" : "right";
}

std::vector<TCase> Cases(const TBitmap& Twirl, const TBitmap& Wiper, bool ForLooking) {
  std::vector<TCase> V;
  for (int Smoothing : ForLooking ? std::vector<int>{0, 2, 4} : std::vector<int>{0, 1, 2, 3, 4, 5}) {
    V.push_back({"bitmap mask twirl, smoothing " + std::to_string(Smoothing),
                 [&Twirl, Smoothing] { return MaskEffect(Twirl, Smoothing); }});
    if (ForLooking)
      V.push_back({"bitmap mask wiper, smoothing " + std::to_string(Smoothing),
                   [&Wiper, Smoothing] { return MaskEffect(Wiper, Smoothing); }});
  }
  for (TTEEffectDirection D : ForLooking ? std::vector{tedDown} : std::vector{tedDown, tedUp, tedLeft, tedRight})
    V.push_back({std::string("drip ") + DirectionName(D), [D] {
                   auto E = std::make_unique<TDripTransition>();
                   E->SetDirection(D);
                   return E;
                 }});
  std::vector<int> Styles{1, 4, 13};
  if (!ForLooking) {
    Styles.clear();
    for (int S = 1; S <= TFuseTransition::StyleCount; ++S) Styles.push_back(S);
  }
  for (int Style : Styles)
    V.push_back({"fuse style " + std::to_string(Style), [Style] {
                   auto E = std::make_unique<TFuseTransition>();
                   E->SetStyle(Style);
                   return E;
                 }});
  return V;
}

// --- FFmpeg, where installed ---

// User CPU seconds ffmpeg reports for a filter graph over two generated full-HD inputs of Frames
// frames; negative when it could not run.
double FfmpegUserSeconds(const QString& Ffmpeg, const QString& Graph, int Frames) {
  const QString Size = QString("s=%1x%2:r=25:d=%3").arg(FrameWidth).arg(FrameHeight).arg(Frames / 25.0 + 1);
  QProcess P;
  P.start(Ffmpeg, {"-hide_banner", "-nostdin", "-benchmark", "-f", "lavfi", "-i", "testsrc2=" + Size, "-f", "lavfi",
                   "-i", "smptehdbars=" + Size, "-filter_complex", Graph, "-frames:v", QString::number(Frames), "-f",
                   "null", "-"});
  if (!P.waitForFinished(120000) || P.exitCode() != 0) return -1;
  const QRegularExpressionMatch M =
      QRegularExpression("utime=([0-9.]+)s").match(QString::fromLocal8Bit(P.readAllStandardError()));
  return M.hasMatch() ? M.captured(1).toDouble() : -1;
}

// Milliseconds of CPU an xfade output frame costs: the graph with the transition over its whole
// length, less the same inputs converted and passed through without it. Negative: not measured.
double FfmpegXfadeMs(const QString& Ffmpeg, const char* Transition) {
  constexpr int Frames = 100;
  const QString In = "[0]format=yuv420p[a];[1]format=yuv420p[b];";
  const QString Xfade =
      In + QString("[a][b]xfade=transition=%1:duration=%2:offset=0,format=bgra").arg(Transition).arg(Frames / 25.0);
  const QString Plain = In + "[b]nullsink;[a]format=bgra";
  double Best = -1;
  for (int Run = 0; Run < 3; ++Run) {
    const double With = FfmpegUserSeconds(Ffmpeg, Xfade, Frames), Without = FfmpegUserSeconds(Ffmpeg, Plain, Frames);
    if (With < 0 || Without < 0) return -1;
    const double Ms = (With - Without) * 1000 / Frames;
    if (Best < 0 || Ms < Best) Best = Ms;
  }
  return Best;
}

// Only the cases whose name holds Filter (all when it is empty); FFmpeg only with all of them.
void FrameCosts(const std::string& Filter) {
  const TBitmap Old = bench::NoisePicture(7), New = bench::NoisePicture(13);
  const TBitmap Twirl = test::TwirlMask(640, 360), Wiper = test::WiperMask(640, 360);
  bench::PrintFrameCostHeader("bitmap mask, drip, fuse");
  // CPU of whole bitmap-mask runs (every frame), plain and with the longest fade.
  std::vector<std::pair<std::string, double>> MaskRuns;
  for (const TCase& C : Cases(Twirl, Wiper, false)) {
    if (C.Name.find(Filter) == std::string::npos) continue;
    const bench::TFrameCosts Costs = bench::MeasureFrameCosts(C.Make, Old, New);
    bench::PrintFrameCostRow(C.Name.c_str(), Costs);
    if (C.Name == "bitmap mask twirl, smoothing 0" || C.Name == "bitmap mask twirl, smoothing 5")
      MaskRuns.emplace_back(C.Name, Costs.MsPerFrame * Costs.Frames);
  }
  if (!Filter.empty()) return;
  const QString Ffmpeg = QStandardPaths::findExecutable("ffmpeg");
  if (Ffmpeg.isEmpty()) {
    std::printf("FFmpeg is not installed: no xfade figures.\n");
    return;
  }
  const double Dissolve = FfmpegXfadeMs(Ffmpeg, "dissolve"), FadeGrays = FfmpegXfadeMs(Ffmpeg, "fadegrays");
  std::printf("FFmpeg xfade at %dx%d, CPU ms an output frame: dissolve %.2f, fadegrays %.2f\n", FrameWidth, FrameHeight,
              Dissolve, FadeGrays);
  for (const auto& [Name, Ms] : MaskRuns)
    std::printf("a full run of %s: %.1f ms of CPU; ten dissolve frames: %.1f ms\n", Name.c_str(), Ms, Dissolve * 10);
}

// --- frames to look at ---

TBitmap Picture(const char* File, int Variant, int Width, int Height) {
  if (!File) return test::ScenePicture(Width, Height, Variant);
  TBitmap Loaded;
  Loaded.LoadFromFile(QString::fromLocal8Bit(File));
  TBitmap Fitted(Width, Height, pf32bit);
  Fitted.Canvas().StretchBlt(0, 0, Width, Height, Loaded.Canvas(), 0, 0, Loaded.Width(), Loaded.Height(), SRCCOPY);
  return Fitted;
}

void WriteLookFrames(const QString& Dir, const char* OldFile, const char* NewFile) {
  constexpr int Width = 960, Height = 540;
  const TBitmap Old = Picture(OldFile, 0, Width, Height), New = Picture(NewFile, 1, Width, Height);
  const TBitmap Twirl = test::TwirlMask(320, 180), Wiper = test::WiperMask(320, 180);
  QDir().mkpath(Dir);
  Twirl.SaveToFile(Dir + "/twirl.bmp");
  Wiper.SaveToFile(Dir + "/wiper.bmp");
  for (const TCase& C : Cases(Twirl, Wiper, true)) {
    // A first run counts the frames, a second keeps those at the shares asked for.
    int Frames = 0;
    TBitmap Screen;
    std::unique_ptr<TTransitionEffect> Effect = C.Make();
    RunOffscreen(*Effect, Old, New, Screen, [&](const TOffscreenFrame& F) { Frames += !F.Final; });
    const int Total = Frames + 1;
    Effect = C.Make();
    QString Name = QString::fromStdString(C.Name);
    Name.replace(QRegularExpression("[^A-Za-z0-9]+"), "-");
    RunOffscreen(*Effect, Old, New, Screen, [&](const TOffscreenFrame& F) {
      for (int Percent : {10, 30, 50, 70, 90})
        if (!F.Final && F.Frame == static_cast<int>(std::lround(Total * Percent / 100.0)))
          F.Screen.SaveToFile(QString("%1/%2-%3.png").arg(Dir, Name).arg(Percent, 2, 10, QChar('0')));
    });
    std::printf("%-34s %4d frames\n", C.Name.c_str(), Total);
  }
}

}  // namespace

int main(int Argc, char** Argv) {
  bench::UseOffscreenFullHdScreen();
  QApplication App(Argc, Argv);
  if (Argc > 2 && std::strcmp(Argv[1], "--look") == 0) {
    WriteLookFrames(QString::fromLocal8Bit(Argv[2]), Argc > 4 ? Argv[3] : nullptr, Argc > 4 ? Argv[4] : nullptr);
    return 0;
  }
  FrameCosts(Argc > 1 ? Argv[1] : "");
  return 0;
}
