// The form container: creating forms under its design rules, showing them with and without
// transitions, the history with its capacity, destroyed forms re-created with their saved state,
// placement, focus, the lock, and embedded forms.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include "container/embedded_form.h"
#include "container/form_container.h"
#include "engine/errors.h"
#include "engine/transition_effect.h"
#include "gdi/canvas.h"
#include "effects/slide.h"
#include "effects/wipe.h"
#include "engine/blend_transition.h"
#include "support/hook_effect.h"
#include "support/screen_support.h"

namespace vte {
namespace {

// A page designed without a border; an edit to take the focus.
class TPlainForm : public TForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TPlainForm(QObject* Owner) : TForm(Owner) {
    SetBorderStyle(bsNone);
    resize(120, 80);
    Edit = new QLineEdit(this);
    Edit->setGeometry(10, 10, 80, 20);
  }
  QLineEdit* Edit;
};

class TBorderedForm : public TForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TBorderedForm(QObject* Owner) : TForm(Owner) {}
};

class TPageState : public TFCExtraData {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TPageState(QObject* Parent = nullptr) : TFCExtraData(Parent) {}
  QString Text;
};

// An embedded page that keeps its edit's text across its destruction.
class TPage : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TPage(QObject* Owner) : TFCEmbeddedForm(Owner) {
    setObjectName(QStringLiteral("Page"));
    SetBorderStyle(bsSizeable);
    SetClientWidth(150);
    SetClientHeight(90);
    Edit = new QLineEdit(this);
    Edit->setGeometry(40, 30, 60, 20);
    OnGetExtraDataClass = [](QObject*, const QMetaObject*& Class) { Class = &TPageState::staticMetaObject; };
    OnSetExtraData = [this](QObject*, TFCExtraData* Data) { static_cast<TPageState*>(Data)->Text = Edit->text(); };
    OnGetExtraData = [this](QObject*, TFCExtraData* Data) { Edit->setText(static_cast<TPageState*>(Data)->Text); };
  }
  QLineEdit* Edit;
};

class FormContainer : public ::testing::Test {
protected:
  void SetUp() override {
    Main.setGeometry(50, 50, 400, 300);
    Container = new TFormContainer(&Main);
    Container->setGeometry(10, 10, 300, 200);
    Container->SetFlickerFree(false);
    Container->SetSafeFormDestroy(false);
    Main.show();
    QApplication::processEvents();
  }
  // The tests' handlers count into their locals, gone by now: the container's clean-up (closing
  // its forms with Main) must not reach them.
  void TearDown() override {
    Container->OnFormChange = nullptr;
    Container->OnFormCreate = nullptr;
    Container->OnFormDestroy = nullptr;
    for (int I = 1; I <= Container->FormCount(); ++I) {
      TForm* F = Container->Forms(I);
      F->OnShow = F->OnHide = F->OnDestroy = nullptr;
      F->OnClose = nullptr;
      F->OnCloseQuery = nullptr;
    }
  }
  TForm* Show(const QMetaObject* Class, bool Destroy = false) {
    TForm* F = Container->CreateForm(Class);
    Container->ShowForm(F, Destroy);
    return F;
  }
  TForm Main;
  TFormContainer* Container;
};

TEST_F(FormContainer, CreatedFormsFollowTheDesignRulesAndTheLock) {
  try {
    Container->CreateForm(&TBorderedForm::staticMetaObject);
    FAIL() << "a bordered form was accepted";
  } catch (const EFormContainerError& E) {
    EXPECT_STREQ(E.what(), "'BorderStyle' property of 'TBorderedForm' must be 'bsNone'");
  }
  EXPECT_EQ(Container->FormCount(), 0);
  EXPECT_FALSE(Container->Locked());
  Container->OnFormCreate = [this](QObject*, TForm*) { Container->CreateForm(&TPlainForm::staticMetaObject); };
  EXPECT_THROW(
      {
        try {
          Container->CreateForm(&TPlainForm::staticMetaObject);
        } catch (const EFormContainerError& E) {
          EXPECT_STREQ(E.what(), "FomContainer is locked");
          throw;
        }
      },
      EFormContainerError);
  EXPECT_FALSE(Container->Locked());
  Container->OnFormCreate = nullptr;
  TForm* F = Container->CreateForm(&TPlainForm::staticMetaObject);
  EXPECT_TRUE(F->isHidden());
  EXPECT_FALSE(F->isWindow());
  TForm Stranger;
  EXPECT_THROW(Container->ShowForm(&Stranger, false), EFormContainerError);
  // Forms created in a container that is not on the screen yet stay hidden when it appears.
  TForm Later;
  auto* Offscreen = new TFormContainer(&Later);
  TForm* Early = Offscreen->CreateForm(&TPlainForm::staticMetaObject);
  Later.show();
  QApplication::processEvents();
  EXPECT_TRUE(Early->isHidden());
}

