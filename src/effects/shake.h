#pragma once
// Shakes the old look for Milliseconds: the old image jitters by up to 3 pixels each way about
// every 35 ms. It replaces the whole frame loop with its own and captures no new look: the new
// look appears when the render window goes away. Not registered; pages create it directly.
#include "engine/transition_effect.h"

namespace vte {

class TShakeTransition : public TTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "Shake")
  Q_PROPERTY(int Milliseconds READ Milliseconds WRITE SetMilliseconds)

public:
  Q_INVOKABLE explicit TShakeTransition(QObject* Owner = nullptr) : TTransitionEffect(Owner) {}

  bool NeedDstImage() const override { return false; }
  void DoExecute(TTETransitionData& Data) override;
};

}  // namespace vte
