#pragma once
// The wizard's page "Roll".
#include "pages/template2_form.h"

namespace vte::demo {

class TFormRoll : public TTemplate2Form {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormRoll(QObject* Owner = nullptr);

  void PlayDemo() override;
};

}  // namespace vte::demo
