#include "engine/reduced_motion.h"

#include <cstdlib>
#include <cstring>

namespace vte {

namespace {

enum class TSetting { Environment, On, Off };
TSetting GSetting = TSetting::Environment;

bool EnvironmentAsksForIt() {
  const char* Value = std::getenv("VTE_REDUCED_MOTION");
  return Value && *Value && std::strcmp(Value, "0") != 0;
}

}  // namespace

// The environment is read on every run, not once: it is one look-up a transition, and a test or a
// launcher that sets it late is still heard.
bool ReducedMotion() {
  switch (GSetting) {
    case TSetting::On: return true;
    case TSetting::Off: return false;
    case TSetting::Environment: break;
  }
  return EnvironmentAsksForIt();
}

void SetReducedMotion(bool On) { GSetting = On ? TSetting::On : TSetting::Off; }

void ResetReducedMotion() { GSetting = TSetting::Environment; }

}  // namespace vte
