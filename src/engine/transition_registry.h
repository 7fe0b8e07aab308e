#pragma once
// The registry of transition classes: stored lists and editors create any registered transition
// from its class name. The flicker-free cut is always the first class; the library's own effects
// follow in the order RegisterBuiltInTransitions gives them, then whatever a program registers.
//
// The built-in effects are registered by an explicit call on the registry's first use rather than
// by static initialisers in the effects' files: a static link keeps only the object files a
// program references, and would silently drop an effect that nothing but its initialiser names.
#include <QString>
#include <vector>

class QMetaObject;
class QObject;

namespace vte {

class TTransitionEffect;

// Adds a class (a TTransitionEffect with a Q_INVOKABLE constructor taking the owner) once; later
// registrations of the same class and null are ignored. Use from the GUI thread.
void RegisterTransition(const QMetaObject* TransitionClass);
const std::vector<const QMetaObject*>& TransitionClasses();
// The registered class of that name (case-insensitive, namespace optional), or null.
const QMetaObject* FindTransitionClass(const QString& ClassName);
// A new transition of a registered class, or null when the name is unknown.
TTransitionEffect* CreateTransition(const QString& ClassName, QObject* Owner = nullptr);

// Registers every effect the library defines. It lives with the effects (one line an effect), is
// called once by the registry itself, and is the only place an effect is registered: an effect
// missing from it cannot be created by name.
void RegisterBuiltInTransitions();

// While an editor replaces a transition by one of another class: holders of the old one take
// ReplacementTransition when told of its removal.
extern TTransitionEffect* TransitionBeingReplaced;
extern TTransitionEffect* ReplacementTransition;

}  // namespace vte
