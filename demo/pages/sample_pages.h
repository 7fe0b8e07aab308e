#pragma once
// The two small routines the transition samples use on their sample pages.
#include <QString>

namespace vte {
class TFCEmbeddedForm;
}

namespace vte::demo {

// Loads the program's picture file FileName into the Picture of Form's background options; a
// missing file raises the picture's file error naming it and leaves the picture as it was.
void LoadSampleBackground(TFCEmbeddedForm* Form, const QString& FileName);
// Sets the caption of the text panel (EffectsPanelText) of a sample page; a form without one
// is left alone.
void SetSampleText(TFCEmbeddedForm* Form, const QString& Text);

}  // namespace vte::demo
