// The transition samples page: stepping both ways through the stored transitions, the sample pages
// coming round in turn, the popup menu of class runs, and a missing data file.
#include <gtest/gtest.h>

#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include "b_page_host.h"
#include "container/effects_panel.h"
#include "effects/bitmap_mask.h"
#include "engine/timed_transition.h"
#include "engine/transition_list.h"
#include "pages/form_transition_samples.h"

namespace vte::demo::test {
namespace {

class SamplesTest : public ::testing::Test {
protected:
  void SetUp() override {
    UseGeneratedData();
    Page = qobject_cast<TFormTransitionSamples*>(Host.Open("TFormTransitionSamples"));
    ASSERT_NE(Page, nullptr);
  }
  void TearDown() override { SetProgramFolder(QString()); }

  // The position (from 1) of the sample page shown, the only one visible; 0 when that is not so.
  int ShownPage() const {
    int Shown = 0;
    for (int I = 1; I <= Page->FormContainer->FormCount(); ++I)
      if (Page->FormContainer->Forms(I)->isVisible()) {
        if (Shown || Page->FormContainer->Forms(I) != Page->FormContainer->ActiveForm()) return 0;
        Shown = I;
      }
    return Shown;
  }
  QString ShownText() const {
    return Page->FormContainer->ActiveForm()->findChild<TEffectsPanel*>(QStringLiteral("EffectsPanelText"))->Caption();
  }

