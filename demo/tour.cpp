#include "tour.h"

#include <QPointer>
#include <cstdio>

#include "container/form.h"
#include "tour_runner.h"
#include "tour_script.h"

namespace vte::demo {

int RunTour(const TTourOptions& Options) {
  QPointer<TForm> MainForm;
  int Code = 0;
  int Shots = 0;
  {
    TTourRunner Tour(Options.Folder);
    AddProgramTour(Tour, MainForm);
    Code = Tour.Run(Options.MaxSteps);
    Shots = static_cast<int>(Tour.Shots().size());
  }
  delete MainForm;
  if (Code == 0)
    std::printf("tour: done, %d screenshots in %s\n", Shots, qPrintable(Options.Folder));
  else
    std::fprintf(stderr, "tour: failed (%d screenshots in %s)\n", Shots, qPrintable(Options.Folder));
  return Code;
}

int RunTour(const QString& Folder) { return RunTour(TTourOptions{Folder}); }

}  // namespace vte::demo
