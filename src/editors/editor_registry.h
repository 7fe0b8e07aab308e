#pragma once
// The registry of editor page classes: a transition names its page by class name (its
// "EditorClassName" class info), and the transition editor resolves that name here. A page class
// is a TTransitionEffectEditor subclass with a Q_INVOKABLE constructor taking the owner.
//
// The library's pages come in by an explicit call on the registry's first use, for the reason the
// transition registry gives (a static link drops files that only a static initialiser names).
#include <QString>
#include <vector>

class QMetaObject;

namespace vte {

// Adds a page class once; null and repeated registrations are ignored. GUI thread only.
void RegisterEditorClass(const QMetaObject* EditorClass);
const std::vector<const QMetaObject*>& EditorClasses();
// The registered page class of that name (case-insensitive, namespace optional), or null.
const QMetaObject* FindEditorClass(const QString& ClassName);
// The page class of a transition class: its editor class name resolved, or null.
const QMetaObject* EditorClassOf(const QMetaObject* TransitionClass);

// Registers the library's pages; called once by the registry itself.
void RegisterBuiltInEditors();

}  // namespace vte
