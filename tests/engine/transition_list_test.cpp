// The transition list (membership, order, ownership) and the stored form of a list.
#include "engine/transition_list.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaProperty>
#include <QPointer>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/timed_transition.h"
#include "engine/transition_effect.h"
#include "engine/transition_registry.h"

namespace vte::list_test {

// A registered transition with a property of every stored kind: an enumeration, a boolean, an
// integer, a colour, a string, an easing curve (of every timed effect), and one that is published
// but not stored.
class TListTestTransition : public TTimedTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "List test")
  Q_PROPERTY(vte::engine_types::TTEEffectDirection Direction READ Direction WRITE SetDirection)
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
  Q_PROPERTY(int Milliseconds READ Milliseconds WRITE SetMilliseconds)
  Q_PROPERTY(int BackColor READ BackColor WRITE SetBackColor)
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int Transient READ Transient WRITE SetTransient STORED false)

public:
  Q_INVOKABLE explicit TListTestTransition(QObject* Owner = nullptr) : TTimedTransitionEffect(Owner) {
    SetAllowedDirections(DirectionSet(tedRight, tedLeft, tedDown, tedUp));
    InitDirection(tedLeft);
    ++Live;
  }
  ~TListTestTransition() override { --Live; }

  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor V) { FBackColor = V; }
  QString Caption() const { return FCaption; }
  void SetCaption(const QString& V) { FCaption = V; }
  int Transient() const { return FTransient; }
  void SetTransient(int V) { FTransient = V; }
  void DoExecute(TTETransitionData&) override {}

  static inline int Live = 0;

private:
  TColor FBackColor = clNone;
  QString FCaption = QStringLiteral("untitled");
  int FTransient = 0;
};

// A transition class nobody registered.
class TUnregisteredTransition : public TTransitionEffect {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TUnregisteredTransition(QObject* Owner = nullptr) : TTransitionEffect(Owner) {}
  void DoExecute(TTETransitionData&) override {}
};

