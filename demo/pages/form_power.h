#pragma once
// The magic page: a whole navigator runs inside a form container on this page, itself hosted by
// the navigator's own container. The magic button brings it in through a fuse transition and
// takes it away again.
#include "container/embedded_form.h"

class QPushButton;

namespace vte {
class TFormContainer;
class TTransitionEffect;
class TTransitionList;
}  // namespace vte

namespace vte::demo {

class TFormPower : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormPower(QObject* Owner = nullptr);

  QPushButton* BitBtnMagic;
  TFormContainer* FormContainer;
  TTransitionList* TransitionList;
  TTransitionEffect* Transition;

  // What the button does: empties the container when it shows a form, else starts a navigator in
  // it.
  void ToggleNavigator();
};

}  // namespace vte::demo
