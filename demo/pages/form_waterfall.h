#pragma once
// The wizard's page "Waterfall".
#include "pages/template_form.h"

namespace vte::demo {

class TFormWaterfall : public TTemplateForm {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormWaterfall(QObject* Owner = nullptr);

  void PlayDemo() override;
};

}  // namespace vte::demo
