#pragma once
// Runs a scripted walk through the program's windows inside its event loop: one step after the
// other, each once the transitions before it have ended, writing a PNG of the window at the middle
// and at the end of every transition run (seen through the engine's run observer, the only place
// a frame can be seen while a run holds the thread). Any error the program shows (an exception
// reaching the application's boundary, a message box, a warning from Qt or the program) fails
// the walk: it stops after the step in which it happened, and the failure names the step.
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QEventLoop;
class QTimer;

namespace vte {
class TTransitionEffect;
}

namespace vte::demo {

class TTourRunner : public QObject {
  Q_OBJECT

 public:
  struct TStep {
    TStep(QString Label, std::function<bool()> Action, std::function<bool()> Ready = {}, QString Awaited = {})
        : Label(std::move(Label)), Action(std::move(Action)), Ready(std::move(Ready)), Awaited(std::move(Awaited)) {}
    // Says what the step shows; it names the step's screenshots ("menu-LabelIntro").
    QString Label;
    // Runs the step; true asks for the same step again (a button pressed until it is disabled).
    // A failure of the walk itself (a widget not found) is thrown as std::exception.
    std::function<bool()> Action;
    // What must hold before the action may run, besides no transition running (empty: nothing),
    // and what it is, for the failure when it does not come.
    std::function<bool()> Ready;
    QString Awaited;
  };

  // Writes into Folder (created when missing). Hooks the application's error boundary, Qt's
  // messages and the run observer until it goes.
  explicit TTourRunner(const QString& Folder);
  ~TTourRunner() override;

  void Add(TStep Step);
  // Runs the steps in an event loop of its own; 0 when all ran without a failure, else 1. At
  // most MaxSteps actions run (0: no limit).
  int Run(int MaxSteps = 0);

  // Records a failure of the current step (the walk stops once the step returns).
  void Fail(const QString& What);
  const QStringList& Failures() const { return FFailures; }
  // The PNG files written, in order.
  const QStringList& Shots() const { return FShots; }

  // A step that learns what it shows only when it runs names itself here.
  void Relabel(const QString& Label) { FLabel = Label; }
  // The window screenshots show when a step ends without a transition run having been seen.
  void SetWindow(QWidget* Window) { FWindow = Window; }
  // Once a visible window of class ClassName (with namespace: "vte::demo::TFormAbout") is there
  // and no transition runs, Act is called with it (again at the next look until it answers true).
  // Windows expected this way are not taken for error messages.
  void WhenShown(const char* ClassName, std::function<bool(QWidget*)> Act);
  // A screenshot of Window (the window set above when null) named after the current step.
  void Shoot(const QString& What, QWidget* Window = nullptr);

 private:
  struct TWatch {
    QByteArray ClassName;
    std::function<bool(QWidget*)> Act;
  };

  void Next();
  void RunStep();
  void Look();
  void Observe(TTransitionEffect& Effect, double Progress);
  void Grab(QWidget* Window, const QString& What);
  void Grab(const QRect& Area, const QString& What);  // screen coordinates
  void Flush();
  bool Expected(const QWidget* Window) const;
  void Finish(int Code);

  QString FFolder;
  std::vector<TStep> FSteps;
  std::size_t FStepIndex = 0;
  int FActions = 0;
  int FMaxSteps = 0;
  bool FInAction = false;
  bool FLooking = false;
  qint64 FWaitStart = 0;
  qint64 FActionStart = 0;
  QString FLabel;
  QStringList FFailures;
  QStringList FShots;
  int FShotCount = 0;
  bool FStepShot = false;
  std::vector<std::pair<QString, QImage>> FPending;
  std::vector<TWatch> FWatches;
  QPointer<QWidget> FWindow;
  QTimer* FLook;
  QEventLoop* FLoop = nullptr;
  int FExitCode = 0;
  bool FFinished = false;

  // The run being seen: its effect and the last progress reported.
  const TTransitionEffect* FRunEffect = nullptr;
  double FRunProgress = 0;
  bool FMidTaken = false;

  // What the runner replaced, put back when it goes.
  std::function<void(const std::string&)> FOldExceptionHook;
  bool FHookedApplication = false;
  bool FQuitOnLastWindowClosed = true;
};

// Presses the left mouse button on Widget's centre and lets it go, as a user's click arrives
// (through the window, so that the application's error boundary sees it).
void ClickWidget(QWidget* Widget);

}  // namespace vte::demo
