#include "pages/form_lru.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>

#include "container/form_container.h"
#include "editors/click_label.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "engine/transition_run.h"
#include "page_registry.h"
#include "pages/page_ink.h"
#include "pages/text_page.h"

namespace vte::demo {

TFormContainer* HostingNavigatorContainer(const QWidget* Page) {
  for (QWidget* Up = Page ? Page->parentWidget() : nullptr; Up; Up = Up->parentWidget())
    if (Up->inherits("vte::demo::TFormNavigator"))
      return Up->findChild<TFormContainer*>(QStringLiteral("FormContainerNavigator"));
  return nullptr;
}

TFormLRU::TFormLRU(QObject* Owner) : TFCEmbeddedForm(Owner) {
  SetUpTextPage(this, "FormLRU", QStringLiteral("LRU forms"));
  AddPageTitle(this, QStringLiteral("LRU forms"));
  LabelText = AddPageText(
      this,
      QStringLiteral(
          "<p>The navigator's container remembers every page it has shown, the most recent last, up to its "
          "<code>LRUFormCapacity</code> (50 here). The pages themselves are destroyed when you leave them, but "
          "with <code>SaveLRUDestroyedForms</code> their entries stay: <code>GoBack</code> or "
          "<code>ShowHistoryForm</code> creates a page again, and the page gets back the state it saved.</p>"
          "<p>A page joins the list when you leave it. These are the pages you opened before this one:</p>"),
      64, 300);
  // The check box and the list follow the text wherever its lines end.
  LabelText->resize(LabelText->width(), LabelText->heightForWidth(LabelText->width()));
  const int Top = LabelText->y() + LabelText->height() + 8;

  CheckBoxViewLRU = new QCheckBox(this);
  CheckBoxViewLRU->setObjectName(QStringLiteral("CheckBoxViewLRU"));
  CheckBoxViewLRU->setGeometry(TextPagePadding, Top, 20, 20);
  CheckBoxViewLRU->setChecked(true);
  LabelView = new TClickLabel(QStringLiteral("View the list"), this);
  LabelView->setObjectName(QStringLiteral("LabelView"));
  LabelView->setGeometry(TextPagePadding + 22, Top, 200, 20);
  QFont Font(QStringLiteral("Arial"));
  Font.setPixelSize(13);
  Font.setBold(true);
  LabelView->setFont(Font);
  LabelView->setCursor(Qt::PointingHandCursor);
  LabelView->OnClick = [this] { CheckBoxViewLRU->toggle(); };

  ListBoxLRU = new QListWidget(this);
  ListBoxLRU->setObjectName(QStringLiteral("ListBoxLRU"));
  ListBoxLRU->setGeometry(TextPagePadding, Top + 28, TextPageWidth - 2 * TextPagePadding,
                          TextPageHeight - TextPagePadding - (Top + 28));

  TransitionList = new TTransitionList(this);
  TransitionList->setObjectName(QStringLiteral("TransitionList"));
  TransitionList->LoadFromFile(QStringLiteral(":/demo/lru.json"));
  Transition = TransitionList->findChild<TTransitionEffect*>(QStringLiteral("Transition"));

  connect(CheckBoxViewLRU, &QCheckBox::toggled, this, [this] { CheckBoxViewLRUClick(); });
  OnShow = [this](TForm*) {
    FitInkToBackground(this);
    FormShow();
  };
}

void TFormLRU::FormShow() {
  ListBoxLRU->clear();
  const TFormContainer* Container = HostingNavigatorContainer(this);
  if (!Container) return;
  for (int I = 1; I <= Container->HistoryCount(); ++I) ListBoxLRU->addItem(Container->History(I)->Caption);
  if (Container->HistoryIndex() != 0) ListBoxLRU->setCurrentRow(Container->HistoryIndex() - 1);
}

// Showing the list runs the slide backwards, hiding it runs it forwards.
void TFormLRU::CheckBoxViewLRUClick() {
  Transition->SetReversed(ListBoxLRU->isHidden());
  ChangeWithTransition(Transition, ListBoxLRU->parentWidget(), [this] {
    return Rect(ListBoxLRU->x(), ListBoxLRU->y(), ListBoxLRU->x() + ListBoxLRU->width(),
                ListBoxLRU->y() + ListBoxLRU->height());
  }(), [this] { ListBoxLRU->setVisible(CheckBoxViewLRU->isChecked()); });
}

VTE_DEMO_PAGE(TFormLRU)

}  // namespace vte::demo
