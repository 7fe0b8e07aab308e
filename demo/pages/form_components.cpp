#include "pages/form_components.h"

#include "page_registry.h"
#include "pages/text_page.h"

namespace vte::demo {

TFormComponents::TFormComponents(QObject* Owner) : TFCEmbeddedForm(Owner) {
  SetUpTextPage(this, "FormComponents", QStringLiteral("Components"));
  AddPageTitle(this, QStringLiteral("Components"));
  AddPageText(this, QStringLiteral(
      "<p>Everything lives in namespace <code>vte</code> and links from one library, <code>vteffects</code>.</p> "
      "<ul style='margin-left:-20px'> "
      "<li><b>TTransitionEffect</b> &ndash; the base of every effect and its run sequence: Prepare, Execute, UnPrepare. "
      "<b>TWipeTransition</b>, <b>TBlendTransition</b>, <b>TRollTransition</b>, <b>TRadialTransition</b> and the other effects derive from it.</li> "
      "<li><b>TTransitionList</b> &ndash; owns a set of transitions and stores them as JSON (LoadFromFile, SaveToFile).</li> "
      "<li><b>TFormContainer</b> &ndash; hosts forms as pages, changes them through a transition and keeps their history.</li> "
      "<li><b>TFCEmbeddedForm</b> &ndash; the form designed to live in a container, with its own background options.</li> "
      "<li><b>TFormTransitions</b> &ndash; shows a top-level form through a transition and paints its background.</li> "
      "<li><b>TFCBackgroundOptions</b> &ndash; pictures, glass and background forms behind containers, forms and panels.</li> "
      "<li><b>TEffectsPanel</b>, <b>TEffectsGroupBox</b> &ndash; a panel and a group box painted through background options.</li> "
      "<li><b>TTransitionEditor</b> and <b>EditTransitionModal</b> &ndash; let the user choose a transition and its settings, with a preview.</li> "
      "<li><b>TApplication</b> &ndash; the application object: an error raised in a handler is shown to the user instead of ending the program.</li> "
      "</ul> "));
}

VTE_DEMO_PAGE(TFormComponents)

}  // namespace vte::demo