TEST_F(FormContainer, TheHistoryGoesBackDiscardsLaterEntriesAndKeepsItsCapacity) {
  std::vector<TForm*> F;
  for (int I = 0; I < 4; ++I) F.push_back(Show(&TPlainForm::staticMetaObject));
  ASSERT_EQ(Container->HistoryCount(), 3);
  EXPECT_TRUE(Container->GoBack(false));
  EXPECT_EQ(Container->ActiveForm(), F[2]);
  EXPECT_TRUE(Container->GoBack(false));
  EXPECT_EQ(Container->ActiveForm(), F[1]);
  EXPECT_EQ(Container->HistoryIndex(), 2);
  Show(&TPlainForm::staticMetaObject);
  ASSERT_EQ(Container->HistoryCount(), 2) << "the entries after the current one are gone";
  EXPECT_EQ(Container->History(2)->Form, F[1]);
  for (int I = 0; I < 25; ++I) Show(&TPlainForm::staticMetaObject);
  EXPECT_EQ(Container->HistoryCount(), 20);
  EXPECT_NE(Container->History(1)->Form, F[0]) << "the oldest entries were pushed out";
  Container->SetLRUFormCapacity(5);
  EXPECT_EQ(Container->HistoryCount(), 5);
  EXPECT_EQ(Container->History(5)->Form, Container->Forms(Container->FormCount() - 1));
}

TEST_F(FormContainer, DestroyedFormsLeaveTheHistoryUnlessTheyAreSavedAndComeBackWithTheirState) {
  Show(&TPlainForm::staticMetaObject, true);
  Show(&TPlainForm::staticMetaObject, true);
  EXPECT_EQ(Container->HistoryCount(), 0);
  EXPECT_EQ(Container->FormCount(), 1);

  Container->SetSaveLRUDestroyedForms(true);
  auto* Page = static_cast<TPage*>(Show(&TPage::staticMetaObject, true));
  Page->Edit->setText(QStringLiteral("kept"));
  Show(&TPlainForm::staticMetaObject, true);
  ASSERT_EQ(Container->HistoryCount(), 2);
  EXPECT_EQ(Container->History(2)->Form, nullptr);
  ASSERT_TRUE(Container->GoBack(true));
  auto* Again = qobject_cast<TPage*>(Container->ActiveForm());
  ASSERT_TRUE(Again);
  EXPECT_EQ(Again->Edit->text(), QStringLiteral("kept"));
  EXPECT_EQ(Container->HistoryIndex(), 2);
}

TEST_F(FormContainer, ShowingTheShownFormOnlyAsksAndFocuses) {
  auto* F = static_cast<TPlainForm*>(Show(&TPlainForm::staticMetaObject));
  int Asked = 0, Shows = 0;
  Container->OnFormChange = [&](QObject*, TForm* Old, TForm* New, bool&) { Asked += Old == F && New == F; };
  F->OnShow = [&](TForm*) { ++Shows; };
  Main.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Main));
  Container->ShowForm(F, false);
  QApplication::processEvents();
  EXPECT_EQ(Asked, 1);
  EXPECT_EQ(Shows, 0);
  EXPECT_EQ(Container->HistoryCount(), 0);
  EXPECT_TRUE(F->Edit->hasFocus());
}

TEST_F(FormContainer, PlacementFillsCentresAndClipsAtZero) {
  TForm* F = Show(&TPlainForm::staticMetaObject);
  EXPECT_EQ(F->geometry(), QRect(0, 0, 300, 200)) << "a maximisable form fills the container";
  auto* G = static_cast<TPlainForm*>(Container->CreateForm(&TPlainForm::staticMetaObject));
  G->SetBorderIcons(biSystemMenu);
  Container->ShowForm(G, false, fcfaCenter);
  EXPECT_EQ(G->geometry(), QRect(90, 60, 120, 80));
  Container->resize(100, 50);
  EXPECT_EQ(G->pos(), QPoint(0, 0));
}

