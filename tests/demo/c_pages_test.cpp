// The wizard's pages: each plays its sequence over EffectsPanel1 and ends with the panel shown,
// their stored transitions carry every listed value, the bitmap page shows the masks it runs, and
// a missing picture or mask stops a page's creation naming the file.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaEnum>
#include <QTemporaryDir>
#include <cstring>
#include <map>

#include "c_page_host.h"
#include "container/effects_panel.h"
#include "container/image.h"
#include "effects/bitmap_mask.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "pages/template_form.h"
#include "program_files.h"

namespace vte::demo::test {
namespace {

const char* const WizardPages[] = {"TFormStart",  "TFormScroll",    "TFormEmbedded", "TFormRender",
                                   "TFormBlend",  "TFormMasked",    "TFormBlocks",   "TFormInterlaced",
                                   "TFormBitmap", "TFormWaterfall", "TFormRoll",     "TFormSmooth"};

using Pages = PageHost;

TTemplateForm* ShowPage(TFormContainer* Container, const char* Name) {
  TForm* Form = Container->CreateForm(PageClass(QLatin1String(Name)));
  Container->ShowForm(Form, true);
  return qobject_cast<TTemplateForm*>(Form);
}

TEST_F(Pages, EachPlaysItsSequenceOverThePanelAndEndsWithThePanelShown) {
  // Each run: the transition's name (with the setting the page changes before it) and whether
  // the panel is shown after it.
  const std::map<QString, QStringList> Expected{
      {"TFormStart", {}},
      {"TFormScroll", {}},
      {"TFormRender", {}},
      {"TFormBlend", {}},
      {"TFormRoll", {"Transition2 hidden", "Transition3 shown"}},
      {"TFormWaterfall", {"Transition1 tedUp shown", "Transition1 tedLeft hidden", "Transition1 tedRight shown"}},
      {"TFormSmooth",
       {"TransitionCircle2 shown", "TransitionDiagonal1 hidden", "TransitionDiagonal2 shown",
        "TransitionDiagonal3 hidden", "TransitionDiagonal4 shown", "TransitionInterlaced1 hidden",
        "TransitionInterlaced2 shown", "TransitionInterlaced3 hidden", "TransitionRadial1 shown",
        "TransitionRadial2 hidden", "TransitionRadial3 shown"}},
      {"TFormEmbedded", {"Transition2 shown", "Transition3 shown"}},
      {"TFormBitmap", {"TransitionWiper 0 shown", "TransitionTwirl 4 hidden", "TransitionWiper 4 shown"}},
      {"TFormInterlaced", {"Transition2 hidden", "Transition3 shown"}},
      {"TFormBlocks", {"Transition2 hidden", "Transition3 shown"}},
      {"TFormMasked",
       {"TransitionBlocks shown", "TransitionCircle hidden", "TransitionRadial shown", "TransitionPush hidden",
        "TransitionSlide shown"}}};
  for (const char* Name : WizardPages) {
    SCOPED_TRACE(Name);
    TTemplateForm* Page = ShowPage(Container, Name);
    ASSERT_NE(Page, nullptr);
    EXPECT_EQ(Page->PageTransition(), Page->TransitionList->Transitions(0));
    QStringList Runs;
    for (int I = 0; I < Page->TransitionList->Count(); ++I) {
      Page->TransitionList->Transitions(I)->OnAfterTransition = [&Runs, Page](TTransitionEffect* T) {
        QString Run = T->objectName();
        if (Page->inherits("vte::demo::TFormWaterfall"))
          Run += QLatin1Char(' ') +
                 QString::fromLatin1(QMetaEnum::fromType<TTEEffectDirection>().valueToKey(T->Direction()));
        if (Page->inherits("vte::demo::TFormBitmap"))
          Run += QStringLiteral(" %1").arg(T->property("SmoothingLevel").toInt());
        Runs << Run + (Page->EffectsPanel1->isVisible() ? QStringLiteral(" shown") : QStringLiteral(" hidden"));
      };
    }
    QList<TImage*> Images = Page->EffectsPanel1->findChildren<TImage*>();
    for (TImage* Image : Images) EXPECT_FALSE(Image->isVisible());
    Page->PlayDemo();
    EXPECT_EQ(Runs, Expected.at(QLatin1String(Name)));
    EXPECT_TRUE(Page->EffectsPanel1->isVisible());
    for (TImage* Image : Images) EXPECT_TRUE(Image->isVisible()) << Image->objectName().toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    for (int I = 0; I < Page->TransitionList->Count(); ++I)
      Page->TransitionList->Transitions(I)->OnAfterTransition = nullptr;
  }
}

TEST_F(Pages, StoredTransitionsCarryEveryListedValue) {
  for (const char* Name : WizardPages) {
    SCOPED_TRACE(Name);
    QFile File(QStringLiteral(":/demo/wizard_%1.json").arg(QString::fromLatin1(Name).mid(5).toLower()));
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    const QJsonArray Items =
        QJsonDocument::fromJson(File.readAll()).object().value(QStringLiteral("Transitions")).toArray();
    TTemplateForm* Page = ShowPage(Container, Name);
    ASSERT_EQ(Page->TransitionList->Count(), Items.size());
    for (int I = 0; I < Items.size(); ++I) {
      const QJsonObject Item = Items.at(I).toObject();
      TTransitionEffect* T = Page->TransitionList->Transitions(I);
      EXPECT_EQ(T->objectName(), Item.value(QStringLiteral("Name")).toString());
      for (auto It = Item.begin(); It != Item.end(); ++It) {
        if (It.key() == QLatin1String("Class") || It.key() == QLatin1String("Name")) continue;
        const QMetaProperty P = T->metaObject()->property(T->metaObject()->indexOfProperty(It.key().toLatin1()));
        const QVariant Value = P.read(T);
        const QString Got =
            P.isEnumType() ? QString::fromLatin1(P.enumerator().valueToKey(Value.toInt())) : Value.toString();
        const QString Stored = It.value().isString() ? It.value().toString() : It.value().toVariant().toString();
        EXPECT_EQ(Got, Stored) << T->objectName().toStdString() << "." << It.key().toStdString();
      }
    }
  }
}

TEST_F(Pages, BitmapPageRunsAndShowsTheTwoMasks) {
  TTemplateForm* Page = ShowPage(Container, "TFormBitmap");
  const std::pair<const char*, const char*> Masks[] = {{"EffectsPanelBmp1", "twirl.bmp"},
                                                       {"EffectsPanelBmp2", "wiper.bmp"}};
  for (int I = 0; I < 2; ++I) {
    const TBitmap File = TBmpMaskTransition::LoadMaskFromFile(ProgramFile(QLatin1String(Masks[I].second)));
    const TBitmap& Mask = qobject_cast<TBmpMaskTransition*>(Page->TransitionList->Transitions(I))->Mask();
    ASSERT_FALSE(Mask.Empty()) << Masks[I].second;
    ASSERT_EQ(Mask.PixelFormat(), pf8bit);
    ASSERT_EQ(Mask.Width(), File.Width());
    ASSERT_EQ(Mask.Height(), File.Height());
    for (int Y = 0; Y < Mask.Height(); ++Y)
      ASSERT_EQ(std::memcmp(Mask.ScanLine(Y), File.ScanLine(Y), static_cast<std::size_t>(Mask.Width())), 0) << Y;
    auto* Panel = Page->findChild<TEffectsPanel*>(QLatin1String(Masks[I].first));
    ASSERT_NE(Panel, nullptr);
    EXPECT_EQ(Panel->BackgroundOptions()->PictureMode(), fcpmStretch);
    EXPECT_EQ(Panel->BackgroundOptions()->Picture().Width(), Mask.Width());
    EXPECT_TRUE(Panel->BackgroundOptions()->PictureInUse());
  }
}

TEST_F(Pages, AMissingPictureStopsThePagesCreationNamingTheFile) {
  QTemporaryDir Folder;
  SetProgramFolder(Folder.path());
  const auto FailsNaming = [&](const char* Name, const char* File) {
    SCOPED_TRACE(Name);
    const int Before = Container->FormCount();
    try {
      Container->CreateForm(PageClass(QLatin1String(Name)));
      ADD_FAILURE() << "created without " << File;
    } catch (const std::runtime_error& E) {
      EXPECT_TRUE(QString::fromUtf8(E.what()).contains(QLatin1String(File))) << E.what();
    }
    EXPECT_EQ(Container->FormCount(), Before);
  };
  FailsNaming("TFormScroll", "VEff.jpg");
  FailsNaming("TFormRoll", "Box.jpg");
  FailsNaming("TFormNew", "Box.jpg");
  // With the backgrounds there, the masks and the pictures inside a page are missed next.
  for (const char* Picture : {"Box.jpg", "VEff.jpg"})
    ASSERT_TRUE(QFile::copy(QStringLiteral(VTE_DEMO_DATA_DIR "/") + QLatin1String(Picture),
                            Folder.filePath(QLatin1String(Picture))));
  FailsNaming("TFormBitmap", "twirl.bmp");
  FailsNaming("TFormEmbedded", "Stone.jpg");
}

}  // namespace
}  // namespace vte::demo::test
