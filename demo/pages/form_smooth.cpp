#include "pages/form_smooth.h"

#include "container/effects_panel.h"
#include "page_registry.h"

namespace vte::demo {

TFormSmooth::TFormSmooth(QObject* Owner) : TTemplateForm(Owner) {
  SetPageText(QStringLiteral("Smooth edges"),
              QStringLiteral("Circles, diagonals, interlaced bands and radial wedges can soften their edges over "
                             "up to six levels of smoothing. The panel below runs through eleven of them, each "
                             "with another shape and level."));
  EffectsPanel1->SetCaption(QStringLiteral("Smooth edges"));
  // An odd number of toggles: the panel comes in with the first and is there at the end.
  EffectsPanel1->hide();
  LoadStoredTransitions(QStringLiteral("wizard_smooth"));
}

void TFormSmooth::PlayDemo() { PlaySequence({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}); }

VTE_DEMO_PAGE(TFormSmooth)

}  // namespace vte::demo
