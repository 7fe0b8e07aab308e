// The library's effects, registered by name for stored lists and editors. A new effect adds its
// line here; the registry calls this once, on its first use, so every effect is there whatever
// parts of the library a program references. The simple wipe and the shake stay out on purpose:
// they show how a program makes its own effects, and lists and editors do not offer them.
#include "effects/bitmap_mask.h"
#include "effects/block.h"
#include "effects/circle.h"
#include "effects/diagonal.h"
#include "effects/drip.h"
#include "effects/fuse.h"
#include "effects/interlaced.h"
#include "effects/push.h"
#include "effects/radial.h"
#include "effects/roll.h"
#include "effects/slide.h"
#include "effects/waterfall.h"
#include "effects/wipe.h"
#include "engine/blend_transition.h"
#include "engine/transition_registry.h"

namespace vte {

void RegisterBuiltInTransitions() {
  RegisterTransition(&TBlendTransition::staticMetaObject);
  RegisterTransition(&TBmpMaskTransition::staticMetaObject);
  RegisterTransition(&TBlockTransition::staticMetaObject);
  RegisterTransition(&TCircleTransition::staticMetaObject);
  RegisterTransition(&TDiagonalTransition::staticMetaObject);
  RegisterTransition(&TDripTransition::staticMetaObject);
  RegisterTransition(&TFuseTransition::staticMetaObject);
  RegisterTransition(&TInterlacedTransition::staticMetaObject);
  RegisterTransition(&TPushTransition::staticMetaObject);
  RegisterTransition(&TRadialTransition::staticMetaObject);
  RegisterTransition(&TRollTransition::staticMetaObject);
  RegisterTransition(&TSlideTransition::staticMetaObject);
  RegisterTransition(&TWaterfallTransition::staticMetaObject);
  RegisterTransition(&TWipeTransition::staticMetaObject);
}

}  // namespace vte
