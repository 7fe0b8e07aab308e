#pragma once
// One sample page of the transition samples: the page's own background picture with a text panel
// along its top that names the transition that brought the page in.
#include "container/embedded_form.h"

namespace vte {
class TEffectsPanel;
}

namespace vte::demo {

class TSampTrForm1 : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TSampTrForm1(QObject* Owner = nullptr);

  TEffectsPanel* EffectsPanelText;
};

}  // namespace vte::demo
