#include "form_transition_editor.h"

#include <QLabel>
#include <QPushButton>

#include "app/application.h"
#include "editors/editor_helpers.h"
#include "editors/modal_editor.h"
#include "form_navigator.h"
#include "container/effects_panel.h"
#include "page_registry.h"
#include "reading_panel.h"

namespace vte::demo {

namespace {
const char* const EditorText =
    "<h2>Transitions editor</h2>"
    "<p>Every transition comes with an editor. Its page shows the settings of the transition's "
    "class: the duration, the direction, the style and smoothing of the masked effects, the mask "
    "picture of a bitmap mask, two passes with their own options, and more. A preview runs the "
    "transition between two sample pictures while you change it, so you see at once what a setting "
    "does.</p>"
    "<p>The editor can also replace a transition by one of another class: choose the class from the "
    "list and the settings the two have in common are kept.</p>"
    "<p>The same editor opens at design time, in a dialog of its own from your program "
    "(<i>EditTransitionModal</i>), or embedded in a form container, as the custom transitions pages "
    "of this demo show.</p>"
    "<p>Press the button below to edit the transition this menu shows its pages with. Every page you "
    "open afterwards uses what you set.</p>";
}

TFormTransitionEditor::TFormTransitionEditor(QObject* Owner) : TFCEmbeddedForm(Owner) {
  setObjectName(QStringLiteral("FormTransitionEditor"));
  SetClientWidth(501);
  SetClientHeight(493);
  SetColor(clWhite);
  InheritBackground(BackgroundOptions());

  TEffectsPanel* Reading = MakeReadingPanel(this, {8, 8, 485, 406}, "EffectsPanelText");
  LabelText = new QLabel(Reading);
  LabelText->setObjectName(QStringLiteral("LabelText"));
  LabelText->setGeometry(8, 4, 469, 398);
  LabelText->setWordWrap(true);
  LabelText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont Font(QStringLiteral("Arial"));
  Font.setPixelSize(14);
  LabelText->setFont(Font);
  LabelText->setText(QLatin1String(EditorText));

  BitBtnEditor = new QPushButton(QStringLiteral("&Editor..."), this);
  BitBtnEditor->setObjectName(QStringLiteral("BitBtnEditor"));
  BitBtnEditor->setGeometry(193, 430, 115, 32);
  Font.setBold(true);
  BitBtnEditor->setFont(Font);
  BitBtnEditor->setCursor(Qt::PointingHandCursor);
  connect(BitBtnEditor, &QPushButton::clicked, this,
          [this] { TApplication::DeliverGuarded([this] { return EditPageTransition(), true; }, ShowApplicationError); });
}

bool TFormTransitionEditor::EditPageTransition() {
  TFormNavigator* Navigator = TFormNavigator::HostOf(this);
  if (!Navigator) return false;
  return EditTransitionModal(Navigator->PageTransition);
}

VTE_DEMO_PAGE(TFormTransitionEditor)

}  // namespace vte::demo
