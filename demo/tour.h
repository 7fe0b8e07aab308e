#pragma once
// The scripted tour of the demonstration: started by `vteffects-demo --tour FOLDER`, it opens every
// menu entry, steps through every sample and wizard page, applies every background style and opens
// the editor, writing a PNG of the window at the middle and at the end of every transition into
// FOLDER. Returns the program's exit code: 0 when the whole tour ran without an error.
#include <QString>

namespace vte::demo {

int RunTour(const QString& Folder);

}  // namespace vte::demo
