// The program-wide flicker-free transition goes with the application object, not never.
#include <QApplication>
#include <cstdio>

#include "engine/transition_effect.h"

int main(int argc, char** argv) {
  bool Freed = false;
  {
    QApplication App(argc, argv);
    vte::TFlickerFreeTransition* Global = vte::GlobalFlickerFree();
    if (!Global || !Global->FlickerFreeWhenDisabled() || vte::GlobalFlickerFree() != Global) {
      std::puts("the global flicker-free transition is not one object with FlickerFreeWhenDisabled set");
      return 1;
    }
    QObject::connect(Global, &QObject::destroyed, [&] { Freed = true; });
  }
  std::puts(Freed ? "1 passed, 0 failed" : "0 passed, 1 failed: not freed with the application");
  return Freed ? 0 : 1;
}
