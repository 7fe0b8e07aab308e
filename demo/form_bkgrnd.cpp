#include "form_bkgrnd.h"

#include "container/effects_panel.h"
#include "container/form_container.h"
#include "container/form_transitions.h"
#include "editors/editor_helpers.h"
#include "form_navigator.h"
#include "page_registry.h"
#include "program_files.h"

namespace vte::demo {

namespace {
const QString PictureFile = QStringLiteral("VEff.jpg");
constexpr int ShadowOffset = 10;

TEffectsPanel* MakeShadow(QWidget* Parent, const char* Name, int Width, int Height) {
  auto* Shadow = new TEffectsPanel(Parent);
  Shadow->setObjectName(QLatin1String(Name));
  Shadow->resize(Width, Height);
  Shadow->SetBevelOuter(bvNone);
  TFCBackgroundOptions* Options = Shadow->BackgroundOptions();
  // The form's picture under a dark glass: one picture, darker where the shadow falls.
  Options->SetParentOpaque(true);
  Options->SetParentPicture(true);
  Options->SetGlassColor(clBlack);
  Options->SetGlassTranslucency(128);
  Shadow->setVisible(false);
  return Shadow;
}
}  // namespace

TFormBkgrnd::TFormBkgrnd(QObject* Owner) : TForm(Owner) {
  setObjectName(QStringLiteral("FormBkgrnd"));
  SetColor(clWhite);
  FormTransitions = new TFormTransitions(this);
  FormTransitions->setObjectName(QStringLiteral("FormTransitions"));
  TFCBackgroundOptions* Options = FormTransitions->BackgroundOptions();
  Options->SetPictureMode(fcpmCenter);
  LoadProgramPicture(Options->Picture(), PictureFile);
  Options->AttachTo(this);
  FormShadowV = MakeShadow(this, "FormShadowV", 10, 100);
  FormShadowH = MakeShadow(this, "FormShadowH", 100, 10);
}

void TFormBkgrnd::CheckPicture() {
  TPicture Picture;
  LoadProgramPicture(Picture, PictureFile);
}

void TFormBkgrnd::PlaceShadows() {
  TForm* Page = Navigator ? Navigator->FormContainerNavigator->ActiveForm() : nullptr;
  const bool Shown = Page && Page->isVisible();
  if (Shown) {
    // The page's bounds in the navigator, which this form spans, moved down and right.
    const QRect R(Page->mapTo(Navigator.data(), QPoint(0, 0)) + QPoint(ShadowOffset, ShadowOffset), Page->size());
    FormShadowV->setGeometry(R.right() + 1 - FormShadowV->width(), R.top(), FormShadowV->width(), R.height());
    FormShadowH->setGeometry(R.left(), R.bottom() + 1 - FormShadowH->height(), R.width(), FormShadowH->height());
  }
  FormShadowV->setVisible(Shown);
  FormShadowH->setVisible(Shown);
}

void TFormBkgrnd::paintEvent(QPaintEvent* Event) {
  // Painted under whatever page the navigator shows at that moment: the shadows follow it before
  // the children are painted.
  PlaceShadows();
  TForm::paintEvent(Event);
}

VTE_DEMO_PAGE(TFormBkgrnd)

}  // namespace vte::demo
