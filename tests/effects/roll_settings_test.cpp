// The roll transition's settings and class facts, and one run over real widgets on the offscreen
// screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMetaProperty>
#include <QScreen>
#include <QWidget>
#include <memory>

#include "effects/roll.h"
#include "engine/transition_registry.h"
#include "render/device.h"
#include "support/screen_depth.h"
#include "support/screen_support.h"

namespace vte {
namespace {

using test::ScreenOf;
using test::ScreenShowsItsPaint;
using test::SetColor;
using test::TheRenderWindow;

TEST(Roll, SettingsClassFactsAndRegistration) {
  TRollTransition Roll;
  EXPECT_EQ(Roll.Direction(), tedDown);
  EXPECT_EQ(Roll.Size(), 60);
  EXPECT_TRUE(Roll.Unroll());
  EXPECT_TRUE(Roll.Use3D());
  EXPECT_FALSE(Roll.Reversed());
  EXPECT_EQ(Roll.Milliseconds(), 0);
  EXPECT_EQ(Roll.AllowedDirections(), DirectionSet(tedRight, tedLeft, tedDown, tedUp));
  for (TTEEffectDirection D : {tedNone, tedDownRight, tedUpLeft, tedIn, tedOut}) {
    Roll.SetDirection(D);
    EXPECT_EQ(Roll.Direction(), tedDown) << GetDirectionName(D).toStdString();
  }
  Roll.SetSize(-5);
  EXPECT_EQ(Roll.Size(), 0) << "a negative width is stored as 0";
  Roll.SetSize(0);
  EXPECT_EQ(Roll.Size(), 0);

  EXPECT_EQ(Roll.Description(), "Roll");
  EXPECT_EQ(Roll.EditorClassName(), "TRollTransitionEditor");
  EXPECT_EQ(TTransitionEffect::Description(&TRollTransition::staticMetaObject), "Roll");
  EXPECT_EQ(FindTransitionClass("TRollTransition"), &TRollTransition::staticMetaObject);
  EXPECT_TRUE(Roll.NeedWorkBitmap());
  EXPECT_FALSE(Roll.WorkOnOldImage());

  // Shaded: 32 bits a pixel, widths rounded up to a multiple of 8; flat: the device's.
  EXPECT_EQ(Roll.GetPixelFormat(), pf32bit);
  EXPECT_EQ(Roll.GetBitmapsWidth(1), 8);
  EXPECT_EQ(Roll.GetBitmapsWidth(8), 8);
  EXPECT_EQ(Roll.GetBitmapsWidth(9), 16);
  EXPECT_EQ(Roll.GetBitmapsWidth(1917), 1920);
  Roll.SetUse3D(false);
  EXPECT_EQ(Roll.GetBitmapsWidth(9), 9);
  {
    test::TScreenDepth Depth(16);
    EXPECT_EQ(Roll.GetPixelFormat(), DevicePixelFormat());
    EXPECT_NE(Roll.GetPixelFormat(), pf32bit);
  }

  // By name, as stored lists and editors reach them.
  const QMetaObject& M = TRollTransition::staticMetaObject;
  for (const char* Name : {"Direction", "Milliseconds", "Reversed", "Size", "Unroll", "Use3D"})
    EXPECT_GE(M.indexOfProperty(Name), 0) << Name;
  EXPECT_TRUE(M.property(M.indexOfProperty("Direction")).isEnumType());
  EXPECT_TRUE(Roll.setProperty("Size", 33));
  EXPECT_EQ(Roll.Size(), 33);
  EXPECT_TRUE(Roll.setProperty("Unroll", false));
  EXPECT_FALSE(Roll.Unroll());
  std::unique_ptr<QObject> Made(M.newInstance(Q_ARG(QObject*, nullptr)));
  EXPECT_NE(qobject_cast<TRollTransition*>(Made.get()), nullptr);
}

TEST(Roll, AssignCopiesTheInheritedSettingsThenItsOwn) {
  TRollTransition From;
  From.SetDirection(tedLeft);
  From.SetReversed(true);
  From.SetMilliseconds(1234);
  From.SetSize(17);
  From.SetUnroll(false);
  From.SetUse3D(false);
  TRollTransition To;
  To.Assign(From);
  EXPECT_EQ(To.Direction(), tedLeft);
  EXPECT_TRUE(To.Reversed());
  EXPECT_EQ(To.Milliseconds(), 1234);
  EXPECT_EQ(To.Size(), 17);
  EXPECT_FALSE(To.Unroll());
  EXPECT_FALSE(To.Use3D());

  // From another kind of effect only the inherited settings come over.
  TFlickerFreeTransition Other;
  Other.SetMilliseconds(99);
  To.Assign(Other);
  EXPECT_EQ(To.Milliseconds(), 99);
  EXPECT_EQ(To.Size(), 17);
  EXPECT_FALSE(To.Use3D());
}

// ------------------------------------------------------------------------------------------------
// On the screen: a panel changes colour behind the render window and rolls to its new look.



TEST(RollOnScreen, TheBandCrossesThePanelAndTheScreenEndsOnTheNewLook) {
  QWidget Window;
  Window.setGeometry(40, 40, 400, 300);
  auto* Panel = new QWidget(&Window);
  Panel->setGeometry(10, 10, 300, 200);  // 300: not a multiple of 8, the shaded run widens its bitmaps
  Panel->setAutoFillBackground(true);
  SetColor(Panel, Qt::red);
  Window.show();
  QApplication::processEvents();

  TRollTransition Roll;  // down, unrolling, shaded, Size 60
  ASSERT_TRUE(Roll.Prepare(Panel, Rect(0, 0, 300, 200)));
  SetColor(Panel, Qt::blue);
  // Frame 100 (on the screen when the 101st paint starts): new rows 0-39, the band on rows
  // 40-99, old rows below.
  struct TFilter : QObject {
    QWidget* Panel;
    int Paints = 0;
    bool Checked = false;
    bool eventFilter(QObject*, QEvent* E) override {
      if (E->type() == QEvent::Paint && ++Paints == 101) {
        const QImage S = ScreenOf(Panel);
        EXPECT_EQ(S.pixelColor(150, 20), QColor(Qt::blue));
        EXPECT_EQ(S.pixelColor(150, 150), QColor(Qt::red));
        for (int Y : {42, 60, 70, 97}) {
          EXPECT_NE(S.pixelColor(150, Y), QColor(Qt::blue)) << Y;
          EXPECT_NE(S.pixelColor(150, Y), QColor(Qt::red)) << Y;
        }
        // Lit across the middle, darker at both edges of the band.
        auto Light = [&](int Y) { return qGray(S.pixel(150, Y)); };
        EXPECT_GT(Light(65), Light(41));
        EXPECT_GT(Light(65), Light(98));
        Checked = true;
      }
      return false;
    }
  } Filter;
  Filter.Panel = Panel;
  for (QWidget* W : QApplication::allWidgets())
    if (W->inherits("vte::TTERenderWindow")) W->installEventFilter(&Filter);
  Roll.Execute();
  EXPECT_TRUE(Filter.Checked);
  EXPECT_GT(Filter.Paints, 150);
  EXPECT_TRUE(ScreenShowsItsPaint(Panel));
  const QImage S = ScreenOf(Panel);
  EXPECT_EQ(S.pixelColor(150, 190), QColor(Qt::blue));
}

}  // namespace
}  // namespace vte
