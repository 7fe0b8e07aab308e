#include "container/image.h"

#include <QMouseEvent>
#include <QPainter>

namespace vte {

TImage::TImage(QWidget* Parent) : QWidget(Parent) {
  FPicture.OnChange = [this](TPicture&) { PictureChanged(); };
}

void TImage::SetAutoSize(bool V) {
  FAutoSize = V;
  PictureChanged();
}

void TImage::SetStretch(bool V) {
  FStretch = V;
  update();
}

void TImage::PictureChanged() {
  if (FAutoSize && !FPicture.Empty()) resize(FPicture.Width(), FPicture.Height());
  update();
}

void TImage::paintEvent(QPaintEvent*) {
  if (FPicture.Empty()) return;
  // The picture's own pixels: ToQImage converts palette and low-depth formats for the painter.
  const QImage Image = FPicture.Bitmap().ToQImage();
  QPainter Painter(this);
  if (FStretch)
    Painter.drawImage(rect(), Image);
  else
    Painter.drawImage(0, 0, Image);
}

void TImage::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint()) && OnClick) OnClick(this);
  QWidget::mouseReleaseEvent(Event);
}

}  // namespace vte
