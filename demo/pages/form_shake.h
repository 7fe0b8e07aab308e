#pragma once
// The Shake custom transition page: its source text on one tab, an editor running it on the other.
#include "pages/custom_transition_page.h"

namespace vte::demo {

class TFormShake : public TCustomTransitionPage {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormShake(QObject* Owner = nullptr);
};

}  // namespace vte::demo
