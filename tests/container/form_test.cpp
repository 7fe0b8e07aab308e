// Forms as real Qt windows and hosted widgets: window flags from the border settings, the close
// protocol, creation from a class reference, placement, focus events and key preview.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <stdexcept>

#include "container/form.h"

namespace vte {
namespace {

class TSampleForm : public TForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TSampleForm(QObject* Owner = nullptr) : TForm(Owner) {
    Edit = new QLineEdit(this);
    Edit->setGeometry(10, 10, 120, 24);
    OnCreate = [this](TForm*) { ++Creates; };
  }
  QLineEdit* Edit;
  int Creates = 0;
};

class TThrowingForm : public TForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TThrowingForm(QObject* Owner = nullptr) : TForm(Owner) {
    OnCreate = [](TForm*) { throw std::runtime_error("cannot create"); };
    OnDestroy = [](TForm*) { Freed = true; };
  }
  static inline bool Freed = false;
};

TEST(Form, BorderSettingsBecomeWindowFlagsOnlyForAWindow) {
  TForm F;
  EXPECT_TRUE(F.isWindow());
  EXPECT_TRUE(F.windowFlags() & Qt::WindowMaximizeButtonHint);
  F.SetBorderIcons(TBorderIcons(biSystemMenu) | biMinimize);
  EXPECT_FALSE(F.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(F.windowFlags() & Qt::WindowCloseButtonHint);
  F.SetBorderStyle(bsNone);
  EXPECT_TRUE(F.windowFlags() & Qt::FramelessWindowHint);
  F.SetBorderStyle(bsDialog);
  EXPECT_EQ(F.windowType(), Qt::Dialog);
  F.SetFormStyle(fsStayOnTop);
  EXPECT_TRUE(F.windowFlags() & Qt::WindowStaysOnTopHint);

  // A fixed border keeps the client size it is given, in either order.
  F.SetBorderStyle(bsSingle);
  F.SetClientWidth(300);
  F.SetClientHeight(200);
  EXPECT_EQ(F.size(), QSize(300, 200));
  EXPECT_EQ(F.minimumSize(), F.maximumSize());

  // Hosted in a container it is a plain child widget; its settings stay for the container.
  QWidget Container;
  F.setParent(&Container);
  EXPECT_FALSE(F.isWindow());
  EXPECT_EQ(F.BorderStyle(), bsSingle);
  F.SetBorderStyle(bsNone);
  EXPECT_FALSE(F.isWindow());
  F.setParent(nullptr);  // the form lives on the stack, not in the container
}

TEST(Form, CloseFollowsTheQueryAndTheAction) {
  for (const TCloseAction Action : {caNone, caHide, caFree, caMinimize}) {
    auto* F = new TForm;
    QPointer<TForm> Alive = F;
    F->show();
    bool Allow = false;
    int Closes = 0;
    F->OnCloseQuery = [&](TForm*, bool& CanClose) { CanClose = Allow; };
    F->OnClose = [&](TForm*, TCloseAction& A) {
      ++Closes;
      EXPECT_EQ(A, caHide);
      A = Action;
    };
    F->close();  // the window's close button goes the same way
    EXPECT_TRUE(F->isVisible());
    EXPECT_EQ(Closes, 0);
    Allow = true;
    F->Close();
    EXPECT_EQ(Closes, 1);
    EXPECT_EQ(F->isVisible(), Action == caNone || Action == caMinimize) << Action;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Alive.isNull(), Action == caFree) << Action;
    delete Alive.data();
  }
}

TEST(Form, CreatedFromItsClassWithOnCreateOnceAndFreedWithItsOwner) {
  auto* Owner = new QObject;
  TForm* F = CreateForm(&TSampleForm::staticMetaObject, Owner);
  ASSERT_NE(F, nullptr);
  auto* Sample = qobject_cast<TSampleForm*>(F);
  ASSERT_NE(Sample, nullptr);
  EXPECT_EQ(Sample->Creates, 1);
  F->AfterConstruction();
  EXPECT_EQ(Sample->Creates, 1);
  bool Destroyed = false;
  F->OnDestroy = [&](TForm*) { Destroyed = true; };
  delete Owner;
  EXPECT_TRUE(Destroyed);
  EXPECT_EQ(CreateForm(&QObject::staticMetaObject, nullptr), nullptr);
}

TEST(Form, ShowAndHideEventsAndCentringAtTheFirstShow) {
  TForm F;
  F.SetPosition(poScreenCenter);
  F.SetClientWidth(320);
  F.SetClientHeight(200);
  F.move(0, 0);
  int Shows = 0, Hides = 0;
  F.OnShow = [&](TForm*) { ++Shows; };
  F.OnHide = [&](TForm*) { ++Hides; };
  F.show();
  QApplication::processEvents();
  const QPoint Centre = F.screen()->availableGeometry().center();
  EXPECT_LE((F.frameGeometry().center() - Centre).manhattanLength(), 2);
  F.hide();
  F.move(5, 5);
  F.show();  // placed once only
  EXPECT_EQ(F.pos(), QPoint(5, 5));
  EXPECT_EQ(Shows, 2);
  EXPECT_EQ(Hides, 1);
}

TEST(Form, HostedFormsSeeFocusEnterAndLeaveAndPreviewKeys) {
  QWidget Window;
  Window.setGeometry(50, 50, 400, 200);
  TSampleForm A, B;
  A.setParent(&Window);
  B.setParent(&Window);
  A.setGeometry(0, 0, 200, 200);
  B.setGeometry(200, 0, 200, 200);
  QStringList Log;
  A.OnEnter = [&](TForm*) { Log << "A enter"; };
  A.OnExit = [&](TForm*) { Log << "A exit"; };
  B.OnEnter = [&](TForm*) { Log << "B enter"; };
  Window.show();
  QApplication::setActiveWindow(&Window);
  QApplication::processEvents();
  A.SetActiveControl(A.Edit);
  ASSERT_EQ(Log, QStringList{"A enter"});
  B.SetActiveControl(B.Edit);
  EXPECT_EQ(Log, (QStringList{"A enter", "A exit", "B enter"}));
  EXPECT_EQ(B.ActiveControl(), B.Edit);

  // With key preview the form sees the key first, and a key set to 0 goes no further.
  B.SetKeyPreview(true);
  B.OnKeyDown = [](TForm*, int& Key, Qt::KeyboardModifiers) {
    if (Key == Qt::Key_X) Key = 0;
  };
  QTest::keyClicks(B.Edit, QStringLiteral("axb"));
  EXPECT_EQ(B.Edit->text(), QStringLiteral("ab"));
  B.SetKeyPreview(false);
  QTest::keyClicks(B.Edit, QStringLiteral("x"));
  EXPECT_EQ(B.Edit->text(), QStringLiteral("abx"));
}

TEST(Form, AWindowShowsItsMenuAlongItsTopAndAFailingOnCreateFreesTheForm) {
  TForm F;
  F.resize(300, 200);
  auto* Bar = new QMenuBar;
  Bar->addMenu(QStringLiteral("&File"));
  F.SetMenu(Bar);
  F.show();
  EXPECT_EQ(Bar->parentWidget(), &F);
  EXPECT_TRUE(Bar->isVisible());
  EXPECT_EQ(Bar->geometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(Bar->width(), 300);


  // A form whose OnCreate fails is freed, and the failure reaches the caller.
  TThrowingForm::Freed = false;
  EXPECT_THROW(CreateForm(&TThrowingForm::staticMetaObject, nullptr), std::runtime_error);
  EXPECT_TRUE(TThrowingForm::Freed);
}

}  // namespace
}  // namespace vte

#include "form_test.moc"
