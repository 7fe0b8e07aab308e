#pragma once
// Small pieces every editor form uses alike.
#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <utility>

#include "container/background_options.h"

namespace vte {

// The hourglass for the length of a scope, also when an exception leaves it.
struct TWaitCursor {
  TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// Adds an item at its place in alphabetical order (case-insensitive), as a sorted list keeps it.
inline void AddSorted(QComboBox* ComboBox, const QString& Text, const QVariant& Value) {
  int At = 0;
  while (At < ComboBox->count() && ComboBox->itemText(At).compare(Text, Qt::CaseInsensitive) <= 0) ++At;
  ComboBox->insertItem(At, Text, Value);
}

// The font the editor forms are designed with: Arial of 11 pixels (8 points at 96 dots an inch).
inline QFont EditorFont() {
  QFont Font(QStringLiteral("Arial"));
  Font.setPixelSize(11);
  return Font;
}

// Options that take everything from the nearest ancestor with options: a form hosted in a
// container looks like its surroundings.
inline void InheritBackground(TFCBackgroundOptions* Options) {
  Options->SetParentOpaque(true);
  Options->SetParentPicture(true);
  Options->SetParentBkgrndForm(true);
  Options->SetParentGlass(true);
}

// Gives the controls the names their forms know them by, so that hosts and tests find them.
inline void NameControls(std::initializer_list<std::pair<QObject*, const char*>> Controls) {
  for (const auto& [Object, Name] : Controls) Object->setObjectName(QLatin1String(Name));
}

}  // namespace vte
