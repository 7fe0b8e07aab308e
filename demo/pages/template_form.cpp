#include "pages/template_form.h"

#include <QLabel>

#include "container/effects_panel.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "engine/transition_run.h"
#include "page_registry.h"
#include "demo_font.h"
#include "program_files.h"

namespace vte::demo {

namespace {

QLabel* MakeLabel(QWidget* Parent, const char* Name, const QRect& Bounds, const QFont& Font) {
  auto* Label = new QLabel(Parent);
  Label->setObjectName(QLatin1String(Name));
  Label->setGeometry(Bounds);
  Label->setFont(Font);
  Label->setWordWrap(true);
  Label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette Palette = Label->palette();
  Palette.setColor(QPalette::WindowText, Qt::white);
  Label->setPalette(Palette);
  return Label;
}

}  // namespace

TTemplateForm::TTemplateForm(QObject* Owner) : TFCEmbeddedForm(Owner) {
  SetClientWidth(PageWidth);
  SetClientHeight(PageHeight);
  SetColor(clWhite);
  SetAlignment(fcfaTopLeft);

  TransitionList = new TTransitionList(this);
  TransitionList->setObjectName(QStringLiteral("TransitionList"));

  // The text sits on dark glass over the picture, so that it reads on any part of it.
  PanelText = new TEffectsPanel(this);
  PanelText->setObjectName(QStringLiteral("PanelText"));
  PanelText->setGeometry(16, 12, 668, 96);
  PanelText->SetBevelOuter(bvNone);
  PanelText->BackgroundOptions()->SetParentPicture(true);
  PanelText->BackgroundOptions()->SetGlassColor(0x00502810);
  PanelText->BackgroundOptions()->SetGlassTranslucency(70);
  LabelTitle = MakeLabel(PanelText, "LabelTitle", QRect(14, 8, 640, 26), DemoFont(20, true));
  LabelText = MakeLabel(PanelText, "LabelText", QRect(14, 38, 640, 52), DemoFont(13, false));

  // What the demonstration plays on: a light card over the picture (its text would show through
  // thinner glass), with a caption.
  EffectsPanel1 = new TEffectsPanel(this);
  EffectsPanel1->setObjectName(QStringLiteral("EffectsPanel1"));
  EffectsPanel1->setGeometry(110, 128, 480, 292);
  EffectsPanel1->SetBevelOuter(bvRaised);
  EffectsPanel1->SetBevelInner(bvLowered);
  EffectsPanel1->SetBevelWidth(2);
  EffectsPanel1->BackgroundOptions()->SetParentPicture(true);
  EffectsPanel1->BackgroundOptions()->SetGlassColor(clWhite);
  EffectsPanel1->BackgroundOptions()->SetGlassTranslucency(32);
  EffectsPanel1->setFont(DemoFont(30, true));
  QPalette Ink = EffectsPanel1->palette();
  Ink.setColor(QPalette::WindowText, QColor(0x10, 0x28, 0x50));
  EffectsPanel1->setPalette(Ink);
  EffectsPanel1->SetCaption(QStringLiteral("Vantorel Effects"));
}

QString TTemplateForm::GetPictureFileName() const { return ProgramFile(QStringLiteral("VEff.jpg")); }

void TTemplateForm::SetPageText(const QString& Title, const QString& Text) {
  LabelTitle->setText(Title);
  LabelText->setText(Text);
}

void TTemplateForm::LoadStoredTransitions(const QString& Stored) {
  TransitionList->LoadFromFile(QStringLiteral(":/demo/%1.json").arg(Stored));
}

TTransitionEffect* TTemplateForm::Transitions(int Index) const { return TransitionList->Transitions(Index); }

void TTemplateForm::PlayStep(TTransitionEffect* Transition, QWidget* Target, const std::function<void()>& Change) {
  const QRect B = Target->geometry();
  // A page off the screen has nothing to animate (a run would cover whatever shows around it).
  ChangeWithTransition(isVisible() ? Transition : nullptr, Target->parentWidget(),
                       Bounds(B.x(), B.y(), B.width(), B.height()), Change);
}

void TTemplateForm::TogglePanel(TTransitionEffect* Transition) {
  // Hidden or not by its own flag: the page itself may not be on the screen.
  PlayStep(Transition, EffectsPanel1, [this] { EffectsPanel1->setVisible(EffectsPanel1->isHidden()); });
}

void TTemplateForm::PlaySequence(std::initializer_list<int> Indexes) {
  for (const int Index : Indexes) TogglePanel(Transitions(Index));
}

void TTemplateForm::Loaded() {
  TFCEmbeddedForm::Loaded();
  FPageTransition = TransitionList->Count() > 0 ? TransitionList->Transitions(0) : nullptr;
  BackgroundOptions()->Picture().LoadFromFile(GetPictureFileName());
}

VTE_DEMO_PAGE(TTemplateForm)

}  // namespace vte::demo
