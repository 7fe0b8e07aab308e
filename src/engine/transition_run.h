#pragma once
// The one protocol every visual change with an effect follows, as a single call for application
// code: cover the area (Prepare), let the caller change the widgets, animate to the new look
// (Execute, when the area could be prepared), and release everything (UnPrepare) whatever happens,
// with the hourglass cursor shown around it.
//
//   ChangeWithTransition(Wipe, Stack, [&] { Stack->setCurrentIndex(1); });
//
// When the area cannot be prepared (a hidden widget, another transition running, a disabled
// effect without its flicker-free cut) the change is simply made. An exception from the change
// or from the run reaches the caller after the clean-up.
#include <functional>

#include "gdi/geometry.h"

class QWidget;

namespace vte {

class TTransitionEffect;

// Over Rect of Control, in Control's client coordinates. Transition may be null: the change is
// made without one.
void ChangeWithTransition(TTransitionEffect* Transition, QWidget* Control, const TRect& Rect,
                          const std::function<void()>& Change);
// Over Control's whole client area.
void ChangeWithTransition(TTransitionEffect* Transition, QWidget* Control, const std::function<void()>& Change);

}  // namespace vte
