#include "fuzz_targets.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "engine/transition_list.h"
#include "gdi/bitmap.h"
#include "gdi/canvas.h"

namespace vte::fuzz {

namespace {

// A failure of the check itself: libFuzzer reports the abort with the input that caused it.
void Require(bool Holds, const char* What) {
  if (!Holds) {
    std::fprintf(stderr, "fuzz check failed: %s\n", What);
    std::abort();
  }
}

}  // namespace

void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int Argc = 1;
  static char Name[] = "vte-fuzz";
  static char* Argv[] = {Name, nullptr};
  // Never destroyed: the fuzzer ends the process with exit(), and an application object destroyed
  // among the static objects would outlive parts of Qt it needs.
  new QGuiApplication(Argc, Argv);
}

void TransitionList(const std::uint8_t* Data, std::size_t Size) {
  EnsureApplication();
  TTransitionList List;
  try {
    List.LoadFromJson(QByteArray(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size)), "fuzz");
  } catch (const std::runtime_error&) {
    Require(List.Count() == 0, "a list that failed to load kept transitions");
    return;
  }
  const QByteArray Saved = List.SaveToJson();
  TTransitionList Again;
  Again.LoadFromJson(Saved, "fuzz (saved)");
  Require(Again.SaveToJson() == Saved, "a saved list read back differently");
}

void Picture(const std::uint8_t* Data, std::size_t Size) {
  EnsureApplication();
  static QTemporaryDir Dir;
  const QString In = Dir.filePath(QStringLiteral("in")), Out = Dir.filePath(QStringLiteral("out.bmp"));
  {
    QFile F(In);
    Require(F.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the input file");
    F.write(reinterpret_cast<const char*>(Data), static_cast<qint64>(Size));
  }
  TBitmap B;
  try {
    B.LoadFromFile(In);
  } catch (const std::runtime_error&) {
    Require(B.Empty(), "a picture that failed to load left pixels");
    return;
  }
  if (B.Empty() || static_cast<qint64>(B.Width()) * B.Height() > 4'000'000) return;
  B.SaveToFile(Out);
  TBitmap Again;
  Again.LoadFromFile(Out);
  Require(Again.Width() == B.Width() && Again.Height() == B.Height() && Again.PixelFormat() == B.PixelFormat(),
          "a written BMP read back with another size or format");
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      Require(Again.Canvas().Pixel(X, Y) == B.Canvas().Pixel(X, Y), "a written BMP read back other pixels");
}

}  // namespace vte::fuzz