  TReducedMotionScope Cut;
  TPageHost Host;
  TFormTransitionSamples* Page = nullptr;
};

TEST_F(SamplesTest, NextAndBackStepThroughEveryTransitionAndDisableAtTheEnds) {
  ASSERT_EQ(Page->TransitionList->Count(), 46);
  EXPECT_EQ(Page->FormContainer->FormCount(), 6);
  EXPECT_EQ(ShownPage(), 1);
  EXPECT_EQ(ShownText(), QStringLiteral("Press 'Next' button"));
  EXPECT_FALSE(Page->BitBtnBack->isEnabled());
  EXPECT_EQ(Page->SampleIndex(), -1);

  // Next: the pages come round 2, 3, 4, 5, 6, 1, 2, ..., each naming the transition that brought it.
  for (int I = 0; I < 46; ++I) {
    Click(Page->BitBtnNext);
    ASSERT_EQ(Page->SampleIndex(), I);
    EXPECT_EQ(ShownPage(), (I + 1) % 6 + 1) << "after Next number " << I + 1;
    EXPECT_EQ(ShownText(), Page->TransitionList->Transitions(I)->Description());
    EXPECT_TRUE(Page->BitBtnBack->isEnabled());
    EXPECT_EQ(Page->BitBtnNext->isEnabled(), I < 45);
  }
  EXPECT_EQ(Page->TransitionList->Transitions(32)->objectName(), QStringLiteral("Transition28"));
  EXPECT_EQ(Page->TransitionList->Transitions(33)->objectName(), QStringLiteral("Transition27"));
  Click(Page->BitBtnNext);  // disabled: nothing happens
  EXPECT_EQ(Page->SampleIndex(), 45);

  // Back runs the transition shown last in reverse; the page still moves on.
  const int Before = ShownPage();
  Click(Page->BitBtnBack);
  EXPECT_EQ(Page->SampleIndex(), 44);
  EXPECT_EQ(ShownPage(), Before % 6 + 1);
  EXPECT_TRUE(Page->BitBtnNext->isEnabled());
  for (int I = 44; I >= 0; --I) {
    EXPECT_TRUE(Page->BitBtnBack->isEnabled());
    Click(Page->BitBtnBack);
    ASSERT_EQ(Page->SampleIndex(), I - 1);
    EXPECT_FALSE(Page->TransitionList->Transitions(I)->Reversed());
  }
  EXPECT_FALSE(Page->BitBtnBack->isEnabled());
  EXPECT_TRUE(Page->BitBtnNext->isEnabled());
  Click(Page->BitBtnNext);
  EXPECT_EQ(Page->SampleIndex(), 0);
}

TEST_F(SamplesTest, PopupMenuHasOneItemPerClassRunAndJumpsToIt) {
  const QList<QAction*> Items = Page->PopupMenu->actions();
  QStringList Captions;
  QList<int> Tags;
  for (QAction* Item : Items) {
    Captions << Item->text();
    Tags << Item->data().toInt();
  }
  EXPECT_EQ(Captions, QStringList({"Alpha blend", "Bitmap mask", "Blocks", "Circle", "Diagonal", "Drip",
                                   "Flicker free cut", "Fuse", "Interlaced", "Push", "Radial", "Roll", "Slide",
                                   "Waterfall", "Wipe"}));
  EXPECT_EQ(Tags, QList<int>({0, 1, 7, 11, 14, 17, 18, 19, 21, 24, 25, 32, 34, 40, 41}));

  // The index button pops the menu up at its own client point (0, -2).
  Click(Page->SpeedButtonIndex);
  ASSERT_TRUE(Page->PopupMenu->isVisible());
  EXPECT_EQ(Page->PopupMenu->pos(), Page->SpeedButtonIndex->mapToGlobal(QPoint(0, -2)));

  // Choosing "Radial" shows the first radial transition; Next goes on from there.
  QAction* Radial = Items[10];
  QTest::mouseClick(Page->PopupMenu->windowHandle(), Qt::LeftButton, {},
                    Page->PopupMenu->actionGeometry(Radial).center());
  QCoreApplication::processEvents();
  EXPECT_FALSE(Page->PopupMenu->isVisible());
  EXPECT_EQ(Page->SampleIndex(), 25);
  EXPECT_EQ(ShownText(), QStringLiteral("Radial"));
  EXPECT_TRUE(Page->BitBtnBack->isEnabled());
  Click(Page->BitBtnNext);
  EXPECT_EQ(Page->SampleIndex(), 26);

  // A jump to the last run (the wipes) leaves Next enabled: four more wipes follow.
  Page->PopupItemClick(Tags.last());
  EXPECT_EQ(Page->SampleIndex(), 41);
  EXPECT_TRUE(Page->BitBtnNext->isEnabled());
}

TEST_F(SamplesTest, MaskTransitionsShareTheTwoLoadedMasks) {
  auto Mask = [this](const char* Name) -> const TBitmap& {
    return Page->TransitionList->findChild<TBmpMaskTransition*>(QLatin1String(Name))->Mask();
  };
  const TBitmap& Twirl = Mask("TransitionBmpTwirl1");
  const TBitmap& Wiper = Mask("TransitionBmpWiper1");
  ASSERT_FALSE(Twirl.Empty());
  ASSERT_FALSE(Wiper.Empty());
  const auto Same = [](const TBitmap& A, const TBitmap& B) {
    if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
    for (int Y = 0; Y < A.Height(); ++Y)
      if (memcmp(A.ScanLine(Y), B.ScanLine(Y), A.Width()) != 0) return false;
    return true;
  };
  EXPECT_FALSE(Same(Twirl, Wiper));
  for (const char* Name : {"TransitionBmpTwirl2", "TransitionBmpTwirl3"}) EXPECT_TRUE(Same(Mask(Name), Twirl)) << Name;
  for (const char* Name : {"TransitionBmpWiper2", "TransitionBmpWiper3"}) EXPECT_TRUE(Same(Mask(Name), Wiper)) << Name;
}

// With motion on: a few real runs of short transitions, among them a mask and a two-pass slide, end
// on the new sample page.
TEST_F(SamplesTest, RealRunsEndOnTheNextPage) {
  SetReducedMotion(false);
  for (int I = 0; I < Page->TransitionList->Count(); ++I)
    Page->TransitionList->Transitions(I)->SetMilliseconds(40);
  for (int Tag : {1, 6, 39}) {
    Page->PopupItemClick(Tag);
    EXPECT_EQ(Page->SampleIndex(), Tag);
    EXPECT_TRUE(Page->FormContainer->ActiveForm()->isVisible());
    EXPECT_EQ(ShownText(), Page->TransitionList->Transitions(Tag)->Description());
    EXPECT_FALSE(Page->TransitionList->Transitions(Tag)->Prepared());
  }
}

TEST(SamplesFiles, AMissingPictureStopsThePageWithTheFileError) {
  TPageHost Host;
  QTemporaryDir Empty;
  SetProgramFolder(Empty.path());
  const int Forms = Host.Container->FormCount();
  try {
    Host.Container->CreateForm(PageClass(QStringLiteral("TFormTransitionSamples")));
    ADD_FAILURE() << "the page was created without its pictures";
  } catch (const std::runtime_error& Error) {
    EXPECT_TRUE(QString::fromStdString(Error.what()).contains(QStringLiteral("Box.jpg"))) << Error.what();
  }
  EXPECT_EQ(Host.Container->FormCount(), Forms);
  SetProgramFolder(QString());
}

}  // namespace
}  // namespace vte::demo::test
