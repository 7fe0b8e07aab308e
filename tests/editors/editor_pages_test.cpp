// The editor pages: which controls each page shows for a transition class, every property through
// the controls and back, the limits of the up-downs, the handlers of the shared page (leaving a
// number edit, the colour dialog, the second-pass panel) and the masked page's random boxes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "container/effects_group_box.h"
#include "container/effects_panel.h"
#include "editors/bitmap_mask_editor.h"
#include "editors/block_editor.h"
#include "editors/click_label.h"
#include "editors/editor_registry.h"
#include "editors/fuse_editor.h"
#include "editors/roll_editor.h"
#include "editors/slide_editor.h"
#include "editors/transition_editor.h"
#include "editors/up_down.h"
#include "editors/wipe_editor.h"
#include "effects/bitmap_mask.h"
#include "effects/block.h"
#include "effects/circle.h"
#include "effects/fuse.h"
#include "effects/roll.h"
#include "effects/shake.h"
#include "effects/slide.h"
#include "effects/wipe.h"
#include "engine/errors.h"
#include "engine/property_store.h"
#include "support/mask_pictures_support.h"
#include "support/screen_support.h"

namespace vte {
namespace {

QString Json(const QObject& Object) {
  return QString::fromUtf8(QJsonDocument(PropertiesToJson(Object, nullptr)).toJson(QJsonDocument::Compact));
}

// A page of the class the transition names, bound to it and loaded, as the editor makes it.
std::unique_ptr<TTransitionEffectEditor> PageFor(TTransitionEffect& Transition) {
  const QMetaObject* Class = EditorClassOf(Transition.metaObject());
  EXPECT_NE(Class, nullptr) << Transition.metaObject()->className();
  std::unique_ptr<TTransitionEffectEditor> Page(
      qobject_cast<TTransitionEffectEditor*>(Class->newInstance(Q_ARG(QObject*, nullptr))));
  Page->SetupEditor(&Transition);
  Page->LoadValues();
  return Page;
}

struct TRoundTrip {
  const QMetaObject* Class;
  std::function<void(TTransitionEffect&)> SetOther;  // values other than the defaults
  QStringList Keys;                                   // what the stored form then holds
};

TEST(EditorPages, EveryEditedPropertyGoesThroughTheControlsAndBack) {
  const auto Shared = [](TTransitionEffect& T) {
    T.SetMilliseconds(1700);
    T.SetPassSetting(teTwoPasses);
    T.Pass2Options()->SetDistributedTime(true);
    T.Pass2Options()->SetReversed(true);
    T.Pass2Options()->SetUseSolidColor(false);
  };
  const QStringList SharedKeys{"Milliseconds", "Pass2Options", "PassSetting"};
  const std::vector<TRoundTrip> Cases = {
      {&TWipeTransition::staticMetaObject, [](TTransitionEffect& T) {
         T.SetDirection(tedUp);
         static_cast<TWipeTransition&>(T).SetBandWidth(120);
         static_cast<TWipeTransition&>(T).SetEasing(QEasingCurve::OutCubic);
       }, {"BandWidth", "Direction", "Easing"}},
      {&TSlideTransition::staticMetaObject, [](TTransitionEffect& T) {
         auto& S = static_cast<TSlideTransition&>(T);
         T.SetDirection(tedDownLeft);
         S.SetSlideOut(true);
         S.SetElasticSrc(true);
         S.SetElasticDst(true);
       }, {"Direction", "ElasticDst", "ElasticSrc", "SlideOut"}},
      {&TRollTransition::staticMetaObject, [](TTransitionEffect& T) {
         auto& R = static_cast<TRollTransition&>(T);
         T.SetDirection(tedLeft);
         R.SetSize(35);
         R.SetUse3D(false);
         R.SetUnroll(false);
       }, {"Direction", "Size", "Unroll", "Use3D"}},
      {&TFuseTransition::staticMetaObject, [](TTransitionEffect& T) { static_cast<TFuseTransition&>(T).SetStyle(9); },
       {"Style"}},
      {&TCircleTransition::staticMetaObject, [](TTransitionEffect& T) {
         auto& C = static_cast<TCircleTransition&>(T);
         C.SetStyle(2);
         C.SetSubStyle(C.GetSubStyleCount(2));
         C.SetSmoothingLevel(4);
       }, {"SmoothingLevel", "Style", "SubStyle"}},
      {&TBlockTransition::staticMetaObject, [](TTransitionEffect& T) {
         auto& B = static_cast<TBlockTransition&>(T);
         B.SetStyle(4);
         B.SetSubStyle(3);
         B.SetPuzzle(true);
         B.SetDual(true);
         B.SetCols(7);
         B.SetBlockHeight(23);
       }, {"BlockHeight", "BlockWidth", "Cols", "Dual", "Puzzle", "Style", "SubStyle"}},
      {&TBmpMaskTransition::staticMetaObject, [](TTransitionEffect& T) {
         static_cast<TBmpMaskTransition&>(T).SetSmoothingLevel(3);
       }, {"SmoothingLevel"}},
  };
  for (const TRoundTrip& Case : Cases) {
    SCOPED_TRACE(Case.Class->className());
    std::unique_ptr<TTransitionEffect> T(qobject_cast<TTransitionEffect*>(Case.Class->newInstance(Q_ARG(QObject*, nullptr))));
    std::unique_ptr<TTransitionEffect> Default(qobject_cast<TTransitionEffect*>(Case.Class->newInstance(Q_ARG(QObject*, nullptr))));
    Shared(*T);
    Case.SetOther(*T);
    QStringList Expected = SharedKeys + Case.Keys;
    Expected.sort();
    ASSERT_EQ(PropertiesToJson(*T).keys(), Expected);
    const QString Before = Json(*T);
    auto Page = PageFor(*T);
    EXPECT_STREQ(Page->metaObject()->className(), QByteArray("vte::").append(T->EditorClassName().toLatin1()).constData());
    // Everything back to the defaults: only the page still holds the values.
    T->Assign(*Default);
    ASSERT_NE(Json(*T), Before);
    Page->StoreValues();
    EXPECT_EQ(Json(*T), Before);
  }
}

TEST(EditorPages, ShowOnlyTheControlsTheClassPublishes) {
  TShakeTransition Shake;  // no new image, no direction
  auto Page = PageFor(Shake);
  EXPECT_FALSE(Page->ComboBoxPasses->isEnabled());
  EXPECT_FALSE(Page->SpeedButtonPass2->isEnabled());
  EXPECT_FALSE(Page->LabelPassSetting->isEnabled());
  EXPECT_FALSE(Page->EditMilliseconds->isHidden());
  EXPECT_TRUE(Page->ComboBoxDirection->isHidden());
  EXPECT_TRUE(Page->LabelDirection->isHidden());

  EXPECT_TRUE(Page->ComboBoxEasing->isHidden());  // not a paced effect: no easing
  EXPECT_TRUE(Page->LabelEasing->isHidden());

  TFlickerFreeTransition Cut;  // no duration either
  Page = PageFor(Cut);
  EXPECT_TRUE(Page->ComboBoxPasses->isEnabled());
  EXPECT_TRUE(Page->EditMilliseconds->isHidden());
  EXPECT_TRUE(Page->UpDownMilliseconds->isHidden());
  EXPECT_TRUE(Page->LabelMilliseconds->isHidden());

  // A class without a direction keeps its own when stored.
  TFuseTransition Fuse;
  const TTEEffectDirection Own = Fuse.Direction();
  Page = PageFor(Fuse);
  EXPECT_TRUE(Page->ComboBoxDirection->isHidden());
  Page->StoreValues();
  EXPECT_EQ(Fuse.Direction(), Own);

  TWipeTransition Wipe;
  Wipe.SetDirection(tedUpLeft);
  Page = PageFor(Wipe);
  QStringList Items;
  for (int I = 0; I < Page->ComboBoxDirection->count(); ++I) Items << Page->ComboBoxDirection->itemText(I);
  EXPECT_EQ(Items, (QStringList{"Down", "Down and left", "Down and right", "In", "Left", "Out", "Right", "Up",
                                "Up and left", "Up and right"}));
  EXPECT_EQ(Page->ComboBoxDirection->currentText(), "Up and left");

  // The block page: no smoothing for blocks; the grid pair named by the selectors.
  TBlockTransition Block;
  Block.SetRows(6);
  Page = PageFor(Block);
  auto* B = static_cast<TBlockTransitionEditor*>(Page.get());
  EXPECT_TRUE(B->EditSmoothingLevel->isHidden());
  EXPECT_FALSE(B->UpDownStyle->isHidden());
  EXPECT_EQ(B->ComboBoxBlockWidthSel->currentText(), "Block width");
  EXPECT_FALSE(B->EditBlockWidth->isHidden());
  EXPECT_TRUE(B->EditCols->isHidden());
  EXPECT_EQ(B->ComboBoxBlockHeightSel->currentText(), "Rows");
  EXPECT_FALSE(B->EditRows->isHidden());
  EXPECT_TRUE(B->EditBlockHeight->isHidden());
  EXPECT_EQ(B->EditBlockWidth->text(), "50");
  // Switching to columns stores the count and leaves the width to the transition's rule.
  B->ComboBoxBlockWidthSel->setCurrentIndex(B->ComboBoxBlockWidthSel->findText("Cols"));
  EXPECT_TRUE(B->EditBlockWidth->isHidden());
  EXPECT_FALSE(B->EditCols->isHidden());
  B->UpDownCols->SetPosition(12);
  B->StoreValues();
  EXPECT_EQ(Block.Cols(), 12);
  EXPECT_EQ(Block.Rows(), 6);
}

TEST(EditorPages, UpDownsKeepTheirRanges) {
  TWipeTransition Wipe;
  Wipe.SetMilliseconds(45000);
  Wipe.SetBandWidth(40000);
  auto Page = PageFor(Wipe);
  EXPECT_EQ(Page->EditMilliseconds->text(), "30000");
  Page->StoreValues();
  EXPECT_EQ(Wipe.Milliseconds(), 30000);
  EXPECT_EQ(Wipe.BandWidth(), 30000);
  // A wipe from the middle has no band: it reads 0 and stores 0.
  Wipe.SetDirection(tedIn);
  Page = PageFor(Wipe);
  EXPECT_EQ(static_cast<TWipeTransitionEditor*>(Page.get())->EditBandWidth->text(), "0");
  Page->StoreValues();
  Wipe.SetDirection(tedRight);
  EXPECT_EQ(Wipe.BandWidth(), 0);

  TRollTransition Roll;
  Page = PageFor(Roll);
  auto* R = static_cast<TRollTransitionEditor*>(Page.get());
  R->EditRollSize->setText(" 5000 ");
  R->EditRollSizeExit();
  EXPECT_EQ(R->EditRollSize->text(), "1000");
  R->UpDownRollSize->Step(1);
  EXPECT_EQ(R->UpDownRollSize->Position(), 1000);  // no wrap
  R->UpDownRollSize->SetPosition(3);
  R->UpDownRollSize->Step(-1);
  EXPECT_EQ(R->UpDownRollSize->Position(), 0);
  R->UpDownRollSize->SetPosition(20);
  R->UpDownRollSize->Step(1);
  EXPECT_EQ(R->UpDownRollSize->Position(), 25);  // increment 5
  R->EditRollSize->setText("big");
  EXPECT_THROW(R->EditRollSizeExit(), EConvertError);
  EXPECT_EQ(R->UpDownRollSize->Position(), 25);

  // The smoothing limits: 6 on the masked page, 5 on the bitmap mask page.
  TCircleTransition Circle;
  Page = PageFor(Circle);
  auto* M = static_cast<TMaskedTransitionEditor*>(Page.get());
  M->UpDownSmoothingLevel->SetPosition(9);
  EXPECT_EQ(M->EditSmoothingLevel->text(), "6");
  TBmpMaskTransition Mask;
  Page = PageFor(Mask);
  auto* BM = static_cast<TBmpMaskTransitionEditor*>(Page.get());
  BM->UpDownSmoothingLevel->SetPosition(9);
  EXPECT_EQ(BM->EditSmoothingLevel->text(), "5");
}

TEST(EditorPages, RandomStylesAndTheSubstyleRange) {
  TFuseTransition Fuse;
  Fuse.SetStyle(0);
  auto Page = PageFor(Fuse);
  auto* F = static_cast<TFuseTransitionEditor*>(Page.get());
  EXPECT_TRUE(F->CheckBoxRndStyle->isChecked());
  EXPECT_FALSE(F->EditStyle->isEnabled());
  EXPECT_EQ(F->EditStyle->text(), "0");
  F->CheckBoxRndStyle->setChecked(false);
  F->UpDownStyle->SetPosition(99);
  F->StoreValues();
  EXPECT_EQ(Fuse.Style(), TFuseTransition::StyleCount);

  TCircleTransition Circle;
  Circle.SetStyle(1);
  ASSERT_GT(Circle.GetSubStyleCount(1), 1);
  Circle.SetSubStyle(2);
  Page = PageFor(Circle);
  auto* M = static_cast<TMaskedTransitionEditor*>(Page.get());
  EXPECT_EQ(M->EditSubstyle->text(), "2");
  // Another style picked by the user: substyle 1, within that style's count.
  M->UpDownStyle->Step(1);
  EXPECT_EQ(M->UpDownSubstyle->Position(), 1);
  EXPECT_EQ(M->UpDownSubstyle->Max(), Circle.GetSubStyleCount(2));
  // A random style forces a random substyle; both are stored as 0.
  M->CheckBoxRndStyle->click();
  EXPECT_FALSE(M->UpDownStyle->isEnabled());
  EXPECT_FALSE(M->CheckBoxRndSubstyle->isEnabled());
  M->StoreValues();
  EXPECT_EQ(Circle.Style(), 0);
  EXPECT_EQ(Circle.SubStyle(), 0);
  M->CheckBoxRndStyle->click();
  M->StoreValues();
  EXPECT_EQ(Circle.Style(), 1);
  EXPECT_EQ(Circle.SubStyle(), 1);
}

TEST(EditorPages, TheMaskPageStoresTheChosenPictureAndRefusesAColourOne) {
  TBmpMaskTransition Mask;
  auto Page = PageFor(Mask);
  auto* P = static_cast<TBmpMaskTransitionEditor*>(Page.get());
  Page->StoreValues();
  EXPECT_TRUE(Mask.Mask().Empty());
  const QString File = QDir::tempPath() + "/vte-editor-mask.bmp";
  test::TwirlMask(40, 30).SaveToFile(File);
  P->LoadMask(File);
  Page->StoreValues();
  ASSERT_EQ(Mask.Mask().Width(), 40);
  EXPECT_EQ(Mask.Mask().PixelFormat(), pf8bit);
  // A page opened later shows the transition's mask.
  Page = PageFor(Mask);
  EXPECT_EQ(static_cast<TBmpMaskTransitionEditor*>(Page.get())->EffectsPanelMask->BackgroundOptions()->Picture().Height(), 30);
  TBitmap Colour(8, 8, pf24bit);
  static_cast<TBmpMaskTransitionEditor*>(Page.get())->EffectsPanelMask->BackgroundOptions()->Picture().SetBitmap(&Colour);
  EXPECT_THROW(Page->StoreValues(), ETransitionEffectError);
  EXPECT_EQ(Mask.Mask().Width(), 40);
}

// A page shown as the editor shows it, in a window of its own.
class ShownPage : public ::testing::Test {
protected:
  void SetUp() override {
    Transition.SetMilliseconds(500);
    Editor.EditTransition(&Transition);
    Editor.move(100, 100);
    Editor.show();
    Editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Editor));
    Page = Editor.Page();
    ASSERT_NE(Page, nullptr);
  }

