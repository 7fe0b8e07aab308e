#include "pages/form_blocks.h"

#include "container/effects_panel.h"
#include "page_registry.h"

namespace vte::demo {

TFormBlocks::TFormBlocks(QObject* Owner) : TTemplate2Form(Owner) {
  SetPageText(QStringLiteral("Blocks"),
              QStringLiteral("Blocks of any size, from single pixels to large tiles, change in many orders, one at"
                             " a time or two at a time with Dual. The panel leaves through 10 × 10 pixel blocks "
                             "and comes back with a slide."));
  EffectsPanel1->SetCaption(QStringLiteral("Blocks"));
  LoadStoredTransitions(QStringLiteral("wizard_blocks"));
}

void TFormBlocks::PlayDemo() { PlaySequence({1, 2}); }

VTE_DEMO_PAGE(TFormBlocks)

}  // namespace vte::demo