TEST_F(FormContainer, ACancelledOrFailingChangeLeavesEverythingAsItWas) {
  TForm* First = Show(&TPlainForm::staticMetaObject);
  TForm* Second = Container->CreateForm(&TPlainForm::staticMetaObject);
  TFlickerFreeTransition Cut;
  Container->OnFormChange = [](QObject*, TForm*, TForm*, bool& CanChange) { CanChange = false; };
  EXPECT_THROW(Container->ShowForm(Second, false, fcfaDefault, nullptr, &Cut), EAbort);
  EXPECT_EQ(Container->ActiveForm(), First);
  EXPECT_TRUE(First->isVisible());
  EXPECT_FALSE(Cut.Prepared());
  EXPECT_FALSE(TransitionActive);

  Container->OnFormChange = nullptr;
  Container->OnFormDestroy = [](QObject*, TForm*) { throw std::runtime_error("refused"); };
  EXPECT_THROW(Container->ShowForm(Second, true, fcfaDefault, nullptr, &Cut), std::runtime_error);
  EXPECT_FALSE(Container->Locked());
  EXPECT_FALSE(Cut.Prepared());
  EXPECT_FALSE(TransitionActive);
}

TEST_F(FormContainer, HostedMenusAndActionsJoinTheParentFormWhileShown) {
  Main.SetMenu(new QMenuBar);
  TForm* F = Container->CreateForm(&TPlainForm::staticMetaObject);
  auto* Bar = new QMenuBar;
  Bar->setProperty("AutoMerge", true);
  QAction* Menu = Bar->addMenu(QStringLiteral("Page"))->menuAction();
  F->SetMenu(Bar);
  auto* Act = new QAction(F);
  F->addAction(Act);
  Container->ShowForm(F, false);
  EXPECT_TRUE(Main.Menu()->actions().contains(Menu));
  EXPECT_TRUE(Main.actions().contains(Act));
  Show(&TPlainForm::staticMetaObject);
  EXPECT_FALSE(Main.Menu()->actions().contains(Menu));
  EXPECT_FALSE(Main.actions().contains(Act));
}

TEST_F(FormContainer, EmbeddedFormsAreNamedApartLoseTheirBorderAndPaintOverTheirPicture) {
  auto* A = qobject_cast<TPage*>(Container->CreateForm(&TPage::staticMetaObject));
  auto* B = qobject_cast<TPage*>(Container->CreateForm(&TPage::staticMetaObject));
  EXPECT_EQ(A->objectName(), QStringLiteral("Page"));
  EXPECT_EQ(B->objectName(), QStringLiteral("Page_1"));
  EXPECT_EQ(B->BorderStyle(), bsNone);
  EXPECT_EQ(B->size(), QSize(150, 90));
  EXPECT_EQ(B->FormContainer(), Container);
  TBitmap Tile(4, 4, pf32bit);
  Tile.Canvas().Brush().Color = clBlue;
  Tile.Canvas().FillRect(Rect(0, 0, 4, 4));
  TPicture Picture;
  Picture.SetBitmap(&Tile);
  B->BackgroundOptions()->SetPicture(Picture);
  B->OnPaint = [](TForm*, QPainter& P) { P.fillRect(QRect(0, 60, 20, 20), Qt::red); };
  Container->ShowForm(B, false);
  ASSERT_TRUE(test::SettleScreen(&Main));
  EXPECT_EQ(B->pos(), QPoint(75, 55)) << "centred, as an embedded form asks by default";
  const QImage S = test::ScreenOf(B);
  EXPECT_EQ(S.pixel(100, 5), qRgb(0, 0, 255));
  EXPECT_EQ(S.pixel(5, 65), qRgb(255, 0, 0));
}

// A page of one colour with a caption, so that frames show which page is where.
class TColourPage : public TForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TColourPage(QObject* Owner) : TForm(Owner) {
    SetBorderStyle(bsNone);
    static const TColor Colours[] = {RGB(200, 60, 50), RGB(40, 150, 80), RGB(50, 90, 200), RGB(230, 190, 40)};
    static int Made = 0;
    SetColor(Colours[Made++ % 4]);
    auto* Label = new QLineEdit(QStringLiteral("Page %1").arg(Made), this);
    Label->setGeometry(20, 20, 160, 24);
  }
};

TEST_F(FormContainer, ATwoPassChangeShowsTheEmptyContainerBetweenTheForms) {
  Container->SetColor(clYellow);
  Show(&TColourPage::staticMetaObject);
  TForm* Next = Container->CreateForm(&TColourPage::staticMetaObject);
  test::THookEffect Effect(4);
  Effect.SetPassSetting(teTwoPasses);
  Effect.SetMilliseconds(0);
  int Changes = 0;
  Container->OnFormChange = [&](QObject*, TForm*, TForm*, bool&) { ++Changes; };
  QRgb Between = 0;
  int Calls = 0;
  // The first frame of the second pass has drawn a quarter of the rows over the intermediate look.
  Effect.OnFrame = [&](int) {
    if (++Calls == 4) Between = test::ScreenOf(Container).pixel(150, 180);
  };
  Container->ShowForm(Next, false, fcfaDefault, nullptr, &Effect);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Between, qRgb(255, 255, 0)) << "the passes meet on the empty container";
  EXPECT_EQ(Effect.FramesDrawn, 6);
  EXPECT_EQ(Container->ActiveForm(), Next);
  EXPECT_TRUE(test::SettleScreen(&Main));
}

