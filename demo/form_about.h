#pragma once
// The about box the program opens with: an elliptic window that appears through a bitmap mask
// to a chime, slides its version number in, and closes itself after a while or at a click.
#include "container/form.h"

class QLabel;
class QSoundEffect;
class QTimer;

namespace vte {
class TFormTransitions;
class TImage;
class TTransitionEffect;
class TTransitionList;
class TBmpMaskTransition;
}  // namespace vte

namespace vte::demo {

class TFormAbout : public TForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormAbout(QObject* Owner = nullptr);

  TImage* Image;
  QLabel* LabelVersion;
  TTransitionList* TransitionList;
  TBmpMaskTransition* Transition;
  TTransitionEffect* TransitionVersion;
  TFormTransitions* FormTransitions;
  QTimer* Timer;
  // The chime, once it was started.
  QSoundEffect* Chime() const { return FChime; }

protected:
  bool event(QEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  void Created();
  void PlayChime();
  // After the form has appeared: the version number slides in and the timer starts.
  void Appeared();
  void Dismiss();

  QSoundEffect* FChime = nullptr;
  bool FAppeared = false;
};

}  // namespace vte::demo
