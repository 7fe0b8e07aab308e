#pragma once
// The wizard's page "What's new in version 3".
#include "pages/template2_form.h"

namespace vte::demo {

class TFormStart : public TTemplate2Form {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormStart(QObject* Owner = nullptr);
};

}  // namespace vte::demo
