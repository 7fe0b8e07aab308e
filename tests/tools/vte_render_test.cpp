// vte-render as a user runs it: frames equal to the library's own run, byte counts and repeatable
// bytes of the streams, and every error with its one line, its exit code and no files left.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "effects/wipe.h"
#include "engine/offscreen_runner.h"

namespace vte {
namespace {

struct TResult {
  int Exit = -1;
  QByteArray Out, Err;
};

class VteRender : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Picture(QStringLiteral("old.png"), QSize(64, 40), 0);
    Picture(QStringLiteral("new.png"), QSize(64, 40), 1);
    Picture(QStringLiteral("small.png"), QSize(30, 20), 2);
  }
  // A picture whose pixels all differ, so that a misplaced frame shows.
  void Picture(const QString& Name, QSize Size, int Seed) {
    QImage I(Size, QImage::Format_RGB32);
    for (int Y = 0; Y < Size.height(); ++Y)
      for (int X = 0; X < Size.width(); ++X) I.setPixel(X, Y, qRgb(X * 4 + Seed * 50, Y * 6, (X ^ Y) * 3 + Seed * 90));
    ASSERT_TRUE(I.save(Path(Name)));
  }
  QString Path(const QString& Name) const { return Dir.filePath(Name); }
  TResult Run(QStringList Arguments) {
    QProcess P;
    P.start(QStringLiteral(VTE_RENDER), Arguments);
    EXPECT_TRUE(P.waitForFinished(60000));
    return {P.exitCode(), P.readAllStandardOutput(), P.readAllStandardError()};
  }
  QTemporaryDir Dir;
};

TEST_F(VteRender, PngFramesAreTheLibrarysOwnFrames) {
  const TResult R = Run({"--class", "TWipeTransition", "Milliseconds=0", "BandWidth=5", Path("old.png"),
                         Path("new.png"), "-o", Path("f%05d.png")});
  ASSERT_EQ(R.Exit, 0) << R.Err.constData();
  TWipeTransition Wipe;
  Wipe.SetMilliseconds(0);
  Wipe.SetBandWidth(5);
  // Untimed, every frame the effect shows is one frame of the file, after the old look.
  const QImage Old = QImage(Path("old.png")).convertToFormat(QImage::Format_RGB32);
  std::vector<QImage> Want{Old};
  TBitmap Screen;
  RunOffscreen(Wipe, TBitmap::FromQImage(Old),
               TBitmap::FromQImage(QImage(Path("new.png")).convertToFormat(QImage::Format_RGB32)), Screen,
               [&](const TOffscreenFrame& F) { Want.push_back(F.Screen.ToQImage().convertToFormat(QImage::Format_RGB32)); });
  const QStringList Files = QDir(Dir.path()).entryList({QStringLiteral("f*.png")}, QDir::Files, QDir::Name);
  ASSERT_EQ(Files.size(), static_cast<qsizetype>(Want.size()));
  ASSERT_GT(Files.size(), 10);
  for (int I = 0; I < Files.size(); ++I)
    EXPECT_EQ(QImage(Dir.filePath(Files[I])).convertToFormat(QImage::Format_RGB32), Want[I]) << Files[I].toStdString();
  EXPECT_EQ(Want.back(), QImage(Path("new.png")).convertToFormat(QImage::Format_RGB32));
}

TEST_F(VteRender, StreamsHoldOneFrameAPeriodAndRepeatByteForByte) {
  const QStringList Args{"--class", "TSlideTransition", "Milliseconds=500", Path("old.png"), Path("small.png"), "--raw"};
  const TResult A = Run(Args), B = Run(Args);
  ASSERT_EQ(A.Exit, 0) << A.Err.constData();
  EXPECT_EQ(A.Out.size(), 31 * 64 * 40 * 4) << "half a second at 60 frames a second, both ends included";
  EXPECT_EQ(A.Out, B.Out);
  EXPECT_TRUE(A.Err.contains("small.png is 30x20; scaled to 64x40")) << A.Err.constData();
  const TResult Y = Run({"--class", "TSlideTransition", "Milliseconds=500", "--fps", "30", Path("old.png"),
                         Path("new.png"), "--y4m"});
  ASSERT_EQ(Y.Exit, 0);
  const QByteArray Header("YUV4MPEG2 W64 H40 F30:1 Ip A1:1 C444 XCOLORRANGE=FULL\n");
  EXPECT_TRUE(Y.Out.startsWith(Header));
  EXPECT_EQ(Y.Out.size(), Header.size() + 16 * (6 + 64 * 40 * 3));
}

TEST_F(VteRender, ErrorsAreOneLineWithAnExitCodeAndLeaveNoFiles) {
  struct TCase {
    QStringList Args;
    int Exit;
    const char* Message;
  };
  const TCase Cases[] = {
      {{"--class", "TNoSuchTransition", Path("old.png"), Path("new.png"), "--raw"}, 2,
       "vte-render: unknown transition class 'TNoSuchTransition' (--help lists them)\n"},
      {{"--class", "TWipeTransition", "Direction=tedSideways", Path("old.png"), Path("new.png"), "--raw"}, 2,
       "vte-render: command line: TWipeTransition, key 'Direction': 'tedSideways' is not a TTEEffectDirection value\n"},
      {{"--class", "TWipeTransition", Path("old.png"), Path("missing.png"), "--raw"}, 2,
       "vte-render: cannot read picture '"},
      {{"--class", "TWipeTransition", "--fps", "0", Path("old.png"), Path("new.png"), "--raw"}, 2,
       "vte-render: --fps needs a whole number of at least 1, not '0'\n"},
  };
  for (const TCase& C : Cases) {
    const TResult R = Run(C.Args);
    EXPECT_EQ(R.Exit, C.Exit) << C.Message;
    EXPECT_TRUE(R.Err.startsWith(C.Message)) << R.Err.constData();
    EXPECT_EQ(R.Err.count('\n'), 1) << R.Err.constData();
    EXPECT_TRUE(R.Out.isEmpty());
  }
  // A frame that cannot be written ends the run and takes the frames before it away.
  ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("f00003.png")));
  const TResult R = Run({"--class", "TWipeTransition", "Milliseconds=0", Path("old.png"), Path("new.png"), "-o",
                         Path("f%05d.png")});
  EXPECT_EQ(R.Exit, 1);
  EXPECT_TRUE(R.Err.startsWith("vte-render: cannot write")) << R.Err.constData();
  EXPECT_EQ(QDir(Dir.path()).entryList({QStringLiteral("f*.png")}, QDir::Files).size(), 0);
}

}  // namespace
}  // namespace vte
