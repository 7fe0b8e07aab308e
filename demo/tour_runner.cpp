#include "tour_runner.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <stdexcept>

#include "app/application.h"
#include "engine/run_observer.h"
#include "engine/transition_effect.h"

namespace vte::demo {

namespace {

// A step that has not returned after this long will not: the program hangs.
constexpr qint64 StepTimeoutMs = 240000;
// How long a step may wait for the state it needs.
constexpr qint64 ReadyTimeoutMs = 60000;
// Between two steps, for what the last one left to the event loop (repaints, deferred deletes).
constexpr int SettleMs = 120;

TTourRunner* CurrentRunner = nullptr;
QtMessageHandler PreviousHandler = nullptr;

qint64 Now() { return QDateTime::currentMSecsSinceEpoch(); }

// What Qt says about the machine rather than the program: a platform plugin that lacks a window
// feature (the offscreen platform has no size hints or window masks), no sound server or audio
// device for the chime. These come without a category, like the program's own warnings.
bool AboutTheMachine(const QString& Message) {
  static const char* const Known[] = {"This plugin does not support", "PulseAudioService:", "No audio device detected"};
  return std::any_of(std::begin(Known), std::end(Known),
                     [&](const char* Start) { return Message.startsWith(QLatin1String(Start)); });
}

// The program's own warnings and Qt's warnings about what the program did come without a category
// ("default"); Qt's modules report under their own categories, which are printed but do not fail
// the walk unless they are critical.
void HandleMessage(QtMsgType Type, const QMessageLogContext& Context, const QString& Message) {
  if (PreviousHandler) PreviousHandler(Type, Context, Message);
  if (!CurrentRunner || Type == QtDebugMsg || Type == QtInfoMsg) return;
  const QByteArray Category(Context.category ? Context.category : "default");
  if (Type == QtWarningMsg && (Category != "default" || AboutTheMachine(Message))) return;
  CurrentRunner->Fail(QStringLiteral("Qt %1: %2")
                          .arg(Type == QtWarningMsg ? QStringLiteral("warning") : QStringLiteral("error"), Message));
}

// Letters, digits and dashes only, for file names.
QString Clean(const QString& Text) {
  QString Name = Text;
  Name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-"));
  while (Name.startsWith(QLatin1Char('-'))) Name.remove(0, 1);
  while (Name.endsWith(QLatin1Char('-'))) Name.chop(1);
  return Name;
}

QString RunName(const TTransitionEffect& Effect) {
  QString Name = Effect.objectName();
  if (Name.isEmpty()) Name = QString::fromLatin1(Effect.metaObject()->className()).section(QStringLiteral("::"), -1);
  if (Effect.PassesToUse() == 2) Name += QStringLiteral("-pass%1").arg(Effect.Run().Pass);
  return Name;
}

}  // namespace

TTourRunner::TTourRunner(const QString& Folder) : FFolder(Folder), FLook(new QTimer(this)) {
  QDir().mkpath(FFolder);
  CurrentRunner = this;
  PreviousHandler = qInstallMessageHandler(HandleMessage);
  if (auto* App = qobject_cast<TApplication*>(qApp)) {
    FHookedApplication = true;
    FOldExceptionHook = App->OnException;
    App->OnException = [this](const std::string& Message) {
      Fail(QStringLiteral("error shown to the user: %1").arg(QString::fromStdString(Message)));
    };
  }
  // The about box closes while it is the only window: that must not end the program.
  FQuitOnLastWindowClosed = QApplication::quitOnLastWindowClosed();
  QApplication::setQuitOnLastWindowClosed(false);
  RunObserver = [this](TTransitionEffect& Effect, double Progress) { Observe(Effect, Progress); };
  FLook->setInterval(100);
  connect(FLook, &QTimer::timeout, this, &TTourRunner::Look);
}

TTourRunner::~TTourRunner() {
  RunObserver = nullptr;
  if (FHookedApplication)
    if (auto* App = qobject_cast<TApplication*>(qApp)) App->OnException = FOldExceptionHook;
  QApplication::setQuitOnLastWindowClosed(FQuitOnLastWindowClosed);
  qInstallMessageHandler(PreviousHandler);
  PreviousHandler = nullptr;
  CurrentRunner = nullptr;
}

void TTourRunner::Add(TStep Step) { FSteps.push_back(std::move(Step)); }

int TTourRunner::Run(int MaxSteps) {
  FMaxSteps = MaxSteps;
  QEventLoop Loop;
  FLoop = &Loop;
  FLook->start();
  FWaitStart = Now();
  FFinished = false;
  QTimer::singleShot(0, this, &TTourRunner::RunStep);
  Loop.exec();
  FLoop = nullptr;
  FLook->stop();
  if (!FFinished) Fail(QStringLiteral("the program quit before the tour ended"));
  return FFailures.isEmpty() ? FExitCode : 1;
}

void TTourRunner::Fail(const QString& What) {
  const QString Line = QStringLiteral("tour step %1 '%2' failed: %3").arg(FActions + 1).arg(FLabel, What);
  FFailures << Line;
  std::fprintf(stderr, "%s\n", qPrintable(Line));
}

void TTourRunner::WhenShown(const char* ClassName, std::function<bool(QWidget*)> Act) {
  FWatches.push_back({QByteArray(ClassName), std::move(Act)});
}

void TTourRunner::Shoot(const QString& What, QWidget* Window) { Grab(Window ? Window : FWindow.data(), What); }

void TTourRunner::Next() { QTimer::singleShot(SettleMs, this, &TTourRunner::RunStep); }

void TTourRunner::RunStep() {
  // The step before changed the screen without a run seen: its picture, now that it is painted.
  if (!FLabel.isEmpty() && !FStepShot)
    Grab(FWindow ? FWindow.data() : QApplication::activeWindow(), QStringLiteral("after"));
  FStepShot = true;
  Flush();
  if (!FFailures.isEmpty()) return Finish(1);
  if (FStepIndex >= FSteps.size() || (FMaxSteps > 0 && FActions >= FMaxSteps)) return Finish(0);

  const TStep& Step = FSteps[FStepIndex];
  const bool Modal = QApplication::activeModalWidget() != nullptr;
  if (TransitionActive || Modal || (Step.Ready && !Step.Ready())) {
    if (Now() - FWaitStart > ReadyTimeoutMs) {
      FLabel = Step.Label;
      Fail(QStringLiteral("waited %1 s for %2")
               .arg(ReadyTimeoutMs / 1000)
               .arg(Modal                    ? QStringLiteral("a dialog to close")
                    : Step.Awaited.isEmpty() ? QStringLiteral("the transitions to end")
                                             : Step.Awaited));
      return Finish(1);
    }
    QTimer::singleShot(50, this, &TTourRunner::RunStep);
    return;
  }

  FLabel = Step.Label;
  FStepShot = false;
  FInAction = true;
  FActionStart = Now();
  bool Again = false;
  try {
    Again = Step.Action();
  } catch (const std::exception& E) {
    Fail(QString::fromUtf8(E.what()));
  } catch (...) {
    Fail(QStringLiteral("unknown exception"));
  }
  FInAction = false;
  ++FActions;
  Flush();
  if (!Again) ++FStepIndex;
  FWaitStart = Now();
  Next();
}

void TTourRunner::Look() {
  if (FLooking) return;
  FLooking = true;
  if (FInAction && Now() - FActionStart > StepTimeoutMs) {
    std::fprintf(stderr, "tour step %d '%s' failed: it has not ended after %lld s\n", FActions + 1, qPrintable(FLabel),
                 StepTimeoutMs / 1000);
    std::fflush(stderr);
    std::_Exit(1);
  }
  // What an action does may close and free windows: each is held weakly.
  QList<QPointer<QWidget>> Windows;
  for (QWidget* Window : QApplication::topLevelWidgets())
    if (Window->isVisible()) Windows << Window;
  for (const QPointer<QWidget>& Window : Windows) {
    for (std::size_t I = 0; Window && I < FWatches.size(); ++I) {
      if (!Window->inherits(FWatches[I].ClassName.constData())) continue;
      if (TransitionActive) break;
      const TWatch Watch = FWatches[I];
      if (Watch.Act(Window)) {
        const auto Done = std::find_if(FWatches.begin(), FWatches.end(),
                                       [&](const TWatch& W) { return W.ClassName == Watch.ClassName; });
        if (Done != FWatches.end()) FWatches.erase(Done);
      }
      break;
    }
    if (auto* Box = qobject_cast<QMessageBox*>(Window.data()); Box && Box->isVisible() && !Expected(Box)) {
      Fail(QStringLiteral("a message appeared: \"%1\"").arg(Box->text()));
      Box->done(QMessageBox::Cancel);
    }
  }
  FLooking = false;
}

bool TTourRunner::Expected(const QWidget* Window) const {
  for (const TWatch& Watch : FWatches)
    if (Window->inherits(Watch.ClassName.constData())) return true;
  return false;
}

void TTourRunner::Observe(TTransitionEffect& Effect, double Progress) {
  if (&Effect != FRunEffect || Progress <= FRunProgress) {
    FRunEffect = &Effect;
    FMidTaken = false;
  }
  FRunProgress = Progress;
  const bool End = Progress >= 1;
  if (!End && (FMidTaken || Progress < 0.5)) return;
  FMidTaken = true;
  // The run's window; a window that is appearing through the run is not visible yet, but the
  // run's area on the screen is.
  QWidget* Control = Effect.Run().Control;
  QWidget* Window = Control ? Control->window() : FWindow.data();
  const TRect& R = Effect.Run().ScreenRect;
  const QString What = RunName(Effect) + (End ? QStringLiteral("-end") : QStringLiteral("-mid"));
  if (Window && Window->isVisible())
    Grab(Window, What);
  else if (!R.IsEmpty())
    Grab(QRect(R.Left, R.Top, R.Width(), R.Height()), What);
  if (End) {
    FRunEffect = nullptr;
    FRunProgress = 0;
  }
}

void TTourRunner::Grab(QWidget* Window, const QString& What) {
  if (Window && Window->isVisible()) Grab(Window->geometry(), What);
}

void TTourRunner::Grab(const QRect& Area, const QString& What) {
  QScreen* Screen = QGuiApplication::screenAt(Area.center());
  if (!Screen) Screen = QGuiApplication::primaryScreen();
  if (!Screen) return;
  // The screen's pixels, as the user sees them: a run's frames are only there.
  const QPixmap Pixels = Screen->grabWindow(0, Area.x(), Area.y(), Area.width(), Area.height());
  const QString Name =
      QStringLiteral("%1-%2-%3.png").arg(++FShotCount, 3, 10, QLatin1Char('0')).arg(Clean(FLabel), Clean(What));
  // Written after the step: encoding during a run would cost it its pace.
  FPending.emplace_back(QDir(FFolder).filePath(Name), Pixels.toImage());
  FStepShot = true;
}

void TTourRunner::Flush() {
  for (const auto& [File, Image] : FPending) {
    if (Image.isNull() || !Image.save(File, "PNG"))
      Fail(QStringLiteral("cannot write %1").arg(File));
    else
      FShots << File;
  }
  FPending.clear();
}

void TTourRunner::Finish(int Code) {
  Flush();
  FExitCode = Code;
  FFinished = true;
  if (FLoop) FLoop->exit(Code);
}

void ClickWidget(QWidget* Widget) {
  if (!Widget->isVisible() || !Widget->isEnabled())
    throw std::runtime_error(
        QStringLiteral("'%1' cannot be clicked: it is %2")
            .arg(Widget->objectName(), Widget->isVisible() ? QStringLiteral("disabled") : QStringLiteral("hidden"))
            .toStdString());
  QWidget* Top = Widget->window();
  const QPoint Global = Widget->mapToGlobal(Widget->rect().center());
  QObject* Receiver = Top->windowHandle();
  QPointF At = Top->mapFromGlobal(Global);
  if (!Receiver) {
    Receiver = Widget;
    At = Widget->rect().center();
  }
  QMouseEvent Press(QEvent::MouseButtonPress, At, At, Global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Receiver, &Press);
  QMouseEvent Release(QEvent::MouseButtonRelease, At, At, Global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(Receiver, &Release);
}

}  // namespace vte::demo
