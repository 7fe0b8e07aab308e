// The demonstration program: `vteffects-demo` opens it as a user meets it; `vteffects-demo --tour
// FOLDER` runs the scripted tour and writes its screenshots into FOLDER.
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/application.h"
#include "main_form.h"
#include "tour.h"

namespace {
bool HasDisplay() {
  for (const char* Name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* Value = std::getenv(Name);
    if (Value && *Value) return true;
  }
  return false;
}
}  // namespace

int main(int argc, char** argv) {
  vte::demo::MarkStartupTime("main");
  if (!HasDisplay()) {
    std::fputs("vteffects-demo: no display to open on; `make demo-shots` runs its tour under xvfb-run and "
               "writes screenshots to build/demo-shots/\n",
               stderr);
    return 1;
  }
  vte::TApplication App(argc, argv);
  const QStringList Arguments = App.arguments();
  const int Tour = Arguments.indexOf(QStringLiteral("--tour"));
  if (Tour >= 0) {
    if (Tour + 1 >= Arguments.size()) {
      std::fputs("vteffects-demo: --tour needs the folder to write the screenshots into\n", stderr);
      return 2;
    }
    return vte::demo::RunTour(Arguments.at(Tour + 1));
  }
  try {
    return vte::demo::RunDemoProgram();
  } catch (const std::exception& Error) {
    // The main form could not be made: nothing to show, the reason goes where a user sees it.
    vte::ShowApplicationError(Error.what());
    return 1;
  }
}
