#pragma once
// The wizard's page "Controls painted offscreen".
#include "pages/template_form.h"

namespace vte::demo {

class TFormRender : public TTemplateForm {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormRender(QObject* Owner = nullptr);
};

}  // namespace vte::demo
