#pragma once
// The wizard's page "Blocks".
#include "pages/template2_form.h"

namespace vte::demo {

class TFormBlocks : public TTemplate2Form {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormBlocks(QObject* Owner = nullptr);

  void PlayDemo() override;
};

}  // namespace vte::demo
