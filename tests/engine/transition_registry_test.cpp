// The registry of transition classes: order, uniqueness, look-up by name, creation.
#include "engine/transition_registry.h"

#include <gtest/gtest.h>

#include <QObject>
#include <algorithm>
#include <memory>

#include "engine/timed_transition.h"
#include "engine/transition_effect.h"

namespace vte::registry_test {

// A transition a program registers itself; its constructor leaves a mark (the direction).
class TRegistryTestTransition : public TTransitionEffect {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TRegistryTestTransition(QObject* Owner = nullptr) : TTransitionEffect(Owner) {
    SetAllowedDirections(DirectionSet(tedRight, tedLeft));
    InitDirection(tedLeft);
  }
  void DoExecute(TTETransitionData&) override {}
};

namespace {

// A transition class nobody registers: the base of the timed effects.
const QMetaObject& Unregistered = TTimedTransitionEffect::staticMetaObject;

// Registered while the program starts, before anything else asked the registry.
[[maybe_unused]] const bool RegistryTestRegistered =
    (RegisterTransition(&TRegistryTestTransition::staticMetaObject), true);

TEST(TransitionRegistry, KeepsTheFlickerFreeCutFirstAndEachClassOnce) {
  const auto& Classes = TransitionClasses();
  ASSERT_FALSE(Classes.empty());
  EXPECT_EQ(Classes.front(), &TFlickerFreeTransition::staticMetaObject);
  const auto Position = [&](const QMetaObject* M) { return std::find(Classes.begin(), Classes.end(), M) - Classes.begin(); };
  const auto Occurrences = [&](const QMetaObject* M) { return std::count(Classes.begin(), Classes.end(), M); };
  EXPECT_EQ(Occurrences(&TRegistryTestTransition::staticMetaObject), 1);
  // The library's effects come in on the first use, even when that use is a program's own
  // registration: they stand before it.
  const QMetaObject* Wipe = FindTransitionClass("TWipeTransition");
  ASSERT_NE(Wipe, nullptr);
  EXPECT_LT(Position(Wipe), Position(&TRegistryTestTransition::staticMetaObject));

  const std::size_t Before = Classes.size();
  RegisterTransition(&TRegistryTestTransition::staticMetaObject);
  RegisterTransition(&TFlickerFreeTransition::staticMetaObject);
  RegisterTransition(Wipe);
  RegisterTransition(nullptr);
  EXPECT_EQ(Classes.size(), Before);
  EXPECT_EQ(Occurrences(&TRegistryTestTransition::staticMetaObject), 1);
  EXPECT_EQ(Occurrences(&TFlickerFreeTransition::staticMetaObject), 1);
  EXPECT_EQ(Occurrences(Wipe), 1);
  EXPECT_EQ(Occurrences(&Unregistered), 0);
}

TEST(TransitionRegistry, FindsAndCreatesClassesByNameIgnoringCaseAndNamespace) {
  EXPECT_EQ(FindTransitionClass("TFlickerFreeTransition"), &TFlickerFreeTransition::staticMetaObject);
  EXPECT_EQ(FindTransitionClass("tflickerfreetransition"), &TFlickerFreeTransition::staticMetaObject);
  EXPECT_EQ(FindTransitionClass("vte::TFlickerFreeTransition"), &TFlickerFreeTransition::staticMetaObject);
  EXPECT_EQ(FindTransitionClass("TREGISTRYTESTTRANSITION"), &TRegistryTestTransition::staticMetaObject);
  EXPECT_EQ(FindTransitionClass("TTimedTransitionEffect"), nullptr);
  EXPECT_EQ(FindTransitionClass("TFlickerFree"), nullptr);
  EXPECT_EQ(FindTransitionClass(""), nullptr);

  QObject Owner;
  TTransitionEffect* T = CreateTransition("tRegistryTestTransition", &Owner);
  ASSERT_NE(T, nullptr);
  EXPECT_EQ(T->metaObject(), &TRegistryTestTransition::staticMetaObject);
  EXPECT_EQ(T->parent(), &Owner);
  EXPECT_EQ(T->Direction(), tedLeft) << "made by its own constructor";
  EXPECT_EQ(CreateTransition("TTimedTransitionEffect", &Owner), nullptr);

  std::unique_ptr<TTransitionEffect> Free(CreateTransition("TFlickerFreeTransition"));
  ASSERT_NE(Free, nullptr);
  EXPECT_EQ(Free->parent(), nullptr);
}

}  // namespace
}  // namespace vte::registry_test

#include "transition_registry_test.moc"
