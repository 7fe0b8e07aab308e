// Pictures of the transition dialog for a look by eye: when VTE_EDITOR_SHOTS names a folder, the
// dialog is shown for a few styles (and once with the second-pass panel open) and each look is
// written there as a PNG. Without the variable the test only checks the dialog's size.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>
#include <QToolButton>
#include <cstdlib>

#include "editors/modal_editor.h"
#include "editors/transition_editor.h"
#include "editors/transition_effect_editor.h"
#include "effects/bitmap_mask.h"
#include "effects/block.h"
#include "effects/circle.h"
#include "effects/fuse.h"
#include "effects/roll.h"
#include "effects/slide.h"
#include "effects/wipe.h"
#include "support/mask_pictures_support.h"

namespace vte {
namespace {

TEST(EditorShots, TheDialogForEachStyle) {
  const char* Folder = std::getenv("VTE_EDITOR_SHOTS");
  TBmpMaskTransition Mask;
  const TBitmap Twirl = test::TwirlMask(80, 80);
  Mask.SetMask(&Twirl);
  TBlockTransition Blocks;
  Blocks.SetPuzzle(true);
  TWipeTransition Wipe;
  TSlideTransition Slide;
  TRollTransition Roll;
  TFuseTransition Fuse;
  TCircleTransition Circle;
  const std::pair<const char*, TTransitionEffect*> Styles[] = {
      {"wipe", &Wipe}, {"slide", &Slide}, {"roll", &Roll}, {"bitmap-mask", &Mask},
      {"fuse", &Fuse}, {"circle", &Circle}, {"blocks", &Blocks}};
  if (Folder) QDir().mkpath(QString::fromLocal8Bit(Folder));
  for (const auto& [Name, Transition] : Styles) {
    TTransitionEffect* Reference = Transition;
    auto Dialog = CreateTransitionModalEditor(Reference);
    Dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Dialog.get()));
    EXPECT_EQ(Dialog->size(), QSize(412, TTransitionEffectEditor::PageHeight + 36));
    if (!Folder) continue;
    QTest::qWait(50);
    const QString Base = QString::fromLocal8Bit(Folder) + "/" + Name;
    Dialog->grab().save(Base + ".png");
    if (Transition == &Wipe) {
      Dialog->Editor->Page()->SpeedButtonPass2->click();
      QTest::qWait(50);
      Dialog->grab().save(Base + "-2nd-pass.png");
    }
  }
}

}  // namespace
}  // namespace vte
