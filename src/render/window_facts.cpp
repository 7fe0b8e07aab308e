#include "render/window_facts.h"

#include <QLatin1String>
#include <QWidget>

#include "render/control_registry.h"

namespace vte {

TRect WindowBounds(const QWidget* Window) {
  const QSize Size = Window->isWindow() ? Window->frameGeometry().size() : Window->size();
  return Rect(0, 0, Size.width(), Size.height());
}

TPoint WindowClientOffset(const QWidget* Window) {
  if (!Window->isWindow()) return {0, 0};
  const QPoint Offset = Window->geometry().topLeft() - Window->frameGeometry().topLeft();
  return {Offset.x(), Offset.y()};
}

TRect WindowClientBounds(const QWidget* Window) { return Rect(0, 0, Window->width(), Window->height()); }

bool IsWindowShowing(const QWidget* Window) {
  if (Window->isVisible()) return true;
  for (const QWidget* W = Window; W; W = W->isWindow() ? nullptr : W->parentWidget()) {
    // A top-level window is hidden until shown; only one hidden on purpose counts as hidden.
    const bool Hidden = W->isWindow() ? W->isHidden() && W->testAttribute(Qt::WA_WState_ExplicitShowHide)
                                      : W->isHidden();
    if (Hidden) return false;
  }
  return true;
}

bool IsRenderWindow(const QWidget* Window) {
  return ClassIsOrInherits(Window->metaObject(), QLatin1String("TTERenderWindow"));
}

}  // namespace vte
