#pragma once
// What the two custom transition pages share: a page control whose "Source code" tab shows the
// custom transition's real source text and whose "Execute" tab hosts an editor running it, and a
// stored transition that animates every change of tab over the sheet area.
//
// A tab widget says only after the fact that its tab changed, so the change is caught where it
// starts: a press on another tab, a key or a wheel turn on the tab bar, a Ctrl key on the page
// control. The transition is prepared over the sheet, the event goes on to the tab widget, and
// the tab's change executes it; an event that changed nothing releases it again.
#include <QStringList>
#include <memory>

#include "container/embedded_form.h"

class QPlainTextEdit;
class QTabWidget;

namespace vte {
class TFormContainer;
class TTransitionEffect;
class TTransitionList;
}  // namespace vte

namespace vte::demo {

class TCustomTransitionPage : public TFCEmbeddedForm {
  Q_OBJECT

public:
  ~TCustomTransitionPage() override;

  // The transition the page demonstrates (owned by the page, no owner of its own).
  TTransitionEffect* CustomTransition() const { return FCustomTransition.get(); }

  QTabWidget* PageControl;
  QWidget* TabSheetCode;
  QPlainTextEdit* MemoCode;
  QWidget* TabSheetExecute;
  TFormContainer* FormContainer;
  TTransitionList* TransitionList;
  // The stored transition that animates the change of tab.
  TTransitionEffect* Transition;

protected:
  // Custom: the demonstrated transition; StoredList: the page's stored transitions; Sources: the
  // resource files of its source text, shown one after the other; ReverseLeavingExecute: the tab
  // transition runs backwards when the Execute tab is left.
  TCustomTransitionPage(QObject* Owner, std::unique_ptr<TTransitionEffect> Custom, const QString& StoredList,
                        const QStringList& Sources, bool ReverseLeavingExecute);
  // Shows the Execute tab's form, which edits and runs the custom transition.
  void Loaded() override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  bool MayChangeTab(QObject* Watched, QEvent* Event) const;
  void PrepareTabChange();
  void TabChanged();

  std::unique_ptr<TTransitionEffect> FCustomTransition;
  bool FReverseLeavingExecute;
  bool FPassingOn = false;  // the caught event is on its way to the tab widget
};

}  // namespace vte::demo
