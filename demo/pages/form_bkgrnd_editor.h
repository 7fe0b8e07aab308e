#pragma once
// The background samples page: restyles the navigator that hosts it. Six buttons apply the
// navigator's background styles through a radial transition; below them the page's glass
// (translucency and colour), the picture mode and the picture file of the navigator can be set
// one by one, each change shown behind a flicker-free cut.
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

#include "container/embedded_form.h"
#include "gdi/color.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace vte {
class TTransitionEffect;
class TTransitionList;
}  // namespace vte

namespace vte::demo {

class TFormNavigator;

class TFormBkgrndEditor : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormBkgrndEditor(QObject* Owner = nullptr);

  QSpinBox* UpDownFormTranslucency;
  QPushButton* ButtonGlassColor;
  QComboBox* ComboBoxPicMode;
  QLineEdit* EditPicFile;
  QToolButton* SpeedButtonPicFile;
  TTransitionList* TransitionList;
  TTransitionEffect* Transition;   // the styles
  TTransitionEffect* Transition2;  // the single settings
  // The navigator this page restyles (found when the page is shown), or none.
  QPointer<TFormNavigator> Navigator;

  // The controls show a style the navigator has just taken: its picture file (empty: none), mode,
  // page glass translucency and, when given, page glass colour; the page's own glass follows.
  void ShowStyle(const QString& PictureFile, int PictureMode, int Translucency, std::optional<TColor> GlassColor);

private:
  void PageShown();
  void TranslucencyChanged(int Value);
  void ChooseGlassColor();
  void PictureModeChosen(int Index);
  void ChoosePictureFile();
  void PictureFileEdited();
  void SetButtonColor(TColor Color);
  // Runs Change, every error shown to the user as the program shows errors.
  static void Guarded(const std::function<void()>& Change);

  bool FShown = false;
  TColor FButtonColor = clWhite;
  QString FAppliedFile;  // the picture file the navigator shows
};

}  // namespace vte::demo
