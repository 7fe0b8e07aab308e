#pragma once
// Runs an effect through the offscreen runner and keeps what every call of the frame callback
// reported: the pass, the frame number, whether it was the pass's final image, the rectangles
// copied to the screen, the effect's own frame unit (when the effect is a TFrameUnitLog) and, for
// small areas, a copy of the screen. Checks that look at every frame as it comes (see
// effect_rules_support.h) plug in as inspectors, which also see the screen as it was before.
#include <functional>
#include <vector>

#include "engine/offscreen_runner.h"
#include "gdi/bitmap.h"

namespace vte {
class TTransitionEffect;
}

namespace vte::test {

struct TRecordedFrame {
  int Pass = 1;
  int Frame = 0;  // 1, 2, ... within the pass; a final image is one more than the frames before it
  bool Final = false;
  std::vector<TRect> Changed;
  int Unit = 0;    // the frame unit the effect drew last (TFrameUnitLog only; 0 otherwise)
  TBitmap Screen;  // empty unless the recording keeps screens
};

// Sees each frame with the screen as the frame before left it (the old look before the first).
using TFrameInspector = std::function<void(const TOffscreenFrame& Frame, const TBitmap& Before)>;

struct TRecordOptions {
  bool KeepScreens = false;            // a copy of the screen with every frame: small areas only
  const TBitmap* Pass2Look = nullptr;  // the intermediate image of a two-pass run
  std::vector<TFrameInspector> Inspectors;
};

class TFrameRecording {
public:
  std::vector<TRecordedFrame> Frames;  // every call, in order
  TBitmap Screen;                      // the screen when the run ended
  // The effect had nothing to animate and ended the run silently (EAbort) before any frame.
  bool EndedSilently = false;

  // The frames of a pass (0: of every pass) before its final image, in order.
  std::vector<const TRecordedFrame*> Shown(int Pass = 0) const;
  int ShownCount(int Pass = 0) const { return static_cast<int>(Shown(Pass).size()); }
  // The final images of a pass (0: of every pass).
  int Finals(int Pass = 0) const;
  // The frame units of the frames shown (TFrameUnitLog effects).
  std::vector<int> Units(int Pass = 0) const;
  // The run ended with the screen showing exactly Look (pixel bits compared, row padding and the
  // fourth byte of pf32bit ignored).
  bool EndsOn(const TBitmap& Look) const;
};

TFrameRecording RecordRun(TTransitionEffect& Effect, const TBitmap& OldLook, const TBitmap& NewLook,
                          const TRecordOptions& Options = {});

// The smallest rectangle holding all of them; empty for none.
TRect UnionOf(const std::vector<TRect>& Rects);

// A copy of Look in the device format, as the runner's screen holds it.
TBitmap OnDevice(const TBitmap& Look);

}  // namespace vte::test
