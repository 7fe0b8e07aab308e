#pragma once
// The history page: lists the pages the navigator's container has shown (its history, the most
// recent last) and shows or hides the list through a slide.
#include "container/embedded_form.h"

class QCheckBox;
class QLabel;
class QListWidget;

namespace vte {
class TClickLabel;
class TFormContainer;
class TTransitionEffect;
class TTransitionList;
}  // namespace vte

namespace vte::demo {

class TFormLRU : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormLRU(QObject* Owner = nullptr);

  // The handlers, callable as the controls call them.
  // Fills the list from the history of the container of the navigator hosting the page.
  void FormShow();
  void CheckBoxViewLRUClick();

  QLabel* LabelText;
  QListWidget* ListBoxLRU;
  QCheckBox* CheckBoxViewLRU;
  TClickLabel* LabelView;
  TTransitionList* TransitionList;
  TTransitionEffect* Transition;
};

// The container of the navigator that hosts Page (the first ancestor that is a TFormNavigator),
// or null when the page is not in a navigator.
TFormContainer* HostingNavigatorContainer(const QWidget* Page);

}  // namespace vte::demo
