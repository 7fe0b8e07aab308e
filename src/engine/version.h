#pragma once
// The library's version as its components publish it in their read-only "Version" property.
#include <QString>

namespace vte {

inline QString VersionText() { return QStringLiteral("Version 3.3"); }

}  // namespace vte
