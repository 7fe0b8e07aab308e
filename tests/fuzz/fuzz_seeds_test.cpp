// The seed corpora of the fuzz targets, made here from what the library writes (a stored list per
// registered class with settings changed, pictures in every pixel format and file kind), written
// to the build's fuzz-corpus folder for `make fuzz`, and replayed through the targets' checks with
// every seed also cut short at a few places, so the error paths run in every test run.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "engine/timed_transition.h"
#include "engine/transition_list.h"
#include "engine/transition_registry.h"
#include "fuzz_targets.h"
#include "gdi/bitmap.h"
#include "gdi/canvas.h"

namespace vte {
namespace {

void Replay(const QByteArray& Seed, void (*Target)(const std::uint8_t*, std::size_t)) {
  for (const qsizetype Cut : {Seed.size(), Seed.size() * 3 / 4, Seed.size() / 2, qsizetype{17}, qsizetype{0}})
    Target(reinterpret_cast<const std::uint8_t*>(Seed.constData()), static_cast<std::size_t>(std::min(Cut, Seed.size())));
}

void Keep(const QString& Target, int Number, const QByteArray& Seed) {
  const QString Dir = QStringLiteral(VTE_FUZZ_CORPUS "/") + Target;
  QDir().mkpath(Dir);
  QFile F(QStringLiteral("%1/seed-%2").arg(Dir).arg(Number, 3, 10, QLatin1Char('0')));
  ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
  F.write(Seed);
}

TEST(FuzzSeeds, StoredListsOfEveryClass) {
  std::vector<QByteArray> Seeds;
  TTransitionList All;
  for (const QMetaObject* Class : TransitionClasses()) {
    TTransitionList One;
    for (TTransitionList* L : {&One, &All}) {
      TTransitionEffect* E = CreateTransition(QString::fromLatin1(Class->className()), L);
      E->SetTransitionList(L);
      E->setObjectName(QStringLiteral("Seed"));
      if (auto* Timed = qobject_cast<TTimedTransitionEffect*>(E)) Timed->SetMilliseconds(250);
    }
    Seeds.push_back(One.SaveToJson());
  }
  Seeds.push_back(All.SaveToJson());
  ASSERT_GT(Seeds.size(), 5u);
  for (std::size_t I = 0; I < Seeds.size(); ++I) {
    Keep(QStringLiteral("list_loader"), static_cast<int>(I), Seeds[I]);
    Replay(Seeds[I], fuzz::TransitionList);
  }
}

TEST(FuzzSeeds, PicturesOfEveryFormatAndKind) {
  QTemporaryDir Dir;
  std::vector<QByteArray> Seeds;
  for (TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    TBitmap B(13, 7, F);
    for (int Y = 0; Y < 7; ++Y)
      for (int X = 0; X < 13; ++X) B.Canvas().SetPixel(X, Y, RGB(X * 19, Y * 36, (X + Y) * 12));
    for (const char* Kind : {"bmp", "png"}) {
      const QString Name = Dir.filePath(QStringLiteral("seed.%1").arg(QLatin1String(Kind)));
      B.SaveToFile(Name);
      QFile File(Name);
      ASSERT_TRUE(File.open(QIODevice::ReadOnly));
      Seeds.push_back(File.readAll());
    }
  }
  QByteArray Jpeg;
  QBuffer Buffer(&Jpeg);
  Buffer.open(QIODevice::WriteOnly);
  QImage(16, 8, QImage::Format_RGB32).save(&Buffer, "JPEG");
  Seeds.push_back(Jpeg);
  for (std::size_t I = 0; I < Seeds.size(); ++I) {
    Keep(QStringLiteral("picture"), static_cast<int>(I), Seeds[I]);
    Replay(Seeds[I], fuzz::Picture);
  }
}

}  // namespace
}  // namespace vte
