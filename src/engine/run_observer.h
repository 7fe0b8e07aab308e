#pragma once
// A program-wide listener to the frames of paced runs. While a run's frame loop holds the thread,
// timers and posted events wait, so nothing else in the program can see a frame on the screen;
// tools that record runs as they happen (the demonstration's scripted tour takes its screenshots
// here) set this listener instead. Unset, it costs one test of an empty function per frame.
#include <functional>

namespace vte {

class TTransitionEffect;

// Called after each frame of a paced run is on the screen, with the share of the animation that
// frame shows (above 0, below 1), and once more with exactly 1 when the pass's final image is on
// the screen. Runs without frames (cuts, reduced motion) are not reported. The listener may read
// the screen but must not start, prepare or unprepare a transition.
using TRunObserver = std::function<void(TTransitionEffect& Effect, double Progress)>;

// The listener in force (empty: none). Set from the GUI thread.
extern TRunObserver RunObserver;

inline void ObserveRun(TTransitionEffect& Effect, double Progress) {
  if (RunObserver) RunObserver(Effect, Progress);
}

}  // namespace vte
