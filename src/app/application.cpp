#include "app/application.h"

#include <QMessageBox>
#include <QString>
#include <exception>

#include "engine/errors.h"

namespace vte {

TApplication::TApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {}

bool TApplication::DeliverGuarded(const std::function<bool()>& Deliver,
                                  const std::function<void(const std::string&)>& Report) {
  // Qt's event loop is not exception safe: nothing may leave an event handler.
  try {
    return Deliver();
  } catch (const EAbort&) {
    // A handler cancelled what it was doing; that is no error and the user is not told.
  } catch (const std::exception& Error) {
    Report(Error.what());
  } catch (...) {
    Report("Unknown error");
  }
  return false;
}

bool TApplication::notify(QObject* Receiver, QEvent* Event) {
  return DeliverGuarded([&] { return QApplication::notify(Receiver, Event); },
                        [this](const std::string& Message) { ShowException(Message); });
}

void TApplication::ShowException(const std::string& Message) {
  if (OnException) {
    OnException(Message);
    return;
  }
  QMessageBox::critical(activeWindow(), applicationDisplayName(), QString::fromStdString(Message));
}

void ShowApplicationError(const std::string& Message) {
  if (auto* App = qobject_cast<TApplication*>(qApp)) {
    App->ShowException(Message);
    return;
  }
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                        QString::fromStdString(Message));
}

}  // namespace vte
