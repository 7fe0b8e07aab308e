#include "pages/form_roll.h"

#include "container/effects_panel.h"
#include "page_registry.h"

namespace vte::demo {

TFormRoll::TFormRoll(QObject* Owner) : TTemplate2Form(Owner) {
  SetPageText(QStringLiteral("Roll"),
              QStringLiteral("The old look rolls up like a sheet of paper with a shaded curl, in any of four "
                             "directions, or the new one unrolls over it. The panel below now rolls away to the "
                             "right and comes back rolling to the left, with smaller curls."));
  EffectsPanel1->SetCaption(QStringLiteral("Roll"));
  LoadStoredTransitions(QStringLiteral("wizard_roll"));
}

void TFormRoll::PlayDemo() { PlaySequence({1, 2}); }

VTE_DEMO_PAGE(TFormRoll)

}  // namespace vte::demo
