// The history page: the navigator's history in its list, and the check box (or its label) sliding
// the list out and in.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <cstring>

#include "b_page_host.h"
#include "editors/click_label.h"
#include "engine/transition_effect.h"
#include "pages/form_lru.h"

namespace vte::demo::test {
namespace {

// Stands in for the navigator, an embedded form like it: the page finds it by its class name, and
// its page container by name.
class TNavigatorDouble : public TFCEmbeddedForm {
public:
  void* qt_metacast(const char* ClassName) override {
    if (ClassName && std::strcmp(ClassName, "vte::demo::TFormNavigator") == 0) return this;
    return TFCEmbeddedForm::qt_metacast(ClassName);
  }
};

class LruTest : public ::testing::Test {
protected:
  void SetUp() override {
    UseGeneratedData();
    Navigator.setGeometry(100, 100, 501, 493);
    Container = new TFormContainer(&Navigator);
    Container->setObjectName(QStringLiteral("FormContainerNavigator"));
    Container->setGeometry(0, 0, 501, 493);
    Container->SetSaveLRUDestroyedForms(true);
    Navigator.show();
    (void)QTest::qWaitForWindowExposed(&Navigator);
  }
  TFormLRU* Open(const char* Name) {
    TForm* Page = Container->CreateForm(PageClass(QLatin1String(Name)));
    Container->ShowForm(Page, true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return qobject_cast<TFormLRU*>(Page);
  }
  static QStringList Items(const QListWidget* List) {
    QStringList Texts;
    for (int I = 0; I < List->count(); ++I) Texts << List->item(I)->text();
    return Texts;
  }

  TReducedMotionScope Cut;
  TNavigatorDouble Navigator;
  TFormContainer* Container = nullptr;
};

TEST_F(LruTest, ListsTheNavigatorsHistoryAndSelectsTheEntryShownFromIt) {
  Open("TFormIntro");
  Open("TFormComponents");
  // A page joins the history when it is left: the list holds the pages seen before this one.
  TFormLRU* Lru = Open("TFormLRU");
  ASSERT_NE(Lru, nullptr);
  EXPECT_EQ(Items(Lru->ListBoxLRU), QStringList({"Introduction", "Components"}));
  EXPECT_EQ(Lru->ListBoxLRU->currentRow(), -1);  // not shown through the history

  Open("TFormIntro");
  ASSERT_TRUE(Container->ShowHistoryForm(3, true));  // the history page again, created anew
  QCoreApplication::processEvents();
  Lru = qobject_cast<TFormLRU*>(Container->ActiveForm());
  ASSERT_NE(Lru, nullptr);
  EXPECT_EQ(Items(Lru->ListBoxLRU), QStringList({"Introduction", "Components", "LRU forms", "Introduction"}));
  EXPECT_EQ(Lru->ListBoxLRU->currentRow(), 2);
  EXPECT_EQ(Lru->ListBoxLRU->currentItem()->text(), QStringLiteral("LRU forms"));
}

TEST_F(LruTest, CheckBoxAndLabelSlideTheListOutAndIn) {
  TFormLRU* Lru = Open("TFormLRU");
  ASSERT_NE(Lru, nullptr);
  ASSERT_TRUE(Lru->CheckBoxViewLRU->isChecked());
  ASSERT_TRUE(Lru->ListBoxLRU->isVisible());
  int Runs = 0;
  bool Reversed = false;
  TRect Area;
  Lru->Transition->OnStartTransition = [&](TTransitionEffect* Sender) {
    ++Runs;
    Reversed = Sender->Reversed();
    Area = Sender->Run().ControlRect;
  };

  Click(Lru->LabelView);  // the label toggles the box
  EXPECT_FALSE(Lru->CheckBoxViewLRU->isChecked());
  EXPECT_FALSE(Lru->ListBoxLRU->isVisible());
  EXPECT_EQ(Runs, 1);
  EXPECT_FALSE(Reversed);
  EXPECT_EQ(Area.Left, Lru->ListBoxLRU->x());
  EXPECT_EQ(Area.Top, Lru->ListBoxLRU->y());
  EXPECT_EQ(Area.Width(), Lru->ListBoxLRU->width());
  EXPECT_EQ(Area.Height(), Lru->ListBoxLRU->height());

  Click(Lru->CheckBoxViewLRU);
  EXPECT_TRUE(Lru->CheckBoxViewLRU->isChecked());
  EXPECT_TRUE(Lru->ListBoxLRU->isVisible());
  EXPECT_EQ(Runs, 2);
  EXPECT_TRUE(Reversed);
  EXPECT_FALSE(Lru->Transition->Prepared());
}

TEST(LruOutsideNavigator, ShowsAnEmptyList) {
  TPageHost Host;  // a page area that belongs to no navigator
  auto* Lru = qobject_cast<TFormLRU*>(Host.Open("TFormLRU"));
  ASSERT_NE(Lru, nullptr);
  EXPECT_EQ(Lru->ListBoxLRU->count(), 0);
}

}  // namespace
}  // namespace vte::demo::test
