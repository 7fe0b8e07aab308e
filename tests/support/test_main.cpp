// The main of every test program: an application object on the offscreen platform (text and
// widgets need one), then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <cstdlib>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    const QString Dir = QDir::tempPath() + QStringLiteral("/vte-test-runtime");
    QDir().mkpath(Dir);
    QFile::setPermissions(Dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", Dir.toLocal8Bit().constData(), 1);
  }
  QApplication App(argc, argv);
  return RUN_ALL_TESTS();
}
