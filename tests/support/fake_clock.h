#pragma once
// A substitute for the chronometers' clock while it exists. Time moves only when a test says so
// (Advance) and, if asked, by a small amount on every reading, so that busy waits end. A clock
// that is read a million times without moving starts moving by itself: a loop waiting on it then
// ends with wrong times (and a failing test) instead of hanging.
#include "engine/chrono.h"

namespace vte::test {

class TFakeClock {
public:
  explicit TFakeClock(double PerRead = 0) : FPerRead(PerRead) {
    TTEChrono::SetClock([this] { return Read(); });
  }
  ~TFakeClock() { TTEChrono::SetClock({}); }
  TFakeClock(const TFakeClock&) = delete;
  TFakeClock& operator=(const TFakeClock&) = delete;

  void Advance(double Milliseconds) {
    FNow += Milliseconds;
    FIdleReads = 0;
  }
  double Now() const { return FNow; }
  void SetPerRead(double PerRead) { FPerRead = PerRead; }

private:
  double Read() {
    FNow += FPerRead;
    if (FPerRead == 0 && ++FIdleReads > 1'000'000) FNow += 1;
    return FNow;
  }

  double FNow = 5000;  // any fixed origin: the chronometers only use differences
  double FPerRead;
  long FIdleReads = 0;
};

}  // namespace vte::test
