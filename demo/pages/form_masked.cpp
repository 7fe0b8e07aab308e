#include "pages/form_masked.h"

#include "container/effects_panel.h"
#include "page_registry.h"

namespace vte::demo {

TFormMasked::TFormMasked(QObject* Owner) : TTemplateForm(Owner) {
  SetPageText(QStringLiteral("Masked transitions"),
              QStringLiteral("Diagonals, blocks, circles and radial wedges are drawn through a mask that grows "
                             "frame by frame; push and slide move the pictures themselves. Each of them now runs "
                             "over the panel below."));
  EffectsPanel1->SetCaption(QStringLiteral("Masked transitions"));
  // An odd number of toggles: the panel comes in with the first and is there at the end.
  EffectsPanel1->hide();
  LoadStoredTransitions(QStringLiteral("wizard_masked"));
}

void TFormMasked::PlayDemo() { PlaySequence({1, 2, 3, 4, 5}); }

VTE_DEMO_PAGE(TFormMasked)

}  // namespace vte::demo
