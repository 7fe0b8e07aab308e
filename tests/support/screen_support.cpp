#include "support/screen_support.h"

#include <QApplication>
#include <QGuiApplication>
#include <QDeadlineTimer>
#include <QScreen>
#include <QTest>

#include "engine/render_window.h"
#include "render/control_render.h"

namespace vte::test {

void SetColor(QWidget* Widget, QColor Color) {
  QPalette P = Widget->palette();
  P.setColor(QPalette::Window, Color);
  Widget->setPalette(P);
}

QImage ScreenOf(QWidget* Widget) {
  const QPoint G = Widget->mapToGlobal(QPoint(0, 0));
  return QGuiApplication::primaryScreen()
      ->grabWindow(0, G.x(), G.y(), Widget->width(), Widget->height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

testing::AssertionResult ScreenShowsItsPaint(QWidget* Widget) {
  QApplication::processEvents();
  const QImage Shown = ScreenOf(Widget);
  const QImage Painted = RenderControlToBitmap(Widget, Rect(0, 0, Widget->width(), Widget->height()), true, pf32bit,
                                               false)->ToQImage().convertToFormat(QImage::Format_RGB32);
  if (Shown.size() != Painted.size()) return testing::AssertionFailure() << "the sizes differ";
  for (int Y = 0; Y < Shown.height(); ++Y)
    for (int X = 0; X < Shown.width(); ++X)
      if (Shown.pixel(X, Y) != Painted.pixel(X, Y))
        return testing::AssertionFailure() << "the screen shows 0x" << std::hex << Shown.pixel(X, Y) << " at " << std::dec
                                           << X << "," << Y << ", the widget paints 0x" << std::hex << Painted.pixel(X, Y);
  return testing::AssertionSuccess();
}

bool SettleScreen(QWidget* Widget) {
  QDeadlineTimer Deadline(1000);
  while (!ScreenShowsItsPaint(Widget)) {
    if (Deadline.hasExpired()) return false;
    QTest::qWait(5);
  }
  return true;
}

TTERenderWindow* TheRenderWindow() {
  for (QWidget* W : QApplication::allWidgets())
    if (auto* R = qobject_cast<TTERenderWindow*>(W)) return R;
  return nullptr;
}

void TPanelScreen::BuildPanel(QRect WindowGeometry, QRect PanelGeometry, QRect ChildGeometry) {
  Window.setGeometry(WindowGeometry);
  Panel = new QWidget(&Window);
  Panel->setGeometry(PanelGeometry);
  Panel->setAutoFillBackground(true);
  SetColor(Panel, Qt::red);
  if (!ChildGeometry.isNull()) {
    Child = new QWidget(Panel);
    Child->setGeometry(ChildGeometry);
    Child->setAutoFillBackground(true);
    SetColor(Child, Qt::yellow);
  }
  Window.show();
  QApplication::processEvents();
}

}  // namespace vte::test
