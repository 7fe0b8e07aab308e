// Pictures to look at, not a check: with VTE_DEMO_PAGE_SHOTS=<folder> in the environment, every
// text page on four background styles, both tabs of the custom transition pages, the samples page,
// and frames half-way through a dozen of its transitions are written there as PNG files. Skipped
// otherwise.
#include <gtest/gtest.h>

#include <QDir>
#include <QTabWidget>
#include <cstdlib>

#include "b_page_host.h"
#include "engine/offscreen_runner.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "pages/custom_transition_page.h"
#include "pages/form_transition_samples.h"

namespace vte::demo::test {
namespace {

TEST(PageShots, WritesPagesToLookAt) {
  const char* Env = std::getenv("VTE_DEMO_PAGE_SHOTS");
  if (!Env) GTEST_SKIP() << "set VTE_DEMO_PAGE_SHOTS to a folder to get the pictures";
  const QString Out = QString::fromUtf8(Env);
  QDir().mkpath(Out);
  UseGeneratedData();
  const auto Save = [&](QWidget* Widget, const QString& Name) { Widget->grab().save(Out + QLatin1Char('/') + Name); };

  // The navigator's picture styles: picture, page glass colour and translucency.
  struct TStyle {
    const char* Picture;
    TColor Glass;
    int Translucency;
  };
  for (const TStyle& Style : {TStyle{"Stone.jpg", 0x0280FFFF, 191}, TStyle{"Wood.jpg", 0x020080FF, 204},
                              TStyle{"Wall.jpg", 0xFFFFFF, 128}, TStyle{"gradient.jpg", 0x0280FFFF, 255}}) {
    TPageHost Host;
    LoadProgramPicture(Host.Container->BackgroundOptions()->Picture(), QLatin1String(Style.Picture));
    for (const char* Name : {"TFormIntro", "TFormComponents", "TFormContainerIntro", "TFormTransitionEffects",
                             "TFormBkOptions", "TFormCustomTransitions", "TFormPrices", "TFormContact", "TFormLRU"}) {
      auto* Page = static_cast<TFCEmbeddedForm*>(Host.Container->CreateForm(PageClass(QLatin1String(Name))));
      Page->BackgroundOptions()->SetGlassColor(Style.Glass);
      Page->BackgroundOptions()->SetGlassTranslucency(Style.Translucency);
      Host.Container->ShowForm(Page, true);
      QCoreApplication::processEvents();
      Save(Host.Window.get(), QStringLiteral("%1_%2.png").arg(QLatin1String(Name), QLatin1String(Style.Picture)));
    }
  }

  TPageHost Host;
  LoadProgramPicture(Host.Container->BackgroundOptions()->Picture(), QStringLiteral("Stone.jpg"));
  for (const char* Name : {"TFormSimpleWipe", "TFormShake"}) {
    auto* Page = static_cast<TCustomTransitionPage*>(Host.Open(Name));
    Save(Host.Window.get(), QStringLiteral("%1_code.png").arg(QLatin1String(Name)));
    Page->PageControl->setCurrentIndex(1);
    QCoreApplication::processEvents();
    Save(Host.Window.get(), QStringLiteral("%1_execute.png").arg(QLatin1String(Name)));
  }

  // The samples: the first page, the second, and frames half-way from the one to the other.
  auto* Samples = static_cast<TFormTransitionSamples*>(Host.Open("TFormTransitionSamples"));
  Save(Host.Window.get(), QStringLiteral("samples_start.png"));
  const auto Look = [Samples] { return TBitmap::FromQImage(Samples->grab().toImage().convertToFormat(QImage::Format_RGB32)); };
  const TBitmap Old = Look();
  SetReducedMotion(true);
  Samples->BitBtnNextClick();
  ResetReducedMotion();
  QCoreApplication::processEvents();
  const TBitmap New = Look();
  Save(Host.Window.get(), QStringLiteral("samples_next.png"));
  for (int I : {1, 4, 8, 12, 20, 25, 31, 32, 35, 38, 39, 41}) {
    TTransitionEffect* Transition = Samples->TransitionList->Transitions(I);
    Transition->SetMilliseconds(0);  // every frame in turn, so that the middle one is known
    TBitmap Screen;
    int Frames = 0;
    RunOffscreen(*Transition, Old, New, Screen, [&](const TOffscreenFrame& F) { Frames += F.Final ? 0 : 1; });
    int Frame = 0;
    RunOffscreen(*Transition, Old, New, Screen, [&](const TOffscreenFrame& F) {
      if (!F.Final && ++Frame == Frames / 2)
        F.Screen.ToQImage().save(Out + QStringLiteral("/middle_%1_%2.png").arg(I).arg(Transition->objectName()));
    });
  }
}

}  // namespace
}  // namespace vte::demo::test
