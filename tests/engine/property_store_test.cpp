// The stored form of published settings on objects that are not transitions: every kind of value,
// what is left out, the errors, and that a failed read changes nothing.
#include "engine/property_store.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QPoint>
#include <QWidget>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/effect_types.h"
#include "gdi/color.h"

namespace vte::store_test {

class TStoreTestOptions : public QObject {
  Q_OBJECT
  Q_PROPERTY(int Level READ Level WRITE SetLevel)

public:
  Q_INVOKABLE explicit TStoreTestOptions(QObject* Owner = nullptr) : QObject(Owner) {}
  int Level() const { return FLevel; }
  void SetLevel(int V) {
    if (V > 100) throw std::out_of_range("Level above 100");
    FLevel = V;
  }

private:
  int FLevel = 1;
};

// A property of every kind the store knows, and some it must leave alone.
class TStoreTestObject : public QObject {
  Q_OBJECT
  Q_PROPERTY(vte::engine_types::TTEEffectDirection Direction MEMBER Direction)
  Q_PROPERTY(TShapes Shapes READ GetShapes WRITE SetShapes)
  Q_PROPERTY(bool Visible MEMBER Visible)
  Q_PROPERTY(int Count MEMBER Count)
  Q_PROPERTY(vte::TColor Color MEMBER Color)
  Q_PROPERTY(QString Caption MEMBER Caption)
  Q_PROPERTY(double Ratio MEMBER Ratio)
  Q_PROPERTY(short Small MEMBER Small)
  Q_PROPERTY(uint Big MEMBER Big)
  Q_PROPERTY(int Limit READ Limit WRITE SetLimit)
  Q_PROPERTY(vte::store_test::TStoreTestOptions* Options READ Options WRITE SetOptions)
  Q_PROPERTY(int Transient MEMBER Transient STORED false)
  Q_PROPERTY(int ReadOnly READ ReadOnly)

public:
  enum TShape { shCircle = 1, shSquare = 2, shStar = 4 };
  Q_DECLARE_FLAGS(TShapes, TShape)
  Q_FLAG(TShapes)

  Q_INVOKABLE explicit TStoreTestObject(QObject* Owner = nullptr) : QObject(Owner) {}

  int Limit() const { return FLimit; }
  void SetLimit(int V) {
    if (V < 0) throw std::invalid_argument("Limit below zero");
    FLimit = V;
  }
  TStoreTestOptions* Options() const { return FOptions; }
  void SetOptions(TStoreTestOptions* V) { FOptions->SetLevel(V->Level()); }
  int ReadOnly() const { return 7; }
  TShapes GetShapes() const { return Shapes; }
  void SetShapes(TShapes V) { Shapes = V; }

  TTEEffectDirection Direction = tedRight;
  TShapes Shapes = shSquare;
  bool Visible = true;
  int Count = 0;
  TColor Color = clNone;
  QString Caption = QStringLiteral("untitled");
  double Ratio = 1.0;
  short Small = 0;
  uint Big = 0;
  int Transient = 0;

private:
  int FLimit = 10;
  TStoreTestOptions* FOptions = new TStoreTestOptions(this);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TStoreTestObject::TShapes)

// A type without a stored form.
class TStoreTestPoint : public QObject {
  Q_OBJECT
  Q_PROPERTY(QPoint Where MEMBER Where)

public:
  Q_INVOKABLE explicit TStoreTestPoint(QObject* Owner = nullptr) : QObject(Owner) {}
  QPoint Where;
};

// Only a widget's own settings: Qt's widget properties are set up in code.
class TStoreTestWidget : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Level MEMBER Level)

public:
  Q_INVOKABLE explicit TStoreTestWidget(QObject* Owner = nullptr) : QWidget(qobject_cast<QWidget*>(Owner)) {}
  int Level = 0;
};

