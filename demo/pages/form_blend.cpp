#include "pages/form_blend.h"

#include "container/effects_panel.h"
#include "page_registry.h"

namespace vte::demo {

TFormBlend::TFormBlend(QObject* Owner) : TTemplate2Form(Owner) {
  SetPageText(QStringLiteral("Alpha blend"),
              QStringLiteral("The alpha blend fades the old look into the new one. Its pixel routines use SSE2 or "
                             "AVX2 where the processor has them, with results identical to the bit to the plain "
                             "ones, in every pixel format."));
  EffectsPanel1->SetCaption(QStringLiteral("Alpha blend"));
  LoadStoredTransitions(QStringLiteral("wizard_blend"));
}

VTE_DEMO_PAGE(TFormBlend)

}  // namespace vte::demo
