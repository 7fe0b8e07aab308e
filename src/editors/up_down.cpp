#include "editors/up_down.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace vte {

int StrToInt(const QString& Text) {
  bool Ok = false;
  const int Value = Text.trimmed().toInt(&Ok);
  if (!Ok) throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(Text).toStdString());
  return Value;
}

TUpDown::TUpDown(QWidget* Parent) : QWidget(Parent), FUp(new QToolButton(this)), FDown(new QToolButton(this)) {
  for (QToolButton* B : {FUp, FDown}) {
    B->setAutoRepeat(true);
    B->setFocusPolicy(Qt::NoFocus);
    B->setIconSize(QSize(7, 7));
  }
  FUp->setArrowType(Qt::UpArrow);
  FDown->setArrowType(Qt::DownArrow);
  connect(FUp, &QToolButton::clicked, this, [this] { Step(1); });
  connect(FDown, &QToolButton::clicked, this, [this] { Step(-1); });
  resize(17, 22);
}

void TUpDown::SetMin(int V) {
  FMin = V;
  if (FMax < FMin) FMax = FMin;
  SetPosition(FPosition);
}

void TUpDown::SetMax(int V) {
  FMax = V;
  if (FMin > FMax) FMin = FMax;
  SetPosition(FPosition);
}

void TUpDown::SetPosition(int V) {
  const int New = std::clamp(V, FMin, FMax);
  const bool Changed = New != FPosition;
  FPosition = New;
  // The edit may show a text the user typed: it always ends up showing the position.
  ShowPosition();
  UpdateButtons();
  if (Changed && OnChanged) OnChanged(this);
}

void TUpDown::SetAssociate(QLineEdit* Edit) {
  if (FAssociate) {
    FAssociate->removeEventFilter(this);
    disconnect(FAssociateGone);
  }
  FAssociate = Edit;
  if (Edit) {
    Edit->installEventFilter(this);
    FAssociateGone = connect(Edit, &QObject::destroyed, this, [this] { FAssociate = nullptr; });
  }
  ShowPosition();
}

void TUpDown::PositionFromText() {
  if (FAssociate) SetPosition(StrToInt(FAssociate->text()));
}

void TUpDown::Step(int Delta) {
  if (!isEnabled()) return;
  // A typed text counts from where it stands, as long as it is a number.
  if (FAssociate && !FAssociate->isReadOnly()) {
    bool Ok = false;
    const int Typed = FAssociate->text().trimmed().toInt(&Ok);
    if (Ok) FPosition = std::clamp(Typed, FMin, FMax);
  }
  long long Next = static_cast<long long>(FPosition) + static_cast<long long>(Delta) * FIncrement;
  if (Next > FMax) Next = FWrap && FPosition == FMax ? FMin : FMax;
  if (Next < FMin) Next = FWrap && FPosition == FMin ? FMax : FMin;
  SetPosition(static_cast<int>(Next));
}

bool TUpDown::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == FAssociate && Event->type() == QEvent::KeyPress && isEnabled()) {
    const int Key = static_cast<QKeyEvent*>(Event)->key();
    if (Key == Qt::Key_Up || Key == Qt::Key_Down) {
      Step(Key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(Watched, Event);
}

void TUpDown::resizeEvent(QResizeEvent*) {
  const int Half = height() / 2;
  FUp->setGeometry(0, 0, width(), Half);
  FDown->setGeometry(0, Half, width(), height() - Half);
}

void TUpDown::changeEvent(QEvent* Event) {
  if (Event->type() == QEvent::EnabledChange) UpdateButtons();
  QWidget::changeEvent(Event);
}

void TUpDown::ShowPosition() {
  if (!FAssociate) return;
  const QString Text = QString::number(FPosition);
  if (FAssociate->text() != Text) FAssociate->setText(Text);
}

void TUpDown::UpdateButtons() {
  FUp->setEnabled(isEnabled() && (FWrap || FPosition < FMax));
  FDown->setEnabled(isEnabled() && (FWrap || FPosition > FMin));
}

}  // namespace vte
