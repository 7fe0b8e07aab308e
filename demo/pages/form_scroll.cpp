#include "pages/form_scroll.h"

#include "container/effects_panel.h"
#include "page_registry.h"

namespace vte::demo {

TFormScroll::TFormScroll(QObject* Owner) : TTemplateForm(Owner) {
  SetPageText(QStringLiteral("Drip"),
              QStringLiteral("This page came in through the drip transition: the new look runs down over the old "
                             "one like paint, column after column. Drip runs in four directions, and backwards "
                             "too."));
  EffectsPanel1->SetCaption(QStringLiteral("Drip"));
  LoadStoredTransitions(QStringLiteral("wizard_scroll"));
}

VTE_DEMO_PAGE(TFormScroll)

}  // namespace vte::demo
