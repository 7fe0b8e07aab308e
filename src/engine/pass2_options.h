#pragma once
// Options of a two-pass run: the first pass goes from the old look to an intermediate image (a
// plain colour, or the control as it looks when the intermediate image is made), the second from
// there to the new look.
#include <QObject>

#include "gdi/color.h"

namespace vte {

class TTEPass2OptionsType : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool DistributedTime READ DistributedTime WRITE SetDistributedTime)
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
  Q_PROPERTY(bool UseSolidColor READ UseSolidColor WRITE SetUseSolidColor)
  Q_PROPERTY(int SolidColor READ SolidColor WRITE SetSolidColor)

public:
  Q_INVOKABLE explicit TTEPass2OptionsType(QObject* Owner = nullptr) : QObject(Owner) {}

  // Each pass gets half of Milliseconds (truncated).
  bool DistributedTime() const { return FDistributedTime; }
  void SetDistributedTime(bool V) { FDistributedTime = V; }
  // The first pass runs with Reversed inverted.
  bool Reversed() const { return FReversed; }
  void SetReversed(bool V) { FReversed = V; }
  bool UseSolidColor() const { return FUseSolidColor; }
  void SetUseSolidColor(bool V) { FUseSolidColor = V; }
  // clNone: the control's own colour.
  TColor SolidColor() const { return FSolidColor; }
  void SetSolidColor(TColor V) { FSolidColor = V; }

  void Assign(const TTEPass2OptionsType& Source) {
    FDistributedTime = Source.FDistributedTime;
    FReversed = Source.FReversed;
    FUseSolidColor = Source.FUseSolidColor;
    FSolidColor = Source.FSolidColor;
  }

private:
  bool FDistributedTime = false;
  bool FReversed = false;
  bool FUseSolidColor = true;
  TColor FSolidColor = clNone;
};

}  // namespace vte
