// The main of every test program: an application object on the offscreen platform (text and
// widgets need one), then GoogleTest. The offscreen screen is 1920x1080, so that screen copies of
// full-HD areas work; top-level windows keep the platform's frame margins, so that the non-client
// area exists. VTE_TEST_SCREEN_DPR gives the screen a device pixel ratio other than 1 (the high-DPI
// tests run with 2 and with 1.5).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Each test program writes the screen's configuration to a file of its own, gone when it ends:
  // programs run side by side, and one shared file was seen missing for a moment by one of them.
  QString OwnConfig;
  if (!std::getenv("QT_QPA_PLATFORM")) {
    const char* Ratio = std::getenv("VTE_TEST_SCREEN_DPR");
    const QByteArray Dpr = Ratio && *Ratio ? QByteArray(Ratio) : QByteArray("1");
    OwnConfig = QDir::tempPath() + QStringLiteral("/vte-offscreen-screen-dpr%1.json.%2")
                                       .arg(QString::fromLatin1(Dpr))
                                       .arg(QCoreApplication::applicationPid());
    QFile F(OwnConfig);
    if (F.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      F.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":1920,"height":1080,"logicalDpi":96,)"
              R"("logicalBaseDpi":96,"dpr":)" + Dpr + R"(}],"windowFrameMargins":true})");
      F.close();
      setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + OwnConfig).toLocal8Bit().constData(), 1);
    } else {
      OwnConfig.clear();
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
  }
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    const QString Dir = QDir::tempPath() + QStringLiteral("/vte-test-runtime");
    QDir().mkpath(Dir);
    QFile::setPermissions(Dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", Dir.toLocal8Bit().constData(), 1);
  }
  int Result = 0;
  {
    QApplication App(argc, argv);
    Result = RUN_ALL_TESTS();
  }
  if (!OwnConfig.isEmpty()) QFile::remove(OwnConfig);
  return Result;
}
