#include "container/effects_group_box.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include "container/control_frames.h"
#include "engine/version.h"
#include "render/device.h"

namespace vte {

TEffectsGroupBox::TEffectsGroupBox(QWidget* Parent) : QGroupBox(Parent), FOptions(new TFCBackgroundOptions(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
  SetColor(clBtnFace);
  FOptions->AttachTo(this);
}

TEffectsGroupBox::~TEffectsGroupBox() { delete FOptions; }

void TEffectsGroupBox::SetBackgroundOptions(TFCBackgroundOptions* V) {
  if (V) FOptions->Assign(*V);
}

void TEffectsGroupBox::SetCtl3D(bool V) {
  FCtl3D = V;
  update();
}

TColor TEffectsGroupBox::Color() const { return ControlColor(this); }

void TEffectsGroupBox::SetColor(TColor V) {
  SetControlColor(this, V);
  update();
}

QString TEffectsGroupBox::Version() const { return VersionText(); }

QRect TEffectsGroupBox::CaptionRect() const {
  if (title().isEmpty()) return {};
  const QFontMetrics Metrics(font());
  // A caption's '&' marks its accelerator: underlined, not drawn, taking no room.
  const int W = Metrics.size(Qt::TextShowMnemonic | Qt::TextSingleLine, title()).width(), H = Metrics.height();
  return QRect(layoutDirection() == Qt::RightToLeft ? width() - W - 8 : 8, 0, W, H);
}

void TEffectsGroupBox::paintEvent(QPaintEvent* Event) {
  QPainter Painter(this);
  const QRect Area = Event->rect();
  FOptions->Paint(Painter, Bounds(Area.x(), Area.y(), Area.width(), Area.height()));
  Painter.setFont(font());
  const int H = QFontMetrics(font()).height();
  QRect Frame(QPoint(0, H / 2 - 1), QPoint(width() - 1, height() - 1));
  const QRect Caption = CaptionRect();
  {
    // The frame runs behind the caption, never through it.
    Painter.save();
    if (!Caption.isEmpty()) Painter.setClipRegion(QRegion(rect()).subtracted(Caption));
    if (FCtl3D) {
      Frame.setTopLeft(Frame.topLeft() + QPoint(1, 1));
      DrawFrameRect(Painter, Frame, clBtnHighlight);
      Frame.translate(-1, -1);
      DrawFrameRect(Painter, Frame, clBtnShadow);
    } else {
      DrawFrameRect(Painter, Frame, clWindowFrame);
    }
    Painter.restore();
  }
  if (Caption.isEmpty()) return;
  Painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  Painter.drawText(Caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs | Qt::TextShowMnemonic,
                   title());
}

}  // namespace vte
