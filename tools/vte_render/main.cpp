// vte-render: any registered transition between two pictures, as numbered PNG files or as a raw
// or YUV4MPEG2 stream for a video encoder. Errors are one line on standard error with a non-zero
// exit: 2 for a command line it cannot use, 1 for anything that fails while rendering.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QJsonObject>
#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

#include "engine/property_store.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "engine/transition_registry.h"
#include "gdi/random.h"
#include "vte_render/frame_sink.h"
#include "vte_render/render_options.h"
#include "vte_render/sampled_run.h"

using namespace vte;

namespace {

QImage ReadPicture(const QString& Name) {
  QImageReader Reader(Name);
  QImage Image = Reader.read();
  if (Image.isNull())
    throw EUsageError(QStringLiteral("cannot read picture '%1': %2").arg(Name, Reader.errorString()).toStdString());
  return Image.convertToFormat(QImage::Format_RGB32);
}

// Name=Value as a stored value: numbers and true/false as such, anything else (enumeration names
// among it) as text; the property store checks it against the property.
QJsonObject SettingsObject(const QStringList& Settings) {
  QJsonObject O;
  for (const QString& S : Settings) {
    const QString Name = S.section(QLatin1Char('='), 0, 0), Text = S.section(QLatin1Char('='), 1);
    bool IsNumber = false;
    const double Number = Text.toDouble(&IsNumber);
    if (IsNumber)
      O.insert(Name, Number);
    else if (Text == QLatin1String("true") || Text == QLatin1String("false"))
      O.insert(Name, Text == QLatin1String("true"));
    else
      O.insert(Name, Text);
  }
  return O;
}

}  // namespace

int main(int argc, char** argv) {
  // No window is shown: the offscreen platform needs no display, and a private runtime folder
  // keeps Qt from warning on every run.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    const QByteArray Runtime = QDir::tempPath().toLocal8Bit() + "/vte-render-runtime";
    QDir().mkpath(QString::fromLocal8Bit(Runtime));
    QFile::setPermissions(QString::fromLocal8Bit(Runtime), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", Runtime.constData(), 1);
  }
  QApplication App(argc, argv);
  std::unique_ptr<TFrameSink> Sink;
  try {
    const TRenderOptions O = ParseRenderOptions(App.arguments().mid(1));
    if (O.Help) {
      std::fputs(RenderHelpText().toLocal8Bit().constData(), stdout);
      return 0;
    }
    RandSeed = O.Seed;
    TTransitionList List;
    std::unique_ptr<TTransitionEffect> Made;
    TTransitionEffect* Effect = nullptr;
    if (!O.ListFile.isEmpty()) {
      List.LoadFromFile(O.ListFile);
      if (O.ListIndex >= List.Count())
        throw EUsageError(QStringLiteral("'%1' holds %2 transitions; there is no entry %3")
                              .arg(O.ListFile).arg(List.Count()).arg(O.ListIndex).toStdString());
      Effect = List.Transitions(O.ListIndex);
    } else {
      Made.reset(CreateTransition(O.ClassName));
      if (!Made)
        throw EUsageError(QStringLiteral("unknown transition class '%1' (--help lists them)").arg(O.ClassName).toStdString());
      Effect = Made.get();
    }
    try {
      PropertiesFromJson(*Effect, SettingsObject(O.Settings), QStringLiteral("command line"));
    } catch (const std::runtime_error& E) {
      throw EUsageError(E.what());
    }

    QImage Old = ReadPicture(O.OldPicture), New = ReadPicture(O.NewPicture);
    const QSize Size = O.Width > 0 ? QSize(O.Width, O.Height) : Old.size();
    for (auto [Image, Name] : {std::pair{&Old, &O.OldPicture}, std::pair{&New, &O.NewPicture}}) {
      if (Image->size() == Size) continue;
      std::fprintf(stderr, "vte-render: %s is %dx%d; scaled to %dx%d\n", qPrintable(*Name), Image->width(),
                   Image->height(), Size.width(), Size.height());
      *Image = Image->scaled(Size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    const TBitmap OldLook = TBitmap::FromQImage(Old), NewLook = TBitmap::FromQImage(New);

    Sink = TFrameSink::Make(O, Size.width(), Size.height());
    const bool Progress = isatty(STDERR_FILENO);
    int Frames = 0;
    SampledRun(*Effect, OldLook, NewLook, O.Fps, [&](const TBitmap& Screen) {
      Sink->Write(Screen);
      if (Progress && ++Frames % 10 == 0) std::fprintf(stderr, "\rvte-render: %d frames", Frames);
    });
    std::fflush(stdout);
    if (Progress) std::fprintf(stderr, "\rvte-render: %d frames\n", Frames);
    return 0;
  } catch (const EUsageError& E) {
    if (Sink) Sink->Discard();
    std::fprintf(stderr, "vte-render: %s\n", E.what());
    return 2;
  } catch (const std::exception& E) {
    if (Sink) Sink->Discard();
    std::fprintf(stderr, "vte-render: %s\n", E.what());
    return 1;
  }
}
