#pragma once
// The wizard's page "Transitions inside a page": two pictures inside EffectsPanel1 appear one
// after the other, each through a transition over its own bounds.
#include "pages/template2_form.h"

namespace vte {
class TImage;
}

namespace vte::demo {

class TFormEmbedded : public TTemplate2Form {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormEmbedded(QObject* Owner = nullptr);

  void PlayDemo() override;

  TImage* Image1;
  TImage* Image2;

 protected:
  // The pictures are read once the form is complete, after the background: a missing file ends
  // the page's creation with the file's error.
  void Loaded() override;
};

}  // namespace vte::demo
