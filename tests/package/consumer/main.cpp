// Loads a stored list by class names and runs each transition to its end on two bitmaps: every
// built-in effect must be there for a program that links nothing but the installed library.
#include <QApplication>
#include <cstdio>

#include "engine/offscreen_runner.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "engine/transition_registry.h"
#include "gdi/canvas.h"

int main(int argc, char** argv) {
  QApplication App(argc, argv);
  vte::TTransitionList List;
  List.LoadFromJson(R"({"Transitions": [
      {"Class": "TBlendTransition"}, {"Class": "TDripTransition"}, {"Class": "TFuseTransition"},
      {"Class": "TPushTransition"}, {"Class": "TRollTransition"}, {"Class": "TSlideTransition"},
      {"Class": "TWipeTransition", "Milliseconds": 0}]})",
                    "consumer");
  vte::TBitmap Old(64, 48, vte::pf32bit), New(64, 48, vte::pf32bit), Screen;
  New.Canvas().Brush().Color = vte::clRed;
  New.Canvas().FillRect(vte::Rect(0, 0, 64, 48));
  for (int I = 0; I < List.Count(); ++I) {
    vte::TTransitionEffect& Effect = *List.Transitions(I);
    vte::RunOffscreen(Effect, Old, New, Screen);
    if (Screen.Canvas().Pixel(63, 47) != vte::clRed) {
      std::printf("%s did not end on the new look\n", Effect.metaObject()->className());
      return 1;
    }
  }
  std::printf("%d stored transitions ran; %zu classes registered\n", List.Count(), vte::TransitionClasses().size());
  return List.Count() == 7 && vte::TransitionClasses().size() >= 8 ? 0 : 1;
}
