#pragma once
// The program-wide switch for people who turn animations off: while it is on, every transition
// ends as the flicker-free cut. The area is still covered while the application changes its
// widgets, the new look still replaces the old one in a single copy, and the transition's events
// still fire in their order (before, start, end, after), but no frame in between is drawn and no
// intermediate look of a two-pass run is shown.
//
// The switch starts from the environment: VTE_REDUCED_MOTION set to anything but "" or "0" turns
// it on. A program that offers its own setting calls SetReducedMotion, which wins over the
// environment from then on.
//
// The desktop's own setting is not read. Qt 6.4 has no reduced-motion hint (QStyleHints gained
// none), and QApplication::isEffectEnabled(Qt::UI_General) is false on every platform without a
// desktop theme (plain X, offscreen), so it cannot tell "animations turned off" from "nobody said".
namespace vte {

bool ReducedMotion();
void SetReducedMotion(bool On);
// Back to what the environment says.
void ResetReducedMotion();

}  // namespace vte
