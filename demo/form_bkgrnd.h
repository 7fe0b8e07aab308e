#pragma once
// The background form of the navigator's shaded style: never on the screen itself, it is painted
// under the navigator's panels and pages. It shows "VEff.jpg" centred and, while the navigator's
// page area shows a page, a soft shadow along that page's right and bottom edges.
#include <QPointer>

#include "container/form.h"

namespace vte {
class TEffectsPanel;
class TFormTransitions;
}  // namespace vte

namespace vte::demo {

class TFormNavigator;

class TFormBkgrnd : public TForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormBkgrnd(QObject* Owner = nullptr);

  // Raises the file error when the form's picture cannot be read (so that a style can refuse
  // before it changes anything).
  static void CheckPicture();

  TFormTransitions* FormTransitions;
  TEffectsPanel* FormShadowV;
  TEffectsPanel* FormShadowH;
  // The navigator whose page the shadows follow, or none.
  QPointer<TFormNavigator> Navigator;

  // Places the shadows for the page the navigator shows now (hidden when it shows none).
  void PlaceShadows();

protected:
  void paintEvent(QPaintEvent* Event) override;
};

}  // namespace vte::demo
