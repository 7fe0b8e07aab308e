// The "What's new" wizard: its twelve pages in order with the buttons at both ends, Back showing a
// page through its transition run backwards, Main menu going back to where it was opened from,
// and a page that cannot be created changing nothing.
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

#include "c_page_host.h"
#include "engine/transition_effect.h"
#include "pages/form_new.h"
#include "pages/template_form.h"

namespace vte::demo::test {
namespace {

QString ClassOf(const QObject* Object) {
  return Object ? QString::fromLatin1(Object->metaObject()->className()).section(QStringLiteral("::"), -1) : QString();
}

class Wizard : public PageHost {
 protected:
  void SetUp() override {
    PageHost::SetUp();
    // What the wizard was opened over, as the navigator is in the program.
    Menu = Show("TTemplateForm");
    New = qobject_cast<TFormNew*>(Container->CreateForm(PageClass(QStringLiteral("TFormNew"))));
    ASSERT_NE(New, nullptr);
    Container->ShowForm(New, false, fcfaDefault, nullptr, New->Transition1);
  }
  QString Shown() const { return ClassOf(New->PageContainer->ActiveForm()); }

  TForm* Menu = nullptr;
  TFormNew* New = nullptr;
};

TEST_F(Wizard, WalksTwelvePagesInOrderWithTheButtonsAtBothEnds) {
  const QStringList Order{"TFormStart",  "TFormScroll",    "TFormEmbedded", "TFormRender",
                          "TFormBlend",  "TFormMasked",    "TFormBlocks",   "TFormInterlaced",
                          "TFormBitmap", "TFormWaterfall", "TFormRoll",     "TFormSmooth"};
  ASSERT_EQ(New->PageClasses().size(), 12u);
  EXPECT_EQ(New->PageIndex(), 0);
  EXPECT_EQ(Shown(), Order[0]);
  EXPECT_FALSE(New->BitBtnBack->isEnabled());
  EXPECT_TRUE(New->BitBtnNext->isEnabled());

  for (int I = 1; I < 12; ++I) {
    Click(New->BitBtnNext);
    ASSERT_EQ(New->PageIndex(), I);
    EXPECT_EQ(Shown(), Order[I]);
    EXPECT_TRUE(New->BitBtnBack->isEnabled());
    EXPECT_EQ(New->BitBtnNext->isEnabled(), I < 11) << "on page " << I + 1;
  }
  // Each page replaced the one before.
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(New->PageContainer->findChildren<TTemplateForm*>().size(), 1);

  for (int I = 10; I >= 0; --I) {
    Click(New->BitBtnBack);
    ASSERT_EQ(New->PageIndex(), I);
    EXPECT_EQ(Shown(), Order[I]);
    EXPECT_TRUE(New->BitBtnNext->isEnabled());
    EXPECT_EQ(New->BitBtnBack->isEnabled(), I > 0) << "on page " << I + 1;
  }
  Click(New->BitBtnBack);
  EXPECT_EQ(New->PageIndex(), 0);
}

TEST_F(Wizard, BackShowsThePageThroughItsTransitionRunBackwards) {
  Click(New->BitBtnNext);
  Click(New->BitBtnNext);
  std::vector<std::pair<QString, bool>> Runs;
  QPointer<TTransitionEffect> Last;
  New->PageContainer->OnFormCreate = [&](QObject*, TForm* Page) {
    Last = qobject_cast<TTemplateForm*>(Page)->PageTransition();
    Last->OnStartTransition = [&, Page](TTransitionEffect* T) { Runs.emplace_back(ClassOf(Page), T->Reversed()); };
  };
  Click(New->BitBtnBack);
  ASSERT_TRUE(Last);
  EXPECT_FALSE(Last->Reversed()) << "reversed for the change only";
  Click(New->BitBtnNext);
  New->PageContainer->OnFormCreate = nullptr;
  const std::vector<std::pair<QString, bool>> Expected{{"TFormScroll", true}, {"TFormEmbedded", false}};
  EXPECT_EQ(Runs, Expected);
}

TEST_F(Wizard, MainMenuGoesBackThroughTheRollRunBackwardsAndDestroysTheWizard) {
  Click(New->BitBtnNext);
  // The host finds the wizard's transition by its name, as the navigator does.
  EXPECT_EQ(New->findChild<TTransitionEffect*>(QStringLiteral("Transition1")), New->Transition1);
  std::vector<bool> Runs;
  New->Transition1->OnStartTransition = [&](TTransitionEffect* T) { Runs.push_back(T->Reversed()); };
  QPointer<TFormNew> Alive = New;
  Click(New->BitBtnFinish);
  EXPECT_EQ(Container->ActiveForm(), Menu);
  EXPECT_EQ(Runs, std::vector<bool>{true});
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(Alive.isNull());
}

TEST_F(Wizard, APageThatCannotBeCreatedChangesNothing) {
  QTemporaryDir Empty;
  SetProgramFolder(Empty.path());
  try {
    New->Next();
    ADD_FAILURE() << "the page was created without its picture";
  } catch (const std::runtime_error& E) {
    EXPECT_TRUE(QString::fromUtf8(E.what()).contains(QStringLiteral("VEff.jpg"))) << E.what();
  }
  EXPECT_EQ(New->PageIndex(), 0);
  EXPECT_EQ(Shown(), QStringLiteral("TFormStart"));
  EXPECT_FALSE(New->BitBtnBack->isEnabled());
  EXPECT_TRUE(New->BitBtnNext->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace vte::demo::test
