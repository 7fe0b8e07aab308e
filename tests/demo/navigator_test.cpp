// The navigator as a user drives it: clicks and hovers through the top-level window, the page
// area, the entries' looks, the background styles and what a failure leaves behind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <memory>

#include "a_demo_support.h"
#include "container/effects_panel.h"
#include "container/form_container.h"
#include "demo_test_support.h"
#include "editors/modal_editor.h"
#include "editors/transition_editor.h"
#include "effects/fuse.h"
#include "engine/transition_effect.h"
#include "form_bkgrnd.h"
#include "form_navigator.h"
#include "page_registry.h"
#include "pages/form_bkgrnd_editor.h"
#include "pages/form_power.h"
#include "program_files.h"

namespace vte::demo::test {
namespace {

class Navigator : public ::testing::Test {
protected:
  void SetUp() override {
    UseGeneratedData();
    Host = std::make_unique<TFormContainer>();
    Host->resize(700, 493);
    Host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Host.get()));
    Nav = static_cast<TFormNavigator*>(Host->CreateForm(&TFormNavigator::staticMetaObject));
    Host->ShowForm(Nav, true);
    // Short runs: what matters is what the transitions run between, not how long.
    for (TTransitionEffect* T : {Nav->AuxTransition, Nav->MenuTransition, Nav->NavigatorTransition}) T->SetMilliseconds(40);
  }
  void TearDown() override {
    Host.reset();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "an hourglass was left behind";
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }
  TEffectsPanel* Entry(const char* Name) const { return Nav->EffectsPanelNavigator->findChild<TEffectsPanel*>(Name); }

  TErrorCatcher Errors;
  std::unique_ptr<TFormContainer> Host;
  TFormNavigator* Nav = nullptr;
};

TEST_F(Navigator, ClickingTheSelectedEntryAgainBlendsBackAndEmptiesThePageAreaBackwards) {
  ASSERT_TRUE(Nav->EffectsPanelNavigator->isVisible()) << "outside the main form the menu shows at once";
  TEffectsPanel* Editor = Entry("LabelTransitionEditor");
  std::vector<bool> PageRunsReversed;
  Nav->PageTransition->OnStartTransition = [&](TTransitionEffect* T) { PageRunsReversed.push_back(T->Reversed()); };

  MoveOnto(Editor);
  ClickOn(Editor);
  ASSERT_TRUE(Errors.Messages.isEmpty()) << Errors.Messages.join('\n').toStdString();
  TForm* Page = Nav->FormContainerNavigator->ActiveForm();
  ASSERT_NE(Page, nullptr);
  EXPECT_STREQ(Page->metaObject()->className(), "vte::demo::TFormTransitionEditor");
  EXPECT_EQ(Nav->SelectedEntry(), Editor);
  EXPECT_EQ(Editor->BackgroundOptions()->GlassColor(), 0xFFFFFF) << "the selected look";
  EXPECT_TRUE(Editor->font().italic());
  // The page got the page glass.
  EXPECT_EQ(FindBackgroundOptions(Page)->GlassColor(), Nav->PageGlassColor);
  EXPECT_EQ(FindBackgroundOptions(Page)->GlassTranslucency(), Nav->PageGlassTranslucency);
  // The shading's shadows lie along the page's right and bottom edges, 10 pixels further.
  TFormBkgrnd* Shading = Nav->BackgroundForm();
  ASSERT_NE(Shading, nullptr);
  (void)Host->grab();
  EXPECT_TRUE(Shading->FormShadowV->isVisible());
  EXPECT_EQ(Shading->FormShadowV->geometry().right(), 199 + 501 - 1 + 10);
  EXPECT_EQ(Shading->FormShadowH->geometry().bottom(), 493 - 1 + 10);
  EXPECT_EQ(Shading->FormShadowH->geometry().left(), 199 + 10);

  ClickOn(Editor);
  EXPECT_EQ(Nav->FormContainerNavigator->ActiveForm(), nullptr) << "the page area is empty";
  EXPECT_EQ(Nav->SelectedEntry(), nullptr);
  EXPECT_EQ(PageRunsReversed, (std::vector<bool>{false, true})) << "the page went through the page transition backwards";
  EXPECT_FALSE(Nav->PageTransition->Reversed()) << "and the transition runs forwards again afterwards";
  (void)Host->grab();
  EXPECT_FALSE(Shading->FormShadowV->isVisible()) << "no page, no shadow";
  EXPECT_FALSE(Shading->FormShadowH->isVisible());
  // Still under the mouse: the entry blended back to the hover look, and leaving it gives the
  // normal look.
  EXPECT_EQ(Editor->BackgroundOptions()->GlassColor(), 0x00FFFF);
  EXPECT_EQ(FontColorOf(Editor), 0x800000);
  MoveOnto(Entry("LabelPower"));
  EXPECT_TRUE(Editor->BackgroundOptions()->ParentGlass());
  EXPECT_FALSE(Editor->font().italic());
}

