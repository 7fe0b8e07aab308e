#pragma once
// What the demonstration's tests of the main window, the navigator and its pages share: input
// through the top-level window, the error messages the program shows, an entry's font colour.
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "gdi/color.h"

namespace vte::demo::test {

// A click in the middle of Widget (or at At, in its coordinates), through its window, as the window
// system delivers it; the events it causes are processed.
inline void ClickOn(QWidget* Widget, QPoint At = QPoint(-1, -1)) {
  QWidget* Top = Widget->window();
  const QPoint P = Widget->mapTo(Top, At == QPoint(-1, -1) ? Widget->rect().center() : At);
  QTest::mouseClick(Top->windowHandle(), Qt::LeftButton, Qt::NoModifier, P);
  QApplication::processEvents();
}

// The mouse moves over the middle of Widget (enter and leave events follow).
inline void MoveOnto(QWidget* Widget) {
  QWidget* Top = Widget->window();
  QTest::mouseMove(Top->windowHandle(), Widget->mapTo(Top, Widget->rect().center()));
  QApplication::processEvents();
}

inline TColor FontColorOf(const QWidget* Widget) {
  return QRgbToColor(Widget->palette().color(QPalette::WindowText).rgb());
}

// Error messages the program shows while it lives are taken down and kept: a modal message box
// would wait for a user.
class TErrorCatcher {
public:
  TErrorCatcher() {
    FTimer.setInterval(10);
    QObject::connect(&FTimer, &QTimer::timeout, [this] {
      if (auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        Messages << Box->text();
        Box->done(QMessageBox::Ok);
      }
    });
    FTimer.start();
  }
  QStringList Messages;

private:
  QTimer FTimer;
};

}  // namespace vte::demo::test
