#pragma once
// A non-visual component put on a top-level form: the form appears through a transition when it
// is shown (from the screen below the form to the form), and its surface is painted by background
// options, which the component answers for (FCGetBackgroundOptions; TForm paints through them).
//
// How the show works on Qt. The component watches its form's events. At the form's Show event the
// window is about to be mapped: it gets a mask that leaves none of its pixels on the screen. When
// the form has become visible (ShowToParent, sent once the window is mapped) the old look is
// copied from the screen, where the form is still invisible; the render window, a child of the
// form, covers the client area with that look; the form gets its own mask back (which the render
// window takes too) and the transition runs from there to the form. Hiding never animates.
//
// The area is the form's client area: the frame belongs to the window manager and shows as it
// decides. Where the platform cannot copy the screen (Wayland, minimal) or ignores masks
// (offscreen), the form shows at once. MDI frames and children are not served: a form inside a
// QMdiSubWindow is no top-level window and simply shows.
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <optional>

#include "container/background_options.h"
#include "engine/transition_effect.h"

class QWidget;

namespace vte {

class TForm;

class TFormTransitions : public QObject {
  Q_OBJECT
  Q_PROPERTY(vte::TFCBackgroundOptions* BackgroundOptions READ BackgroundOptions WRITE SetBackgroundOptions)
  Q_PROPERTY(bool DestroyTransitions READ DestroyTransitions WRITE SetDestroyTransitions)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(vte::TTransitionEffect* ShowTransition READ ShowTransition WRITE SetShowTransition)
  Q_PROPERTY(QString Version READ Version WRITE SetVersion)

public:
  // Raises std::runtime_error, and no component is made, when Owner is an embedded form ("A
  // FormTransitions component is not necessary in a TFCEmbeddedForm") or already owns one ("Only
  // one FormTransitions component is allowed per form").
  Q_INVOKABLE explicit TFormTransitions(QObject* Owner = nullptr);
  // Stops watching the form; frees the show transition when DestroyTransitions says so.
  ~TFormTransitions() override;

  TFCBackgroundOptions* BackgroundOptions() const { return FOptions; }
  void SetBackgroundOptions(TFCBackgroundOptions* V);  // copies the settings
  bool DestroyTransitions() const { return FDestroyTransitions; }
  void SetDestroyTransitions(bool V) { FDestroyTransitions = V; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool V) { FEnabled = V; }
  // None: a flicker-free cut is used when the program's flicker-free transition allows it. A
  // transition that belongs to a transition list stays the list's (DestroyTransitions goes off).
  TTransitionEffect* ShowTransition() const { return FShowTransition; }
  void SetShowTransition(TTransitionEffect* V);
  QString Version() const { return VersionText(); }
  void SetVersion(const QString&) {}

  // The owner when it is a form, else null.
  TForm* Form() const { return FForm; }

  // How a control finds the options that paint it (see FindBackgroundOptions).
  Q_INVOKABLE vte::TFCBackgroundOptions* FCGetBackgroundOptions() const { return FOptions; }

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  static QObject* CheckedOwner(QObject* Owner);
  bool CanShowWithTransition() const;
  bool TransitionCanRun() const;
  // At the Show event: decides, and keeps the window off the screen while it is mapped.
  void ShowStarting();
  // Once the window is mapped: the transition, if one was set up.
  void ShowDone();
  void RunShowTransition();
  // The form's own mask again (none, or the one it had).
  void RestoreWindowRegion();

  TFCBackgroundOptions* FOptions;
  QPointer<TForm> FForm;
  // The same form as a widget: what the destructor and the clean-up reach, also while the form is
  // being taken apart (this component goes with its children) and is no TForm any more.
  QPointer<QWidget> FFormWidget;
  QPointer<TTransitionEffect> FShowTransition;
  QMetaObject::Connection FReplacementWatch;  // the show transition's end, for its replacement
  bool FDestroyTransitions = true;
  bool FEnabled = true;
  bool FWasVisible = false;
  // Between the Show event and the mapped window, when the show is to animate.
  bool FShowPending = false;
  // The form's mask before the show hid it (none: it had none).
  std::optional<QRegion> FSavedRegion;
  bool FRegionHidden = false;
};

}  // namespace vte