TEST_F(Navigator, HoverLeavesTheExactLookBehindAndChangesNothingOnTheSelectedEntry) {
  TEffectsPanel* Power = Entry("LabelPower");
  TEffectsPanel* Shake = Entry("LabelShake");
  MoveOnto(Entry("LabelBkOptions"));
  const QImage Before = Power->grab().toImage();
  MoveOnto(Power);
  EXPECT_NE(Power->grab().toImage(), Before) << "the hover look shows";
  MoveOnto(Shake);
  EXPECT_EQ(Power->grab().toImage(), Before) << "leaving gives back exactly the look it had";

  // The selected entry keeps its look under the mouse and after it.
  MoveOnto(Power);
  ClickOn(Power);
  ASSERT_EQ(Nav->SelectedEntry(), Power);
  MoveOnto(Shake);
  const QImage Selected = Power->grab().toImage();
  MoveOnto(Power);
  EXPECT_EQ(Power->grab().toImage(), Selected);
  MoveOnto(Shake);
  EXPECT_EQ(Power->grab().toImage(), Selected);
}

TEST_F(Navigator, TheVersionEntryBlinksExceptWhileHovered) {
  TEffectsPanel* V3 = Nav->LabelV3;
  ASSERT_TRUE(Nav->TimerV3->isActive());
  Nav->TimerV3->setInterval(10);
  const TColor First = FontColorOf(V3);
  ASSERT_TRUE(QTest::qWaitFor([&] { return FontColorOf(V3) != First; }, 1000));
  EXPECT_TRUE(FontColorOf(V3) == 0x00FF00 || FontColorOf(V3) == 0xFFFFFF);
  ASSERT_TRUE(QTest::qWaitFor([&] { return FontColorOf(V3) == First; }, 1000)) << "it blinks back";

  MoveOnto(V3);
  EXPECT_FALSE(Nav->TimerV3->isActive());
  EXPECT_EQ(FontColorOf(V3), 0x800000) << "the hover look";
  QTest::qWait(60);
  EXPECT_EQ(FontColorOf(V3), 0x800000) << "no blinking under the mouse";
  MoveOnto(Entry("LabelIntro"));
  EXPECT_TRUE(Nav->TimerV3->isActive());
  // Its container shows something else (as when the wizard takes the main window).
  Host->ShowForm(nullptr, false);
  EXPECT_FALSE(Nav->TimerV3->isActive()) << "a hidden navigator does not blink";
  Host->ShowForm(Nav, false);
  EXPECT_TRUE(Nav->TimerV3->isActive());
}

TEST_F(Navigator, StylesSetThePageGlassAndGradientKeepsTheColourBefore) {
  ASSERT_NE(Nav->BackgroundForm(), nullptr) << "the shaded style is the first";
  EXPECT_EQ(Nav->BackgroundForm()->Navigator, Nav);
  Nav->ApplyBackgroundStyle(TFormNavigator::bgWood);
  EXPECT_EQ(Nav->BackgroundForm(), nullptr);
  EXPECT_EQ(Nav->BackgroundOptions()->BkgrndForm(), nullptr);
  EXPECT_FALSE(Nav->BackgroundOptions()->Picture().Empty());
  EXPECT_EQ(Nav->PageGlassColor, 0x020080FF);
  EXPECT_EQ(Nav->PageGlassTranslucency, 204);
  Nav->ApplyBackgroundStyle(TFormNavigator::bgGradient);
  EXPECT_EQ(Nav->PageGlassColor, 0x020080FF) << "Gradient keeps the colour the style before set";
  EXPECT_EQ(Nav->PageGlassTranslucency, 255);
  EXPECT_EQ(Nav->BackgroundOptions()->PictureMode(), fcpmTile);
  Nav->ApplyBackgroundStyle(TFormNavigator::bgShaded);
  EXPECT_TRUE(Nav->BackgroundOptions()->Picture().Empty());
  EXPECT_EQ(Nav->PageGlassColor, 0x02E2C6D3);
}

