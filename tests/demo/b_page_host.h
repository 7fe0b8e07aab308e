#pragma once
// A shown top-level window holding a page area like the navigator's (a 501 x 493 form container),
// for the demo page tests; clicks go through the window's handle as a user's would.
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <memory>

#include "container/form_container.h"
#include "demo_test_support.h"
#include "engine/reduced_motion.h"
#include "page_registry.h"

namespace vte::demo::test {

class TPageHost {
public:
  TPageHost() {
    Window = std::make_unique<QWidget>();
    Window->setGeometry(100, 100, 501, 493);
    Container = new TFormContainer(Window.get());
    Container->setObjectName(QStringLiteral("FormContainerNavigator"));
    Container->setGeometry(0, 0, 501, 493);
    Container->SetSaveLRUDestroyedForms(true);
    Window->show();
    (void)QTest::qWaitForWindowExposed(Window.get());
  }

  // A page of the registered class Name, shown in the container (the one before destroyed).
  TForm* Open(const char* Name) {
    TForm* Page = Container->CreateForm(PageClass(QLatin1String(Name)));
    Container->ShowForm(Page, true);
    QCoreApplication::processEvents();
    return Page;
  }

  std::unique_ptr<QWidget> Window;
  TFormContainer* Container;
};

// A left click in the middle of Widget, sent to its top-level window.
inline void Click(QWidget* Widget, QPoint At = QPoint(-1, -1)) {
  QWidget* Top = Widget->window();
  if (At == QPoint(-1, -1)) At = Widget->rect().center();
  QTest::mouseClick(Top->windowHandle(), Qt::LeftButton, {}, Widget->mapTo(Top, At));
  QCoreApplication::processEvents();
}

// Transitions end as the flicker-free cut for the length of a test: the run length does not
// matter to what the page tests check.
struct TReducedMotionScope {
  TReducedMotionScope() { SetReducedMotion(true); }
  ~TReducedMotionScope() { ResetReducedMotion(); }
};

}  // namespace vte::demo::test
