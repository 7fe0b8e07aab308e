#pragma once
// A label that answers a left click: the caption of a check box it stands beside toggles the box,
// the caption of a button presses it. Its accelerator (the '&' of the caption) focuses its buddy,
// as any QLabel's does.
#include <QLabel>
#include <functional>

namespace vte {

class TClickLabel : public QLabel {
  Q_OBJECT

public:
  explicit TClickLabel(const QString& Caption, QWidget* Parent = nullptr);

  std::function<void()> OnClick;

protected:
  void mouseReleaseEvent(QMouseEvent* Event) override;
};

}  // namespace vte
