#include "tour.h"

#include <cstdio>

namespace vte::demo {

// Replaced by the tour itself; until then `--tour` says plainly that it cannot run.
int RunTour(const QString&) {
  std::fputs("vteffects-demo: the scripted tour is not built into this program\n", stderr);
  return 2;
}

}  // namespace vte::demo
