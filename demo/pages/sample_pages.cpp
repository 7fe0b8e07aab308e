#include "pages/sample_pages.h"

#include "container/effects_panel.h"
#include "container/embedded_form.h"
#include "program_files.h"

namespace vte::demo {

void LoadSampleBackground(TFCEmbeddedForm* Form, const QString& FileName) {
  LoadProgramPicture(Form->BackgroundOptions()->Picture(), FileName);
}

void SetSampleText(TFCEmbeddedForm* Form, const QString& Text) {
  if (auto* Panel = Form->findChild<TEffectsPanel*>(QStringLiteral("EffectsPanelText"))) Panel->SetCaption(Text);
}

}  // namespace vte::demo