namespace {

QJsonObject Parse(const char* Json) { return QJsonDocument::fromJson(Json).object(); }

// Everything a read could change, to compare before and after.
std::string State(const TStoreTestObject& O) {
  return QJsonDocument(PropertiesToJson(O, nullptr)).toJson(QJsonDocument::Compact).toStdString();
}

void ChangeEveryKind(TStoreTestObject& O) {
  O.Direction = tedDown;
  O.Shapes = TStoreTestObject::shCircle | TStoreTestObject::shStar;
  O.Visible = false;
  O.Count = -3;
  O.Color = clBtnFace;
  O.Caption = QStringLiteral("Hello");
  O.Ratio = 0.25;
  O.Small = -300;
  O.Big = 4000000000u;
  O.SetLimit(20);
  O.Options()->SetLevel(2);
  O.Transient = 5;
}

TEST(PropertyStore, WritesWhatDiffersFromADefaultObjectAndReadsItBack) {
  TStoreTestObject O;
  EXPECT_EQ(PropertiesToJson(O), QJsonObject()) << "a default object writes nothing";
  ChangeEveryKind(O);
  const QJsonObject Expected{{"Direction", "tedDown"},  {"Shapes", "shCircle|shStar"},
                             {"Visible", false},        {"Count", -3},
                             {"Color", qint64(clBtnFace)}, {"Caption", "Hello"},
                             {"Ratio", 0.25},           {"Small", -300},
                             {"Big", qint64(4000000000u)}, {"Limit", 20},
                             {"Options", QJsonObject{{"Level", 2}}}};
  EXPECT_EQ(PropertiesToJson(O), Expected);

  TStoreTestObject Read;
  PropertiesFromJson(Read, Expected, "memory");
  EXPECT_EQ(PropertiesToJson(Read), Expected);
  EXPECT_EQ(Read.Transient, 0);

  // No flag set is the empty name; without a default every stored property is written.
  O.Shapes = {};
  EXPECT_EQ(PropertiesToJson(O).value("Shapes"), QJsonValue(""));
  PropertiesFromJson(Read, Parse(R"({"Shapes": ""})"), "memory");
  EXPECT_EQ(Read.Shapes, TStoreTestObject::TShapes());
  EXPECT_EQ(PropertiesToJson(TStoreTestObject(), nullptr).keys(),
            (QStringList{"Big", "Caption", "Color", "Count", "Direction", "Limit", "Options", "Ratio", "Shapes",
                         "Small", "Visible"}));
}

TEST(PropertyStore, RefusesToWriteWhatCouldNotBeReadBack) {
  const auto Message = [](const QObject& O) {
    try {
      PropertiesToJson(O);
    } catch (const std::runtime_error& E) {
      return std::string(E.what());
    }
    return std::string("written");
  };
  TStoreTestPoint P;
  EXPECT_EQ(Message(P), "written") << "a default value is not written, whatever its type";
  P.Where = QPoint(1, 2);
  EXPECT_EQ(Message(P), "TStoreTestPoint, key 'Where': a property of type QPoint cannot be stored");
  try {
    PropertiesFromJson(P, Parse(R"({"Where": 1})"), "memory");
    ADD_FAILURE() << "read";
  } catch (const std::runtime_error& E) {
    EXPECT_STREQ(E.what(), "memory: TStoreTestPoint, key 'Where': a property of type QPoint cannot be read");
  }

  TStoreTestObject O;
  O.setObjectName("Odd");
  O.Direction = static_cast<TTEEffectDirection>(42);
  EXPECT_EQ(Message(O), "TStoreTestObject 'Odd', key 'Direction': 42 is no TTEEffectDirection value");
  O.Direction = tedLeft;
  O.Shapes = TStoreTestObject::TShapes::fromInt(8 | TStoreTestObject::shStar);
  EXPECT_EQ(Message(O), "TStoreTestObject 'Odd', key 'Shapes': 12 has bits no TShapes value names");
}

// The stored list's tests read the same kinds of mistakes through a file; here the exact wording
// and what only a bare object shows.
TEST(PropertyStore, AReadErrorNamesOriginObjectAndKeyAndChangesNothing) {
  const std::vector<std::pair<const char*, std::string>> Cases = {
      {R"({"Caption": "changed", "Sparkle": 1})", "key 'Sparkle': TStoreTestObject has no such property"},
      {R"({"objectName": "x"})", "key 'objectName': TStoreTestObject has no such property"},
      {R"({"ReadOnly": 1})", "key 'ReadOnly': the property is not stored"},
      {R"({"Count": 2.5})", "key 'Count': expected an integer, found 2.5"},
      {R"({"Caption": "changed", "Count": 3000000000})", "key 'Count': 3000000000 is out of range (-2147483648 to 2147483647)"},
      {R"({"Small": 40000})", "key 'Small': 40000 is out of range (-32768 to 32767)"},
      {R"({"Big": -1})", "key 'Big': -1 is out of range (0 to 4294967295)"},
      {R"({"Ratio": "half"})", "key 'Ratio': expected a number, found a string"},
      {R"({"Caption": null})", "key 'Caption': expected a string, found null"},
      {R"({"Direction": "tedSideways"})", "key 'Direction': 'tedSideways' is not a TTEEffectDirection value"},
      {R"({"Shapes": "shCircle|shHexagon"})", "key 'Shapes': 'shCircle|shHexagon' is not a TShapes value"},
      {R"({"Options": {"Level": true}})", "key 'Options.Level': expected an integer, found a boolean"},
      // Setters that refuse after earlier keys were set: those go back.
      {R"({"Caption": "changed", "Count": 4, "Limit": -1})", "key 'Limit': Limit below zero"},
      {R"({"Caption": "changed", "Options": {"Level": 1000}})", "key 'Options.Level': Level above 100"},
  };
  TStoreTestObject O;
  O.setObjectName("Target");
  ChangeEveryKind(O);
  const std::string Before = State(O);
  for (const auto& [Json, Expected] : Cases) {
    SCOPED_TRACE(Json);
    try {
      PropertiesFromJson(O, Parse(Json), "settings.json");
      ADD_FAILURE() << "read";
    } catch (const std::runtime_error& E) {
      EXPECT_EQ(std::string(E.what()), "settings.json: TStoreTestObject 'Target', " + Expected);
    }
    EXPECT_EQ(State(O), Before);
  }
  // The caller may say what the object is.
  try {
    PropertiesFromJson(O, Parse(R"({"Count": true})"), "f.json", "transition 'A' (#3)");
    ADD_FAILURE() << "read";
  } catch (const std::runtime_error& E) {
    EXPECT_STREQ(E.what(), "f.json: transition 'A' (#3), key 'Count': expected an integer, found a boolean");
  }
}

TEST(PropertyStore, AWidgetStoresOnlyWhatItsOwnClassesPublish) {
  TStoreTestWidget W;
  W.setGeometry(10, 20, 300, 200);
  W.setWindowTitle("Title");
  W.Level = 5;
  EXPECT_EQ(PropertiesToJson(W, QWidget::staticMetaObject), (QJsonObject{{"Level", 5}}));
  EXPECT_THROW(PropertiesToJson(W), std::runtime_error) << "QWidget's geometry has no stored form";

  TStoreTestWidget Read;
  PropertiesFromJson(Read, QJsonObject{{"Level", 6}}, "memory", QString(), QWidget::staticMetaObject);
  EXPECT_EQ(Read.Level, 6);
  EXPECT_THROW(PropertiesFromJson(Read, QJsonObject{{"windowTitle", "x"}}, "memory", QString(), QWidget::staticMetaObject),
               std::runtime_error);
  EXPECT_EQ(Read.windowTitle(), "");
}

}  // namespace
}  // namespace vte::store_test

#include "property_store_test.moc"
