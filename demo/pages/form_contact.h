#pragma once
// The contact page: how to reach the team, and the page about the library that comes with the program.
#include "container/embedded_form.h"

class QLabel;
class QPushButton;

namespace vte::demo {

class TFormContact : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormContact(QObject* Owner = nullptr);

  QLabel* LabelAddress;
  QPushButton* BitBtnSite;
};

}  // namespace vte::demo
