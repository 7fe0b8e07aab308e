#include "pages/form_container_intro.h"

#include "page_registry.h"
#include "pages/text_page.h"

namespace vte::demo {

TFormContainerIntro::TFormContainerIntro(QObject* Owner) : TFCEmbeddedForm(Owner) {
  SetUpTextPage(this, "FormContainerIntro", QStringLiteral("FormContainer"));
  AddPageTitle(this, QStringLiteral("The form container"));
  AddPageText(this, QStringLiteral(
      "<p><b>TFormContainer</b> is a scroll area that hosts forms as its pages. <code>CreateForm(&amp;TMyPage::staticMetaObject)</code> "
      "creates a hidden form inside it, and <code>ShowForm(Form, DestroyCurrent, Align, BackgroundOptions, Transition)</code> "
      "shows it, hiding or destroying the form before it &ndash; through a transition when you pass one.</p> "
      "<p>Pages derive from <b>TFCEmbeddedForm</b>: a form without border whose <code>Alignment</code> "
      "(fcfaCenter, fcfaClient, fcfaTopLeft, ...) says where the container puts it. A page's menu bar is merged "
      "into the parent form's menu while the page is shown, and its actions join the parent form's.</p> "
      "<p>Every form shown gets an entry in the container's history. <code>GoBack</code> and "
      "<code>ShowHistoryForm(Index)</code> return to an earlier page, <code>LRUFormCapacity</code> bounds the list, and with "
      "<code>SaveLRUDestroyedForms</code> a destroyed page keeps its entry: it is created again when it is shown, and its "
      "<code>OnGetExtraData</code> / <code>OnSetExtraData</code> events save and restore its state.</p> "
      "<p>This demonstration is built this way: the main window's container hosts the navigator, and the navigator's own "
      "container shows the page you are reading. <i>LRU forms</i> shows its history; <i>Power</i> runs a whole navigator "
      "inside a page.</p> "));
}

VTE_DEMO_PAGE(TFormContainerIntro)

}  // namespace vte::demo
