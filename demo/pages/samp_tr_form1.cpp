#include "pages/samp_tr_form1.h"

#include <QFont>

#include "container/effects_panel.h"
#include "page_registry.h"

namespace vte::demo {

TSampTrForm1::TSampTrForm1(QObject* Owner) : TFCEmbeddedForm(Owner) {
  setObjectName(QStringLiteral("SampTrForm1"));
  SetCaption(QStringLiteral("Sample"));
  SetClientWidth(501);
  SetClientHeight(452);
  // The samples' container is exactly this size; client alignment keeps the picture edge to edge
  // should it ever differ.
  SetAlignment(fcfaClient);

  EffectsPanelText = new TEffectsPanel(this);
  EffectsPanelText->setObjectName(QStringLiteral("EffectsPanelText"));
  EffectsPanelText->setGeometry(16, 16, 469, 44);
  EffectsPanelText->SetCaption(QStringLiteral("Text"));
  EffectsPanelText->SetBevelOuter(bvNone);
  QFont Font(QStringLiteral("Arial"));
  Font.setPixelSize(20);
  Font.setBold(true);
  EffectsPanelText->setFont(Font);
  TFCBackgroundOptions* Options = EffectsPanelText->BackgroundOptions();
  Options->SetParentPicture(true);
  Options->SetGlassColor(14941740);
  Options->SetGlassTranslucency(32);
}

VTE_DEMO_PAGE(TSampTrForm1)

}  // namespace vte::demo
