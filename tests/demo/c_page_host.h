#pragma once
// The wizard's tests: a shown top-level window whose form container fills it, as the main form
// hosts the wizard, with the generated data files and reduced motion (every transition is a cut
// that still fires its events), and clicks through the window as a user's arrive.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "container/form.h"
#include "container/form_container.h"
#include "demo_test_support.h"
#include "engine/reduced_motion.h"
#include "page_registry.h"

namespace vte::demo::test {

class PageHost : public ::testing::Test {
 protected:
  void SetUp() override {
    UseGeneratedData();
    SetReducedMotion(true);
    Window.resize(700, 493);
    Container = new TFormContainer(&Window);
    Container->setObjectName(QStringLiteral("MainFormContainer"));
    Container->setGeometry(0, 0, 700, 493);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
  }
  void TearDown() override {
    ResetReducedMotion();
    Container->OnFormCreate = nullptr;
  }

  // A new form of the registered class Name in the container, shown there (the one before kept).
  TForm* Show(const char* Name) {
    TForm* Form = Container->CreateForm(PageClass(QLatin1String(Name)));
    Container->ShowForm(Form, false);
    return Form;
  }
  void Click(QWidget* Widget) {
    QTest::mouseClick(Window.windowHandle(), Qt::LeftButton, {}, Widget->mapTo(&Window, Widget->rect().center()));
  }

  TForm Window;
  TFormContainer* Container = nullptr;
};

}  // namespace vte::demo::test
