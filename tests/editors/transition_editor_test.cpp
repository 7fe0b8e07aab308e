// The transition editor and its dialog: the list of styles, the private copy (cancel leaves the
// caller's transition as it was, byte for byte in its stored form), applying a style of another
// class in place of the old transition, the preview from one picture to the other, and every
// registered style opened and previewed.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <set>

#include "container/effects_panel.h"
#include "container/form_container.h"
#include "container/form_transitions.h"
#include "editors/bitmap_mask_editor.h"
#include "editors/editor_registry.h"
#include "editors/modal_editor.h"
#include "editors/transition_editor.h"
#include "editors/up_down.h"
#include "effects/bitmap_mask.h"
#include "effects/fuse.h"
#include "effects/shake.h"
#include "effects/slide.h"
#include "effects/wipe.h"
#include "engine/blend_transition.h"
#include "engine/transition_list.h"
#include "engine/transition_registry.h"
#include "support/mask_pictures_support.h"
#include "support/screen_support.h"

namespace vte {
namespace {

void Pick(TTransitionEditor& Editor, const QString& Description) {
  const int I = Editor.ComboBoxTransitions->findText(Description);
  ASSERT_GE(I, 0) << Description.toStdString();
  Editor.ComboBoxTransitions->setCurrentIndex(I);
  Editor.ComboBoxTransitionsChange();
}

// Runs Act on the dialog once its modal show has begun.
void WhenModal(std::function<void(TTransitionModalEditor&)> Act) {
  QTimer::singleShot(0, [Act] {
    for (QWidget* W : QApplication::topLevelWidgets())
      if (auto* Dialog = qobject_cast<TTransitionModalEditor*>(W); Dialog && Dialog->isVisible()) return Act(*Dialog);
    ADD_FAILURE() << "no dialog shown";
  });
}

// Three transitions in a stored list, the middle one edited.
class EditedList : public ::testing::Test {
protected:
  void SetUp() override {
    auto* First = new TBlendTransition(&List);
    First->setObjectName("First");
    First->SetTransitionList(&List);
    Middle = new TWipeTransition(&List);
    Middle->setObjectName("Middle");
    Middle->SetTransitionList(&List);
    Middle->SetMilliseconds(900);
    Middle->SetDirection(tedDown);
    Middle->OnAfterTransition = [this](TTransitionEffect*) { ++AfterCalls; };
    auto* Last = new TFuseTransition(&List);
    Last->setObjectName("Last");
    Last->SetTransitionList(&List);
    Stored = List.SaveToJson();
  }

