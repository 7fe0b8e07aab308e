#include "support/xfade_costs.h"

#include <sys/resource.h>

#include <QString>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>

#include "engine/chrono.h"
#include "engine/offscreen_runner.h"
#include "engine/transition_effect.h"
#include "support/bench_support.h"

namespace vte::bench {

namespace {

double ChildrenCpuMilliseconds() {
  rusage U{};
  getrusage(RUSAGE_CHILDREN, &U);
  return (U.ru_utime.tv_sec + U.ru_stime.tv_sec) * 1e3 + (U.ru_utime.tv_usec + U.ru_stime.tv_usec) / 1e3;
}

// The CPU time of one command; the shell waits for FFmpeg, so its time is counted with the shell's.
double CommandMilliseconds(const QString& Command) {
  const double Before = ChildrenCpuMilliseconds();
  if (std::system(Command.toLocal8Bit().constData()) != 0) return -1;
  return ChildrenCpuMilliseconds() - Before;
}

}  // namespace

double WholeRunMilliseconds(const TEffectFactory& Make, const TBitmap& Old, const TBitmap& New, int Runs) {
  double Least = 1e300;
  for (int Run = 0; Run < Runs; ++Run) {
    const std::unique_ptr<TTransitionEffect> E = Make();
    E->SetMilliseconds(0);
    TBitmap Screen;
    const double Start = ThreadCpuMilliseconds();
    RunOffscreen(*E, Old, New, Screen, {});
    Least = std::min(Least, ThreadCpuMilliseconds() - Start);
  }
  return Least;
}

double PacedRunMilliseconds(const TEffectFactory& Make, const TBitmap& Old, const TBitmap& New, int& Frames, int Fps,
                            int Runs) {
  double Least = 1e300;
  for (int Run = 0; Run < Runs; ++Run) {
    const std::unique_ptr<TTransitionEffect> E = Make();
    E->SetMilliseconds(1000);
    double Now = 0;
    // Reads move time on by a hair, so that a wait for the next frame ends.
    TTEChrono::SetClock([&Now] { return Now += 1e-6; });
    TBitmap Screen;
    Frames = 0;
    const double Start = ThreadCpuMilliseconds();
    RunOffscreen(*E, Old, New, Screen, [&](const TOffscreenFrame&) {
      ++Frames;
      Now += 1000.0 / Fps;
    });
    Least = std::min(Least, ThreadCpuMilliseconds() - Start);
    TTEChrono::SetClock({});
  }
  return Least;
}

double XfadeMillisecondsPerFrame(const TBitmap& Old, const TBitmap& New, const char* Transition, int Runs) {
  const QString Ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
  QTemporaryDir Dir;
  if (Ffmpeg.isEmpty() || !Dir.isValid()) return 0;
  // BMP: reading the pictures costs next to nothing, so the difference below is the filter's.
  const QString OldFile = Dir.filePath(QStringLiteral("old.bmp")), NewFile = Dir.filePath(QStringLiteral("new.bmp"));
  if (!Old.ToQImage().save(OldFile, "BMP") || !New.ToQImage().save(NewFile, "BMP")) return 0;
  const auto Command = [&](int Frames) {
    return QStringLiteral("'%1' -nostdin -v error -loop 1 -t 1 -i '%2' -loop 1 -t 1 -i '%3' -filter_complex "
                          "'[0][1]xfade=transition=%4:duration=1:offset=0,format=bgra' -frames:v %5 -f rawvideo -y "
                          "/dev/null")
        .arg(Ffmpeg, OldFile, NewFile, QString::fromLatin1(Transition))
        .arg(Frames);
  };
  double Long = 1e300, Short = 1e300;
  for (int Run = 0; Run < Runs; ++Run) {
    const double L = CommandMilliseconds(Command(32)), S = CommandMilliseconds(Command(2));
    if (L < 0 || S < 0) return 0;
    Long = std::min(Long, L);
    Short = std::min(Short, S);
  }
  return std::max(0.0, (Long - Short) / 30);
}

}  // namespace vte::bench
