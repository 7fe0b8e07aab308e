#pragma once
// What the benchmark programs share: the offscreen full-HD screen they run on, and a paced run of
// a transition over a real widget, timed from its first frame, with the render window's paints
// counted (one a frame shown).
#include <QColor>
#include <vector>

class QWidget;

namespace vte {
class TTransitionEffect;
}

namespace vte::bench {

// The calling thread's CPU time in milliseconds: leaves out the time other processes had the
// processor on a shared machine.
double ThreadCpuMilliseconds();
// The middle value of repeated timings (the upper middle of an even count).
double Median(std::vector<double> Values);

// Before the application object: the offscreen platform with one 1920x1080 screen and no window
// frames (unless QT_QPA_PLATFORM says otherwise).
void UseOffscreenFullHdScreen();

// Window at 1920x1080 on the screen, filling its background, shown and painted.
void ShowFullHdWindow(QWidget& Window);

struct TPacedRun {
  bool Prepared = false;
  double Milliseconds = 0;  // from the start of the animation to the end of Execute
  int Paints = 0;
};

// Prepares Effect over the whole of Window, gives Window the background NewColor and executes.
TPacedRun RunOverWidget(TTransitionEffect& Effect, QWidget& Window, QColor NewColor);

}  // namespace vte::bench
