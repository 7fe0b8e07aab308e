#include "engine/transition_list.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "engine/property_store.h"
#include "engine/transition_effect.h"
#include "engine/transition_registry.h"
#include "render/control_registry.h"

namespace vte {

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

// A problem with one transition of a file; the reader adds the file and which transition.
struct TItemError {
  QString Key;
  QString Problem;
};

// How errors name the transition at Index of a file: by its name when it has one.
QString ItemSubject(const QJsonValue& Item, qsizetype Index) {
  const QJsonValue Name = Item.toObject().value(NameKey);
  if (Name.isString() && !Name.toString().isEmpty())
    return QStringLiteral("transition '%1' (#%2)").arg(Name.toString()).arg(Index);
  return QStringLiteral("transition #%1").arg(Index);
}

// A new transition of a stored object's class and name with its settings read, owned by the caller.
std::unique_ptr<TTransitionEffect> ReadTransition(const QJsonValue& Stored, const QString& Origin, const QString& Subject) {
  if (!Stored.isObject()) throw TItemError{QString(), QStringLiteral("expected an object, found %1").arg(JsonTypeName(Stored))};
  QJsonObject Item = Stored.toObject();
  const QJsonValue Name = Item.take(NameKey);
  if (!Name.isUndefined() && !Name.isString())
    throw TItemError{NameKey, QStringLiteral("expected a string, found %1").arg(JsonTypeName(Name))};

  const QJsonValue ClassValue = Item.take(ClassKey);
  if (!ClassValue.isString())
    throw TItemError{ClassKey, QStringLiteral("expected a class name, found %1").arg(JsonTypeName(ClassValue))};
  if (!FindTransitionClass(ClassValue.toString()))
    throw TItemError{ClassKey, QStringLiteral("unknown transition class '%1'").arg(ClassValue.toString())};
  std::unique_ptr<TTransitionEffect> Transition(CreateTransition(ClassValue.toString()));
  if (!Transition)
    throw TItemError{ClassKey, QStringLiteral("class '%1' cannot be created").arg(ClassValue.toString())};
  Transition->setObjectName(Name.toString());
  PropertiesFromJson(*Transition, Item, Origin, Subject);
  return Transition;
}

}  // namespace

QByteArray TTransitionList::SaveToJson() const {
  QJsonArray Items;
  for (const TTransitionEffect* T : FItems) {
    // A held transition that another component owns is that component's to store: written here
    // too, it would come back twice.
    if (T->parent() != this) continue;
    const QMetaObject* Class = T->metaObject();
    const QString ClassName = ControlClassName(Class);
    // Only what the registry can create again can be read back.
    if (FindTransitionClass(ClassName) != Class)
      ThrowStoredFormError(QString(), DescribeObject(*T), QString(),
                           QStringLiteral("cannot be stored: the class is not registered"));
    QJsonObject Item = PropertiesToJson(*T);
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
    ThrowStoredFormError(Origin, QString(), QString(),
                         QStringLiteral("not valid JSON (at offset %1: %2)").arg(ParseError.offset).arg(ParseError.errorString()));
  if (!Document.isObject())
    ThrowStoredFormError(Origin, QString(), QString(),
                         QStringLiteral("expected an object with the key '%1'").arg(TransitionsKey));
  const QJsonValue ItemsValue = Document.object().value(TransitionsKey);
  if (!ItemsValue.isArray())
    ThrowStoredFormError(Origin, QString(), TransitionsKey,
                         QStringLiteral("expected an array, found %1").arg(JsonTypeName(ItemsValue)));
  const QJsonArray Items = ItemsValue.toArray();

  // Everything is read into new objects first: the list changes only when the whole file is good.
  std::vector<std::unique_ptr<TTransitionEffect>> Loaded;
  for (qsizetype I = 0; I < Items.size(); ++I) {
    const QString Where = ItemSubject(Items.at(I), I);
    try {
      Loaded.push_back(ReadTransition(Items.at(I), Origin, Where));
    } catch (const TItemError& Error) {
      ThrowStoredFormError(Origin, Where, Error.Key, Error.Problem);
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
    ThrowStoredFormError(FileName, QString(), QString(), QStringLiteral("cannot be read: %1").arg(File.errorString()));
  LoadFromJson(File.readAll(), FileName);
}

void TTransitionList::SaveToFile(const QString& FileName) const {
  const QByteArray Json = SaveToJson();
  // Through a temporary file: an interrupted save leaves the previous file intact.
  QSaveFile File(FileName);
  if (!File.open(QIODevice::WriteOnly) || File.write(Json) != Json.size() || !File.commit())
    ThrowStoredFormError(FileName, QString(), QString(), QStringLiteral("cannot be written: %1").arg(File.errorString()));
}

}  // namespace vte
