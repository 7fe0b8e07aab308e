#include "engine/property_store.h"

#include <QJsonValue>
#include <QMetaEnum>
#include <QMetaType>
#include <QStringList>
#include <QVariant>
#include <cmath>
#include <exception>
#include <memory>
#include <stdexcept>

#include "engine/easing.h"
#include "render/control_registry.h"

namespace vte {

void ThrowStoredFormError(const QString& Origin, const QString& Subject, const QString& Key, const QString& Problem) {
  QStringList Place;
  if (!Subject.isEmpty()) Place << Subject;
  if (!Key.isEmpty()) Place << QStringLiteral("key '%1'").arg(Key);
  QStringList Parts;
  if (!Origin.isEmpty()) Parts << Origin;
  if (!Place.isEmpty()) Parts << Place.join(QStringLiteral(", "));
  Parts << Problem;
  throw std::runtime_error(Parts.join(QStringLiteral(": ")).toStdString());
}

QString JsonTypeName(const QJsonValue& Value) {
  switch (Value.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("a boolean");
    case QJsonValue::Double: return QStringLiteral("a number");
    case QJsonValue::String: return QStringLiteral("a string");
    case QJsonValue::Array: return QStringLiteral("an array");
    case QJsonValue::Object: return QStringLiteral("an object");
    default: return QStringLiteral("nothing");
  }
}

QString DescribeObject(const QObject& Object) {
  const QString Class = ControlClassName(Object.metaObject());
  return Object.objectName().isEmpty() ? Class : QStringLiteral("%1 '%2'").arg(Class, Object.objectName());
}

std::vector<QMetaProperty> StoredProperties(const QMetaObject& Class, const QMetaObject& Base) {
  std::vector<QMetaProperty> Result;
  for (int I = Base.propertyCount(); I < Class.propertyCount(); ++I) {
    const QMetaProperty P = Class.property(I);
    if (!P.isStored() || !P.isWritable()) continue;
    // A subclass that publishes an inherited accessor again: the name once, as the subclass has it.
    if (Class.indexOfProperty(P.name()) != I) continue;
    Result.push_back(P);
  }
  return Result;
}

namespace {

bool HoldsObject(const QMetaProperty& P) { return (P.metaType().flags() & QMetaType::PointerToQObject) != 0; }

QObject* HeldObject(const QMetaProperty& P, const QObject& Owner) { return P.read(&Owner).value<QObject*>(); }

// A problem with one key; the public functions add where it happened.
struct TKeyError {
  QString Key;
  QString Problem;
};

// ---------------------------------------------------------------------------------------------
// Writing

QJsonValue EnumToJson(const QMetaProperty& P, const QVariant& Value, const QString& Key) {
  const QMetaEnum E = P.enumerator();
  const int Raw = Value.toInt();
  if (E.isFlag()) {
    // No flag set is the empty name. valueToKeys drops the bits it has no name for, silently.
    const QByteArray Keys = E.valueToKeys(Raw);
    if (Keys.isEmpty() ? Raw != 0 : E.keysToValue(Keys.constData()) != Raw)
      throw TKeyError{Key, QStringLiteral("%1 has bits no %2 value names").arg(Raw).arg(QLatin1String(E.name()))};
    return QString::fromLatin1(Keys);
  }
  const char* Name = E.valueToKey(Raw);
  if (!Name) throw TKeyError{Key, QStringLiteral("%1 is no %2 value").arg(Raw).arg(QLatin1String(E.name()))};
  return QString::fromLatin1(Name);
}

QJsonValue ToJson(const QMetaProperty& P, const QVariant& Value, const QString& Key) {
  if (P.isEnumType()) return EnumToJson(P, Value, Key);
  switch (P.metaType().id()) {
    case QMetaType::Bool: return Value.toBool();
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return Value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float: return Value.toDouble();
    case QMetaType::QString: return Value.toString();
    case QMetaType::QEasingCurve: {
      const QEasingCurve Curve = Value.value<QEasingCurve>();
      if (!EasingIsStorable(Curve))
        throw TKeyError{Key, QStringLiteral("an easing curve with a function, points or parameters of its own cannot be stored")};
      return EasingTypeName(Curve.type());
    }
    default:
      throw TKeyError{Key, QStringLiteral("a property of type %1 cannot be stored").arg(QLatin1String(P.metaType().name()))};
  }
}

QJsonObject Differences(const QObject& Object, const QObject* Default, const QMetaObject& Base, const QString& Path) {
  QJsonObject Result;
  for (const QMetaProperty& P : StoredProperties(*Object.metaObject(), Base)) {
    const QString Name = QString::fromLatin1(P.name());
    if (HoldsObject(P)) {
      const QObject* Sub = HeldObject(P, Object);
      if (!Sub) continue;
      const QObject* DefaultSub = Default ? HeldObject(P, *Default) : nullptr;
      const QJsonObject Nested = Differences(*Sub, DefaultSub, QObject::staticMetaObject, Path + Name + QLatin1Char('.'));
      if (!Nested.isEmpty()) Result.insert(Name, Nested);
      continue;
    }
    const QVariant Value = P.read(&Object);
    if (Default && Value == P.read(Default)) continue;
    Result.insert(Name, ToJson(P, Value, Path + Name));
  }
  return Result;
}

std::unique_ptr<QObject> NewDefault(const QMetaObject& Class) {
  QObject* Made = Class.newInstance(Q_ARG(QObject*, nullptr));
  if (!Made) Made = Class.newInstance();
  return std::unique_ptr<QObject>(Made);
}

// ---------------------------------------------------------------------------------------------
// Reading

QString NumberText(double D) { return QString::number(D, 'g', 17); }

// An integer property's value: a whole number within [Min, Max]. Bounds of 64-bit types are those
// a JSON number holds exactly (53 bits).
qint64 ReadInteger(const QJsonValue& V, double Min, double Max, const QString& Key) {
  if (!V.isDouble()) throw TKeyError{Key, QStringLiteral("expected an integer, found %1").arg(JsonTypeName(V))};
  const double D = V.toDouble();
  if (std::trunc(D) != D) throw TKeyError{Key, QStringLiteral("expected an integer, found %1").arg(NumberText(D))};
  if (D < Min || D > Max)
    throw TKeyError{Key, QStringLiteral("%1 is out of range (%2 to %3)").arg(NumberText(D), NumberText(Min), NumberText(Max))};
  return static_cast<qint64>(D);
}

QVariant EnumFromJson(const QMetaProperty& P, const QJsonValue& V, const QString& Key) {
  const QMetaEnum E = P.enumerator();
  const QLatin1String EnumName(E.name());
  if (!V.isString())
    throw TKeyError{Key, QStringLiteral("expected the name of a %1 value, found %2").arg(EnumName, JsonTypeName(V))};
  const QByteArray Name = V.toString().toLatin1();
  if (E.isFlag() && Name.isEmpty()) return QVariant(0);
  bool Ok = false;
  const int Raw = E.isFlag() ? E.keysToValue(Name.constData(), &Ok) : E.keyToValue(Name.constData(), &Ok);
  if (!Ok) throw TKeyError{Key, QStringLiteral("'%1' is not a %2 value").arg(V.toString(), EnumName)};
  return QVariant(Raw);
}

QVariant FromJson(const QMetaProperty& P, const QJsonValue& V, const QString& Key) {
  if (P.isEnumType()) return EnumFromJson(P, V, Key);
  const auto Expect = [&](bool Right, const char* Expected) {
    if (!Right) throw TKeyError{Key, QStringLiteral("expected %1, found %2").arg(QLatin1String(Expected), JsonTypeName(V))};
  };
  constexpr double Exact = 9007199254740992.0;  // 2^53
  switch (P.metaType().id()) {
    case QMetaType::Bool: Expect(V.isBool(), "a boolean"); return V.toBool();
    case QMetaType::Int: return static_cast<int>(ReadInteger(V, -2147483648.0, 2147483647.0, Key));
    case QMetaType::Short: return QVariant::fromValue(static_cast<short>(ReadInteger(V, -32768, 32767, Key)));
    case QMetaType::UShort: return QVariant::fromValue(static_cast<ushort>(ReadInteger(V, 0, 65535, Key)));
    case QMetaType::UInt: return static_cast<uint>(ReadInteger(V, 0, 4294967295.0, Key));
    case QMetaType::LongLong: return ReadInteger(V, -Exact, Exact, Key);
    case QMetaType::ULongLong: return static_cast<qulonglong>(ReadInteger(V, 0, Exact, Key));
    case QMetaType::Double:
    case QMetaType::Float: Expect(V.isDouble(), "a number"); return V.toDouble();
    case QMetaType::QString: Expect(V.isString(), "a string"); return V.toString();
    case QMetaType::QEasingCurve: {
      Expect(V.isString(), "the name of an easing curve type");
      const std::optional<QEasingCurve> Curve = EasingFromName(V.toString());
      if (!Curve) throw TKeyError{Key, QStringLiteral("'%1' is not an easing curve type").arg(V.toString())};
      return QVariant::fromValue(*Curve);
    }
    default:
      throw TKeyError{Key, QStringLiteral("a property of type %1 cannot be read").arg(QLatin1String(P.metaType().name()))};
  }
}

// One value to set, checked and converted.
struct TPendingWrite {
  QObject* Target;
  QMetaProperty Property;
  QVariant Value;
  QString Key;
};

// Checks every key of Values against Object's class and converts it; sets nothing.
void Collect(QObject& Object, const QJsonObject& Values, const QMetaObject& Base, const QString& Path,
             std::vector<TPendingWrite>& Writes) {
  const QMetaObject* Class = Object.metaObject();
  for (auto It = Values.begin(); It != Values.end(); ++It) {
    const QString Key = Path + It.key();
    const int Index = Class->indexOfProperty(It.key().toLatin1().constData());
    if (Index < Base.propertyCount())
      throw TKeyError{Key, QStringLiteral("%1 has no such property").arg(ControlClassName(Class))};
    const QMetaProperty P = Class->property(Index);
    if (!P.isStored() || !P.isWritable()) throw TKeyError{Key, QStringLiteral("the property is not stored")};
    if (HoldsObject(P)) {
      if (!It.value().isObject())
        throw TKeyError{Key, QStringLiteral("expected an object, found %1").arg(JsonTypeName(It.value()))};
      QObject* Sub = HeldObject(P, Object);
      if (!Sub) throw TKeyError{Key, QStringLiteral("the property has no object to read into")};
      Collect(*Sub, It.value().toObject(), QObject::staticMetaObject, Key + QLatin1Char('.'), Writes);
      continue;
    }
    Writes.push_back({&Object, P, FromJson(P, It.value(), Key), Key});
  }
}

// Sets the collected values in order; on the first failure puts back those already set.
void Apply(const std::vector<TPendingWrite>& Writes) {
  std::vector<QVariant> Previous;
  Previous.reserve(Writes.size());
  for (const TPendingWrite& W : Writes) Previous.push_back(W.Property.read(W.Target));
  std::size_t Done = 0;
  const auto Restore = [&] {
    // The failed setter may have changed something before it gave up: its value goes back too.
    for (std::size_t I = Done + 1; I-- > 0;) {
      try {
        Writes[I].Property.write(Writes[I].Target, Previous[I]);
      } catch (...) {
        // Putting back what was there must not hide the error that made it necessary.
      }
    }
  };
  for (; Done < Writes.size(); ++Done) {
    const TPendingWrite& W = Writes[Done];
    bool Written = false;
    try {
      Written = W.Property.write(W.Target, W.Value);
    } catch (const std::exception& E) {
      Restore();
      throw TKeyError{W.Key, QString::fromLocal8Bit(E.what())};
    }
    if (!Written) {
      Restore();
      throw TKeyError{W.Key, QStringLiteral("the value could not be set")};
    }
  }
}

}  // namespace

QJsonObject PropertiesToJson(const QObject& Object, const QObject* Default, const QMetaObject& Base) {
  try {
    return Differences(Object, Default, Base, QString());
  } catch (const TKeyError& Error) {
    ThrowStoredFormError(QString(), DescribeObject(Object), Error.Key, Error.Problem);
  }
}

QJsonObject PropertiesToJson(const QObject& Object, const QMetaObject& Base) {
  const std::unique_ptr<QObject> Default = NewDefault(*Object.metaObject());
  return PropertiesToJson(Object, Default.get(), Base);
}

void PropertiesFromJson(QObject& Object, const QJsonObject& Values, const QString& Origin, const QString& Subject,
                        const QMetaObject& Base) {
  try {
    std::vector<TPendingWrite> Writes;
    Collect(Object, Values, Base, QString(), Writes);
    Apply(Writes);
  } catch (const TKeyError& Error) {
    ThrowStoredFormError(Origin, Subject.isEmpty() ? DescribeObject(Object) : Subject, Error.Key, Error.Problem);
  }
}

}  // namespace vte
