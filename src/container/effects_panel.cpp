#include "container/effects_panel.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>

#include "container/control_frames.h"
#include "engine/version.h"
#include "render/device.h"

namespace vte {

TEffectsPanel::TEffectsPanel(QWidget* Parent) : QFrame(Parent), FOptions(new TFCBackgroundOptions(this)) {
  // The options paint every pixel; Qt need not clear anything first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
  SetColor(clBtnFace);
  FOptions->AttachTo(this);
  Relayout();
}

TEffectsPanel::~TEffectsPanel() { delete FOptions; }

void TEffectsPanel::SetBackgroundOptions(TFCBackgroundOptions* V) {
  if (V) FOptions->Assign(*V);
}

void TEffectsPanel::SetCaption(const QString& V) {
  FCaption = V;
  update();
}

void TEffectsPanel::SetAlignment(TAlignment V) {
  FAlignment = V;
  update();
}

void TEffectsPanel::SetBevelOuter(TBevelCut V) {
  FBevelOuter = V;
  Relayout();
}

void TEffectsPanel::SetBevelInner(TBevelCut V) {
  FBevelInner = V;
  Relayout();
}

void TEffectsPanel::SetBevelWidth(int V) {
  FBevelWidth = std::max(1, V);
  Relayout();
}

void TEffectsPanel::SetBorderWidth(int V) {
  FBorderWidth = std::max(0, V);
  Relayout();
}

TColor TEffectsPanel::Color() const { return ControlColor(this); }

void TEffectsPanel::SetColor(TColor V) {
  SetControlColor(this, V);
  update();
}

QString TEffectsPanel::Version() const { return VersionText(); }

// Children laid out by a layout keep clear of the bevels and the border, as a panel's client
// area does.
void TEffectsPanel::Relayout() {
  const int Edge = (FBevelOuter != bvNone ? FBevelWidth : 0) + FBorderWidth + (FBevelInner != bvNone ? FBevelWidth : 0);
  setContentsMargins(Edge, Edge, Edge, Edge);
  update();
}

void TEffectsPanel::paintEvent(QPaintEvent* Event) {
  QPainter Painter(this);
  const QRect Area = Event->rect();
  FOptions->Paint(Painter, Bounds(Area.x(), Area.y(), Area.width(), Area.height()));
  QRect R = rect();
  if (FBevelOuter != bvNone) DrawBevel(Painter, R, FBevelOuter, FBevelWidth);
  R.adjust(FBorderWidth, FBorderWidth, -FBorderWidth, -FBorderWidth);
  if (FBevelInner != bvNone) DrawBevel(Painter, R, FBevelInner, FBevelWidth);
  // One line, centred on the height of a "W", placed by the alignment as the reading order sees it.
  Painter.setFont(font());
  Painter.setPen(palette().color(QPalette::WindowText));
  const int H = QFontMetrics(font()).height();
  R.setTop((R.top() + R.bottom() + 1 - H) / 2);
  R.setHeight(H);
  const Qt::Alignment Horizontal = FAlignment == taLeftJustify    ? Qt::AlignLeft
                                   : FAlignment == taRightJustify ? Qt::AlignRight
                                                                  : Qt::AlignHCenter;
  Painter.drawText(R, int(QStyle::visualAlignment(layoutDirection(), Horizontal) | Qt::AlignVCenter) |
                          Qt::TextSingleLine | Qt::TextExpandTabs,
                   FCaption);
}

void TEffectsPanel::enterEvent(QEnterEvent* Event) {
  QFrame::enterEvent(Event);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TEffectsPanel::leaveEvent(QEvent* Event) {
  QFrame::leaveEvent(Event);
  if (OnMouseLeave) OnMouseLeave(this);
}

}  // namespace vte