  TTransitionList List;
  TTransitionEffect* Middle = nullptr;
  QByteArray Stored;
  int AfterCalls = 0;
};

TEST_F(EditedList, CancellingLeavesTheTransitionAsItWas) {
  TTransitionEffect* Reference = Middle;
  QPointer<TTransitionEffect> Object = Middle;
  WhenModal([](TTransitionModalEditor& Dialog) {
    TTransitionEditor& Editor = *Dialog.Editor;
    Editor.Page()->UpDownMilliseconds->SetPosition(100);
    Pick(Editor, "Slide");
    Editor.Page()->UpDownMilliseconds->SetPosition(200);
    QTest::mouseClick(Dialog.BitBtnCancel, Qt::LeftButton);
  });
  EXPECT_FALSE(EditTransitionModal(Reference));
  EXPECT_EQ(Reference, Middle);
  EXPECT_FALSE(Object.isNull());
  EXPECT_EQ(List.SaveToJson(), Stored);
}

TEST_F(EditedList, ApplyingAnotherStyleReplacesTheTransitionInItsPlace) {
  TTransitionEffect* Reference = Middle;
  QPointer<TTransitionEffect> Old = Middle;
  bool Published = false;
  // A holder of the old transition takes the new one.
  TForm Host;
  auto* Holder = new TFormTransitions(&Host);
  Holder->SetShowTransition(Middle);
  QObject::connect(Middle, &QObject::destroyed, [&, Gone = Middle] {
    Published = TransitionBeingReplaced == Gone && qobject_cast<TSlideTransition*>(ReplacementTransition);
  });
  WhenModal([](TTransitionModalEditor& Dialog) {
    EXPECT_EQ(Dialog.Caption(), "Transition editor");
    TTransitionEditor& Editor = *Dialog.Editor;
    EXPECT_TRUE(Editor.ComboBoxTransitions->isEnabled());
    // The band width set here does not survive the slide: it has none to carry over.
    static_cast<TWipeTransition*>(Editor.EditedTransition())->SetBandWidth(7);
    Pick(Editor, "Slide");
    Pick(Editor, "Wipe");
    EXPECT_EQ(static_cast<TWipeTransition*>(Editor.EditedTransition())->BandWidth(), 50);
    EXPECT_EQ(Editor.EditedTransition()->Direction(), tedDown);
    Pick(Editor, "Slide");
    Editor.Page()->UpDownMilliseconds->SetPosition(300);
    QTest::mouseClick(Dialog.BitBtnOk, Qt::LeftButton);
  });
  EXPECT_TRUE(EditTransitionModal(Reference));
  EXPECT_TRUE(Old.isNull());
  EXPECT_TRUE(Published);
  EXPECT_EQ(TransitionBeingReplaced, nullptr);
  EXPECT_EQ(ReplacementTransition, nullptr);
  auto* Slide = qobject_cast<TSlideTransition*>(Reference);
  ASSERT_NE(Slide, nullptr);
  EXPECT_EQ(List.Count(), 3);
  EXPECT_EQ(List.Transitions(1), Slide);
  EXPECT_EQ(Slide->objectName(), "Middle");
  EXPECT_EQ(Slide->parent(), &List);
  EXPECT_EQ(Slide->Milliseconds(), 300);
  EXPECT_EQ(Slide->Direction(), tedDown);
  EXPECT_EQ(Holder->ShowTransition(), Slide);
  ASSERT_TRUE(Slide->OnAfterTransition);
  Slide->OnAfterTransition(Slide);
  EXPECT_EQ(AfterCalls, 1);
}

TEST(TransitionEditor, ListsEveryRegisteredStyleOnceAndOnlyItsOwnForOthers) {
  TWipeTransition Wipe;
  TTransitionEffect* Reference = &Wipe;
  TTransitionEditor Editor;
  Editor.EditTransitionRef(Reference);
  std::set<QString> Expected, Listed;
  for (const QMetaObject* Class : TransitionClasses())
    if (EditorClassOf(Class)) Expected.insert(TTransitionEffect::Description(Class));
  EXPECT_EQ(Expected.size(), TransitionClasses().size());
  for (int I = 0; I < Editor.ComboBoxTransitions->count(); ++I) Listed.insert(Editor.ComboBoxTransitions->itemText(I));
  EXPECT_EQ(Listed, Expected);
  EXPECT_EQ(Editor.ComboBoxTransitions->count(), static_cast<int>(Expected.size()));
  EXPECT_EQ(Editor.ComboBoxTransitions->currentText(), "Wipe");

  // An object handed over keeps its class; an unregistered class lists itself alone.
  TTransitionEditor Fixed;
  Fixed.EditTransition(&Wipe);
  EXPECT_FALSE(Fixed.ComboBoxTransitions->isEnabled());
  TShakeTransition Shake;
  Reference = &Shake;
  TTransitionEditor Other;
  Other.EditTransitionRef(Reference);
  EXPECT_FALSE(Other.ComboBoxTransitions->isEnabled());
  EXPECT_EQ(Other.ComboBoxTransitions->count(), 1);
  EXPECT_EQ(Other.ComboBoxTransitions->currentText(), "Shake");
  EXPECT_STREQ(Other.Page()->metaObject()->className(), "vte::TTransitionEffectEditor");
}

// The editor in a window of its own, on the screen.
class ShownEditor : public ::testing::Test {
protected:
  void SetUp() override {
    Editor.move(50, 50);
    Editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Editor));
  }
  // The colour the screen shows in the middle of the sample area.
  QRgb SampleColour() {
    const QImage Screen = test::ScreenOf(&Editor);
    return Screen.pixel(Editor.LabelA->x() + 4, Editor.LabelA->y() + 4) & 0xFFFFFF;
  }
  // One preview; true when the effect ran to its end.
  bool Preview() {
    int Ends = 0;
    Editor.EditedTransition()->OnAfterTransition = [&](TTransitionEffect*) { ++Ends; };
    Editor.Page()->UpDownMilliseconds->SetPosition(60);
    QTest::mouseClick(Editor.BitBtnPreview, Qt::LeftButton);
    return Ends == 1 && !TransitionActive;
  }

