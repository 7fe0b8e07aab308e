#include "pages/form_bk_options.h"

#include "page_registry.h"
#include "pages/text_page.h"

namespace vte::demo {

TFormBkOptions::TFormBkOptions(QObject* Owner) : TFCEmbeddedForm(Owner) {
  SetUpTextPage(this, "FormBkOptions", QStringLiteral("Background options"));
  AddPageTitle(this, QStringLiteral("Background options"));
  AddPageText(this, QStringLiteral(
      "<p>Form containers, embedded forms, effects panels and group boxes, and forms shown through "
      "<b>TFormTransitions</b> paint their surface through <b>TFCBackgroundOptions</b> instead of a plain colour.</p> "
      "<ul style='margin-left:-20px'> "
      "<li><b>Picture</b> with <code>PictureMode</code> fcpmCenter, fcpmCenterStretch, fcpmStretch or fcpmTile, "
      "and <code>PictureTranspColor</code> for a transparent colour.</li> "
      "<li><b>Glass</b>: <code>GlassColor</code> laid over everything with <code>GlassTranslucency</code> "
      "from 0 (the glass colour alone) to 255 (no glass).</li> "
      "<li><b>Background form</b>: <code>SetBkgrndForm(FormClass)</code> paints the look of a hidden form, controls and "
      "all, behind the control.</li> "
      "<li><code>Opaque</code> false lets what lies below show through.</li> "
      "</ul> "
      "<p>Each setting can come from the nearest parent with options: <code>ParentPicture</code>, <code>ParentGlass</code>, "
      "<code>ParentOpaque</code>, <code>ParentBkgrndForm</code>. One picture then spans nested panels seamlessly, each "
      "showing its own part. This page does exactly that: it shows the navigator's picture through a glass of its own.</p> "
      "<p>Open <i>Background samples</i> to restyle the whole window.</p> "));
}

VTE_DEMO_PAGE(TFormBkOptions)

}  // namespace vte::demo
