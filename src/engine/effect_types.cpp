#include "engine/effect_types.h"

namespace vte {

QString GetDirectionName(TTEEffectDirection Direction) {
  switch (Direction) {
    case tedRight: return QStringLiteral("Right");
    case tedLeft: return QStringLiteral("Left");
    case tedDown: return QStringLiteral("Down");
    case tedUp: return QStringLiteral("Up");
    case tedDownRight: return QStringLiteral("Down and right");
    case tedDownLeft: return QStringLiteral("Down and left");
    case tedUpRight: return QStringLiteral("Up and right");
    case tedUpLeft: return QStringLiteral("Up and left");
    case tedIn: return QStringLiteral("In");
    case tedOut: return QStringLiteral("Out");
    case tedNone: break;
  }
  return {};
}

TTEEffectDirection OppositeDirection(TTEEffectDirection Direction) {
  switch (Direction) {
    case tedRight: return tedLeft;
    case tedLeft: return tedRight;
    case tedDown: return tedUp;
    case tedUp: return tedDown;
    case tedDownRight: return tedUpLeft;
    case tedUpLeft: return tedDownRight;
    case tedDownLeft: return tedUpRight;
    case tedUpRight: return tedDownLeft;
    case tedIn: return tedOut;
    case tedOut: return tedIn;
    case tedNone: break;
  }
  return tedNone;
}

}  // namespace vte
