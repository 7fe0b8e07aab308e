#include "engine/transition_registry.h"

#include <QMetaObject>
#include <algorithm>

#include "engine/transition_effect.h"
#include "render/control_registry.h"

namespace vte {

TTransitionEffect* TransitionBeingReplaced = nullptr;
TTransitionEffect* ReplacementTransition = nullptr;

namespace {

std::vector<const QMetaObject*>& Registry() {
  // The flicker-free cut is always the first class, whatever registers next.
  static std::vector<const QMetaObject*> Classes{&TFlickerFreeTransition::staticMetaObject};
  // The built-in effects come in on the first use. The flag is raised before the call because
  // the call registers through this very function.
  static bool BuiltInsRegistered = false;
  if (!BuiltInsRegistered) {
    BuiltInsRegistered = true;
    RegisterBuiltInTransitions();
  }
  return Classes;
}

}  // namespace

void RegisterTransition(const QMetaObject* TransitionClass) {
  if (!TransitionClass) return;
  auto& Classes = Registry();
  if (std::find(Classes.begin(), Classes.end(), TransitionClass) == Classes.end())
    Classes.push_back(TransitionClass);
}

const std::vector<const QMetaObject*>& TransitionClasses() { return Registry(); }

const QMetaObject* FindTransitionClass(const QString& ClassName) { return FindClassNamed(Registry(), ClassName); }

TTransitionEffect* CreateTransition(const QString& ClassName, QObject* Owner) {
  const QMetaObject* Class = FindTransitionClass(ClassName);
  if (!Class) return nullptr;
  QObject* Object = Class->newInstance(Q_ARG(QObject*, Owner));
  auto* Transition = qobject_cast<TTransitionEffect*>(Object);
  if (!Transition) delete Object;
  return Transition;
}

}  // namespace vte
