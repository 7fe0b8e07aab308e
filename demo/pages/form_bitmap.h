#pragma once
// The wizard's page "Bitmap masks": two grey masks drive the transitions over EffectsPanel1 and
// are shown beside it, stretched, in EffectsPanelBmp1 and EffectsPanelBmp2.
#include "pages/template2_form.h"

namespace vte::demo {

class TFormBitmap : public TTemplate2Form {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TFormBitmap(QObject* Owner = nullptr);

  void PlayDemo() override;

  TEffectsPanel* EffectsPanelBmp1;
  TEffectsPanel* EffectsPanelBmp2;

 protected:
  // The pictures are read once the form is complete, after the background: a missing file ends
  // the page's creation with the file's error.
  void Loaded() override;
};

}  // namespace vte::demo