  TTransitionEditor Editor;
};

TEST_F(ShownEditor, PreviewsRunFromOnePictureToTheOtherAndBack) {
  TTransitionEffect* Reference = new TWipeTransition(&Editor);
  Editor.EditTransitionRef(Reference);
  // The style list answers the keyboard: the style before the wipe, then the wipe again.
  Editor.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Editor));
  QTest::keyClick(Editor.windowHandle(), Qt::Key_T, Qt::AltModifier);
  QTest::keyClick(Editor.windowHandle(), Qt::Key_Up);
  EXPECT_EQ(Editor.EditedTransition()->Description(), "Waterfall");
  EXPECT_STREQ(Editor.Page()->metaObject()->className(), "vte::TTransitionEffectEditor");
  QTest::keyClick(Editor.windowHandle(), Qt::Key_Down);
  ASSERT_STREQ(Editor.Page()->metaObject()->className(), "vte::TWipeTransitionEditor");
  ASSERT_TRUE(test::SettleScreen(&Editor));
  EXPECT_EQ(SampleColour(), 0xFFFF00u);
  ASSERT_TRUE(Preview());
  EXPECT_TRUE(Editor.LabelA->isHidden());
  EXPECT_FALSE(Editor.LabelB->isHidden());
  EXPECT_EQ(SampleColour(), 0xFF0000u);
  // Two passes through the text alone, back to A.
  Editor.Page()->ComboBoxPasses->setCurrentIndex(teTwoPasses);
  ASSERT_TRUE(Preview());
  EXPECT_FALSE(Editor.LabelA->isHidden());
  EXPECT_TRUE(Editor.LabelB->isHidden());
  EXPECT_EQ(SampleColour(), 0xFFFF00u);
  EXPECT_TRUE(test::SettleScreen(&Editor));
}

TEST_F(ShownEditor, EveryRegisteredStyleOpensItsPageAndPreviews) {
  TTransitionEffect* Reference = new TBlendTransition(&Editor);
  Editor.EditTransitionRef(Reference);
  const TBitmap Mask = test::TwirlMask(64, 64);
  for (int I = 0; I < Editor.ComboBoxTransitions->count(); ++I) {
    const QString Style = Editor.ComboBoxTransitions->itemText(I);
    SCOPED_TRACE(Style.toStdString());
    Pick(Editor, Style);
    TTransitionEffect* Edited = Editor.EditedTransition();
    ASSERT_EQ(Edited->Description(), Style);
    ASSERT_EQ(Editor.Page()->metaObject(), EditorClassOf(Edited->metaObject()));
    EXPECT_EQ(Editor.Page()->Transition(), Edited);
    if (auto* MaskPage = qobject_cast<TBmpMaskTransitionEditor*>(Editor.Page()))
      MaskPage->EffectsPanelMask->BackgroundOptions()->Picture().SetBitmap(&Mask);
    const bool WasA = !Editor.LabelA->isHidden();
    EXPECT_TRUE(Preview());
    EXPECT_EQ(Editor.LabelA->isHidden(), WasA);
  }
}

}  // namespace
}  // namespace vte
