// The navigator's looks, offscreen: the menu over its glass, a page with the page glass, and every
// background style giving the window a look of its own. With VTE_DEMO_SHOTS set to a folder, the
// grabs are written there to be looked at.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "a_demo_support.h"
#include "container/effects_panel.h"
#include "container/form_container.h"
#include "demo_test_support.h"
#include "engine/transition_effect.h"
#include "form_navigator.h"
#include "pages/form_bkgrnd_editor.h"

namespace vte::demo::test {
namespace {

void Keep(const QImage& Image, const QString& Name) {
  const QString Folder = qEnvironmentVariable("VTE_DEMO_SHOTS");
  if (Folder.isEmpty()) return;
  QDir().mkpath(Folder);
  Image.save(Folder + QLatin1Char('/') + Name + QStringLiteral(".png"));
}

TEST(NavigatorLooks, EveryBackgroundStyleLooksItsOwnAndTheMenuReadsOverIt) {
  UseGeneratedData();
  TErrorCatcher Errors;
  TFormContainer Host;
  Host.resize(700, 493);
  Host.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Host));
  auto* Nav = static_cast<TFormNavigator*>(Host.CreateForm(&TFormNavigator::staticMetaObject));
  Host.ShowForm(Nav, true);
  Nav->TimerV3->stop();  // one look for the version entry
  Nav->AuxTransition->SetMilliseconds(40);
  Nav->MenuTransition->SetMilliseconds(40);
  MoveOnto(Nav->FormContainerNavigator);  // the mouse over no entry
  const QImage Menu = Host.grab().toImage();
  Keep(Menu, QStringLiteral("navigator-menu"));
  // The menu's glass lies over the shading: the menu column differs from the page area.
  EXPECT_NE(Menu.copy(0, 100, 199, 100), Menu.copy(300, 100, 199, 100));

  ClickOn(Nav->EffectsPanelNavigator->findChild<TEffectsPanel*>("LabelBkgrndSamples"));
  auto* Editor = qobject_cast<TFormBkgrndEditor*>(Nav->FormContainerNavigator->ActiveForm());
  ASSERT_NE(Editor, nullptr);
  Editor->Transition->SetMilliseconds(40);
  Keep(Host.grab().toImage(), QStringLiteral("page-with-glass-shaded"));
  std::vector<QImage> Looks;
  for (const char* Button : {"ButtonGradient", "ButtonStone", "ButtonStrokes", "ButtonWall", "ButtonWood", "ButtonShaded"}) {
    ClickOn(Editor->findChild<QPushButton*>(Button));
    Looks.push_back(Host.grab().toImage());
    Keep(Looks.back(), QStringLiteral("style-%1").arg(QLatin1String(Button).mid(6)));
  }
  for (size_t A = 0; A < Looks.size(); ++A)
    for (size_t B = A + 1; B < Looks.size(); ++B) EXPECT_NE(Looks[A], Looks[B]) << "styles " << A << " and " << B;
  // The other pages of this menu, to be looked at.
  for (const char* Name : {"LabelTransitionEditor", "LabelPower"}) {
    ClickOn(Nav->EffectsPanelNavigator->findChild<TEffectsPanel*>(Name));
    Keep(Host.grab().toImage(), QStringLiteral("page-%1").arg(QLatin1String(Name).mid(5)));
  }
  auto* Magic = Nav->FormContainerNavigator->ActiveForm()->findChild<QPushButton*>("BitBtnMagic");
  ASSERT_NE(Magic, nullptr);
  ClickOn(Magic);
  Keep(Host.grab().toImage(), QStringLiteral("page-Power-magic"));
  EXPECT_TRUE(Errors.Messages.isEmpty()) << Errors.Messages.join('\n').toStdString();
}

}  // namespace
}  // namespace vte::demo::test
