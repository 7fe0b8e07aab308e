#include "page_registry.h"

#include <map>

namespace vte::demo {

namespace {
// Filled by static initialisers of the page files: a function-local map is ready whichever runs
// first.
std::map<QString, const QMetaObject*>& Classes() {
  static std::map<QString, const QMetaObject*> Map;
  return Map;
}

QString ShortName(const QMetaObject* Class) {
  const QString Name = QString::fromLatin1(Class->className());
  return Name.mid(Name.lastIndexOf(QLatin1Char(':')) + 1);
}
}  // namespace

void RegisterPageClass(const QMetaObject* Class) { Classes()[ShortName(Class)] = Class; }

const QMetaObject* PageClass(const QString& Name) {
  const auto It = Classes().find(Name);
  return It == Classes().end() ? nullptr : It->second;
}

QStringList PageClassNames() {
  QStringList Names;
  for (const auto& Entry : Classes()) Names << Entry.first;
  return Names;
}

}  // namespace vte::demo
