#pragma once
// The walk through the whole program that `vteffects-demo --tour` takes: the main form with its
// about box, every page of the navigator's menu, every sample transition, every page of the
// wizard, every background style and the transition editor's dialog. Everything is found by its
// class name or its object name, as a user finds it by its caption.
#include <QPointer>
#include <functional>

#include "tour_runner.h"

namespace vte {
class TForm;
}

namespace vte::demo {

class TFormNew;

// Adds the walk's steps to Tour; MainForm receives the main form the first step creates.
void AddProgramTour(TTourRunner& Tour, QPointer<TForm>& MainForm);

// Presses the Next button of the wizard Wizard finds while it is enabled, one page a step, each
// step named after the page it brings ("wizard-02-TFormScroll").
TTourRunner::TStep WizardStep(TTourRunner& Tour, std::function<TFormNew*()> Wizard);

}  // namespace vte::demo
