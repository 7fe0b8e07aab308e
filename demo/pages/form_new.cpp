#include "pages/form_new.h"

#include <QPushButton>
#include <QStyle>
#include <stdexcept>

#include "container/effects_panel.h"
#include "container/form_container.h"
#include "editors/editor_helpers.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "page_registry.h"
#include "pages/template_form.h"
#include "program_files.h"

namespace vte::demo {

namespace {

const char* const WizardPages[] = {"TFormStart",  "TFormScroll",    "TFormEmbedded", "TFormRender",
                                   "TFormBlend",  "TFormMasked",    "TFormBlocks",   "TFormInterlaced",
                                   "TFormBitmap", "TFormWaterfall", "TFormRoll",     "TFormSmooth"};

QPushButton* MakeButton(QWidget* Parent, const char* Name, const QString& Caption, const QRect& Bounds,
                        QStyle::StandardPixmap Icon) {
  auto* Button = new QPushButton(Caption, Parent);
  Button->setObjectName(QLatin1String(Name));
  Button->setGeometry(Bounds);
  Button->setIcon(Parent->style()->standardIcon(Icon));
  return Button;
}

}  // namespace

TFormNew::TFormNew(QObject* Owner) : TFCEmbeddedForm(Owner) {
  SetClientWidth(700);
  SetClientHeight(493);
  SetColor(clWhite);
  SetAlignment(fcfaTopLeft);

  for (const char* Name : WizardPages) {
    const QMetaObject* Class = PageClass(QLatin1String(Name));
    if (!Class) throw std::runtime_error(std::string("The wizard's page class ") + Name + " is not in this program");
    FPageClasses.push_back(Class);
  }

  // The list comes before the page area among the children: whoever looks for "Transition1"
  // inside the wizard finds its own before those of the pages.
  TransitionList = new TTransitionList(this);
  TransitionList->setObjectName(QStringLiteral("TransitionList"));
  TransitionList->LoadFromFile(QStringLiteral(":/demo/wizard.json"));
  Transition1 = TransitionList->findChild<TTransitionEffect*>(QStringLiteral("Transition1"));

  PageContainer = new TFormContainer(this);
  PageContainer->setObjectName(QStringLiteral("FormContainer"));
  PageContainer->setGeometry(0, 0, TTemplateForm::PageWidth, TTemplateForm::PageHeight);
  PageContainer->BackgroundOptions()->SetParentPicture(true);

  PanelStep = new TEffectsPanel(this);
  PanelStep->setObjectName(QStringLiteral("PanelStep"));
  PanelStep->setGeometry(12, 452, 150, 32);
  PanelStep->SetBevelOuter(bvNone);
  PanelStep->BackgroundOptions()->SetParentPicture(true);
  PanelStep->BackgroundOptions()->SetGlassColor(0x00502810);
  PanelStep->BackgroundOptions()->SetGlassTranslucency(70);
  QPalette Ink = PanelStep->palette();
  Ink.setColor(QPalette::WindowText, Qt::white);
  PanelStep->setPalette(Ink);

  BitBtnBack = MakeButton(this, "BitBtnBack", QStringLiteral("&Back"), QRect(380, 452, 96, 32), QStyle::SP_ArrowBack);
  BitBtnNext =
      MakeButton(this, "BitBtnNext", QStringLiteral("&Next"), QRect(484, 452, 96, 32), QStyle::SP_ArrowForward);
  BitBtnFinish =
      MakeButton(this, "BitBtnFinish", QStringLiteral("&Main menu"), QRect(588, 452, 100, 32), QStyle::SP_DirHomeIcon);
  connect(BitBtnBack, &QPushButton::clicked, this, [this] { Back(); });
  connect(BitBtnNext, &QPushButton::clicked, this, [this] { Next(); });
  connect(BitBtnFinish, &QPushButton::clicked, this, [this] { Finish(); });
}

void TFormNew::Loaded() {
  TFCEmbeddedForm::Loaded();
  LoadProgramPicture(BackgroundOptions()->Picture(), QStringLiteral("Box.jpg"));
  Next();
}

void TFormNew::Next() {
  if (FPageIndex + 1 < static_cast<int>(FPageClasses.size())) ShowPage(FPageIndex + 1, false);
}

void TFormNew::Back() {
  if (FPageIndex > 0) ShowPage(FPageIndex - 1, true);
}

void TFormNew::ShowPage(int Index, bool Reversed) {
  TWaitCursor Wait;
  TForm* Page = PageContainer->CreateForm(FPageClasses[static_cast<std::size_t>(Index)]);
  FPageIndex = Index;
  BitBtnBack->setEnabled(FPageIndex > 0);
  BitBtnNext->setEnabled(FPageIndex < static_cast<int>(FPageClasses.size()) - 1);
  PanelStep->SetCaption(QStringLiteral("Page %1 of %2").arg(FPageIndex + 1).arg(FPageClasses.size()));

  QPointer<TTemplateForm> Template = qobject_cast<TTemplateForm*>(Page);
  // While the wizard is being created it is not on the screen: its first page just appears with it.
  TTransitionEffect* Transition = Template && isVisible() ? Template->PageTransition() : nullptr;
  // Backwards for this change only, whatever happens during it.
  struct TForwardAgain {
    QPointer<TTransitionEffect> Transition;
    ~TForwardAgain() {
      if (Transition) Transition->SetReversed(false);
    }
  } ForwardAgain{Reversed ? Transition : nullptr};
  if (ForwardAgain.Transition) ForwardAgain.Transition->SetReversed(true);
  PageContainer->ShowForm(Page, true, fcfaDefault, nullptr, Transition);
  if (Template) Template->PlayDemo();
}

void TFormNew::Finish() {
  TFormContainer* Host = FormContainer();
  if (!Host) return;
  TWaitCursor Wait;
  if (Transition1) Transition1->SetReversed(true);
  // Back to the form the wizard was opened over; with none to go back to, the area empties.
  if (!Host->GoBack(true, Transition1)) Host->ShowForm(nullptr, true, fcfaDefault, nullptr, Transition1);
}

VTE_DEMO_PAGE(TFormNew)

}  // namespace vte::demo
