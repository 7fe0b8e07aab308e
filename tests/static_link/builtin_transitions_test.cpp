// This program names no effect: it reaches the library through the registry alone, linked as an
// application links it. Every built-in effect must still be there, and every effect class the
// sources define must be in the built-in list (or be one of the few kept out on purpose).
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMetaObject>
#include <QObject>
#include <QRegularExpression>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "engine/transition_effect.h"
#include "engine/transition_registry.h"

namespace vte {
namespace {

// Effects that show how a program makes its own: lists and editors do not offer them.
const std::set<QString> KeptOut = {"TSimpleWipeTransition", "TShakeTransition"};

// What the library's sources say, read from their text (enough for the one-class-a-file layout).
struct TSources {
  // The classes that derive from TTransitionEffect (directly or not) and have a Q_INVOKABLE
  // constructor: those a registry could create.
  std::set<QString> EffectClasses;
  // The files, relative to src/, that call RegisterTransition.
  std::set<std::string> Registering;
};

TSources ReadSources() {
  static const QRegularExpression ClassDecl(R"(\bclass\s+(\w+)\s*(?:final\s*)?:\s*public\s+(?:\w+::)*(\w+))");
  static const QRegularExpression Invokable(R"(Q_INVOKABLE\s+(?:explicit\s+)?(\w+)\s*\()");
  static const QRegularExpression Registration(R"(\bRegisterTransition\s*\(\s*&)");
  const QDir Root(QStringLiteral(VTE_SOURCE_DIR));
  TSources Result;
  std::map<QString, QString> BaseOf;
  std::set<QString> WithInvokableConstructor;
  QDirIterator It(Root.path(), {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
  while (It.hasNext()) {
    QFile File(It.next());
    if (!File.open(QIODevice::ReadOnly)) continue;
    const QString Text = QString::fromUtf8(File.readAll());
    for (auto M = ClassDecl.globalMatch(Text); M.hasNext();) {
      const auto Match = M.next();
      BaseOf[Match.captured(1)] = Match.captured(2);
    }
    for (auto M = Invokable.globalMatch(Text); M.hasNext();) WithInvokableConstructor.insert(M.next().captured(1));
    if (Text.contains(Registration)) Result.Registering.insert(Root.relativeFilePath(File.fileName()).toStdString());
  }
  for (const QString& Class : WithInvokableConstructor) {
    QString C = Class;
    for (int Depth = 0; Depth < 32 && BaseOf.count(C); ++Depth) {
      C = BaseOf[C];
      if (C == "TTransitionEffect") {
        Result.EffectClasses.insert(Class);
        break;
      }
    }
  }
  return Result;
}

QString NameOf(const QMetaObject* Class) { return QString::fromLatin1(Class->className()).section("::", -1); }

TEST(BuiltInTransitions, AreRegisteredWithoutTheProgramNamingThem) {
  const auto& Classes = TransitionClasses();
  ASSERT_FALSE(Classes.empty());
  EXPECT_EQ(Classes.front(), &TFlickerFreeTransition::staticMetaObject);
  std::set<QString> Registered;
  for (const QMetaObject* Class : Classes) Registered.insert(NameOf(Class));
  for (const char* Name : {"TFlickerFreeTransition", "TBlendTransition", "TWipeTransition", "TSlideTransition",
                           "TPushTransition", "TRollTransition"})
    EXPECT_EQ(Registered.count(Name), 1u) << Name;
  EXPECT_EQ(Registered.size(), Classes.size()) << "each class once";

  // Each one is created by its name, by its own constructor, with the owner given.
  QObject Owner;
  for (const QMetaObject* Class : Classes) {
    TTransitionEffect* Made = CreateTransition(NameOf(Class).toLower(), &Owner);
    ASSERT_NE(Made, nullptr) << NameOf(Class).toStdString();
    EXPECT_EQ(Made->metaObject(), Class);
    EXPECT_EQ(Made->parent(), &Owner);
  }
}

TEST(BuiltInTransitions, ListEveryEffectClassOfTheSources) {
  const TSources Sources = ReadSources();
  const std::set<QString>& InSources = Sources.EffectClasses;
  // The reading of the sources works: it finds what is known to be there.
  for (const char* Name : {"TFlickerFreeTransition", "TBlendTransition", "TWipeTransition", "TSimpleWipeTransition"})
    ASSERT_EQ(InSources.count(Name), 1u) << Name << " not found in " << VTE_SOURCE_DIR;

  for (const QString& Name : InSources) {
    if (KeptOut.count(Name)) {
      EXPECT_EQ(FindTransitionClass(Name), nullptr) << Name.toStdString() << " is kept out of the registry";
    } else {
      EXPECT_NE(FindTransitionClass(Name), nullptr)
          << Name.toStdString() << " is not registered: add it to src/effects/builtin_transitions.cpp";
    }
  }
  // Nothing else is registered either: a program that registers nothing sees the library's own.
  for (const QMetaObject* Class : TransitionClasses())
    EXPECT_EQ(InSources.count(NameOf(Class)), 1u) << NameOf(Class).toStdString();
  for (const QString& Name : KeptOut) EXPECT_EQ(InSources.count(Name), 1u) << Name.toStdString() << " is gone";
  // One place registers: a registration anywhere else (a static initialiser in an effect's file)
  // works only while something else happens to pull that file into the program.
  EXPECT_EQ(Sources.Registering, (std::set<std::string>{"effects/builtin_transitions.cpp"}));
}

}  // namespace
}  // namespace vte