TEST(FormContainerParent, DestroyingTheParentFormClosesItsContainersBeforeItsOwnOnDestroy) {
  auto* Main = new TForm;
  QStringList Seen;
  Main->OnDestroy = [&](TForm*) { Seen << QStringLiteral("parent's OnDestroy"); };
  auto* Container = new TFormContainer(Main);
  Container->SetFlickerFree(false);
  Container->ShowForm(Container->CreateForm(&TPlainForm::staticMetaObject), false);
  Container->OnFormChange = [&](QObject*, TForm* Old, TForm* New, bool&) {
    if (Old && !New) Seen << QStringLiteral("page closed");
  };
  delete Main;
  EXPECT_EQ(Seen, QStringList({QStringLiteral("page closed"), QStringLiteral("parent's OnDestroy")}));
}

// Three pages through a wipe, a slide and a blend, then back through the history with a wipe:
// the frames at a quarter, half and three quarters of each run differ from both pages, and each
// run ends on its page. Saved as PNG when VTE_SHOT_DIR names a folder.
TEST_F(FormContainer, PagesChangeThroughTransitionsAndBackThroughTheHistory) {
  Main.setGeometry(50, 50, 720, 513);
  Container->setGeometry(10, 10, 700, 493);
  Container->SetColor(RGB(250, 250, 240));
  TWipeTransition Wipe;
  TSlideTransition Slide;
  TBlendTransition Blend;
  const char* Dir = std::getenv("VTE_SHOT_DIR");
  int Run = 0;
  auto Through = [&](TTimedTransitionEffect& Effect, const std::function<void()>& Change) {
    ++Run;
    Effect.SetMilliseconds(400);
    Effect.AbortCheckInterval = 0;  // asked every frame, so the grabs come on time
    const QImage Before = test::ScreenOf(Container);
    std::vector<QImage> Frames;
    QElapsedTimer Clock;
    Effect.OnStartTransition = [&](TTransitionEffect*) { Clock.start(); };
    Effect.OnAbortQuery = [&](QObject*, TTransitionEffect*, bool&) {
      if (Frames.size() < 3 && Clock.isValid() && Clock.elapsed() >= 100 * static_cast<qint64>(Frames.size() + 1))
        Frames.push_back(test::ScreenOf(Container));
    };
    Change();
    ASSERT_TRUE(test::SettleScreen(&Main));
    const QImage After = test::ScreenOf(Container);
    ASSERT_EQ(Frames.size(), 3u) << "run " << Run;
    for (std::size_t I = 0; I < Frames.size(); ++I) {
      EXPECT_NE(Frames[I], Before) << "run " << Run << " frame " << I;
      EXPECT_NE(Frames[I], After) << "run " << Run << " frame " << I;
      if (Dir)
        Frames[I].save(QStringLiteral("%1/container-%2-%3-%4.png").arg(QString::fromLocal8Bit(Dir)).arg(Run)
                           .arg(QGuiApplication::platformName()).arg(25 * (I + 1)));
    }
  };
  Container->ShowForm(Container->CreateForm(&TColourPage::staticMetaObject), false);
  ASSERT_TRUE(test::SettleScreen(&Main));
  Through(Wipe, [&] { Container->ShowForm(Container->CreateForm(&TColourPage::staticMetaObject), false, fcfaDefault, nullptr, &Wipe); });
  Slide.SetDirection(tedLeft);
  Through(Slide, [&] { Container->ShowForm(Container->CreateForm(&TColourPage::staticMetaObject), false, fcfaDefault, nullptr, &Slide); });
  Through(Blend, [&] { Container->ShowForm(Container->CreateForm(&TColourPage::staticMetaObject), false, fcfaDefault, nullptr, &Blend); });
  Wipe.SetDirection(tedLeft);
  Through(Wipe, [&] { EXPECT_TRUE(Container->GoBack(false, &Wipe)); });
  EXPECT_EQ(Container->HistoryIndex(), 3);
}

}  // namespace
}  // namespace vte

#include "form_container_test.moc"
