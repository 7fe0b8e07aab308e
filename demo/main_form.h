#pragma once
// The demonstration's main window: the about box first, then the window rolls in with the
// navigator inside, whose menu sweeps in once the roll has ended.
#include <QPointer>

#include "container/form.h"

namespace vte {
class TFormContainer;
class TFormTransitions;
class TTransitionEffect;
class TTransitionList;
}  // namespace vte

namespace vte::demo {

class TFormNavigator;

class TMainForm : public TForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TMainForm(QObject* Owner = nullptr);

  TFormContainer* MainFormContainer;
  TFormTransitions* FormTransitions;
  TTransitionList* TransitionList;
  TTransitionEffect* Transition;  // the roll the window appears through
  // The navigator the first show created, or none before it.
  QPointer<TFormNavigator> Navigator;

protected:
  bool event(QEvent* Event) override;

private:
  void ShowAboutBox();
  void Shown();
  void RollStarted();
  void RollEnded();

  bool FHourglass = false;
  bool FMenuRevealed = false;
};

// The program as a user starts it: the main form, shown, and the event loop until it closes.
int RunDemoProgram();

// With VTE_DEMO_TIMING set, writes "<what> <milliseconds since the process started>" to stderr.
void MarkStartupTime(const char* What);

}  // namespace vte::demo
