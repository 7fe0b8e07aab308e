#pragma once
// The "What's new" wizard: twelve pages, each shown through its own transition and then playing
// its demonstration, stepped through with Next and Back; Main menu goes back to where the wizard
// was opened from. It fills the main form's container.
#include <QPointer>
#include <vector>

#include "container/embedded_form.h"

class QPushButton;

namespace vte {
class TEffectsPanel;
class TFormContainer;
class TTransitionEffect;
class TTransitionList;
}  // namespace vte

namespace vte::demo {

class TFormNew : public TFCEmbeddedForm {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormNew(QObject* Owner = nullptr);

  // The pages' classes in the order the wizard shows them.
  const std::vector<const QMetaObject*>& PageClasses() const { return FPageClasses; }
  // The position in PageClasses of the page shown (-1 before the first).
  int PageIndex() const { return FPageIndex; }

  // The buttons' actions.
  void Next();
  void Back();
  void Finish();

  TFormContainer* PageContainer;  // "FormContainer": the pages' area
  TEffectsPanel* PanelStep;
  QPushButton* BitBtnBack;
  QPushButton* BitBtnNext;
  QPushButton* BitBtnFinish;
  TTransitionList* TransitionList;
  TTransitionEffect* Transition1;  // takes the wizard away again

 protected:
  // Once complete the wizard loads its picture and shows its first page.
  void Loaded() override;

 private:
  // The page at Index, created in the page area and shown through its page transition (run
  // backwards with Reversed), then its demonstration. A page that cannot be created changes
  // nothing.
  void ShowPage(int Index, bool Reversed);

  std::vector<const QMetaObject*> FPageClasses;
  int FPageIndex = -1;
};

}  // namespace vte::demo
