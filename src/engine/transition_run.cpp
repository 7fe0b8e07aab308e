#include "engine/transition_run.h"

#include <QApplication>

#include "engine/transition_effect.h"
#include "render/device.h"

namespace vte {

void ChangeWithTransition(TTransitionEffect* Transition, QWidget* Control, const TRect& Rect,
                          const std::function<void()>& Change) {
  // Undone in reverse order on every path: the transition's own coordinate setting (the rectangle
  // is given in client coordinates whatever the caller set for other runs), the prepared state,
  // the cursor.
  struct TCleanUp {
    TTransitionEffect* Transition;
    bool ClientCoordinates;
    ~TCleanUp() {
      if (Transition) {
        Transition->UnPrepare();
        Transition->ClientCoordinates = ClientCoordinates;
      }
      QApplication::restoreOverrideCursor();
    }
  };
  QApplication::setOverrideCursor(Qt::WaitCursor);
  TCleanUp CleanUp{Transition, Transition ? Transition->ClientCoordinates : true};
  bool Prepared = false;
  if (Transition) {
    Transition->ClientCoordinates = true;
    Prepared = Transition->Prepare(Control, Rect);
  }
  if (Change) Change();
  // A handler of the change may have unprepared the transition meanwhile.
  if (Prepared && Transition->Prepared()) Transition->Execute();
}

void ChangeWithTransition(TTransitionEffect* Transition, QWidget* Control, const std::function<void()>& Change) {
  ChangeWithTransition(Transition, Control, ControlClientRect(Control), Change);
}

}  // namespace vte
