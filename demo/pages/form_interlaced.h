#pragma once
// The wizard's page "Interlaced".
#include "pages/template_form.h"

namespace vte::demo {

class TFormInterlaced : public TTemplateForm {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormInterlaced(QObject* Owner = nullptr);

  void PlayDemo() override;
};

}  // namespace vte::demo
