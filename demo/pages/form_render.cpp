#include "pages/form_render.h"

#include "container/effects_panel.h"
#include "page_registry.h"

namespace vte::demo {

TFormRender::TFormRender(QObject* Owner) : TTemplateForm(Owner) {
  SetPageText(QStringLiteral("Controls painted offscreen"),
              QStringLiteral("Transitions take the old and the new look of an area from the controls themselves, "
                             "so they work even where the area is covered by other windows or not on the screen "
                             "yet. This page arrived as a puzzle of 40 × 40 pixel pieces."));
  EffectsPanel1->SetCaption(QStringLiteral("Puzzle"));
  LoadStoredTransitions(QStringLiteral("wizard_render"));
}

VTE_DEMO_PAGE(TFormRender)

}  // namespace vte::demo
