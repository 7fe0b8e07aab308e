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
  if (!std::getenv("QT_QPA_PLATFORM")) {
    // Test programs run side by side: each writes its own copy and renames it into place, which
    // is atomic, so none reads a half-written file.
    const char* Ratio = std::getenv("VTE_TEST_SCREEN_DPR");
    const QByteArray Dpr = Ratio && *Ratio ? QByteArray(Ratio) : QByteArray("1");
    const QString Config = QDir::tempPath() + QStringLiteral("/vte-offscreen-screen-dpr%1.json").arg(QString::fromLatin1(Dpr));
    const QString Own = Config + QStringLiteral(".") + QString::number(QCoreApplication::applicationPid());
    QFile F(Own);
    if (F.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      F.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":1920,"height":1080,"logicalDpi":96,)"
              R"("logicalBaseDpi":96,"dpr":)" + Dpr + R"(}],"windowFrameMargins":true})");
      F.close();
      std::rename(Own.toLocal8Bit().constData(), Config.toLocal8Bit().constData());
      setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + Config).toLocal8Bit().constData(), 1);
    } else {
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
  }
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    const QString Dir = QDir::tempPath() + QStringLiteral("/vte-test-runtime");
    QDir().mkpath(Dir);
    QFile::setPermissions(Dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", Dir.toLocal8Bit().constData(), 1);
  }
  QApplication App(argc, argv);
  return RUN_ALL_TESTS();
}
