#include "pages/form_bitmap.h"

#include "container/effects_panel.h"
#include "effects/bitmap_mask.h"
#include "page_registry.h"
#include "program_files.h"

namespace vte::demo {

namespace {

TEffectsPanel* MakeMaskPanel(QWidget* Parent, const char* Name, const QRect& Bounds) {
  auto* Panel = new TEffectsPanel(Parent);
  Panel->setObjectName(QLatin1String(Name));
  Panel->setGeometry(Bounds);
  Panel->SetBevelOuter(bvLowered);
  Panel->BackgroundOptions()->SetPictureMode(fcpmStretch);
  return Panel;
}

// The mask File becomes Transition's pattern and Panel's picture.
void LoadMask(TTransitionEffect* Transition, TEffectsPanel* Panel, const QString& File) {
  const TBitmap Mask = TBmpMaskTransition::LoadMaskFromFile(ProgramFile(File));
  qobject_cast<TBmpMaskTransition*>(Transition)->SetMask(&Mask);
  Panel->BackgroundOptions()->Picture().SetBitmap(&Mask);
}

}  // namespace

TFormBitmap::TFormBitmap(QObject* Owner) : TTemplate2Form(Owner) {
  SetPageText(QStringLiteral("Bitmap masks"),
              QStringLiteral("Any grey picture can drive a transition: light pixels change first, dark ones "
                             "last. The two masks on the right, a twirl and a wiper, run over the panel, then "
                             "again with smoothing, which gives them soft edges."));
  EffectsPanel1->setGeometry(16, 128, 452, 292);
  EffectsPanel1->SetCaption(QStringLiteral("Bitmap masks"));
  // Three toggles: the panel comes in with the first and is there at the end.
  EffectsPanel1->hide();
  EffectsPanelBmp1 = MakeMaskPanel(this, "EffectsPanelBmp1", QRect(484, 128, 200, 140));
  EffectsPanelBmp2 = MakeMaskPanel(this, "EffectsPanelBmp2", QRect(484, 280, 200, 140));
  LoadStoredTransitions(QStringLiteral("wizard_bitmap"));
}

void TFormBitmap::Loaded() {
  TTemplate2Form::Loaded();
  LoadMask(Transitions(0), EffectsPanelBmp1, QStringLiteral("twirl.bmp"));
  LoadMask(Transitions(1), EffectsPanelBmp2, QStringLiteral("wiper.bmp"));
}

void TFormBitmap::PlayDemo() {
  TogglePanel(Transitions(1));
  for (const int Index : {0, 1}) {
    qobject_cast<TBmpMaskTransition*>(Transitions(Index))->SetSmoothingLevel(4);
    TogglePanel(Transitions(Index));
  }
}

VTE_DEMO_PAGE(TFormBitmap)

}  // namespace vte::demo
