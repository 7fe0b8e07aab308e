// The text pages: each registered, inside the page area with none of its text cut off, and the
// prices and contact buttons opening the page shipped beside the program.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <tuple>

#include "b_page_host.h"
#include "container/embedded_form.h"
#include "gdi/canvas.h"
#include "pages/text_page.h"

namespace vte::demo::test {
namespace {

const char* const TextPages[] = {"TFormIntro",          "TFormComponents",       "TFormContainerIntro",
                                 "TFormTransitionEffects", "TFormBkOptions",     "TFormCustomTransitions",
                                 "TFormPrices",         "TFormContact",          "TFormLRU"};

TEST(TextPages, EveryPageKeepsItsTextInsideThePageArea) {
  UseGeneratedData();
  TPageHost Host;
  for (const char* Name : TextPages) {
    SCOPED_TRACE(Name);
    TForm* Page = Host.Open(Name);
    ASSERT_NE(Page, nullptr);
    EXPECT_EQ(Page->size(), QSize(501, 493));
    EXPECT_FALSE(Page->Caption().isEmpty());
    const QRect Inner = Page->rect().adjusted(8, 8, -8, -8);
    for (QWidget* Child : Page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (Child->isWindow()) continue;
      EXPECT_TRUE(Inner.contains(Child->geometry())) << Child->objectName().toStdString();
      auto* Label = qobject_cast<QLabel*>(Child);
      if (!Label) continue;
      // All of the text fits: wrapped text needs no more height than the label has, a single line
      // no more width.
      if (Label->wordWrap())
        EXPECT_LE(Label->heightForWidth(Label->width()), Label->height()) << Label->objectName().toStdString();
      else
        EXPECT_LE(Label->sizeHint().width(), Label->width()) << Label->objectName().toStdString();
    }
  }
}

// The ink follows the background the page is shown on: white on a dark picture without glass, dark
// under a light glass over the same picture.
TEST(TextPages, InkReadsOnTheBackgroundThePageIsShownOn) {
  UseGeneratedData();
  TPageHost Host;
  TBitmap Dark(64, 64, pf32bit);
  Dark.Canvas().Brush().Color = RGB(10, 20, 60);
  Dark.Canvas().FillRect(Rect(0, 0, 64, 64));
  Host.Container->BackgroundOptions()->Picture().SetBitmap(&Dark);
  for (const auto& [Glass, Translucency, LightInk] : {std::tuple{clWhite, 255, true}, std::tuple{clWhite, 40, false}}) {
    auto* Page = static_cast<TFCEmbeddedForm*>(Host.Container->CreateForm(PageClass(QStringLiteral("TFormIntro"))));
    Page->BackgroundOptions()->SetGlassColor(Glass);
    Page->BackgroundOptions()->SetGlassTranslucency(Translucency);
    Host.Container->ShowForm(Page, true);
    for (const char* Name : {"LabelTitle", "LabelText"}) {
      const QColor Ink = Page->findChild<QLabel*>(QLatin1String(Name))->palette().color(QPalette::WindowText);
      EXPECT_EQ(Ink.lightness() > 128, LightInk) << Name << " with glass translucency " << Translucency;
    }
  }
}

class TUrlCatcher : public QObject {
  Q_OBJECT
public:
  QList<QUrl> Opened;
public slots:
  void Open(const QUrl& Url) { Opened << Url; }
};

TEST(TextPages, PricesAndContactOpenTheLocalPage) {
  UseGeneratedData();
  TPageHost Host;
  TUrlCatcher Catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &Catcher, "Open");
  for (const char* Name : {"TFormPrices", "TFormContact"}) {
    TForm* Page = Host.Open(Name);
    Click(Page->findChild<QPushButton*>(QStringLiteral("BitBtnSite")));
  }
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  ASSERT_EQ(Catcher.Opened.size(), 2);
  for (const QUrl& Url : Catcher.Opened) {
    EXPECT_TRUE(Url.isLocalFile());
    EXPECT_TRUE(QFileInfo(Url.toLocalFile()).isFile()) << Url.toString().toStdString();
    EXPECT_EQ(QFileInfo(Url.toLocalFile()).fileName(), QStringLiteral("index.html"));
  }

  // Without the page beside the program the error names the file.
  QTemporaryDir Empty;
  SetProgramFolder(Empty.path());
  try {
    OpenLocalSite();
    ADD_FAILURE() << "no error for a missing page";
  } catch (const std::runtime_error& Error) {
    EXPECT_TRUE(QString::fromStdString(Error.what()).contains(QStringLiteral("site/index.html"))) << Error.what();
  }
  SetProgramFolder(QString());
}

}  // namespace
}  // namespace vte::demo::test

#include "b_text_pages_test.moc"
