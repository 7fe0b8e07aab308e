#pragma once
// A control that shows a picture: at its top-left corner, or stretched over the whole control, and
// sized to the picture when AutoSize is on. Clicks reach OnClick.
#include <QWidget>
#include <functional>

#include "gdi/picture.h"

namespace vte {

class TImage : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
  Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)

public:
  using TNotifyEvent = std::function<void(QObject* Sender)>;

  Q_INVOKABLE explicit TImage(QWidget* Parent = nullptr);

  // Changes made through the reference (LoadFromFile, Assign, Clear) show at once.
  TPicture& Picture() { return FPicture; }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool V);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool V);

  TNotifyEvent OnClick;

protected:
  void paintEvent(QPaintEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

private:
  void PictureChanged();

  TPicture FPicture;
  bool FAutoSize = false;
  bool FStretch = false;
};

}  // namespace vte
