#include "container/form_transitions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScreen>
#include <QThread>
#include <QWindow>
#include <memory>
#include <stdexcept>
#include <utility>

#include "container/embedded_form.h"
#include "container/form.h"
#include "engine/transition_registry.h"
#include "render/device.h"

namespace vte {

namespace {

// How long a mapped window may take to be exposed before the form shows without a transition.
constexpr int ExposeTimeoutMs = 1000;

// Frames reach the screen only once the window system has exposed the window: until then Qt
// paints nothing, and the run, which holds the thread, would show nothing. Input waits meanwhile.
bool WaitUntilExposed(QWidget* Window) {
  QElapsedTimer Waited;
  Waited.start();
  QPointer<QWidget> Alive = Window;
  while (Alive && Alive->isVisible() && Alive->windowHandle() && !Alive->windowHandle()->isExposed()) {
    if (Waited.elapsed() > ExposeTimeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 5);
    if (Alive && Alive->windowHandle() && !Alive->windowHandle()->isExposed()) QThread::msleep(1);
  }
  return Alive && Alive->isVisible() && Alive->windowHandle() && Alive->windowHandle()->isExposed();
}

}  // namespace

QObject* TFormTransitions::CheckedOwner(QObject* Owner) {
  // Checked before the component exists: a refused component is never a child of its owner. The
  // embedded form is known by name: it paints its own background options.
  if (!Owner) return Owner;
  if (qobject_cast<TFCEmbeddedForm*>(Owner))
    throw std::runtime_error("A FormTransitions component is not necessary in a TFCEmbeddedForm");
  for (QObject* Child : Owner->children())
    if (qobject_cast<TFormTransitions*>(Child))
      throw std::runtime_error("Only one FormTransitions component is allowed per form");
  return Owner;
}

TFormTransitions::TFormTransitions(QObject* Owner)
    : QObject(CheckedOwner(Owner)),
      FOptions(new TFCBackgroundOptions(this)),
      FForm(qobject_cast<TForm*>(Owner)),
      FFormWidget(FForm.data()) {
  if (!FForm) return;
  FWasVisible = FForm->isVisible();
  // The options follow the form from now on (parent changes, moves and resizes re-place what
  // they inherit); the form paints through them because this component answers for them.
  FOptions->AttachTo(FForm);
  FForm->installEventFilter(this);
}

TFormTransitions::~TFormTransitions() {
  if (FFormWidget) FFormWidget->removeEventFilter(this);
  if (FShowPending) TransitionActive = false;
  RestoreWindowRegion();
  if (FDestroyTransitions) delete FShowTransition.data();
  // The options go first: nothing paints through them while the component is taken apart.
  delete FOptions;
}

void TFormTransitions::SetBackgroundOptions(TFCBackgroundOptions* V) {
  if (V) FOptions->Assign(*V);
}

void TFormTransitions::SetShowTransition(TTransitionEffect* V) {
  if (V == FShowTransition) return;
  if (FDestroyTransitions) delete FShowTransition.data();
  FShowTransition = V;
  // A list's transition is the list's to free.
  if (V && V->TransitionList()) FDestroyTransitions = false;
  // An editor that replaces the transition by one of another class publishes the pair while it
  // frees the old one: the new one takes its place here too.
  disconnect(FReplacementWatch);
  if (V)
    FReplacementWatch = connect(V, &QObject::destroyed, this, [this](QObject* Gone) {
      if (Gone == TransitionBeingReplaced && ReplacementTransition) SetShowTransition(ReplacementTransition);
    });
}

bool TFormTransitions::CanShowWithTransition() const { return FForm && FForm->isWindow(); }

bool TFormTransitions::TransitionCanRun() const {
  if (FShowTransition) return FShowTransition->Enabled() || FShowTransition->FlickerFreeWhenDisabled();
  return GlobalFlickerFree()->FlickerFreeWhenDisabled();
}

bool TFormTransitions::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == FFormWidget) {
    switch (Event->type()) {
      case QEvent::Show:
        if (!Event->spontaneous()) ShowStarting();
        break;
      // Sent once the window is mapped, at the end of the show.
      case QEvent::ShowToParent:
        ShowDone();
        break;
      case QEvent::Hide:
        // Minimising hides spontaneously and the form stays visible.
        if (!Event->spontaneous()) {
          if (std::exchange(FShowPending, false)) TransitionActive = false;
          RestoreWindowRegion();
          FWasVisible = false;
        }
        break;
      default: break;
    }
  }
  return QObject::eventFilter(Watched, Event);
}