  TWipeTransition Transition;
  TTransitionEditor Editor;
  TTransitionEffectEditor* Page = nullptr;
};

TEST_F(ShownPage, LeavingANumberEditConvertsItOrKeepsTheFocusWithTheMessage) {
  // The caption's accelerator leads into the edit.
  QTest::keyClick(Editor.windowHandle(), Qt::Key_M, Qt::AltModifier);
  ASSERT_EQ(QApplication::focusWidget(), Page->EditMilliseconds);
  Page->EditMilliseconds->selectAll();
  QTest::keyClicks(Page->EditMilliseconds, "45000");
  QTest::keyClick(Editor.windowHandle(), Qt::Key_Tab);
  EXPECT_EQ(Page->EditMilliseconds->text(), "30000");
  EXPECT_NE(QApplication::focusWidget(), Page->EditMilliseconds);

  Page->EditMilliseconds->setFocus();
  Page->EditMilliseconds->selectAll();
  QTest::keyClicks(Page->EditMilliseconds, "12x");
  QString Shown;
  QTimer Watch;
  Watch.callOnTimeout([&] {
    if (auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      Shown = Box->text();
      Box->close();
    }
  });
  Watch.start(5);
  QTest::keyClick(Editor.windowHandle(), Qt::Key_Tab);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Shown.isEmpty(); }, 2000));
  EXPECT_EQ(Shown, "'12x' is not a valid integer value");
  // The window's focus stays in the edit (the message box took the activation for a while).
  EXPECT_EQ(Editor.focusWidget(), Page->EditMilliseconds);
  EXPECT_EQ(Page->EditMilliseconds->text(), "12x");
  EXPECT_EQ(Page->UpDownMilliseconds->Position(), 30000);
}

