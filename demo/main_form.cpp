#include "main_form.h"

#include <QApplication>
#include <QFile>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

#include "app/application.h"
#include "container/form_container.h"
#include "container/form_transitions.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "engine/version.h"
#include "form_about.h"
#include "form_navigator.h"
#include "page_registry.h"

namespace vte::demo {

TMainForm::TMainForm(QObject* Owner) : TForm(Owner) {
  setObjectName(QStringLiteral("MainForm"));
  SetBorderStyle(bsSingle);
  SetBorderIcons(TBorderIcons(biSystemMenu) | biMinimize);
  SetClientWidth(700);
  SetClientHeight(493);
  SetColor(clWhite);
  SetPosition(poScreenCenter);
  SetCaption(QStringLiteral("Vantorel effects demo (%s)"));

  MainFormContainer = new TFormContainer(this);
  MainFormContainer->setObjectName(QStringLiteral("MainFormContainer"));
  auto* Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->addWidget(MainFormContainer);

  TransitionList = new TTransitionList(this);
  TransitionList->setObjectName(QStringLiteral("TransitionList"));
  TransitionList->LoadFromFile(QStringLiteral(":/demo/main_form.json"));
  Transition = TransitionList->findChild<TTransitionEffect*>(QStringLiteral("Transition"));
  Transition->OnStartTransition = [this](TTransitionEffect*) { RollStarted(); };
  Transition->OnAfterTransition = [this](TTransitionEffect*) { RollEnded(); };

  FormTransitions = new TFormTransitions(this);
  FormTransitions->setObjectName(QStringLiteral("FormTransitions"));
  FormTransitions->SetShowTransition(Transition);
  FormTransitions->SetDestroyTransitions(false);
  FormTransitions->BackgroundOptions()->SetPictureMode(fcpmCenter);

  OnCreate = [this](TForm*) {
    SetCaption(Caption().replace(QLatin1String("%s"), VersionText()));
    ShowAboutBox();
  };
  OnShow = [this](TForm*) { Shown(); };
}

void TMainForm::ShowAboutBox() {
  MarkStartupTime("about-box-start");
  // A broken about box (a data file missing) is reported; the program itself still starts.
  TFormAbout* About = nullptr;
  try {
    About = static_cast<TFormAbout*>(CreateForm(&TFormAbout::staticMetaObject, this));
  } catch (const std::exception& Error) {
    ShowApplicationError(Error.what());
  }
  if (About) {
    QPointer<TFormAbout> Alive = About;
    About->show();
    // The main form appears only once the about box is gone.
    while (Alive && Alive->isVisible()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    delete Alive.data();
  }
  MarkStartupTime("about-box-end");
}

void TMainForm::Shown() {
  if (Navigator) return;
  Navigator = static_cast<TFormNavigator*>(MainFormContainer->CreateForm(&TFormNavigator::staticMetaObject));
  MainFormContainer->ShowForm(Navigator, true);
}

bool TMainForm::event(QEvent* Event) {
  const bool Result = TForm::event(Event);
  // The show is over: the roll has run and revealed the menu, or could not run on this platform
  // (no screen copy, no window masks) and the menu comes in after the plain show.
  if (Event->type() == QEvent::ShowToParent && isVisible()) {
    MarkStartupTime("main-window-show-done");
    if (!FMenuRevealed && Navigator) {
      FMenuRevealed = true;
      Navigator->RevealMenu();
    }
  }
  return Result;
}

void TMainForm::RollStarted() {
  MarkStartupTime("main-window-roll-start");
  if (!std::exchange(FHourglass, true)) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TMainForm::RollEnded() {
  struct TRestore {
    bool& Hourglass;
    ~TRestore() {
      if (std::exchange(Hourglass, false)) QApplication::restoreOverrideCursor();
    }
  } Restore{FHourglass};
  if (!std::exchange(FMenuRevealed, true) && Navigator) Navigator->RevealMenu();
}

int RunDemoProgram() {
  TForm* Form = CreateForm(&TMainForm::staticMetaObject, nullptr);
  // The main form goes with the program: closing it ends the event loop.
  Form->setAttribute(Qt::WA_DeleteOnClose);
  Form->show();
  return QApplication::exec();
}

void MarkStartupTime(const char* What) {
  static const bool Enabled = std::getenv("VTE_DEMO_TIMING") != nullptr;
  if (!Enabled) return;
  // The process's start in clock ticks after boot (the 22nd field of its stat line), against the
  // time since boot now.
  QFile Stat(QStringLiteral("/proc/self/stat"));
  if (!Stat.open(QIODevice::ReadOnly)) return;
  const QByteArray Line = Stat.readAll();
  const QList<QByteArray> Fields = Line.mid(Line.lastIndexOf(')') + 2).split(' ');
  if (Fields.size() < 20) return;
  const double Start = Fields[19].toDouble() / double(sysconf(_SC_CLK_TCK));
  timespec Now{};
  clock_gettime(CLOCK_BOOTTIME, &Now);
  const double Elapsed = double(Now.tv_sec) + double(Now.tv_nsec) / 1e9 - Start;
  std::fprintf(stderr, "%s %.0f\n", What, Elapsed * 1000.0);
}

VTE_DEMO_PAGE(TMainForm)

}  // namespace vte::demo
