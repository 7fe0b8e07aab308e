#include "pages/form_start.h"

#include "container/effects_panel.h"
#include "page_registry.h"

namespace vte::demo {

TFormStart::TFormStart(QObject* Owner) : TTemplate2Form(Owner) {
  SetPageText(QStringLiteral("What's new in version 3"),
              QStringLiteral("Twelve pages show what version 3 brings. Each page appears through a transition of "
                             "its own and then plays a short demonstration on the panel below. Next and Back move "
                             "between the pages; Main menu leads back to the menu."));
  EffectsPanel1->SetCaption(QStringLiteral("Vantorel Effects 3"));
  LoadStoredTransitions(QStringLiteral("wizard_start"));
}

VTE_DEMO_PAGE(TFormStart)

}  // namespace vte::demo
