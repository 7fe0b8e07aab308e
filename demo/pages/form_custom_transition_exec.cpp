#include "pages/form_custom_transition_exec.h"

#include <QLabel>

#include "container/effects_panel.h"
#include "container/form_container.h"
#include "editors/transition_editor.h"
#include "editors/transition_effect_editor.h"
#include "page_registry.h"

namespace vte::demo {

namespace {
// The editor with a frame of glass around it.
constexpr int Frame = 8;
constexpr int EditorWidth = 410, EditorHeight = TTransitionEffectEditor::PageHeight;
}  // namespace

TFormCustomTransitionExec::TFormCustomTransitionExec(QObject* Owner) : TFCEmbeddedForm(Owner) {
  setObjectName(QStringLiteral("FormCustomTransitionExec"));
  SetCaption(QStringLiteral("Execute"));
  SetColor(clSilver);
  SetClientWidth(477);
  SetClientHeight(446);
  SetAlignment(fcfaClient);

  LabelHint = new QLabel(
      QStringLiteral("Change the settings on the right, then press Preview to run the transition over "
                     "the sample on the left."),
      this);
  LabelHint->setObjectName(QStringLiteral("LabelHint"));
  LabelHint->setWordWrap(true);

  Panel = new TEffectsPanel(this);
  Panel->setObjectName(QStringLiteral("Panel"));
  Panel->SetBevelOuter(bvLowered);
  Panel->BackgroundOptions()->SetGlassTranslucency(35);
  Panel->resize(EditorWidth + 2 * Frame, EditorHeight + 2 * Frame);

  FormContainerEditor = new TFormContainer(Panel);
  FormContainerEditor->setObjectName(QStringLiteral("FormContainerEditor"));
  FormContainerEditor->setGeometry(Frame, Frame, EditorWidth, EditorHeight);
}

void TFormCustomTransitionExec::SetCustomTransition(TTransitionEffect* Transition) {
  auto* Editor = static_cast<TTransitionEditor*>(FormContainerEditor->CreateForm(&TTransitionEditor::staticMetaObject));
  FEditor = Editor;
  Editor->SetColor(Color());
  Editor->EditTransition(Transition);
  FormContainerEditor->ShowForm(Editor, true);
}

// The hint along the top, the editor's panel centred below it.
void TFormCustomTransitionExec::resizeEvent(QResizeEvent* Event) {
  TFCEmbeddedForm::resizeEvent(Event);
  LabelHint->setGeometry(16, 12, width() - 32, 40);
  const int Top = 56 + std::max(0, (height() - 56 - Panel->height()) / 2);
  Panel->move(std::max(0, (width() - Panel->width()) / 2), Top);
}

VTE_DEMO_PAGE(TFormCustomTransitionExec)

}  // namespace vte::demo