TEST_F(Navigator, AStyleWhosePictureIsMissingChangesNothingAndTheCursorComesBack) {
  // The background samples page, opened and driven by clicks, with a program folder that lacks
  // the pictures.
  ClickOn(Entry("LabelBkgrndSamples"));
  auto* Editor = qobject_cast<TFormBkgrndEditor*>(Nav->FormContainerNavigator->ActiveForm());
  ASSERT_NE(Editor, nullptr);
  Editor->Transition->SetMilliseconds(40);
  const TColor Glass = Nav->PageGlassColor;
  TForm* Shading = Nav->BackgroundForm();
  SetProgramFolder(QDir::tempPath() + QStringLiteral("/vte-demo-no-data"));
  ClickOn(Editor->findChild<QPushButton*>("ButtonStone"));
  ASSERT_EQ(Errors.Messages.size(), 1);
  EXPECT_TRUE(Errors.Messages[0].contains(QLatin1String("stone.jpg"))) << Errors.Messages[0].toStdString();
  EXPECT_EQ(Nav->PageGlassColor, Glass);
  EXPECT_EQ(Nav->BackgroundForm(), Shading);
  EXPECT_TRUE(Nav->BackgroundOptions()->Picture().Empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  // With the pictures back the same click restyles the window and the page's controls follow.
  UseGeneratedData();
  ClickOn(Editor->findChild<QPushButton*>("ButtonStone"));
  EXPECT_EQ(Errors.Messages.size(), 1);
  EXPECT_EQ(Nav->PageGlassColor, 0x0280FFFF);
  EXPECT_TRUE(Editor->EditPicFile->text().endsWith(QLatin1String("Stone.jpg"), Qt::CaseInsensitive));
  EXPECT_EQ(Editor->UpDownFormTranslucency->value(), 191);
  EXPECT_EQ(Editor->BackgroundOptions()->GlassColor(), 0x0280FFFF);
}

TEST_F(Navigator, APageThatFailsToBuildLeavesThePageShownAndTheCursor) {
  ClickOn(Entry("LabelPower"));
  TForm* Shown = Nav->FormContainerNavigator->ActiveForm();
  ASSERT_NE(Shown, nullptr);
  try {
    Nav->OpenPage(QStringLiteral("TFormBrokenForTest"), true);
    ADD_FAILURE() << "the page cannot be built";
  } catch (const std::exception& Error) {
    EXPECT_NE(std::string(Error.what()).find("Missing.jpg"), std::string::npos) << Error.what();
  }
  EXPECT_EQ(Nav->FormContainerNavigator->ActiveForm(), Shown);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_THROW(Nav->OpenPage(QStringLiteral("TFormNobodyWrote"), true), std::runtime_error);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(Nav->FormContainerNavigator->ActiveForm(), Shown);

  // Through an entry: the menu goes back to the entry of the page still shown.
  TEffectsPanel* Power = Entry("LabelPower");
  TEffectsPanel* Shake = Entry("LabelShake");
  MoveOnto(Entry("LabelIntro"));
  const QImage ShakeBefore = Shake->grab().toImage(), PowerBefore = Power->grab().toImage();
  EXPECT_THROW(Nav->OpenEntryPage(Shake, QStringLiteral("TFormBrokenForTest"), true), std::runtime_error);
  EXPECT_EQ(Nav->SelectedEntry(), Power);
  EXPECT_EQ(Shake->grab().toImage(), ShakeBefore);
  EXPECT_EQ(Power->grab().toImage(), PowerBefore);
  EXPECT_EQ(Nav->FormContainerNavigator->ActiveForm(), Shown);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Navigator, APageThatRefusesToCloseKeepsItsPlaceAndItsEntry) {
  ClickOn(Entry("LabelPower"));
  TForm* Shown = Nav->FormContainerNavigator->ActiveForm();
  ASSERT_NE(Shown, nullptr);
  Shown->OnCloseQuery = [](TForm*, bool& CanClose) { CanClose = false; };
  ClickOn(Entry("LabelTransitionEditor"));
  EXPECT_EQ(Nav->FormContainerNavigator->ActiveForm(), Shown);
  EXPECT_EQ(Nav->SelectedEntry(), Entry("LabelPower"));
  ClickOn(Entry("LabelPower"));
  EXPECT_EQ(Nav->FormContainerNavigator->ActiveForm(), Shown) << "nor does it go when its entry is clicked again";
  EXPECT_EQ(Nav->SelectedEntry(), Entry("LabelPower"));
  Shown->OnCloseQuery = nullptr;
}

TEST_F(Navigator, TheVersionEntryOpensTheWizardInTheHostingContainerAndKeepsTheNavigator) {
  if (!PageClass(QStringLiteral("TFormNew"))) {
    // A program without the wizard says so; nothing changes.
    ClickOn(Nav->LabelV3);
    ASSERT_EQ(Errors.Messages.size(), 1);
    EXPECT_TRUE(Errors.Messages[0].contains(QLatin1String("TFormNew")));
    EXPECT_EQ(Host->ActiveForm(), Nav);
    return;
  }
  QPointer<TFormNavigator> Alive = Nav;
  ClickOn(Nav->LabelV3);
  TForm* Wizard = Host->ActiveForm();
  ASSERT_NE(Wizard, nullptr);
  EXPECT_STREQ(Wizard->metaObject()->className(), "vte::demo::TFormNew");
  ASSERT_FALSE(Alive.isNull()) << "the navigator is kept";
  EXPECT_FALSE(Nav->isVisible());
  EXPECT_FALSE(Nav->TimerV3->isActive());
  Host->GoBack(true);
  EXPECT_EQ(Host->ActiveForm(), Nav);
  EXPECT_TRUE(Nav->TimerV3->isActive());
  EXPECT_TRUE(Errors.Messages.isEmpty()) << Errors.Messages.join('\n').toStdString();
}

TEST_F(Navigator, TheEditorButtonReplacesThePageTransitionForEveryLaterPage) {
  ClickOn(Entry("LabelTransitionEditor"));
  auto* Button = Nav->FormContainerNavigator->ActiveForm()->findChild<QPushButton*>("BitBtnEditor");
  ASSERT_NE(Button, nullptr);
  // In the dialog: another class, then OK.
  bool Edited = false;
  QTimer Dialog;
  Dialog.setInterval(20);
  QObject::connect(&Dialog, &QTimer::timeout, [&] {
    auto* Modal = qobject_cast<TTransitionModalEditor*>(QApplication::activeModalWidget());
    if (!Modal || !Modal->Editor) return;
    QComboBox* Classes = Modal->Editor->ComboBoxTransitions;
    Classes->setCurrentIndex(Classes->findText(QStringLiteral("Fuse")));
    Modal->Editor->ComboBoxTransitionsChange();
    Modal->SetModalResult(TTransitionModalEditor::mrOk);
    Edited = true;
  });
  Dialog.start();
  ClickOn(Button);
  Dialog.stop();
  ASSERT_TRUE(Edited);
  ASSERT_NE(qobject_cast<TFuseTransition*>(Nav->PageTransition), nullptr);
  Nav->PageTransition->SetMilliseconds(40);
  bool Ran = false;
  Nav->PageTransition->OnStartTransition = [&](TTransitionEffect*) { Ran = true; };
  ClickOn(Entry("LabelPower"));
  EXPECT_TRUE(Ran) << "the next page came through the new transition";
  EXPECT_TRUE(Errors.Messages.isEmpty()) << Errors.Messages.join('\n').toStdString();
}

TEST_F(Navigator, TheMagicButtonTogglesANavigatorInsideThePage) {
  ClickOn(Entry("LabelPower"));
  auto* Power = qobject_cast<TFormPower*>(Nav->FormContainerNavigator->ActiveForm());
  ASSERT_NE(Power, nullptr);
  Power->Transition->SetMilliseconds(40);
  ClickOn(Power->BitBtnMagic);
  QPointer<TFormNavigator> Inner = qobject_cast<TFormNavigator*>(Power->FormContainer->ActiveForm());
  ASSERT_FALSE(Inner.isNull());
  EXPECT_TRUE(Inner->EffectsPanelNavigator->isVisible()) << "a navigator outside the main form shows its menu at once";
  ClickOn(Power->BitBtnMagic);
  EXPECT_EQ(Power->FormContainer->ActiveForm(), nullptr);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Inner.isNull(); }, 500)) << "the navigator went with its page";
  ClickOn(Power->BitBtnMagic);
  EXPECT_NE(qobject_cast<TFormNavigator*>(Power->FormContainer->ActiveForm()), nullptr);
  EXPECT_TRUE(Errors.Messages.isEmpty()) << Errors.Messages.join('\n').toStdString();
}

}  // namespace
}  // namespace vte::demo::test

namespace vte::demo::test {

// A page whose stored picture is not there.
class TFormBrokenForTest : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormBrokenForTest(QObject* Owner = nullptr) : TFCEmbeddedForm(Owner) {
    LoadProgramPicture(BackgroundOptions()->Picture(), QStringLiteral("Missing.jpg"));
  }
};
VTE_DEMO_PAGE(TFormBrokenForTest)

}  // namespace vte::demo::test

#include "navigator_test.moc"
