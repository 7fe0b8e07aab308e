// The event boundary of the application object. The test program's application is a plain
// QApplication, so the boundary is tested through the function TApplication::notify uses.
#include "app/application.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QObject>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/errors.h"

namespace vte {
namespace {

struct TReports {
  std::vector<std::string> Messages;
  std::function<void(const std::string&)> Sink() {
    return [this](const std::string& M) { Messages.push_back(M); };
  }
};

TEST(ApplicationBoundary, PassesTheHandlersResultWhenNothingIsRaised) {
  TReports R;
  EXPECT_TRUE(TApplication::DeliverGuarded([] { return true; }, R.Sink()));
  EXPECT_FALSE(TApplication::DeliverGuarded([] { return false; }, R.Sink()));
  EXPECT_TRUE(R.Messages.empty());
}

TEST(ApplicationBoundary, ReportsErrorsButSwallowsTheSilentAbort) {
  TReports R;
  EXPECT_FALSE(TApplication::DeliverGuarded(
      []() -> bool { throw ETransitionEffectError("Transition mask is empty"); }, R.Sink()));
  EXPECT_FALSE(TApplication::DeliverGuarded([]() -> bool { throw EAbort(); }, R.Sink()));
  EXPECT_FALSE(TApplication::DeliverGuarded([]() -> bool { throw std::out_of_range("index 9"); }, R.Sink()));
  EXPECT_FALSE(TApplication::DeliverGuarded([]() -> bool { throw 42; }, R.Sink()));
  EXPECT_EQ(R.Messages, (std::vector<std::string>{"Transition mask is empty", "index 9", "Unknown error"}));
}

// An object whose handler raises what it is told to, as a widget's handler would.
class TThrowingReceiver : public QObject {
public:
  std::function<void()> Raise;
  bool event(QEvent* Event) override {
    if (Event->type() == QEvent::User && Raise) Raise();
    return QObject::event(Event);
  }
};

TEST(ApplicationBoundary, CatchesWhatAHandlerRaisesDuringDelivery) {
  TReports R;
  TThrowingReceiver Receiver;
  QEvent Event(QEvent::User);
  const auto Deliver = [&] { return qApp->QApplication::notify(&Receiver, &Event); };

  Receiver.Raise = [] { throw std::runtime_error("Form 'Page9' unknown"); };
  EXPECT_FALSE(TApplication::DeliverGuarded(Deliver, R.Sink()));
  Receiver.Raise = [] { throw EAbort(); };
  EXPECT_FALSE(TApplication::DeliverGuarded(Deliver, R.Sink()));
  EXPECT_EQ(R.Messages, (std::vector<std::string>{"Form 'Page9' unknown"}));

  // Delivery still works afterwards.
  Receiver.Raise = nullptr;
  EXPECT_TRUE(TApplication::DeliverGuarded(Deliver, R.Sink()));  // user events count as handled
  EXPECT_EQ(R.Messages.size(), 1u);
}

}  // namespace
}  // namespace vte