namespace {

// Registered as a program registers its own effects (the test program links this file whole).
[[maybe_unused]] const bool ListTestRegistered = (RegisterTransition(&TListTestTransition::staticMetaObject), true);

// Each transition reports its own destruction by name into Log.
TTransitionEffect* Named(TTransitionEffect* T, const QString& Name, std::vector<QString>* Log = nullptr) {
  T->setObjectName(Name);
  if (Log) QObject::connect(T, &QObject::destroyed, [Log, Name] { Log->push_back(Name); });
  return T;
}

std::vector<QString> Names(const TTransitionList& List) {
  std::vector<QString> N;
  for (int I = 0; I < List.Count(); ++I) N.push_back(List.Transitions(I)->objectName());
  return N;
}

using TNames = std::vector<QString>;

// ------------------------------------------------------------------------------------------------
// Membership and order

TEST(TransitionList, MembershipFollowsTheTransitionsListOnBothSides) {
  TTransitionList A, B;
  std::unique_ptr<TTransitionEffect> T(Named(new TFlickerFreeTransition, "T"));
  EXPECT_EQ(T->Index(), -1);
  T->SetTransitionList(&A);
  EXPECT_EQ(T->TransitionList(), &A);
  EXPECT_EQ(A.Count(), 1);
  EXPECT_EQ(A.Transitions(0), T.get());
  T->SetTransitionList(&A);  // the same list again: still once
  EXPECT_EQ(A.Count(), 1);

  T->SetTransitionList(&B);
  EXPECT_EQ(A.Count(), 0);
  EXPECT_EQ(A.IndexOf(T.get()), -1);
  EXPECT_EQ(B.Count(), 1);
  EXPECT_EQ(T->TransitionList(), &B);

  T->SetTransitionList(nullptr);
  EXPECT_EQ(B.Count(), 0);
  EXPECT_EQ(T->TransitionList(), nullptr);
  EXPECT_EQ(T->Index(), -1);
  T->SetIndex(3);  // without a list nothing happens
  EXPECT_EQ(T->Index(), -1);

  EXPECT_THROW(B.Transitions(0), std::out_of_range);
  EXPECT_THROW(B.Transitions(-1), std::out_of_range);
}

TEST(TransitionList, IndexMovesATransitionAndClampsToTheEnds) {
  TTransitionList List;
  std::vector<std::unique_ptr<TTransitionEffect>> Ts;
  for (const char* N : {"A", "B", "C", "D"}) {
    Ts.emplace_back(Named(new TFlickerFreeTransition, N));
    Ts.back()->SetTransitionList(&List);
  }
  TTransitionEffect *A = Ts[0].get(), *C = Ts[2].get(), *D = Ts[3].get();
  EXPECT_EQ(C->Index(), 2);

  C->SetIndex(-5);
  EXPECT_EQ(Names(List), (TNames{"C", "A", "B", "D"}));
  EXPECT_EQ(C->Index(), 0);
  EXPECT_EQ(A->Index(), 1);

  C->SetIndex(99);
  EXPECT_EQ(Names(List), (TNames{"A", "B", "D", "C"}));
  EXPECT_EQ(C->Index(), 3);

  D->SetIndex(1);
  EXPECT_EQ(Names(List), (TNames{"A", "D", "B", "C"}));
  A->SetIndex(2);
  EXPECT_EQ(Names(List), (TNames{"D", "B", "A", "C"}));
}

TEST(TransitionList, FreeingTheListFreesItsTransitionsLastFirst) {
  std::vector<QString> Destroyed;
  QPointer<TTransitionEffect> Outside;
  {
    // Owned in every way a program does it: by nobody, by the list, by another object (which
    // outlives the list here).
    QObject Form;
    TTransitionList List;
    Named(new TFlickerFreeTransition, "A", &Destroyed)->SetTransitionList(&List);
    Named(new TFlickerFreeTransition(&List), "B", &Destroyed)->SetTransitionList(&List);
    Named(new TFlickerFreeTransition(&Form), "C", &Destroyed)->SetTransitionList(&List);
    // Taken out of the list before the end: the list leaves it alone.
    Outside = Named(new TFlickerFreeTransition, "Out", &Destroyed);
    Outside->SetTransitionList(&List);
    Outside->SetTransitionList(nullptr);
    ASSERT_EQ(List.Count(), 3);
  }
  EXPECT_EQ(Destroyed, (TNames{"C", "B", "A"}));
  ASSERT_FALSE(Outside.isNull());
  delete Outside.data();
}

TEST(TransitionList, AFreedTransitionLeavesItsList) {
  TTransitionList List;
  for (const char* N : {"A", "B", "C"}) Named(new TFlickerFreeTransition(&List), N)->SetTransitionList(&List);
  delete List.Transitions(1);
  EXPECT_EQ(Names(List), (TNames{"A", "C"}));
  delete List.Transitions(1);
  delete List.Transitions(0);
  EXPECT_EQ(List.Count(), 0);

  // A child of the list that is no member is freed with the list as its child, once.
  const int LiveBefore = TListTestTransition::Live;
  {
    TTransitionList Other;
    auto* T = new TListTestTransition(&Other);
    T->SetTransitionList(&Other);
    T->SetTransitionList(nullptr);
    EXPECT_EQ(TListTestTransition::Live, LiveBefore + 1);
  }
  EXPECT_EQ(TListTestTransition::Live, LiveBefore);
}

// ------------------------------------------------------------------------------------------------
// Stored form

bool Stored(const QMetaProperty& P) {
  return P.isStored() && P.isWritable() && qstrcmp(P.name(), "Version") != 0;
}
bool IsObject(const QMetaProperty& P) { return P.metaType().flags() & QMetaType::PointerToQObject; }

// Every stored value of an object and its sub-objects, by dotted name.
void Snapshot(const QObject* O, const QString& Prefix, std::map<QString, QVariant>& Out) {
  const QMetaObject* M = O->metaObject();
  for (int I = QObject::staticMetaObject.propertyCount(); I < M->propertyCount(); ++I) {
    const QMetaProperty P = M->property(I);
    if (!Stored(P)) continue;
    const QString Name = Prefix + QString::fromLatin1(P.name());
    if (IsObject(P)) {
      if (const QObject* Sub = P.read(O).value<QObject*>()) Snapshot(Sub, Name + ".", Out);
    } else {
      Out[Name] = P.read(O);
    }
  }
}
std::map<QString, QVariant> Snapshot(const QObject* O) {
  std::map<QString, QVariant> S;
  Snapshot(O, QString(), S);
  return S;
}

// Gives every stored property a value other than its default wherever the setter takes one.
void ChangeEverything(QObject* O) {
  const QMetaObject* M = O->metaObject();
  for (int I = QObject::staticMetaObject.propertyCount(); I < M->propertyCount(); ++I) {
    const QMetaProperty P = M->property(I);
    if (!Stored(P)) continue;
    const QVariant Old = P.read(O);
    if (IsObject(P)) {
      if (QObject* Sub = Old.value<QObject*>()) ChangeEverything(Sub);
    } else if (P.isEnumType()) {
      const QMetaEnum E = P.enumerator();
      for (int K = E.keyCount() - 1; K >= 0 && P.read(O) == Old; --K) P.write(O, E.value(K));
    } else if (P.metaType().id() == QMetaType::Bool) {
      P.write(O, !Old.toBool());
    } else if (P.metaType().id() == QMetaType::Int) {
      P.write(O, Old.toInt() == 0 ? 777 : -Old.toInt());
    } else if (P.metaType().id() == QMetaType::QString) {
      P.write(O, Old.toString() + QStringLiteral(" changed"));
    } else if (P.metaType().id() == QMetaType::Double) {
      P.write(O, Old.toDouble() + 1.5);
    } else if (P.metaType().id() == QMetaType::QEasingCurve) {
      P.write(O, QVariant::fromValue(QEasingCurve(QEasingCurve::OutCubic)));
    }
  }
}

QJsonArray StoredItems(const TTransitionList& List) {
  return QJsonDocument::fromJson(List.SaveToJson()).object().value("Transitions").toArray();
}

TEST(StoredTransitionList, EveryRegisteredClassRoundTrips) {
  ASSERT_GE(TransitionClasses().size(), 2u);
  TTransitionList List;
  std::vector<std::map<QString, QVariant>> Expected;
  for (const QMetaObject* Class : TransitionClasses()) {
    const QString Name = QString::fromLatin1(Class->className()).section("::", -1);
    // Once with its defaults, once with everything changed.
    TTransitionEffect* Plain = CreateTransition(Name, &List);
    ASSERT_NE(Plain, nullptr) << Name.toStdString();
    Plain->setObjectName(Name + "Plain");
    Plain->SetTransitionList(&List);
    TTransitionEffect* Changed = CreateTransition(Name, &List);
    Changed->setObjectName(Name + "Changed");
    ChangeEverything(Changed);
    EXPECT_NE(Snapshot(Changed), Snapshot(Plain)) << Name.toStdString();
    Changed->SetTransitionList(&List);
    Expected.push_back(Snapshot(Plain));
    Expected.push_back(Snapshot(Changed));
  }

  // Defaults are not written: a plain transition is its class and its name.
  const QJsonArray Items = StoredItems(List);
  ASSERT_EQ(Items.size(), List.Count());
  for (int I = 0; I < List.Count(); I += 2) {
    const QJsonObject Plain = Items.at(I).toObject();
    EXPECT_EQ(Plain.keys(), (QStringList{"Class", "Name"})) << Plain.value("Name").toString().toStdString();
    EXPECT_FALSE(Items.at(I + 1).toObject().contains("Version"));
  }

  TTransitionList Loaded;
  Loaded.LoadFromJson(List.SaveToJson(), "memory");
  ASSERT_EQ(Loaded.Count(), List.Count());
  for (int I = 0; I < Loaded.Count(); ++I) {
    TTransitionEffect* T = Loaded.Transitions(I);
    SCOPED_TRACE(List.Transitions(I)->objectName().toStdString());
    EXPECT_EQ(T->objectName(), List.Transitions(I)->objectName());
    EXPECT_EQ(T->metaObject(), List.Transitions(I)->metaObject());
    EXPECT_EQ(Snapshot(T), Expected[static_cast<std::size_t>(I)]);
    EXPECT_EQ(T->TransitionList(), &Loaded);
    EXPECT_EQ(T->parent(), &Loaded) << "the list owns what it loaded";
  }
}

TEST(StoredTransitionList, WritesChangedValuesByNameEnumsByKeyAndNestedOptions) {
  TTransitionList List;
  auto* T = new TListTestTransition(&List);
  T->setObjectName("Fancy");
  T->SetDirection(tedDown);
  T->SetMilliseconds(500);
  T->SetBackColor(0x123456);
  T->SetCaption("Hello");
  T->SetTransient(9);  // published, not stored
  T->SetAbortOnClick(true);
  T->SetEasing(QEasingCurve::InOutQuad);
  T->Pass2Options()->SetDistributedTime(true);
  T->Pass2Options()->SetSolidColor(clBtnFace);
  T->SetTransitionList(&List);
  new TFlickerFreeTransition(&List);  // a child of the list that is no member is not stored

  const QJsonArray Items = StoredItems(List);
  ASSERT_EQ(Items.size(), 1);
  const QJsonObject Expected{{"Class", "TListTestTransition"},
                             {"Name", "Fancy"},
                             {"Direction", "tedDown"},
                             {"Milliseconds", 500},
                             {"BackColor", 0x123456},
                             {"Caption", "Hello"},
                             {"AbortOnClick", true},
                             {"Easing", "InOutQuad"},
                             {"Pass2Options", QJsonObject{{"DistributedTime", true},
                                                          {"SolidColor", static_cast<qint64>(clBtnFace)}}}};
  EXPECT_EQ(Items.at(0).toObject(), Expected) << List.SaveToJson().toStdString();

  TTransitionList Loaded;
  Loaded.LoadFromJson(List.SaveToJson(), "memory");
  ASSERT_EQ(Loaded.Count(), 1);
  auto* L = qobject_cast<TListTestTransition*>(Loaded.Transitions(0));
  ASSERT_NE(L, nullptr);
  EXPECT_EQ(L->Direction(), tedDown);
  EXPECT_EQ(L->BackColor(), 0x123456);
  EXPECT_EQ(L->Pass2Options()->SolidColor(), clBtnFace);
  EXPECT_EQ(L->Transient(), 0);
  EXPECT_EQ(L->Easing(), QEasingCurve(QEasingCurve::InOutQuad));

  // A curve its type's name does not describe would come back as another curve: it is refused.
  QEasingCurve Springy(QEasingCurve::OutElastic);
  Springy.setAmplitude(2.5);
  T->SetEasing(Springy);
  EXPECT_THROW(List.SaveToJson(), std::runtime_error);
  QEasingCurve Custom;
  Custom.setCustomType([](qreal X) { return X * X; });
  T->SetEasing(Custom);
  EXPECT_THROW(List.SaveToJson(), std::runtime_error);
}

TEST(StoredTransitionList, WritesOnlyTheTransitionsItOwns) {
  // A form owns some of the transitions a list holds: the form stores those, the list the rest.
  QObject Form;
  TTransitionList List(&Form);
  Named(new TListTestTransition(&List), "Own1")->SetTransitionList(&List);
  Named(new TListTestTransition(&Form), "Form's")->SetTransitionList(&List);
  std::unique_ptr<TTransitionEffect> Free(Named(new TListTestTransition, "Nobody's"));
  Free->SetTransitionList(&List);
  Named(new TListTestTransition(&List), "Own2")->SetTransitionList(&List);
  // An owned transition of a class the registry does not know would fail the save; held by the
  // list but owned elsewhere, it is not the list's to store.
  Named(new TUnregisteredTransition(&Form), "Stray")->SetTransitionList(&List);
  ASSERT_EQ(List.Count(), 5);

  const QJsonArray Items = StoredItems(List);
  ASSERT_EQ(Items.size(), 2) << List.SaveToJson().toStdString();
  EXPECT_EQ(Items.at(0).toObject().value("Name").toString(), "Own1");
  EXPECT_EQ(Items.at(1).toObject().value("Name").toString(), "Own2");

  TTransitionList Loaded;
  Loaded.LoadFromJson(List.SaveToJson(), "memory");
  EXPECT_EQ(Names(Loaded), (TNames{"Own1", "Own2"}));
}

TEST(StoredTransitionList, SavesThroughAFileAndReplacesTheContentsOnLoad) {
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  const QString File = Dir.filePath("Transitions.json");

  TTransitionList List;
  for (int I = 0; I < 3; ++I) {
    auto* T = new TListTestTransition(&List);
    T->setObjectName(QStringLiteral("T%1").arg(I));
    T->SetMilliseconds(100 * I);
    T->SetTransitionList(&List);
  }
  List.SaveToFile(File);
  List.SaveToFile(File);  // over an existing file
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"Transitions.json"});

  TTransitionList Loaded;
  QPointer<TTransitionEffect> Old = Named(new TFlickerFreeTransition(&Loaded), "Old");
  Old->SetTransitionList(&Loaded);
  Loaded.LoadFromFile(File);
  EXPECT_TRUE(Old.isNull()) << "loading replaces the contents";
  EXPECT_EQ(Names(Loaded), (TNames{"T0", "T1", "T2"}));
  EXPECT_EQ(Loaded.Transitions(2)->Milliseconds(), 200);

  try {
    Loaded.LoadFromFile(Dir.filePath("Missing.json"));
    FAIL() << "a missing file loads";
  } catch (const std::runtime_error& E) {
    EXPECT_NE(std::string(E.what()).find("Missing.json"), std::string::npos) << E.what();
  }
  EXPECT_EQ(Loaded.Count(), 3);
}

