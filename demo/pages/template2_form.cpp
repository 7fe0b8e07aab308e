#include "pages/template2_form.h"

#include "page_registry.h"
#include "program_files.h"

namespace vte::demo {

QString TTemplate2Form::GetPictureFileName() const { return ProgramFile(QStringLiteral("Box.jpg")); }

VTE_DEMO_PAGE(TTemplate2Form)

}  // namespace vte::demo
