#pragma once
// The page about writing transitions of one's own.
#include "container/embedded_form.h"

namespace vte::demo {

class TFormCustomTransitions : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormCustomTransitions(QObject* Owner = nullptr);
};

}  // namespace vte::demo
