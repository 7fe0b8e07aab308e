#pragma once
// A panel under a page's text: it shows the page's picture (whatever style the menu gave it)
// behind a light glass, so that dark text reads over dark pictures as over light ones.
#include <QRect>

class QWidget;

namespace vte {
class TEffectsPanel;
}

namespace vte::demo {

TEffectsPanel* MakeReadingPanel(QWidget* Page, const QRect& Bounds, const char* Name);

}  // namespace vte::demo
