#pragma once
// The page about TFormContainer: pages, transitions between them, and the history.
#include "container/embedded_form.h"

namespace vte::demo {

class TFormContainerIntro : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormContainerIntro(QObject* Owner = nullptr);
};

}  // namespace vte::demo
