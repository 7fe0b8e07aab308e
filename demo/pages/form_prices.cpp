#include "pages/form_prices.h"

#include "page_registry.h"
#include "pages/text_page.h"

namespace vte::demo {

TFormPrices::TFormPrices(QObject* Owner) : TFCEmbeddedForm(Owner) {
  SetUpTextPage(this, "FormPrices", QStringLiteral("Versions and prices"));
  AddPageTitle(this, QStringLiteral("Versions and prices"));
  AddPageText(this, QStringLiteral(
      "<p>This is <b>Vantorel Effects 3.3</b>, and it costs nothing: the library, its editors, this "
      "demonstration and their tests come as source code, free to use in your own programs.</p> "
      "<p>There is one edition. It holds every effect, the form container with its history, the background options, "
      "the transition editors, the stored transition lists, and the tools around them: <code>vte-render</code> renders "
      "any transition between two pictures to files, and the benchmarks measure each effect's cost per frame.</p> "
      "<p>To build it on Debian 12 you need nothing but the sources: <code>make demo</code> installs what the build "
      "needs, builds the library and opens this program; <code>make test</code> runs the tests.</p> "
      "<p>The page that came with the program tells the rest: what is in the box, how to build it and where "
      "to start reading.</p> "), 64, 400);
  BitBtnSite = AddSiteButton(this, QStringLiteral("&Open the product page"), "BitBtnSite");
}

VTE_DEMO_PAGE(TFormPrices)

}  // namespace vte::demo
