#pragma once
// The wizard's page "Alpha blend".
#include "pages/template2_form.h"

namespace vte::demo {

class TFormBlend : public TTemplate2Form {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormBlend(QObject* Owner = nullptr);
};

}  // namespace vte::demo
