#pragma once
// Easing of a paced run: the curve maps the share of the duration gone to the share of the frames
// shown, so that an ease-out run moves fast first and settles gently. Linear maps every time to
// itself: a run without easing shows exactly the frames it always did.
//
// A curve is stored by the name of its type ("OutCubic"), with Qt's own parameters for it; curves
// a name cannot describe (a custom function, splines, changed amplitude, period or overshoot) are
// not stored.
#include <QEasingCurve>
#include <QString>
#include <optional>

namespace vte {

// "OutCubic" for QEasingCurve::OutCubic; empty for the types that cannot be stored.
QString EasingTypeName(QEasingCurve::Type Type);
// The curve a stored name stands for; none for a name that is no storable type (case matters, as
// for every other stored name).
std::optional<QEasingCurve> EasingFromName(const QString& Name);
// Whether Curve is exactly the one its type's name reads back as.
bool EasingIsStorable(const QEasingCurve& Curve);

// The frame shown when the run's linear frame (its elapsed time counted in frames) is Linear of
// Total: Total times the curve's value, limited to 0..Total (curves that overshoot stay at the
// end), on a multiple of StepUnit. Linear and Total themselves are kept.
int EasedFrame(const QEasingCurve& Curve, int Linear, int Total, int StepUnit);

}  // namespace vte
