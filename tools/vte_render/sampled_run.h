#pragma once
// A transition run as a camera at a fixed frame rate would film it, with time counted in frames
// instead of read from the clock: every frame the effect shows takes one frame period, and the
// screen is taken at every period. The effect paces itself against that time exactly as it does on
// a screen, so the same settings give the same frames, byte for byte, on any machine.
#include <functional>

#include "gdi/bitmap.h"

namespace vte {

class TTransitionEffect;

// Runs Effect from Old to New (same size) and hands Take the screen at t = 0, 1/Fps, 2/Fps, ...
// up to and including the final image. An effect with Milliseconds 0 shows every frame it has:
// then each is taken once. Exceptions from the effect or from Take pass through; the program's
// clock is back to the real one either way.
void SampledRun(TTransitionEffect& Effect, const TBitmap& Old, const TBitmap& New, int Fps,
                const std::function<void(const TBitmap& Screen)>& Take);

}  // namespace vte
