#include "engine/easing.h"

#include <QMetaEnum>
#include <algorithm>
#include <cmath>

namespace vte {

namespace {

QMetaEnum TypeEnum() { return QMetaEnum::fromType<QEasingCurve::Type>(); }

// Types made from a name alone: Custom needs a function, the splines need points, NCurveTypes is
// a count.
bool NamedType(int Type) {
  return Type >= QEasingCurve::Linear && Type < QEasingCurve::NCurveTypes && Type != QEasingCurve::Custom &&
         Type != QEasingCurve::BezierSpline && Type != QEasingCurve::TCBSpline;
}

}  // namespace

QString EasingTypeName(QEasingCurve::Type Type) {
  if (!NamedType(Type)) return QString();
  return QString::fromLatin1(TypeEnum().valueToKey(Type));
}

std::optional<QEasingCurve> EasingFromName(const QString& Name) {
  bool Ok = false;
  const int Type = TypeEnum().keyToValue(Name.toLatin1().constData(), &Ok);
  if (!Ok || !NamedType(Type)) return std::nullopt;
  return QEasingCurve(static_cast<QEasingCurve::Type>(Type));
}

bool EasingIsStorable(const QEasingCurve& Curve) {
  return NamedType(Curve.type()) && Curve == QEasingCurve(Curve.type());
}

int EasedFrame(const QEasingCurve& Curve, int Linear, int Total, int StepUnit) {
  if (Curve.type() == QEasingCurve::Linear || Linear <= 0 || Linear >= Total) return Linear;
  const double Progress = std::clamp(Curve.valueForProgress(static_cast<double>(Linear) / Total), 0.0, 1.0);
  const int Unit = std::max(1, StepUnit);
  // The nearest multiple of the unit; the last one below Total when that is nearer than Total.
  const long long Frame = std::llround(Progress * Total / Unit) * Unit;
  return static_cast<int>(std::min<long long>(Frame, Total));
}

}  // namespace vte
