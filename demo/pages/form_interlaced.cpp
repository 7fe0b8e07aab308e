#include "pages/form_interlaced.h"

#include "container/effects_panel.h"
#include "page_registry.h"

namespace vte::demo {

TFormInterlaced::TFormInterlaced(QObject* Owner) : TTemplateForm(Owner) {
  SetPageText(QStringLiteral("Interlaced"),
              QStringLiteral("Interlaced transitions change the area in alternate bands, like the lines of a "
                             "television picture: across, down, or both at once, with or without smoothing."));
  EffectsPanel1->SetCaption(QStringLiteral("Interlaced"));
  LoadStoredTransitions(QStringLiteral("wizard_interlaced"));
}

void TFormInterlaced::PlayDemo() { PlaySequence({1, 2}); }

VTE_DEMO_PAGE(TFormInterlaced)

}  // namespace vte::demo
