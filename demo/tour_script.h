#pragma once
// The walk through the whole program that `vteffects-demo --tour` takes: the main form with its
// about box, every page of the navigator's menu, every sample transition, every page of the
// wizard, every background style and the transition editor's dialog. Everything is found by its
// class name or its object name, as a user finds it by its caption.
#include <QPointer>

namespace vte {
class TForm;
}

namespace vte::demo {

class TTourRunner;

// Adds the walk's steps to Tour; MainForm receives the main form the first step creates.
void AddProgramTour(TTourRunner& Tour, QPointer<TForm>& MainForm);

}  // namespace vte::demo
