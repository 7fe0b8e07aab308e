// The scripted tour: its runner walks the wizard taking a picture at the middle and at the end of
// every transition run, fails with the step's name on any error the program shows (a warning, an
// exception at the event boundary, a message box) without hanging, and the program's own tour
// runs its first steps without an error.
#include "tour.h"

#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdlib>
#include <stdexcept>

#include "c_page_host.h"
#include "pages/form_new.h"
#include "tour_runner.h"
#include "tour_script.h"

namespace vte::demo::test {
namespace {

class Tour : public PageHost {
 protected:
  void SetUp() override {
    PageHost::SetUp();
    // The runs are real here: their middles are what the pictures are for.
    SetReducedMotion(false);
  }
  QStringList Named(const QStringList& Files, const QString& Part) const {
    QStringList Found;
    for (const QString& File : Files)
      if (QFileInfo(File).fileName().contains(Part)) Found << QFileInfo(File).fileName();
    return Found;
  }
};

TEST_F(Tour, WalksTheWizardWithAPictureOfTheMiddleAndTheEndOfEachRun) {
  // VTE_TOUR_SHOTS names a folder to keep the pictures of a walk through all twelve pages.
  const QString Keep = QString::fromLocal8Bit(qgetenv("VTE_TOUR_SHOTS"));
  QTemporaryDir Temporary;
  const QString Folder = Keep.isEmpty() ? Temporary.path() : Keep;
  Show("TTemplateForm");
  TTourRunner Runner(Folder);
  Runner.SetWindow(&Window);
  QPointer<TFormNew> New;
  Runner.Add({QStringLiteral("open"), [&] {
                New = qobject_cast<TFormNew*>(Container->CreateForm(PageClass(QStringLiteral("TFormNew"))));
                Container->ShowForm(New, false, fcfaDefault, nullptr, New->Transition1);
                return false;
              }});
  TTourRunner::TStep Next = WizardStep(Runner, [&] { return New.data(); });
  // One page, unless the pictures of all are kept.
  if (Keep.isEmpty())
    Next.Action = [Press = Next.Action] {
      Press();
      return false;
    };
  Runner.Add(Next);
  Runner.Add({QStringLiteral("finish"), [&] {
                ClickWidget(New->BitBtnFinish);
                return false;
              }});
  ASSERT_EQ(Runner.Run(), 0) << Runner.Failures().join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(New.isNull());

  const QStringList Shots = Runner.Shots();
  const QStringList Expected{"001-open-Transition1-mid.png", "002-open-Transition1-end.png",
                             "003-wizard-02-TFormScroll-Transition1-mid.png",
                             "004-wizard-02-TFormScroll-Transition1-end.png"};
  ASSERT_GE(Shots.size(), 6);
  for (int I = 0; I < Expected.size(); ++I) EXPECT_EQ(QFileInfo(Shots[I]).fileName(), Expected[I]);
  EXPECT_EQ(Named(Shots, QStringLiteral("finish-Transition1")).size(), 2);
  // The middle of the drip that brought the second page is neither its start nor its end.
  const QImage Before(Shots[1]), Middle(Shots[2]), End(Shots[3]);
  ASSERT_EQ(Middle.size(), QSize(700, 493));
  EXPECT_NE(Middle, Before);
  EXPECT_NE(Middle, End);
  EXPECT_NE(Before, End);
}

TEST_F(Tour, FailsNamingTheStepOnAWarningAnExceptionOrAMessageBox) {
  QTemporaryDir Folder;
  QPushButton Throwing(QStringLiteral("Throw"), &Window);
  Throwing.setGeometry(10, 10, 80, 24);
  Throwing.show();
  QObject::connect(&Throwing, &QPushButton::clicked, [] { throw std::runtime_error("the click went wrong"); });

  const std::pair<QString, std::function<void()>> Faults[] = {
      {QStringLiteral("Qt warning: the page lost its picture"), [] { qWarning("the page lost its picture"); }},
      {QStringLiteral("the click went wrong"), [&] { ClickWidget(&Throwing); }},
      {QStringLiteral("a message appeared: \"Cannot open the file\""),
       [] { QMessageBox::warning(nullptr, QStringLiteral("Demo"), QStringLiteral("Cannot open the file")); }}};
  for (const auto& [Message, Fault] : Faults) {
    SCOPED_TRACE(Message.toStdString());
    TTourRunner Runner(Folder.path());
    bool After = false;
    Runner.Add({QStringLiteral("quiet"), [] { return false; }});
    Runner.Add({QStringLiteral("faulty step"), [&Fault = Fault] {
                  Fault();
                  return false;
                }});
    Runner.Add({QStringLiteral("after"), [&] {
                  After = true;
                  return false;
                }});
    EXPECT_EQ(Runner.Run(), 1);
    ASSERT_EQ(Runner.Failures().size(), 1) << Runner.Failures().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(Runner.Failures()[0], QStringLiteral("tour step 2 'faulty step' failed: ") + Message);
    EXPECT_FALSE(After) << "the walk stops after the failing step";
  }
}

TEST_F(Tour, TheProgramsTourRunsItsFirstStepsWithoutAnError) {
  if (!PageClass(QStringLiteral("TMainForm"))) GTEST_SKIP() << "TMainForm, the main form, is not in this program yet";
  QTemporaryDir Folder;
  SetReducedMotion(true);
  EXPECT_EQ(RunTour(TTourOptions{Folder.path(), 4}), 0);
  EXPECT_FALSE(QDir(Folder.path()).entryList({QStringLiteral("*.png")}).isEmpty());
}

}  // namespace
}  // namespace vte::demo::test
