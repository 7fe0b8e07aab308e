#include "form_power.h"

#include <QLabel>
#include <QPushButton>
#include <stdexcept>

#include "app/application.h"
#include "container/form_container.h"
#include "editors/editor_helpers.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "page_registry.h"

namespace vte::demo {

TFormPower::TFormPower(QObject* Owner) : TFCEmbeddedForm(Owner) {
  setObjectName(QStringLiteral("FormPower"));
  SetClientWidth(501);
  SetClientHeight(493);
  SetColor(clWhite);
  InheritBackground(BackgroundOptions());

  auto* Text = new QLabel(this);
  Text->setGeometry(16, 8, 330, 52);
  QFont Font(QStringLiteral("Arial"));
  Font.setPixelSize(13);
  Text->setFont(Font);
  Text->setWordWrap(true);
  Text->setText(QStringLiteral("A form container can host any form, a navigator with its own container among them. "
                               "Press the button and the whole demonstration runs again inside this page."));

  BitBtnMagic = new QPushButton(QStringLiteral("&Magic!"), this);
  BitBtnMagic->setObjectName(QStringLiteral("BitBtnMagic"));
  BitBtnMagic->setGeometry(370, 16, 115, 34);
  Font.setBold(true);
  Font.setPixelSize(14);
  BitBtnMagic->setFont(Font);
  BitBtnMagic->setCursor(Qt::PointingHandCursor);

  FormContainer = new TFormContainer(this);
  FormContainer->setObjectName(QStringLiteral("FormContainer"));
  FormContainer->setGeometry(8, 66, 485, 419);
  FormContainer->SetAutoScroll(true);
  FormContainer->SetBorderStyle(bsSingle);
  FormContainer->SetColor(clWhite);

  TransitionList = new TTransitionList(this);
  TransitionList->setObjectName(QStringLiteral("TransitionList"));
  TransitionList->LoadFromFile(QStringLiteral(":/demo/power.json"));
  Transition = TransitionList->findChild<TTransitionEffect*>(QStringLiteral("Transition"));

  connect(BitBtnMagic, &QPushButton::clicked, this, [this] {
    TApplication::DeliverGuarded(
        [this] {
          ToggleNavigator();
          return true;
        },
        [](const std::string& Message) { ShowApplicationError(Message); });
  });
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
