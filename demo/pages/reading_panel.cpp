#include "reading_panel.h"

#include "container/effects_panel.h"

namespace vte::demo {

TEffectsPanel* MakeReadingPanel(QWidget* Page, const QRect& Bounds, const char* Name) {
  auto* Panel = new TEffectsPanel(Page);
  Panel->setObjectName(QLatin1String(Name));
  Panel->setGeometry(Bounds);
  Panel->SetBevelOuter(bvNone);
  // The page's picture under its own glass; a background form (the shaded style) would show
  // through as sharply as on the page itself, so the panel has its plain colour there instead.
  Panel->SetColor(clWhite);
  TFCBackgroundOptions* Options = Panel->BackgroundOptions();
  Options->SetParentOpaque(true);
  Options->SetParentPicture(true);
  Options->SetGlassColor(clWhite);
  Options->SetGlassTranslucency(72);
  return Panel;
}

}  // namespace vte::demo
