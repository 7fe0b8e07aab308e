#include "engine/run_input_gate.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <typeinfo>

namespace vte {

namespace {

TTERunInputGate* CurrentGate = nullptr;

// Consequences of the pointer's movement rather than input of their own: they keep flowing, so
// the widgets' idea of what lies under the pointer stays right.
bool IsPointerBookkeeping(QEvent::Type T) {
  switch (T) {
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
      return true;
    default:
      return false;
  }
}

bool IsInput(const QEvent* Event) {
  if (IsPointerBookkeeping(Event->type())) return false;
  return Event->isInputEvent() || Event->type() == QEvent::Shortcut;
}

// The input types a synthesised event may be posted with: delivered one type at a time, so that
// nothing else waiting in the application's queue runs.
constexpr QEvent::Type PostedInputTypes[] = {
    QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick, QEvent::MouseMove,
    QEvent::Wheel,           QEvent::KeyPress,           QEvent::KeyRelease,          QEvent::Shortcut,
    QEvent::TouchBegin,      QEvent::TouchUpdate,        QEvent::TouchEnd,            QEvent::TouchCancel,
    QEvent::TabletPress,     QEvent::TabletMove,         QEvent::TabletRelease,       QEvent::ContextMenu,
};

// Platforms with an input device of their own queue its events where only the event loop fetches
// them; the offscreen and minimal platforms have none (input reaches them only synchronously).
bool PlatformQueuesInput() {
  const QString Name = QGuiApplication::platformName();
  return Name != QLatin1String("offscreen") && Name != QLatin1String("minimal");
}

}  // namespace

TTERunInputGate::TTERunInputGate(QWidget* RenderWindow, bool TakeClicks, bool TakeEscape)
    : FRenderWindow(RenderWindow), FTakeClicks(TakeClicks), FTakeEscape(TakeEscape), FOuter(CurrentGate) {
  CurrentGate = this;
  if (QCoreApplication* App = QCoreApplication::instance()) App->installEventFilter(this);
}

TTERunInputGate::~TTERunInputGate() {
  if (QCoreApplication* App = QCoreApplication::instance()) App->removeEventFilter(this);
  CurrentGate = FOuter;
  // Posted, not sent: the caller of Execute finishes first, then everything arrives in order.
  for (TKept& K : FKept)
    if (K.Receiver) QCoreApplication::postEvent(K.Receiver, K.Event.release());
}

TTERunInputGate* TTERunInputGate::Current() { return CurrentGate; }

void TTERunInputGate::Poll() {
  for (const QEvent::Type T : PostedInputTypes) QCoreApplication::sendPostedEvents(nullptr, T);
  if (!PlatformQueuesInput()) return;
  // Fetching the device's input runs the event loop once: timers and socket notifiers stay off,
  // and what else it dispatches is kept by the filter until the run ends.
  FPumping = true;
  QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers);
  FPumping = false;
}

bool TTERunInputGate::HitsRenderWindow(QObject* Receiver, QEvent* Event) const {
  QWidget* Window = FRenderWindow;
  if (!Window || !Window->isVisible()) return false;
  if (Receiver == Window) return true;
  if (auto* W = qobject_cast<QWidget*>(Receiver)) return Window->isAncestorOf(W);
  // Input from the window system reaches the top-level window first: the press is on the render
  // window when that is what lies under the pointer there.
  auto* Handle = qobject_cast<QWindow*>(Receiver);
  QWidget* Top = Window->window();
  if (!Handle || Top->windowHandle() != Handle) return false;
  const QPoint At = static_cast<QMouseEvent*>(Event)->position().toPoint();
  if (Top == Window) return Window->rect().contains(At) && (Window->mask().isEmpty() || Window->mask().contains(At));
  QWidget* Under = Top->childAt(At);
  return Under && (Under == Window || Window->isAncestorOf(Under));
}

bool TTERunInputGate::TakeAbortInput(QObject* Receiver, QEvent* Event) {
  // A left-button press on the render window or an Escape press, when their source is enabled,
  // is an abort request; the release that belongs to it goes too, since nobody saw the press.
  const QEvent::Type T = Event->type();
  bool Press, Matches;
  bool *Request, *SwallowRelease;
  if (T == QEvent::MouseButtonPress || T == QEvent::MouseButtonDblClick || T == QEvent::MouseButtonRelease) {
    Press = T != QEvent::MouseButtonRelease;
    Matches = static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton &&
              (!Press || (FTakeClicks && HitsRenderWindow(Receiver, Event)));
    Request = &FClicked;
    SwallowRelease = &FSwallowButtonRelease;
  } else if (T == QEvent::KeyPress || T == QEvent::KeyRelease) {
    Press = T == QEvent::KeyPress;
    Matches = static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape && (!Press || FTakeEscape);
    Request = &FEscape;
    SwallowRelease = &FSwallowEscapeRelease;
  } else {
    return false;
  }
  if (!Matches) return false;
  if (Press) return *Request = *SwallowRelease = true;
  return std::exchange(*SwallowRelease, false);
}

bool TTERunInputGate::Keep(QObject* Receiver, QEvent* Event) {
  std::unique_ptr<QEvent> Copy(Event->clone());
  // An event class without a copy of its own would come back as a bare QEvent: such an event
  // cannot wait, and goes on now.
  if (!Copy) return false;
  const QEvent& Cloned = *Copy;
  if (typeid(Cloned) != typeid(*Event)) return false;
  // Of a run of pointer moves only the last position matters.
  if (Event->type() == QEvent::MouseMove && !FKept.empty() && FKept.back().Receiver == Receiver &&
      FKept.back().Event->type() == QEvent::MouseMove) {
    FKept.back().Event = std::move(Copy);
    return true;
  }
  FKept.push_back(TKept{Receiver, std::move(Copy)});
  return true;
}

bool TTERunInputGate::eventFilter(QObject* Receiver, QEvent* Event) {
  const QEvent::Type T = Event->type();
  if (T == QEvent::ShortcutOverride) {
    // Escape must arrive as a key press to be taken: no shortcut may claim it.
    if (FTakeEscape && static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape) {
      Event->accept();
      return true;
    }
    return false;
  }
  if (IsInput(Event)) {
    if (TakeAbortInput(Receiver, Event)) return true;
    return Keep(Receiver, Event);
  }
  // Only while the event loop fetches the device's input: what the application had queued waits.
  // Window-system events (spontaneous) and deferred deletes keep their own rules.
  if (FPumping && !Event->spontaneous() && T != QEvent::DeferredDelete) return Keep(Receiver, Event);
  return false;
}

}  // namespace vte
