#pragma once
// Keeps an exception thrown by a widget's paint event from unwinding through Qt's painting code,
// which is not exception-safe (a render left half-way keeps the widget redirected to a painter
// that no longer exists). While installed on a widget, it delivers the widget's paint events
// itself inside a try block and holds on to what was thrown; Rethrow passes it on once Qt has
// finished.
#include <QObject>
#include <exception>
#include <utility>

class QWidget;

namespace vte {

class TPaintExceptionTrap : public QObject {
public:
  explicit TPaintExceptionTrap(QWidget* Widget);
  ~TPaintExceptionTrap() override;

  // Throws what a paint event threw, if anything.
  void Rethrow();

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  QWidget* FWidget;
  std::exception_ptr FError;
  bool FDelivering = false;
};

}  // namespace vte
