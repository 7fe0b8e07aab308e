#pragma once
// The application object: exceptions never cross into Qt's event loop. notify() is the boundary:
// a silent abort (EAbort) is swallowed, any other exception is shown in a message box, or handed
// to a hook (tests).
#include <QApplication>
#include <functional>
#include <string>

namespace vte {

class TApplication : public QApplication {
  Q_OBJECT

public:
  TApplication(int& Argc, char** Argv);
  bool notify(QObject* Receiver, QEvent* Event) override;

  // When set, errors go here instead of a message box.
  std::function<void(const std::string& Message)> OnException;
  // Shows an error as the event boundary does.
  void ShowException(const std::string& Message);

  // The boundary itself: runs Deliver; EAbort is swallowed, any other exception goes to Report
  // (with "Unknown error" for what is no std::exception). An event that raised counts as not
  // handled (false).
  static bool DeliverGuarded(const std::function<bool()>& Deliver,
                             const std::function<void(const std::string&)>& Report);
};

// Shows an error as the event boundary does: through the TApplication's ShowException (and its
// hook), or in a message box under any other application object. For handlers that must not let
// an error leave them, but owe the user its message.
void ShowApplicationError(const std::string& Message);

}  // namespace vte
