#include "render/paint_exception_trap.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace vte {

TPaintExceptionTrap::TPaintExceptionTrap(QWidget* Widget) : FWidget(Widget) {
  FWidget->installEventFilter(this);
}

TPaintExceptionTrap::~TPaintExceptionTrap() { FWidget->removeEventFilter(this); }

void TPaintExceptionTrap::Rethrow() {
  if (FError) std::rethrow_exception(std::exchange(FError, nullptr));
}

bool TPaintExceptionTrap::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched != FWidget || Event->type() != QEvent::Paint || FDelivering) return false;
  if (FError) return true;  // painting has failed: the rest is not painted
  // Sent again from here, the event passes the widget's other filters and reaches its paint
  // event as usual, inside the painting Qt has set up.
  FDelivering = true;
  try {
    QCoreApplication::sendEvent(Watched, Event);
  } catch (...) {
    FError = std::current_exception();
  }
  FDelivering = false;
  return true;
}

}  // namespace vte
