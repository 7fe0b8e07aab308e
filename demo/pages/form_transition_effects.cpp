#include "pages/form_transition_effects.h"

#include "page_registry.h"
#include "pages/text_page.h"

namespace vte::demo {

TFormTransitionEffects::TFormTransitionEffects(QObject* Owner) : TFCEmbeddedForm(Owner) {
  SetUpTextPage(this, "FormTransitionEffects", QStringLiteral("Transition effects"));
  AddPageTitle(this, QStringLiteral("Transition effects"));
  AddPageText(this, QStringLiteral(
      "<p>Alpha blend, bitmap mask, blocks, circle, diagonal, drip, fuse, interlaced, push, radial, roll, slide, "
      "waterfall, wipe and the flicker-free cut. Timed effects run for <code>Milliseconds</code> whatever the "
      "machine: frames are measured and the animation keeps its pace. <code>Reversed</code>, <code>Direction</code> "
      "(tedRight, tedDown, tedIn, tedOut, ...) and the styles of each effect change its look; "
      "<code>PassSetting</code> teTwoPasses goes through an intermediate look first.</p> "
      "<p>Every change follows the same order:</p> "
      "<pre style='font-size:12px'>Wipe-&gt;Prepare(Panel, Rect(0, 0, W, H));  // cover the area\n"
      "try {\n"
      "  Label-&gt;setText(\"New text\");           // change the widgets\n"
      "  if (Wipe-&gt;Prepared()) Wipe-&gt;Execute();\n"
      "} catch (...) { Wipe-&gt;UnPrepare(); throw; }\n"
      "Wipe-&gt;UnPrepare();</pre> "
      "<p><code>ChangeWithTransition(Wipe, Panel, [&amp;] { ... })</code> does the same in one call. The events "
      "OnStartTransition and OnAfterTransition tell you when a run starts and ends, AbortOnClick and AbortOnEscape "
      "let the user cut it short, and with reduced motion on (<code>SetReducedMotion</code>, or VTE_REDUCED_MOTION "
      "in the environment) every transition becomes a single flicker-free cut.</p> "));
}

VTE_DEMO_PAGE(TFormTransitionEffects)

}  // namespace vte::demo
