// vte-demo-data FOLDER: writes the demonstration's data files into FOLDER (the program's folder).
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <functional>

#include "demo_data.h"

using namespace vte::demo::data;

int main(int Argc, char** Argv) {
  // Fonts and painting need an application object, never a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication App(Argc, Argv);
  if (Argc != 2) {
    std::fprintf(stderr, "usage: vte-demo-data FOLDER\n");
    return 2;
  }
  const QDir Folder(QString::fromLocal8Bit(Argv[1]));
  if (!Folder.exists() && !QDir().mkpath(Folder.path())) {
    std::fprintf(stderr, "vte-demo-data: cannot create %s\n", Argv[1]);
    return 1;
  }
  const struct {
    const char* Name;
    std::function<QImage()> Make;
  } Pictures[] = {{"Box.jpg", BoxPicture},         {"Stone.jpg", StoneTexture}, {"Wood.jpg", WoodTexture},
                  {"Strokes.jpg", StrokesTexture}, {"Wall.jpg", WallTexture},   {"VEff.jpg", LogoPicture},
                  {"gradient.jpg", GradientPicture}, {"Contact.jpg", ContactPicture},
                  {"twirl.bmp", TwirlMask},        {"wiper.bmp", WiperMask}};
  for (const auto& Picture : Pictures) {
    const QString Path = Folder.filePath(QString::fromLatin1(Picture.Name));
    if (!Picture.Make().save(Path, nullptr, 92)) {
      std::fprintf(stderr, "vte-demo-data: cannot write %s\n", qPrintable(Path));
      return 1;
    }
  }
  QFile Chime(Folder.filePath(QStringLiteral("welcome.wav")));
  const QByteArray Wave = WelcomeChime();
  if (!Chime.open(QIODevice::WriteOnly) || Chime.write(Wave) != Wave.size()) {
    std::fprintf(stderr, "vte-demo-data: cannot write %s\n", qPrintable(Chime.fileName()));
    return 1;
  }
  return 0;
}
