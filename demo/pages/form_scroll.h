#pragma once
// The wizard's page "Drip".
#include "pages/template_form.h"

namespace vte::demo {

class TFormScroll : public TTemplateForm {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormScroll(QObject* Owner = nullptr);
};

}  // namespace vte::demo
