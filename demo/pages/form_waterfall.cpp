#include "pages/form_waterfall.h"

#include "container/effects_panel.h"
#include "engine/transition_effect.h"
#include "page_registry.h"

namespace vte::demo {

TFormWaterfall::TFormWaterfall(QObject* Owner) : TTemplateForm(Owner) {
  SetPageText(QStringLiteral("Waterfall"),
              QStringLiteral("The waterfall lets the new look fall into place column by column. It came down over "
                             "this page; on the panel it now runs up, to the left and to the right."));
  EffectsPanel1->SetCaption(QStringLiteral("Waterfall"));
  // Three toggles: the panel comes in with the first and is there at the end.
  EffectsPanel1->hide();
  LoadStoredTransitions(QStringLiteral("wizard_waterfall"));
}

void TFormWaterfall::PlayDemo() {
  // The page's own transition once more in each of the other three directions.
  for (const TTEEffectDirection Direction : {tedUp, tedLeft, tedRight}) {
    Transitions(0)->SetDirection(Direction);
    TogglePanel(Transitions(0));
  }
}

VTE_DEMO_PAGE(TFormWaterfall)

}  // namespace vte::demo
