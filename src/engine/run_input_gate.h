#pragma once
// What a running transition lets through to the application. While Execute holds the thread only
// input is looked at: a left-button press on the render window and an Escape press are taken as
// abort requests when their source is enabled (with the release that belongs to them); every
// other input event is kept and, once the run is over, reaches the window or widget it was meant
// for, in the order it came. Timers, queued events and other non-input events wait for the end of
// the run too: the gate never runs the event loop for them.
#include <QObject>
#include <QPointer>
#include <memory>
#include <utility>
#include <vector>

class QEvent;
class QWidget;

namespace vte {

class TTERunInputGate : public QObject {
public:
  // Gates the whole application until destroyed; the kept events are posted to their receivers
  // then. RenderWindow is the window whose left-button presses abort (null: none do).
  TTERunInputGate(QWidget* RenderWindow, bool TakeClicks, bool TakeEscape);
  ~TTERunInputGate() override;

  // Lets the platform hand over the input it holds, without dispatching anything else of the
  // application's; the abort requests found are then ready for TakeClick and TakeEscape.
  void Poll();
  bool TakeClick() { return std::exchange(FClicked, false); }
  bool TakeEscape() { return std::exchange(FEscape, false); }
  // The gate of the run in progress, or null.
  static TTERunInputGate* Current();

protected:
  bool eventFilter(QObject* Receiver, QEvent* Event) override;

private:
  struct TKept {
    QPointer<QObject> Receiver;
    std::unique_ptr<QEvent> Event;
  };
  bool HitsRenderWindow(QObject* Receiver, QEvent* Event) const;
  bool TakeAbortInput(QObject* Receiver, QEvent* Event);
  bool Keep(QObject* Receiver, QEvent* Event);

  QPointer<QWidget> FRenderWindow;
  bool FTakeClicks;
  bool FTakeEscape;
  bool FClicked = false;
  bool FEscape = false;
  // The release of a press taken as an abort request is swallowed too: nobody saw its press.
  bool FSwallowButtonRelease = false;
  bool FSwallowEscapeRelease = false;
  bool FPumping = false;
  std::vector<TKept> FKept;
  TTERunInputGate* FOuter;
};

}  // namespace vte
