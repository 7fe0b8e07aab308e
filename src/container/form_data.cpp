#include "container/form_data.h"

#include <utility>

namespace vte {

void TFCFormData::AttachForm(TForm* NewForm) {
  Shown = false;
  Form = NewForm;
  if (!NewForm) return;
  Caption = NewForm->Caption();
  if (NewForm->OnHide) OnHide = std::exchange(NewForm->OnHide, nullptr);
  if (NewForm->OnShow) OnShow = std::exchange(NewForm->OnShow, nullptr);
  NewForm->OnEnter = NewForm->OnActivate;
  NewForm->OnExit = NewForm->OnDeactivate;
}

}  // namespace vte
