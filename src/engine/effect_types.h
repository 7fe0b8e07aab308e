#pragma once
// Enumerations of the transition engine, registered with the meta-object system so that stored
// transition lists and editors read and write them by name. Each module keeps its enumerations in
// an inline namespace of its own (one meta-object per namespace); callers just write vte::tedRight.
#include <QObject>
#include <QString>

namespace vte {
inline namespace engine_types {
Q_NAMESPACE

enum TTEEffectDirection {
  tedNone, tedRight, tedLeft, tedDown, tedUp, tedDownRight, tedDownLeft, tedUpRight, tedUpLeft,
  tedIn, tedOut
};
Q_ENUM_NS(TTEEffectDirection)

enum TTEPassSettingType { teOnePass, teTwoPasses, tePaletteDependent };
Q_ENUM_NS(TTEPassSettingType)

}  // namespace engine_types

// A set of directions, one bit per direction.
using TTEEffectDirections = unsigned;
inline constexpr TTEEffectDirections DirectionSet(TTEEffectDirection D) { return 1u << D; }
template <class... D> constexpr TTEEffectDirections DirectionSet(TTEEffectDirection First, D... Rest) {
  return (DirectionSet(First) | ... | DirectionSet(Rest));
}
inline constexpr bool InDirections(TTEEffectDirections Set, TTEEffectDirection D) { return Set & DirectionSet(D); }

// "Right", "Down and left", ...; the empty string for tedNone.
QString GetDirectionName(TTEEffectDirection Direction);
// Right <-> Left, Down <-> Up, DownRight <-> UpLeft, DownLeft <-> UpRight, In <-> Out.
TTEEffectDirection OppositeDirection(TTEEffectDirection Direction);

}  // namespace vte
