#include "pages/form_contact.h"

#include <QLabel>
#include <QUrl>

#include "page_registry.h"
#include "program_files.h"
#include "pages/text_page.h"

namespace vte::demo {

TFormContact::TFormContact(QObject* Owner) : TFCEmbeddedForm(Owner) {
  SetUpTextPage(this, "FormContact", QStringLiteral("Contact"));
  AddPageTitle(this, QStringLiteral("Contact"));
  AddPageText(this, QStringLiteral(
      "<p>Questions, problems, ideas for a new effect: the team behind Vantorel Effects reads them all.</p> "
      "<p>The quickest way to us is the repository this copy came from: report a problem there, with the "
      "output of <code>make test</code> when something fails, or send a patch. Say which effect and which "
      "settings you used; the transition editor shows them all, and a transition list saved with "
      "<code>SaveToFile</code> tells us exactly what you ran.</p> "
      "<p>Everything else &ndash; what the library holds, how to build it, where to begin reading the code &ndash; "
      "is on the page that came with this program, in the <code>site</code> folder beside it.</p> "), 64, 400);
  // Where the local page is, for a browser of the user's choice; a long folder name wraps after
  // any of its slashes.
  QString Address = QUrl::fromLocalFile(ProgramFile(QStringLiteral("site/index.html"))).toString().toHtmlEscaped();
  Address.replace(QLatin1Char('/'), QStringLiteral("/&#8203;"));
  LabelAddress = AddPageText(this, QStringLiteral("<p><b>The local page:</b><br>%1</p>").arg(Address), 300, 400);
  LabelAddress->setObjectName(QStringLiteral("LabelAddress"));
  LabelAddress->setTextInteractionFlags(Qt::TextSelectableByMouse);
  BitBtnSite = AddSiteButton(this, QStringLiteral("&Open the local page"), "BitBtnSite");
}

VTE_DEMO_PAGE(TFormContact)

}  // namespace vte::demo
