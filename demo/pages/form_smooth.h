#pragma once
// The wizard's page "Smooth edges".
#include "pages/template_form.h"

namespace vte::demo {

class TFormSmooth : public TTemplateForm {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormSmooth(QObject* Owner = nullptr);

  void PlayDemo() override;
};

}  // namespace vte::demo
