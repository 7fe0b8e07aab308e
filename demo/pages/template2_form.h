#pragma once
// A wizard page on the box picture ("Box.jpg") instead of the effects picture.
#include "pages/template_form.h"

namespace vte::demo {

class TTemplate2Form : public TTemplateForm {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TTemplate2Form(QObject* Owner = nullptr) : TTemplateForm(Owner) {}

  QString GetPictureFileName() const override;
};

}  // namespace vte::demo
