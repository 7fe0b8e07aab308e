// The custom transition pages: the real source text, the editor on the Execute tab, and the
// transition that animates each change of tab over the sheet.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "b_page_host.h"
#include "editors/transition_editor.h"
#include "effects/shake.h"
#include "effects/simple_wipe.h"
#include "engine/transition_effect.h"
#include "pages/custom_transition_page.h"
#include "pages/form_custom_transition_exec.h"

namespace vte::demo::test {
namespace {

struct TCustomCase {
  const char* PageClass;
  const QMetaObject* Custom;
  int Milliseconds;
  const char* SourceLine;  // a line only the effect's real source has
  bool ReversesLeavingExecute;
};
void PrintTo(const TCustomCase& Case, std::ostream* Out) { *Out << Case.PageClass; }

class CustomPagesTest : public ::testing::TestWithParam<TCustomCase> {
protected:
  void SetUp() override { UseGeneratedData(); }
  TReducedMotionScope Cut;
  TPageHost Host;
};

TEST_P(CustomPagesTest, ShowsTheSourceRunsTheEditorAndAnimatesTabChanges) {
  const TCustomCase& Case = GetParam();
  auto* Page = qobject_cast<TCustomTransitionPage*>(Host.Open(Case.PageClass));
  ASSERT_NE(Page, nullptr);

  // The custom transition, and its real source text on the first tab.
  ASSERT_NE(Page->CustomTransition(), nullptr);
  EXPECT_EQ(Page->CustomTransition()->metaObject(), Case.Custom);
  EXPECT_EQ(Page->CustomTransition()->Milliseconds(), Case.Milliseconds);
  EXPECT_EQ(Page->CustomTransition()->parent(), nullptr);
  EXPECT_TRUE(Page->MemoCode->isReadOnly());
  EXPECT_TRUE(Page->MemoCode->toPlainText().contains(QLatin1String(Case.SourceLine)));
  EXPECT_EQ(Page->PageControl->currentWidget(), Page->TabSheetCode);

  // Every change of tab runs the stored transition once, over the sheet, in the page's coordinates.
  int Runs = 0;
  QWidget* Covered = nullptr;
  TRect Area;
  bool Reversed = false;
  Page->Transition->OnStartTransition = [&](TTransitionEffect* Sender) {
    ++Runs;
    Covered = Sender->Run().Control;
    Area = Sender->Run().ControlRect;
    Reversed = Sender->Reversed();
  };
  QTabBar* Bar = Page->PageControl->tabBar();
  const QRect Sheet(Page->TabSheetCode->mapTo(Page, QPoint(0, 0)), Page->TabSheetCode->size());

  Click(Bar, Bar->tabRect(0).center());  // the tab shown already: nothing runs
  EXPECT_EQ(Runs, 0);
  Click(Bar, Bar->tabRect(1).center());
  EXPECT_EQ(Page->PageControl->currentWidget(), Page->TabSheetExecute);
  EXPECT_EQ(Runs, 1);
  EXPECT_EQ(Covered, Page);
  EXPECT_EQ(Area.Left, Sheet.left());
  EXPECT_EQ(Area.Top, Sheet.top());
  EXPECT_EQ(Area.Width(), Sheet.width());
  EXPECT_EQ(Area.Height(), Sheet.height());
  EXPECT_FALSE(Reversed);
  EXPECT_FALSE(Page->Transition->Prepared());

  // The Execute tab hosts an editor of the custom transition that previews it.
  auto* Exec = Page->FormContainer->findChild<TFormCustomTransitionExec*>();
  ASSERT_NE(Exec, nullptr);
  EXPECT_EQ(Page->FormContainer->ActiveForm(), Exec);
  TTransitionEditor* Editor = Exec->Editor();
  ASSERT_NE(Editor, nullptr);
  EXPECT_TRUE(Editor->isVisible());
  ASSERT_NE(Editor->EditedTransition(), nullptr);
  EXPECT_EQ(Editor->EditedTransition()->metaObject(), Case.Custom);
  EXPECT_EQ(Editor->EditedTransition()->Milliseconds(), Case.Milliseconds);
  int Previews = 0;
  Editor->EditedTransition()->OnAfterTransition = [&](TTransitionEffect*) { ++Previews; };
  Click(Editor->BitBtnPreview);
  EXPECT_EQ(Previews, 1);

  // Back to the source; the simple wipe runs backwards when the Execute tab is left.
  Bar->setFocus();
  QTest::keyClick(Bar->window()->windowHandle(), Qt::Key_Left);
  QCoreApplication::processEvents();
  EXPECT_EQ(Page->PageControl->currentWidget(), Page->TabSheetCode);
  EXPECT_EQ(Runs, 2);
  EXPECT_EQ(Reversed, Case.ReversesLeavingExecute);
  EXPECT_FALSE(Page->Transition->Prepared());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, CustomPagesTest,
    ::testing::Values(TCustomCase{"TFormSimpleWipe", &TSimpleWipeTransition::staticMetaObject, 500,
                                  "void TSimpleWipeTransition::ExecuteFrame", true},
                      TCustomCase{"TFormShake", &TShakeTransition::staticMetaObject, 5000,
                                  "void TShakeTransition::DoExecute", false}),
    [](const auto& Info) { return std::string(Info.param.PageClass + 5); });

}  // namespace
}  // namespace vte::demo::test
