#include "engine/chrono.h"

#include <utility>

namespace vte {

namespace {
TTEChrono::TClock& Clock() {
  static TTEChrono::TClock C;
  return C;
}
}  // namespace

void TTEChrono::SetClock(TClock C) { Clock() = std::move(C); }

double TTEChrono::Now() {
  if (const auto& C = Clock()) return C();
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void TTEChrono::Start() {
  if (!FStopped && !FPaused) return;
  FStartCount = Now();
  FStopped = false;
  FPaused = false;
}

void TTEChrono::Pause() {
  if (FStopped || FPaused) return;
  FAccumulated = Milliseconds();
  FPaused = true;
  FStartCount = 0;
}

void TTEChrono::Reset() {
  Pause();
  FAccumulated = 0;
  FStopped = true;
}

double TTEChrono::Milliseconds() const {
  if (FStopped || FPaused) return FAccumulated;
  return FAccumulated + (Now() - FStartCount);
}

}  // namespace vte
