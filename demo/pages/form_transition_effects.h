#pragma once
// The page about the effects and the calling order every transition follows.
#include "container/embedded_form.h"

namespace vte::demo {

class TFormTransitionEffects : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormTransitionEffects(QObject* Owner = nullptr);
};

}  // namespace vte::demo
