#pragma once
// A group box whose surface is painted by background options (see effects_panel.h); its etched
// frame and caption are drawn over that surface, the frame never crossing the caption.
#include <QGroupBox>
#include <QString>

#include "container/background_options.h"
#include "gdi/color.h"

namespace vte {

class TEffectsGroupBox : public QGroupBox {
  Q_OBJECT
  Q_PROPERTY(vte::TFCBackgroundOptions* BackgroundOptions READ BackgroundOptions WRITE SetBackgroundOptions)
  Q_PROPERTY(QString Caption READ title WRITE setTitle)
  Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(QString Version READ Version WRITE SetVersion)

public:
  Q_INVOKABLE explicit TEffectsGroupBox(QWidget* Parent = nullptr);
  // The options go first: nothing paints through them while the box is taken apart.
  ~TEffectsGroupBox() override;

  TFCBackgroundOptions* BackgroundOptions() const { return FOptions; }
  void SetBackgroundOptions(TFCBackgroundOptions* V);  // copies the settings
  // An etched frame in highlight and shadow; off: one line in the window-frame colour.
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool V);
  TColor Color() const;
  void SetColor(TColor V);
  QString Version() const;
  void SetVersion(const QString&) {}  // read-only in effect

  // Where the caption is drawn (empty without one).
  QRect CaptionRect() const;

protected:
  void paintEvent(QPaintEvent* Event) override;

private:
  TFCBackgroundOptions* FOptions;
  bool FCtl3D = true;
};

}  // namespace vte
