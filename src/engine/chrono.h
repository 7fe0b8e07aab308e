#pragma once
// A millisecond chronometer on the steady clock: Start, Pause, Reset and the elapsed time.
// Tests can substitute the clock for every chronometer of the program.
#include <chrono>
#include <functional>

namespace vte {

class TTEChrono {
public:
  using TClock = std::function<double()>;  // milliseconds since an arbitrary, fixed point

  // Starts counting from the current time; does nothing while running.
  void Start();
  // Keeps the time counted so far and stops counting; only while running.
  void Pause();
  // Pause, then zero: a reset chronometer reads 0.
  void Reset();
  double Milliseconds() const;

  bool Stopped() const { return FStopped; }
  bool Paused() const { return FPaused; }

  // The clock every chronometer reads; an empty function restores the steady clock.
  static void SetClock(TClock Clock);
  static double Now();

private:
  double FAccumulated = 0;
  double FStartCount = 0;
  bool FStopped = true;
  bool FPaused = false;
};

}  // namespace vte
