#pragma once
// The demonstration's lettering: Arial (or what the system stands in for it) at a pixel size.
#include <QFont>

namespace vte::demo {

inline QFont DemoFont(int PixelSize, bool Bold = false) {
  QFont Font(QStringLiteral("Arial"));
  Font.setPixelSize(PixelSize);
  Font.setBold(Bold);
  return Font;
}

}  // namespace vte::demo
