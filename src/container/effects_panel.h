#pragma once
// A panel whose surface is painted by background options: transparent, with a picture, the look of
// a background form, under glass, inherited from and passed on to the panels around it. Bevels,
// border and caption are drawn over that surface as a plain panel draws them over its colour.
#include <QFrame>
#include <QString>
#include <functional>

#include "container/background_options.h"
#include "container/form_types.h"
#include "gdi/color.h"

namespace vte {

class TEffectsPanel : public QFrame {
  Q_OBJECT
  Q_PROPERTY(vte::TFCBackgroundOptions* BackgroundOptions READ BackgroundOptions WRITE SetBackgroundOptions)
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(vte::form_types::TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(vte::form_types::TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
  Q_PROPERTY(vte::form_types::TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
  Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
  Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(QString Version READ Version WRITE SetVersion)

public:
  using TNotifyEvent = std::function<void(QObject* Sender)>;

  Q_INVOKABLE explicit TEffectsPanel(QWidget* Parent = nullptr);
  // The options go first: nothing paints through them while the panel is taken apart.
  ~TEffectsPanel() override;

  TFCBackgroundOptions* BackgroundOptions() const { return FOptions; }
  void SetBackgroundOptions(TFCBackgroundOptions* V);  // copies the settings
  QString Caption() const { return FCaption; }
  void SetCaption(const QString& V);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment V);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut V);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut V);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int V);  // at least 1
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int V);  // at least 0
  TColor Color() const;
  void SetColor(TColor V);
  QString Version() const;
  void SetVersion(const QString&) {}  // read-only in effect

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  void paintEvent(QPaintEvent* Event) override;
  void enterEvent(QEnterEvent* Event) override;
  void leaveEvent(QEvent* Event) override;

private:
  void Relayout();

  TFCBackgroundOptions* FOptions;
  QString FCaption;
  TAlignment FAlignment = taCenter;
  TBevelCut FBevelOuter = bvRaised;
  TBevelCut FBevelInner = bvNone;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
};

}  // namespace vte
