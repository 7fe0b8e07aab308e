#pragma once
// The page about background options: pictures, glass, background forms and inheritance.
#include "container/embedded_form.h"

namespace vte::demo {

class TFormBkOptions : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormBkOptions(QObject* Owner = nullptr);
};

}  // namespace vte::demo
