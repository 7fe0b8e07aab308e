#include "pages/form_intro.h"

#include "page_registry.h"
#include "pages/text_page.h"

namespace vte::demo {

TFormIntro::TFormIntro(QObject* Owner) : TFCEmbeddedForm(Owner) {
  SetUpTextPage(this, "FormIntro", QStringLiteral("Introduction"));
  AddPageTitle(this, QStringLiteral("Vantorel Effects"));
  AddPageText(this, QStringLiteral(
      "<p>Vantorel Effects is a C++20 library of animated transition effects for Qt&nbsp;6 Widgets. "
      "When your program changes what a window shows &ndash; another page, a new panel, a hidden list &ndash; "
      "the change does not just snap into place: it is revealed by a wipe, a blend, a roll, growing circles, "
      "falling blocks or any other of fourteen effects, each with styles of its own.</p> "
      "<p>It works with the widgets you already have. A transition covers an area with a window that keeps "
      "showing the old look (<b>Prepare</b>), your code changes the widgets as usual, and <b>Execute</b> "
      "captures the new look and animates from one to the other; <b>UnPrepare</b> releases everything. "
      "Nothing in your widgets has to know about it.</p> "
      "<p>Around the effects the library brings a form container that hosts forms as pages with a history, "
      "background options that paint pictures and translucent glass behind forms and panels, and editors "
      "that let your users pick and tune a transition.</p> "
      "<p>Every entry of the menu on the left opens its page through the navigator's page transition; the "
      "<i>Transitions editor</i> page lets you change it. <i>Transition samples</i> steps through dozens of "
      "stored transitions, and <i>What's new in version 3</i> is a small wizard where every page plays "
      "its own sequence.</p> "));
}

VTE_DEMO_PAGE(TFormIntro)

}  // namespace vte::demo
