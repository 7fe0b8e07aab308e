#include "editors/editor_registry.h"

#include <QMetaObject>
#include <algorithm>

#include "engine/transition_effect.h"
#include "render/control_registry.h"

namespace vte {

namespace {

std::vector<const QMetaObject*>& Registry() {
  static std::vector<const QMetaObject*> Classes;
  // Raised before the call: the call registers through this very function.
  static bool BuiltInsRegistered = false;
  if (!BuiltInsRegistered) {
    BuiltInsRegistered = true;
    RegisterBuiltInEditors();
  }
  return Classes;
}

}  // namespace

void RegisterEditorClass(const QMetaObject* EditorClass) {
  if (!EditorClass) return;
  auto& Classes = Registry();
  if (std::find(Classes.begin(), Classes.end(), EditorClass) == Classes.end()) Classes.push_back(EditorClass);
}

const std::vector<const QMetaObject*>& EditorClasses() { return Registry(); }

const QMetaObject* FindEditorClass(const QString& ClassName) { return FindClassNamed(Registry(), ClassName); }

const QMetaObject* EditorClassOf(const QMetaObject* TransitionClass) {
  return TransitionClass ? FindEditorClass(TTransitionEffect::EditorClassName(TransitionClass)) : nullptr;
}

}  // namespace vte
