#pragma once
// The page listing the library's main classes and what each is for.
#include "container/embedded_form.h"

namespace vte::demo {

class TFormComponents : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormComponents(QObject* Owner = nullptr);
};

}  // namespace vte::demo
