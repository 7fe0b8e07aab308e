#pragma once
// The scripted tour of the demonstration: started by `vteffects-demo --tour FOLDER`, it opens every
// menu entry, steps through every sample and wizard page, applies every background style and opens
// the editor, writing a PNG of the window at the middle and at the end of every transition into
// FOLDER. Returns the program's exit code: 0 when the whole tour ran without an error; otherwise
// 1, with a line on the standard error saying which step failed and how.
#include <QString>

namespace vte::demo {

struct TTourOptions {
  QString Folder;
  // At most this many steps (0: the whole tour), for a short check.
  int MaxSteps = 0;
};

int RunTour(const TTourOptions& Options);
int RunTour(const QString& Folder);

}  // namespace vte::demo
