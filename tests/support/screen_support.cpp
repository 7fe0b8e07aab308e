#include "support/screen_support.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "engine/render_window.h"

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
  Child = new QWidget(Panel);
  Child->setGeometry(ChildGeometry);
  Child->setAutoFillBackground(true);
  SetColor(Child, Qt::yellow);
  Window.show();
  QApplication::processEvents();
}

}  // namespace vte::test
