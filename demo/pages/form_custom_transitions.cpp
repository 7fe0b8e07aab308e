#include "pages/form_custom_transitions.h"

#include "page_registry.h"
#include "pages/text_page.h"

namespace vte::demo {

TFormCustomTransitions::TFormCustomTransitions(QObject* Owner) : TFCEmbeddedForm(Owner) {
  SetUpTextPage(this, "FormCustomTransitions", QStringLiteral("Custom transitions"));
  AddPageTitle(this, QStringLiteral("Custom transitions"));
  AddPageText(this, QStringLiteral(
      "<p>An effect of your own needs only the drawing. Derive from <b>TTimedTransitionEffect</b> and override two functions:</p> "
      "<ul style='margin-left:-20px'> "
      "<li><code>Initialize(Data, Frames)</code> sets up the run and says how many frames the animation has;</li> "
      "<li><code>ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame)</code> draws from the new look "
      "(<code>Data.DstBmp</code>) onto <code>Data.Canvas()</code> and adds what it changed to <code>UpdateRect</code>.</li> "
      "</ul> "
      "<p>Pacing, the capture of both looks, the render window, two-pass runs and aborting are the base class's work. "
      "An effect that wants a loop of its own derives from <b>TTransitionEffect</b> and overrides <code>DoExecute</code>.</p> "
      "<p>Give the class a <code>Q_CLASSINFO(\"Description\", ...)</code> and a <code>Q_INVOKABLE</code> constructor taking "
      "the owner; <code>RegisterTransition(&amp;TMyTransition::staticMetaObject)</code> then lets stored lists and the "
      "transition editor create it by name.</p> "
      "<p>The two pages below show complete examples compiled into this program: <i>Simple wipe</i>, a timed effect in "
      "about sixty lines, and <i>Shake</i>, which runs its own loop. The <i>Source code</i> tab shows their code, "
      "<i>Execute</i> runs them.</p> "));
}

VTE_DEMO_PAGE(TFormCustomTransitions)

}  // namespace vte::demo
