#include "form_power.h"

#include <QLabel>
#include <QPushButton>
#include <stdexcept>

#include "app/application.h"
#include "container/effects_panel.h"
#include "container/form_container.h"
#include "editors/editor_helpers.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "page_registry.h"
#include "reading_panel.h"

namespace vte::demo {

TFormPower::TFormPower(QObject* Owner) : TFCEmbeddedForm(Owner) {
  setObjectName(QStringLiteral("FormPower"));
  SetClientWidth(501);
  SetClientHeight(493);
  SetColor(clWhite);
  InheritBackground(BackgroundOptions());

  TEffectsPanel* Top = MakeReadingPanel(this, {0, 0, 501, 66}, "EffectsPanelTop");

  auto* Text = new QLabel(Top);
  Text->setGeometry(16, 6, 340, 56);
  Text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont Font(QStringLiteral("Arial"));
  Font.setPixelSize(12);
  Text->setFont(Font);
  Text->setWordWrap(true);
  Text->setText(QStringLiteral("A form container hosts any form, even a navigator with a container of its own. "
                               "Press the button: the whole demonstration runs again inside this page."));

  BitBtnMagic = new QPushButton(QStringLiteral("&Magic!"), Top);
  BitBtnMagic->setObjectName(QStringLiteral("BitBtnMagic"));
  BitBtnMagic->setGeometry(370, 16, 115, 34);
  Font.setBold(true);
  Font.setPixelSize(14);
  BitBtnMagic->setFont(Font);
  BitBtnMagic->setCursor(Qt::PointingHandCursor);

  FormContainer = new TFormContainer(this);
  FormContainer->setObjectName(QStringLiteral("FormContainer"));
  FormContainer->setGeometry(8, 68, 485, 417);
  FormContainer->SetAutoScroll(true);
  FormContainer->SetBorderStyle(bsSingle);
  FormContainer->SetColor(clWhite);

  TransitionList = new TTransitionList(this);
  TransitionList->setObjectName(QStringLiteral("TransitionList"));
  TransitionList->LoadFromFile(QStringLiteral(":/demo/power.json"));
  Transition = TransitionList->findChild<TTransitionEffect*>(QStringLiteral("Transition"));

  // What goes wrong reaches the user as every error of the program does.
  connect(BitBtnMagic, &QPushButton::clicked, this,
          [this] { TApplication::DeliverGuarded([this] { return ToggleNavigator(), true; }, ShowApplicationError); });
}

void TFormPower::ToggleNavigator() {
  const TWaitCursor Wait;
  if (FormContainer->ActiveForm()) {
    FormContainer->ShowForm(nullptr, true, fcfaDefault, nullptr, Transition);
    return;
  }
  const QMetaObject* Class = PageClass(QStringLiteral("TFormNavigator"));
  if (!Class) throw std::runtime_error("The page TFormNavigator is not part of this program");
  TForm* Navigator = FormContainer->CreateForm(Class);
  FormContainer->ShowForm(Navigator, true, fcfaDefault, nullptr, Transition);
}

VTE_DEMO_PAGE(TFormPower)

}  // namespace vte::demo
