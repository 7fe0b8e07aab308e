#include "pages/form_embedded.h"

#include "container/effects_panel.h"
#include "container/image.h"
#include "page_registry.h"
#include "program_files.h"

namespace vte::demo {

namespace {

TImage* MakePicture(QWidget* Parent, const char* Name, const QRect& Bounds) {
  auto* Image = new TImage(Parent);
  Image->setObjectName(QLatin1String(Name));
  Image->setGeometry(Bounds);
  Image->SetStretch(true);
  Image->hide();
  return Image;
}

}  // namespace

TFormEmbedded::TFormEmbedded(QObject* Owner) : TTemplate2Form(Owner) {
  SetPageText(QStringLiteral("Transitions inside a page"),
              QStringLiteral("A form container hosts whole forms as its pages, and any control on a page can "
                             "change through a transition of its own. The two pictures below appear one after "
                             "the other: through a dissolve of single pixels, then through a roll."));
  EffectsPanel1->SetCaption(QString());
  Image1 = MakePicture(EffectsPanel1, "Image1", QRect(24, 24, 208, 244));
  Image2 = MakePicture(EffectsPanel1, "Image2", QRect(248, 24, 208, 244));
  LoadStoredTransitions(QStringLiteral("wizard_embedded"));
}

void TFormEmbedded::Loaded() {
  TTemplate2Form::Loaded();
  LoadProgramPicture(Image1->Picture(), QStringLiteral("Stone.jpg"));
  LoadProgramPicture(Image2->Picture(), QStringLiteral("Wood.jpg"));
}

void TFormEmbedded::PlayDemo() {
  PlayStep(Transitions(1), Image1, [this] { Image1->show(); });
  PlayStep(Transitions(2), Image2, [this] { Image2->show(); });
}

VTE_DEMO_PAGE(TFormEmbedded)

}  // namespace vte::demo