TEST(StoredTransitionList, RefusesToStoreAClassItCouldNotReadBack) {
  TTransitionList List;
  Named(new TUnregisteredTransition(&List), "Stray")->SetTransitionList(&List);
  try {
    List.SaveToJson();
    FAIL() << "an unregistered class is stored";
  } catch (const std::runtime_error& E) {
    EXPECT_NE(std::string(E.what()).find("TUnregisteredTransition"), std::string::npos) << E.what();
  }
}

struct TBadFile {
  const char* Case;
  const char* Json;
  std::vector<std::string> Mentions;  // besides the file's name
};

TEST(StoredTransitionList, ALoadErrorNamesFileTransitionAndKeyAndLeavesTheListAsItWas) {
  const std::vector<TBadFile> Cases = {
      {"unknown class", R"({"Transitions":[{"Class":"TListTestTransition","Name":"Good"},
                                          {"Class":"TSimpleWipeTransition","Name":"Wipe1"}]})",
       {"'Wipe1'", "'Class'", "TSimpleWipeTransition"}},
      {"missing class", R"({"Transitions":[{"Name":"NoClass"}]})", {"'NoClass'", "'Class'"}},
      {"unknown property", R"({"Transitions":[{"Class":"TListTestTransition","Name":"Sparkly","Sparkle":3}]})",
       {"'Sparkly'", "'Sparkle'"}},
      {"property not stored", R"({"Transitions":[{"Class":"TListTestTransition","Transient":5}]})",
       {"#0", "'Transient'"}},
      {"string for an integer", R"({"Transitions":[{"Class":"TFlickerFreeTransition"},
                                                  {"Class":"TListTestTransition","Milliseconds":"fast"}]})",
       {"#1", "'Milliseconds'"}},
      {"fraction for an integer", R"({"Transitions":[{"Class":"TListTestTransition","Milliseconds":2.5}]})",
       {"#0", "'Milliseconds'"}},
      {"number for a boolean", R"({"Transitions":[{"Class":"TListTestTransition","Name":"B","Reversed":1}]})",
       {"'B'", "'Reversed'"}},
      {"number for a string", R"({"Transitions":[{"Class":"TListTestTransition","Name":"S","Caption":7}]})",
       {"'S'", "'Caption'"}},
      {"bad enumeration key", R"({"Transitions":[{"Class":"TListTestTransition","Name":"E","Direction":"tedSideways"}]})",
       {"'E'", "'Direction'", "tedSideways"}},
      {"unknown easing curve", R"({"Transitions":[{"Class":"TListTestTransition","Name":"C","Easing":"OutWobbly"}]})",
       {"'C'", "'Easing'", "'OutWobbly' is not an easing curve type"}},
      {"easing curve that needs points", R"({"Transitions":[{"Class":"TListTestTransition","Name":"C","Easing":"BezierSpline"}]})",
       {"'C'", "'Easing'", "BezierSpline"}},
      {"number for an easing curve", R"({"Transitions":[{"Class":"TListTestTransition","Name":"C","Easing":3}]})",
       {"'C'", "'Easing'"}},
      {"number for an enumeration", R"({"Transitions":[{"Class":"TListTestTransition","Name":"E","Direction":3}]})",
       {"'E'", "'Direction'"}},
      {"bad nested value", R"({"Transitions":[{"Class":"TListTestTransition","Name":"N","Pass2Options":{"DistributedTime":"yes"}}]})",
       {"'N'", "'Pass2Options.DistributedTime'"}},
      {"unknown nested key", R"({"Transitions":[{"Class":"TListTestTransition","Name":"N","Pass2Options":{"Colour":1}}]})",
       {"'N'", "'Pass2Options.Colour'"}},
      {"value for nested options", R"({"Transitions":[{"Class":"TListTestTransition","Name":"N","Pass2Options":true}]})",
       {"'N'", "'Pass2Options'"}},
      {"number for a name", R"({"Transitions":[{"Class":"TListTestTransition","Name":5}]})", {"#0", "'Name'"}},
      {"no list", R"({"Items":[]})", {"'Transitions'"}},
      {"broken JSON", R"({"Transitions":[{"Class":)", {"JSON"}},
      {"not an object", R"([1,2])", {"'Transitions'"}},
  };

  TTransitionList List;
  auto* Keep = new TListTestTransition(&List);
  Keep->setObjectName("Keep");
  Keep->SetMilliseconds(123);
  Keep->SetTransitionList(&List);
  const QByteArray Before = List.SaveToJson();
  const int Live = TListTestTransition::Live;

  for (const TBadFile& Bad : Cases) {
    SCOPED_TRACE(Bad.Case);
    try {
      List.LoadFromJson(Bad.Json, "stored.json");
      ADD_FAILURE() << "loaded";
    } catch (const std::runtime_error& E) {
      const std::string Message = E.what();
      EXPECT_EQ(Message.rfind("stored.json", 0), 0u) << Message;
      for (const std::string& M : Bad.Mentions) EXPECT_NE(Message.find(M), std::string::npos) << M << " in " << Message;
    }
    ASSERT_EQ(List.Count(), 1);
    EXPECT_EQ(List.Transitions(0), Keep);
    EXPECT_EQ(Keep->TransitionList(), &List);
    EXPECT_EQ(List.SaveToJson(), Before);
    EXPECT_EQ(TListTestTransition::Live, Live) << "half-read transitions are freed";
  }
}

}  // namespace
}  // namespace vte::list_test

#include "transition_list_test.moc"
