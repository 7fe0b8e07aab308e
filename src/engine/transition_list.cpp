#include "engine/transition_list.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaObject>
#include <QMetaProperty>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "engine/transition_effect.h"
#include "engine/transition_registry.h"
#include "render/control_registry.h"

namespace vte {

// ---------------------------------------------------------------------------------------------
// The list

TTransitionList::TTransitionList(QObject* Owner) : QObject(Owner) {}

namespace {

// Frees the transitions of a list, the last one first; each one's destructor takes it out.
void FreeAll(std::vector<TTransitionEffect*>& Items) {
  while (!Items.empty()) {
    const std::size_t Before = Items.size();
    delete Items.back();
    // Never loop forever on a transition that failed to leave.
    if (Items.size() == Before) Items.pop_back();
  }
}

}  // namespace

TTransitionList::~TTransitionList() { FreeAll(FItems); }

TTransitionEffect* TTransitionList::Transitions(int Index) const {
  if (Index < 0 || Index >= Count())
    throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[static_cast<std::size_t>(Index)];
}

int TTransitionList::IndexOf(const TTransitionEffect* Transition) const {
  const auto It = std::find(FItems.begin(), FItems.end(), Transition);
  return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

void TTransitionList::Add(TTransitionEffect* Transition) {
  if (!Transition) return;
  if (IndexOf(Transition) < 0) FItems.push_back(Transition);
  Transition->FTransitionList = this;
}

void TTransitionList::Remove(TTransitionEffect* Transition) {
  const int Index = IndexOf(Transition);
  if (Index >= 0) FItems.erase(FItems.begin() + Index);
  if (Transition && Transition->FTransitionList == this) Transition->FTransitionList = nullptr;
}

void TTransitionList::Move(TTransitionEffect* Transition, int NewIndex) {
  const int Index = IndexOf(Transition);
  if (Index < 0) return;
  NewIndex = std::clamp(NewIndex, 0, Count() - 1);
  if (NewIndex == Index) return;
  FItems.erase(FItems.begin() + Index);
  FItems.insert(FItems.begin() + NewIndex, Transition);
}

// ---------------------------------------------------------------------------------------------
// Stored form

namespace {

const QString TransitionsKey = QStringLiteral("Transitions");
const QString ClassKey = QStringLiteral("Class");
const QString NameKey = QStringLiteral("Name");

TTransitionEffect* NewInstance(const QMetaObject* Class, QObject* Owner) {
  QObject* Object = Class->newInstance(Q_ARG(QObject*, Owner));
  auto* Transition = qobject_cast<TTransitionEffect*>(Object);
  if (!Transition) delete Object;
  return Transition;
}

// The published properties that are stored: the object's own (QObject's objectName is stored as
// Name), each name once even when a subclass publishes an inherited accessor again, and never
// Version, which only ever reads the library's version.
std::vector<QMetaProperty> StoredProperties(const QMetaObject* Class) {
  std::vector<QMetaProperty> Result;
  for (int I = QObject::staticMetaObject.propertyCount(); I < Class->propertyCount(); ++I) {
    const QMetaProperty P = Class->property(I);
    if (!P.isStored() || !P.isWritable()) continue;
    if (Class->indexOfProperty(P.name()) != I) continue;
    if (qstrcmp(P.name(), "Version") == 0) continue;
    Result.push_back(P);
  }
  return Result;
}

bool IsObjectProperty(const QMetaProperty& P) {
  return (P.metaType().flags() & QMetaType::PointerToQObject) != 0;
}

QObject* ObjectValue(const QMetaProperty& P, const QObject* Owner) {
  return P.read(Owner).value<QObject*>();
}

[[noreturn]] void SaveError(const QObject* Owner, const QMetaProperty& P) {
  throw std::runtime_error("Property '" + std::string(P.name()) + "' of " +
                           Owner->metaObject()->className() + " has a type (" +
                           P.metaType().name() + ") that cannot be stored");
}

QJsonValue ToJson(const QMetaProperty& P, const QVariant& Value, const QObject* Owner) {
  if (P.isEnumType()) {
    const QMetaEnum E = P.enumerator();
    const int Raw = Value.toInt();
    const QByteArray Key = E.isFlag() ? E.valueToKeys(Raw) : QByteArray(E.valueToKey(Raw));
    if (Key.isEmpty() && !(E.isFlag() && Raw == 0)) return QJsonValue(Raw);
    return QJsonValue(QString::fromLatin1(Key));
  }
  switch (P.metaType().id()) {
    case QMetaType::Bool: return QJsonValue(Value.toBool());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return QJsonValue(Value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: return QJsonValue(Value.toDouble());
    case QMetaType::QString: return QJsonValue(Value.toString());
    default: SaveError(Owner, P);
  }
}

// Properties of Object whose values differ from those of Default (an object of the same class
// as created).
QJsonObject Differences(const QObject* Object, const QObject* Default) {
  QJsonObject Result;
  for (const QMetaProperty& P : StoredProperties(Object->metaObject())) {
    if (IsObjectProperty(P)) {
      const QObject* Sub = ObjectValue(P, Object);
      const QObject* DefaultSub = Default ? ObjectValue(P, Default) : nullptr;
      if (!Sub) continue;
      const QJsonObject Nested = Differences(Sub, DefaultSub);
      if (!Nested.isEmpty()) Result.insert(QString::fromLatin1(P.name()), Nested);
      continue;
    }
    const QVariant Value = P.read(Object);
    if (Default && Value == P.read(Default)) continue;
    Result.insert(QString::fromLatin1(P.name()), ToJson(P, Value, Object));
  }
  return Result;
}

// What went wrong while reading one transition; the caller adds the file and the transition.
struct TReadError {
  QString Key;
  QString Problem;
};

QString TypeName(const QJsonValue& V) {
  switch (V.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("a boolean");
    case QJsonValue::Double: return QStringLiteral("a number");
    case QJsonValue::String: return QStringLiteral("a string");
    case QJsonValue::Array: return QStringLiteral("an array");
    case QJsonValue::Object: return QStringLiteral("an object");
    default: return QStringLiteral("undefined");
  }
}

bool IntegralInRange(const QJsonValue& V, double Min, double Max, qint64& Out) {
  if (!V.isDouble()) return false;
  const double D = V.toDouble();
  if (std::trunc(D) != D || D < Min || D > Max) return false;
  Out = static_cast<qint64>(D);
  return true;
}

QVariant FromJson(const QMetaProperty& P, const QJsonValue& V, const QString& Key) {
  const auto WrongType = [&](const QString& Expected) {
    return TReadError{Key, QStringLiteral("expected %1, found %2").arg(Expected, TypeName(V))};
  };
  if (P.isEnumType()) {
    const QMetaEnum E = P.enumerator();
    if (!V.isString()) throw WrongType(QStringLiteral("the name of a %1 value").arg(QLatin1String(E.name())));
    bool Ok = false;
    const QByteArray Name = V.toString().toLatin1();
    const int Raw = E.isFlag() ? E.keysToValue(Name.constData(), &Ok) : E.keyToValue(Name.constData(), &Ok);
    if (!Ok)
      throw TReadError{Key, QStringLiteral("'%1' is not a %2 value").arg(V.toString(), QLatin1String(E.name()))};
    return QVariant(Raw);
  }
  qint64 Integer = 0;
  switch (P.metaType().id()) {
    case QMetaType::Bool:
      if (!V.isBool()) throw WrongType(QStringLiteral("a boolean"));
      return QVariant(V.toBool());
    case QMetaType::Int:
      if (!IntegralInRange(V, -2147483648.0, 2147483647.0, Integer)) throw WrongType(QStringLiteral("an integer"));
      return QVariant(static_cast<int>(Integer));
    case QMetaType::Short:
      if (!IntegralInRange(V, -32768, 32767, Integer)) throw WrongType(QStringLiteral("an integer"));
      return QVariant::fromValue(static_cast<short>(Integer));
    case QMetaType::UShort:
      if (!IntegralInRange(V, 0, 65535, Integer)) throw WrongType(QStringLiteral("an integer"));
      return QVariant::fromValue(static_cast<ushort>(Integer));
    case QMetaType::UInt:
      if (!IntegralInRange(V, 0, 4294967295.0, Integer)) throw WrongType(QStringLiteral("an integer"));
      return QVariant(static_cast<uint>(Integer));
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      // Exact only within the 53 bits a JSON number carries.
      if (!IntegralInRange(V, -9007199254740992.0, 9007199254740992.0, Integer))
        throw WrongType(QStringLiteral("an integer"));
      return QVariant(Integer);
    case QMetaType::Double:
    case QMetaType::Float:
      if (!V.isDouble()) throw WrongType(QStringLiteral("a number"));
      return QVariant(V.toDouble());
    case QMetaType::QString:
      if (!V.isString()) throw WrongType(QStringLiteral("a string"));
      return QVariant(V.toString());
    default:
      throw TReadError{Key, QStringLiteral("a property of type %1 cannot be read")
                                .arg(QLatin1String(P.metaType().name()))};
  }
}

// Sets every key of Values on Object by property name; Path prefixes the keys of nested objects.
void ApplyProperties(QObject* Object, const QJsonObject& Values, const QString& Path) {
  const QMetaObject* Class = Object->metaObject();
  for (auto It = Values.begin(); It != Values.end(); ++It) {
    const QString Key = Path + It.key();
    const int Index = Class->indexOfProperty(It.key().toLatin1().constData());
    if (Index < QObject::staticMetaObject.propertyCount())
      throw TReadError{Key, QStringLiteral("%1 has no such property").arg(QLatin1String(Class->className()))};
    const QMetaProperty P = Class->property(Index);
    if (!P.isStored() || !P.isWritable())
      throw TReadError{Key, QStringLiteral("the property is not stored")};
    if (IsObjectProperty(P)) {
      if (!It.value().isObject()) throw TReadError{Key, QStringLiteral("expected an object, found %1").arg(TypeName(It.value()))};
      QObject* Sub = ObjectValue(P, Object);
      if (!Sub) throw TReadError{Key, QStringLiteral("the property has no object to read into")};
      ApplyProperties(Sub, It.value().toObject(), Key + QLatin1Char('.'));
      continue;
    }
    if (!P.write(Object, FromJson(P, It.value(), Key)))
      throw TReadError{Key, QStringLiteral("the value could not be set")};
  }
}

[[noreturn]] void LoadError(const QString& Origin, const QString& Where, const QString& Problem) {
  throw std::runtime_error(QStringLiteral("%1: %2%3").arg(Origin, Where, Problem).toStdString());
}

}  // namespace

QByteArray TTransitionList::SaveToJson() const {
  QJsonArray Items;
  for (const TTransitionEffect* T : FItems) {
    const QMetaObject* Class = T->metaObject();
    const QString ClassName = ControlClassName(Class);
    // Only what the registry can create again can be read back.
    if (FindTransitionClass(ClassName) != Class)
      throw std::runtime_error("Transition '" + T->objectName().toStdString() + "' of class " +
                               ClassName.toStdString() + " cannot be stored: the class is not registered");
    const std::unique_ptr<TTransitionEffect> Default(NewInstance(Class, nullptr));
    QJsonObject Item = Differences(T, Default.get());
    Item.insert(ClassKey, ClassName);
    if (!T->objectName().isEmpty()) Item.insert(NameKey, T->objectName());
    Items.append(Item);
  }
  QJsonObject Root;
  Root.insert(TransitionsKey, Items);
  return QJsonDocument(Root).toJson(QJsonDocument::Indented);
}

void TTransitionList::LoadFromJson(const QByteArray& Json, const QString& Origin) {
  QJsonParseError ParseError;
  const QJsonDocument Document = QJsonDocument::fromJson(Json, &ParseError);
  if (ParseError.error != QJsonParseError::NoError)
    LoadError(Origin, QString(), QStringLiteral("not valid JSON (at offset %1: %2)")
                                     .arg(ParseError.offset).arg(ParseError.errorString()));
  if (!Document.isObject())
    LoadError(Origin, QString(), QStringLiteral("expected an object with the key '%1'").arg(TransitionsKey));
  const QJsonValue ItemsValue = Document.object().value(TransitionsKey);
  if (!ItemsValue.isArray())
    LoadError(Origin, QStringLiteral("key '%1': ").arg(TransitionsKey),
              QStringLiteral("expected an array, found %1").arg(TypeName(ItemsValue)));
  const QJsonArray Items = ItemsValue.toArray();

  // Everything is read into new objects first: the list changes only when the whole file is good.
  std::vector<std::unique_ptr<TTransitionEffect>> Loaded;
  for (qsizetype I = 0; I < Items.size(); ++I) {
    const QJsonValue ItemValue = Items.at(I);
    QString Where = QStringLiteral("transition #%1").arg(I);
    try {
      if (!ItemValue.isObject())
        throw TReadError{QString(), QStringLiteral("expected an object, found %1").arg(TypeName(ItemValue))};
      QJsonObject Item = ItemValue.toObject();
      const QJsonValue Name = Item.take(NameKey);
      if (Name.isString() && !Name.toString().isEmpty())
        Where = QStringLiteral("transition '%1' (#%2)").arg(Name.toString()).arg(I);
      if (!Name.isUndefined() && !Name.isString())
        throw TReadError{NameKey, QStringLiteral("expected a string, found %1").arg(TypeName(Name))};

      const QJsonValue ClassValue = Item.take(ClassKey);
      if (!ClassValue.isString())
        throw TReadError{ClassKey, QStringLiteral("expected a class name, found %1").arg(TypeName(ClassValue))};
      const QMetaObject* Class = FindTransitionClass(ClassValue.toString());
      if (!Class)
        throw TReadError{ClassKey, QStringLiteral("unknown transition class '%1'").arg(ClassValue.toString())};
      std::unique_ptr<TTransitionEffect> Transition(NewInstance(Class, nullptr));
      if (!Transition)
        throw TReadError{ClassKey, QStringLiteral("class '%1' cannot be created").arg(ClassValue.toString())};
      Transition->setObjectName(Name.toString());
      ApplyProperties(Transition.get(), Item, QString());
      Loaded.push_back(std::move(Transition));
    } catch (const TReadError& Error) {
      LoadError(Origin, Error.Key.isEmpty() ? Where + QStringLiteral(": ")
                                            : QStringLiteral("%1, key '%2': ").arg(Where, Error.Key),
                Error.Problem);
    }
  }

  FreeAll(FItems);
  for (auto& Transition : Loaded) {
    TTransitionEffect* T = Transition.release();
    T->setParent(this);
    Add(T);
  }
}

void TTransitionList::LoadFromFile(const QString& FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly))
    LoadError(FileName, QString(), QStringLiteral("cannot be read: %1").arg(File.errorString()));
  LoadFromJson(File.readAll(), FileName);
}

void TTransitionList::SaveToFile(const QString& FileName) const {
  const QByteArray Json = SaveToJson();
  // Through a temporary file: an interrupted save leaves the previous file intact.
  QSaveFile File(FileName);
  if (!File.open(QIODevice::WriteOnly) || File.write(Json) != Json.size() || !File.commit())
    throw std::runtime_error(
        QStringLiteral("%1: cannot be written: %2").arg(FileName, File.errorString()).toStdString());
}

}  // namespace vte
