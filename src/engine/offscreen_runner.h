#pragma once
// Runs an effect's passes on two bitmaps with no window: the render target is a bitmap. Tests,
// benchmarks and the command-line renderer use it; it goes through the same frame loop and
// screen copies (UpdateScreen) as a run on the screen.
#include <functional>
#include <vector>

#include "gdi/bitmap.h"

namespace vte {

class TTransitionEffect;

struct TOffscreenFrame {
  int Pass;                    // 1 or 2
  int Frame;                   // 1, 2, ... within the pass; the final image of a pass is one more
  bool Final;                  // the final image of the pass
  std::vector<TRect> Changed;  // what was copied to Screen
  const TBitmap& Screen;
};

// Screen gets the old look first (device format, size of the looks), then the passes the effect's
// settings ask for run (the intermediate image of a two-pass run is Pass2Look when given, else a
// plain bitmap of Pass2Options.SolidColor, clNone meaning clBtnFace). OnFrame is called after each
// frame copied to Screen and once for each final image. Exceptions from the effect pass through
// (the effect is cleaned up first).
void RunOffscreen(TTransitionEffect& Effect, const TBitmap& OldLook, const TBitmap& NewLook,
                  TBitmap& Screen, const std::function<void(const TOffscreenFrame&)>& OnFrame = {},
                  const TBitmap* Pass2Look = nullptr);

}  // namespace vte
