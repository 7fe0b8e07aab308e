#pragma once
// Small pieces every editor form uses alike.
#include <QApplication>
#include <QComboBox>
#include <QString>
#include <QVariant>

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

}  // namespace vte
