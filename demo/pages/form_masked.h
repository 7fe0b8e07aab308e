#pragma once
// The wizard's page "Masked transitions".
#include "pages/template_form.h"

namespace vte::demo {

class TFormMasked : public TTemplateForm {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormMasked(QObject* Owner = nullptr);

  void PlayDemo() override;
};

}  // namespace vte::demo
