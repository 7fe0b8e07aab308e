#include "editors/click_label.h"

#include <QMouseEvent>

namespace vte {

TClickLabel::TClickLabel(const QString& Caption, QWidget* Parent) : QLabel(Caption, Parent) {}

void TClickLabel::mouseReleaseEvent(QMouseEvent* Event) {
  QLabel::mouseReleaseEvent(Event);
  // A release outside the label is no click (the press was taken back).
  if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint()) && isEnabled() && OnClick)
    OnClick();
}

}  // namespace vte
