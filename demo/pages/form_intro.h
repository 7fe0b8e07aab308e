#pragma once
// The first page: what the library does and how this demonstration is laid out.
#include "container/embedded_form.h"

namespace vte::demo {

class TFormIntro : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormIntro(QObject* Owner = nullptr);
};

}  // namespace vte::demo