void TFormTransitions::ShowStarting() {
  // A form shown again may have moved to another place in the widget tree.
  if (!FWasVisible) FOptions->AttachTo(FForm);
  if (!FEnabled || !CanShowWithTransition() || FWasVisible || TransitionActive || !TransitionCanRun()) return;
  // The old look is the screen below the form, kept by hiding the mapped window behind a mask.
  if (!ScreenCanBeCopied() || !WindowMasksShapeTheScreen()) return;
  FSavedRegion.reset();
  if (FForm->WindowState() != wsMaximized && HasWindowRegion(FForm)) FSavedRegion = FForm->mask();
  FForm->setMask(OffWindowRegion());
  FRegionHidden = true;
  // No other show animates while this one is under way.
  FShowPending = true;
  TransitionActive = true;
}

void TFormTransitions::ShowDone() {
  if (!FForm) return;
  if (!FShowPending) {
    FWasVisible = FForm->isVisible();
    return;
  }
  // Waiting runs events: the form may be hidden (which ends the pending show) or the component
  // freed (whose destructor puts everything back) meanwhile.
  QPointer<TFormTransitions> Alive = this;
  const bool Exposed = WaitUntilExposed(FForm);
  if (!Alive) return;
  struct TCleanUp {
    QPointer<TFormTransitions> Self;
    ~TCleanUp() {
      if (!Self) return;
      Self->RestoreWindowRegion();
      if (Self->FForm) Self->FWasVisible = Self->FForm->isVisible();
    }
  } CleanUp{this};
  if (!std::exchange(FShowPending, false)) return;
  TransitionActive = false;
  if (Exposed && FEnabled && FForm && FForm->isVisible()) RunShowTransition();
}

void TFormTransitions::RunShowTransition() {
  // Without a transition of its own, the form is cut in flicker-free for this show only.
  std::unique_ptr<TFlickerFreeTransition> Temporary;
  if (!FShowTransition) {
    Temporary = MakeTemporaryFlickerFree();
    FShowTransition = Temporary.get();
  }
  struct TRestore {
    TFormTransitions* Self;
    QPointer<TTransitionEffect> Transition;
    bool ClientCoordinates;
    TTEPassSettingType PassSetting;
    bool ForceScreenCopy;
    bool Temporary;
    ~TRestore() {
      if (Transition) {
        Transition->UnPrepare();
        Transition->ClientCoordinates = ClientCoordinates;
        Transition->SetPassSetting(PassSetting);
        Transition->ForceScreenCopy = ForceScreenCopy;
      }
      if (Temporary) Self->FShowTransition = nullptr;
    }
  };
  TTransitionEffect* T = FShowTransition;
  TRestore Restore{this, T, T->ClientCoordinates, T->PassSetting(), T->ForceScreenCopy, Temporary != nullptr};
  // One pass from the screen below straight to the form; the screen is the only old look there is.
  T->SetPassSetting(teOnePass);
  T->ForceScreenCopy = true;
  // The client area: the frame is the window manager's. A maximized window covers only its part
  // on the screen.
  T->ClientCoordinates = true;
  QRect Area = FForm->rect();
  if (FForm->WindowState() == wsMaximized && FForm->screen()) {
    const QRect OnScreen = FForm->screen()->geometry().translated(-FForm->mapToGlobal(QPoint(0, 0)));
    Area = Area.intersected(OnScreen);
  }
  if (Area.isEmpty()) return;
  T->Prepare(FForm, Bounds(Area.x(), Area.y(), Area.width(), Area.height()));
  // The window's pixels come back as the screen had them (Qt's X11 windows have no background
  // of their own), and the render window's first frame is the first paint they see.
  RestoreWindowRegion();
  if (HasWindowRegion(FForm)) T->RenderWindowRegion = FForm->mask().translated(-Area.topLeft());
  if (T->Prepared()) T->Execute();
}

void TFormTransitions::RestoreWindowRegion() {
  if (!std::exchange(FRegionHidden, false) || !FFormWidget) return;
  if (FSavedRegion) FFormWidget->setMask(*FSavedRegion);
  else FFormWidget->clearMask();
  FSavedRegion.reset();
}

}  // namespace vte
