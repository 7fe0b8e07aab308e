#include "vte_render/sampled_run.h"

#include <cmath>

#include "engine/chrono.h"
#include "engine/offscreen_runner.h"
#include "engine/transition_effect.h"

namespace vte {

void SampledRun(TTransitionEffect& Effect, const TBitmap& Old, const TBitmap& New, int Fps,
                const std::function<void(const TBitmap& Screen)>& Take) {
  const double Period = 1000.0 / Fps;
  // Reads move time on by a hair, so that an effect's busy wait ends; frames move it by a period.
  double Now = 0;
  long long Next = 1;  // the number of the next frame to take; frame 0 is the old look
  TTEChrono::SetClock([&Now] { return Now += 1e-6; });
  struct TRealClock {
    ~TRealClock() { TTEChrono::SetClock({}); }
  } RealClock;

  Take(Old);
  TBitmap Screen;
  RunOffscreen(Effect, Old, New, Screen, [&](const TOffscreenFrame& Frame) {
    // Periods that went by in a wait showed the screen as it is now, a frame late at most.
    while (Next * Period + Period <= Now) {
      Take(Frame.Screen);
      ++Next;
    }
    Now = std::max(Now, Next * Period);
    Take(Frame.Screen);
    ++Next;
  });
}

}  // namespace vte
