#pragma once
// The versions and prices page: the library is free software here; the button opens the page about it that
// comes with the program.
#include "container/embedded_form.h"

class QPushButton;

namespace vte::demo {

class TFormPrices : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormPrices(QObject* Owner = nullptr);

  QPushButton* BitBtnSite;
};

}  // namespace vte::demo
