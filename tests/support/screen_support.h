#pragma once
// Helpers for tests that run transitions over real widgets on the offscreen screen.
#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <QWidget>

namespace vte {
class TTERenderWindow;
}

namespace vte::test {

// The widget's background colour (its palette's Window role).
void SetColor(QWidget* Widget, QColor Color);
// What the screen shows of the widget now (in device pixels where the platform copies them, see
// render/device.h ScreenCopiesDevicePixels).
QImage ScreenOf(QWidget* Widget);
// Once pending paints are done, the screen shows exactly what the widget paints itself: the
// state a transition over it must leave behind.
testing::AssertionResult ScreenShowsItsPaint(QWidget* Widget);
// Paints a widget shown into a window that was on the screen already reach the screen at the
// window's next frame, not at once: this waits (a second at most) until the screen shows what the
// widget paints, and answers whether it does.
bool SettleScreen(QWidget* Widget);
// The render window of the transition in progress, or null.
TTERenderWindow* TheRenderWindow();

// A shown window holding a red panel, which holds a yellow child (none for a null geometry).
class TPanelScreen : public ::testing::Test {
protected:
  void BuildPanel(QRect WindowGeometry, QRect PanelGeometry, QRect ChildGeometry);

  QWidget Window;
  QWidget* Panel = nullptr;
  QWidget* Child = nullptr;
};

}  // namespace vte::test