TEST_F(ShownPage, TheColourDialogStoresAConfirmedColourAtOnce) {
  const TColor Before = Transition.Pass2Options()->SolidColor();
  QTimer::singleShot(0, [this] { Page->ColorDialog->reject(); });
  Page->ChooseSolidColor();
  EXPECT_EQ(Transition.Pass2Options()->SolidColor(), Before);
  QTimer::singleShot(0, [this] {
    Page->ColorDialog->setCurrentColor(QColor(10, 20, 200));
    Page->ColorDialog->accept();
  });
  Page->ChooseSolidColor();
  // The editor works on a copy: the colour went into the copy, not yet into the caller's.
  EXPECT_EQ(Editor.EditedTransition()->Pass2Options()->SolidColor(), RGB(10, 20, 200));
}

TEST_F(ShownPage, TheSecondPassPanelOpensOverTheDimmedPageAndCloses) {
  Page->ComboBoxPasses->setFocus();
  QTest::qWait(10);
  QTest::mouseClick(Page->SpeedButtonPass2, Qt::LeftButton);
  ASSERT_TRUE(Page->Pass2PanelOpen());
  EXPECT_TRUE(Page->EffectsGroupBoxPass2->isVisible());
  EXPECT_EQ(Page->EffectsGroupBoxPass2->x(), TTransitionEffectEditor::Pass2PanelLeft - TTransitionEffectEditor::Pass2PanelShift);
  EXPECT_EQ(QApplication::focusWidget(), Page->CheckBoxDistributedTime);
  EXPECT_NE(Page->findChild<TEffectsPanel*>("DimPanel"), nullptr);
  EXPECT_FALSE(TransitionActive);
  // The captions toggle their boxes.
  const bool Was = Page->CheckBoxUseSolidColor->isChecked();
  QTest::mouseClick(Page->LabelUseSolidColor, Qt::LeftButton);
  EXPECT_NE(Page->CheckBoxUseSolidColor->isChecked(), Was);

  QTest::mouseClick(Page->SpeedButtonClosePanel, Qt::LeftButton);
  EXPECT_FALSE(Page->Pass2PanelOpen());
  EXPECT_TRUE(Page->EffectsGroupBoxPass2->isHidden());
  EXPECT_EQ(Page->EffectsGroupBoxPass2->x(), TTransitionEffectEditor::Pass2PanelLeft);
  EXPECT_EQ(Page->findChild<TEffectsPanel*>("DimPanel"), nullptr);
  EXPECT_EQ(QApplication::focusWidget(), Page->ComboBoxPasses);
  EXPECT_TRUE(test::SettleScreen(&Editor));
}

}  // namespace
}  // namespace vte
