#pragma once
// The Simple wipe custom transition page: its source text on one tab, an editor running it on the other.
#include "pages/custom_transition_page.h"

namespace vte::demo {

class TFormSimpleWipe : public TCustomTransitionPage {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormSimpleWipe(QObject* Owner = nullptr);
};

}  // namespace vte::demo
