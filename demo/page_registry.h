#pragma once
// The demonstration's form classes by class name ("TFormIntro"), so that the navigator, the wizard
// and the tour reach every page without knowing its header. Each page registers itself from its
// own .cpp with VTE_DEMO_PAGE(Class); the demo's objects are linked whole, so none is dropped.
#include <QMetaObject>
#include <QString>
#include <QStringList>

namespace vte::demo {

void RegisterPageClass(const QMetaObject* Class);
// The class registered under Name (without namespace), or null.
const QMetaObject* PageClass(const QString& Name);
QStringList PageClassNames();

}  // namespace vte::demo

#define VTE_DEMO_PAGE(Class)                                             \
  namespace {                                                            \
  const bool Class##Registered =                                         \
      (::vte::demo::RegisterPageClass(&Class::staticMetaObject), true);  \
  }
