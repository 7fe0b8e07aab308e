#pragma once
// A text page about the transition editors, with a button that opens the modal editor on the
// transition the hosting navigator shows its pages with: what the user sets there (even another
// kind of transition) shows every page opened afterwards.
#include "container/embedded_form.h"

class QPushButton;
class QLabel;

namespace vte::demo {

class TFormTransitionEditor : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormTransitionEditor(QObject* Owner = nullptr);

  QLabel* LabelText;
  QPushButton* BitBtnEditor;

  // Edits the hosting navigator's page transition in the modal editor; false when there is no
  // navigator or the user cancelled.
  bool EditPageTransition();
};

}  // namespace vte::demo
