#include "pages/form_transition_samples.h"

#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include "container/effects_panel.h"
#include "container/form_container.h"
#include "editors/editor_helpers.h"
#include "effects/bitmap_mask.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "engine/transition_run.h"
#include "page_registry.h"
#include "pages/samp_tr_form1.h"
#include "pages/sample_pages.h"
#include "program_files.h"

namespace vte::demo {

namespace {

const char* const SamplePictures[] = {"Box.jpg", "Stone.jpg", "Wood.jpg", "Strokes.jpg", "VEff.jpg", "Wall.jpg"};

QPushButton* MakeButton(QWidget* Parent, const QString& Caption, const char* Name, int Left) {
  auto* Button = new QPushButton(Caption, Parent);
  Button->setObjectName(QLatin1String(Name));
  Button->setGeometry(Left, 8, 80, 25);
  return Button;
}

}  // namespace

TFormTransitionSamples::TFormTransitionSamples(QObject* Owner) : TFCEmbeddedForm(Owner) {
  setObjectName(QStringLiteral("FormTransitionSamples"));
  SetCaption(QStringLiteral("Transition samples"));
  SetClientWidth(501);
  SetClientHeight(493);
  // The button bar shows the page area's background through its glass.
  InheritBackground(BackgroundOptions());

  FormContainer = new TFormContainer(this);
  FormContainer->setObjectName(QStringLiteral("FormContainer"));
  FormContainer->setGeometry(0, 0, 501, 452);

  EffectsPanel1 = new TEffectsPanel(this);
  EffectsPanel1->setObjectName(QStringLiteral("EffectsPanel1"));
  EffectsPanel1->setGeometry(0, 452, 501, 41);
  EffectsPanel1->BackgroundOptions()->SetOpaque(false);
  EffectsPanel1->BackgroundOptions()->SetGlassColor(clSilver);
  EffectsPanel1->BackgroundOptions()->SetGlassTranslucency(64);

  SpeedButtonIndex = new QToolButton(EffectsPanel1);
  SpeedButtonIndex->setObjectName(QStringLiteral("SpeedButtonIndex"));
  SpeedButtonIndex->setGeometry(8, 8, 80, 25);
  SpeedButtonIndex->setText(QStringLiteral("Index..."));
  SpeedButtonIndex->setToolTip(QStringLiteral("Jump to a kind of transition"));
  BitBtnBack = MakeButton(EffectsPanel1, QStringLiteral("&Back"), "BitBtnBack", 325);
  BitBtnNext = MakeButton(EffectsPanel1, QStringLiteral("&Next"), "BitBtnNext", 413);
  connect(SpeedButtonIndex, &QToolButton::clicked, this, [this] { SpeedButtonIndexClick(); });
  connect(BitBtnBack, &QPushButton::clicked, this, [this] { BitBtnBackClick(); });
  connect(BitBtnNext, &QPushButton::clicked, this, [this] { BitBtnNextClick(); });

  PopupMenu = new QMenu(this);
  PopupMenu->setObjectName(QStringLiteral("PopupMenu"));

  TransitionList = new TTransitionList(this);
  TransitionList->setObjectName(QStringLiteral("TransitionList"));
  TransitionList->LoadFromFile(QStringLiteral(":/demo/samples.json"));
  BuildPopupMenu();
}

void TFormTransitionSamples::Loaded() {
  TFCEmbeddedForm::Loaded();
  for (const char* Picture : SamplePictures) {
    auto* Page = static_cast<TFCEmbeddedForm*>(FormContainer->CreateForm(&TSampTrForm1::staticMetaObject));
    // Hidden on purpose: a child that was never hidden explicitly would appear with this page.
    Page->hide();
    LoadSampleBackground(Page, QLatin1String(Picture));
  }
  auto* First = static_cast<TFCEmbeddedForm*>(FormContainer->Forms(1));
  FormContainer->ShowForm(First, false);
  SetSampleText(First, QStringLiteral("Press 'Next' button"));
  LoadMasks(QStringLiteral("Twirl.bmp"), "TransitionBmpTwirl1", "TransitionBmpTwirl2", "TransitionBmpTwirl3");
  LoadMasks(QStringLiteral("Wiper.bmp"), "TransitionBmpWiper1", "TransitionBmpWiper2", "TransitionBmpWiper3");
  BitBtnBack->setEnabled(false);
}

// The file is read once; the other two transitions take copies of the first one's mask.
void TFormTransitionSamples::LoadMasks(const QString& FileName, const char* First, const char* Second,
                                       const char* Third) {
  const TBitmap Mask = TBmpMaskTransition::LoadMaskFromFile(ProgramFile(FileName));
  auto Named = [this](const char* Name) {
    return TransitionList->findChild<TBmpMaskTransition*>(QLatin1String(Name), Qt::FindDirectChildrenOnly);
  };
  TBmpMaskTransition* Holder = Named(First);
  Holder->SetMask(&Mask);
  Named(Second)->SetMask(&Holder->Mask());
  Named(Third)->SetMask(&Holder->Mask());
}

// One item for each run of neighbouring transitions of one class, tagged with the run's start.
void TFormTransitionSamples::BuildPopupMenu() {
  const QMetaObject* Previous = nullptr;
  for (int I = 0; I < TransitionList->Count(); ++I) {
    const QMetaObject* Class = TransitionList->Transitions(I)->metaObject();
    if (Class == Previous) continue;
    Previous = Class;
    QAction* Item = PopupMenu->addAction(TTransitionEffect::Description(Class));
    Item->setData(I);
    connect(Item, &QAction::triggered, this, [this, I] { PopupItemClick(I); });
  }
}

// Next while a transition follows the one at Position, Back while one is shown.
void TFormTransitionSamples::UpdateButtons(int Position) {
  BitBtnNext->setEnabled(Position < TransitionList->Count() - 1);
  BitBtnBack->setEnabled(Position >= 0);
}

void TFormTransitionSamples::BitBtnNextClick() { ShowSample(false); }

void TFormTransitionSamples::BitBtnBackClick() { ShowSample(true); }

void TFormTransitionSamples::SpeedButtonIndexClick() {
  PopupMenu->popup(SpeedButtonIndex->mapToGlobal(QPoint(0, -2)));
}

void TFormTransitionSamples::PopupItemClick(int Tag) {
  const int Old = FSampleIndex;
  FSampleIndex = Tag - 1;
  try {
    ShowSample(false);
  } catch (...) {
    FSampleIndex = Old;
    UpdateButtons(Old);
    throw;
  }
}

// Next runs the transition after the one shown last, Back the one shown last in reverse; either
// way the following sample page comes in. SampleIndex changes only when the change was made.
void TFormTransitionSamples::ShowSample(bool Back) {
  const int Count = TransitionList->Count();
  const int Index = Back ? FSampleIndex : FSampleIndex + 1;
  if (Index < 0 || Index >= Count) return;
  const int After = Back ? Index - 1 : Index;
  TTransitionEffect* Transition = TransitionList->Transitions(Index);

  const int Shown = [this] {
    for (int I = 1; I <= FormContainer->FormCount(); ++I)
      if (FormContainer->Forms(I) == FormContainer->ActiveForm()) return I;
    return 0;
  }();
  auto* Page = static_cast<TFCEmbeddedForm*>(FormContainer->Forms(Shown % FormContainer->FormCount() + 1));

  // Back runs the transition reversed for this change only.
  struct TForwardAgain {
    TTransitionEffect* Transition;
    bool Back;
    ~TForwardAgain() {
      if (Back) Transition->SetReversed(false);
    }
  } ForwardAgain{Transition, Back};
  if (Back) Transition->SetReversed(true);
  try {
    ChangeWithTransition(Transition, this, [&] {
      UpdateButtons(After);
      FormContainer->ShowForm(Page, false);
      SetSampleText(Page, Transition->Description());
    });
  } catch (...) {
    UpdateButtons(FSampleIndex);
    throw;
  }
  FSampleIndex = After;
}

VTE_DEMO_PAGE(TFormTransitionSamples)

}  // namespace vte::demo
