#include "pages/text_page.h"

#include <QDesktopServices>
#include <QFont>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <stdexcept>

#include "container/embedded_form.h"
#include "editors/editor_helpers.h"
#include "pages/page_ink.h"
#include "demo_font.h"
#include "program_files.h"

namespace vte::demo {

void SetUpTextPage(TFCEmbeddedForm* Page, const char* Name, const QString& Caption) {
  Page->setObjectName(QLatin1String(Name));
  Page->SetCaption(Caption);
  Page->SetClientWidth(TextPageWidth);
  Page->SetClientHeight(TextPageHeight);
  InheritBackground(Page->BackgroundOptions());
  Page->OnShow = [Page](TForm*) { FitInkToBackground(Page); };
}

QLabel* AddPageTitle(TFCEmbeddedForm* Page, const QString& Title) {
  auto* Label = new QLabel(Title, Page);
  Label->setObjectName(QStringLiteral("LabelTitle"));
  Label->setFont(DemoFont(24, true));
  SetInk(Label, 1);
  Label->setGeometry(TextPagePadding, 18, TextPageWidth - 2 * TextPagePadding, 34);
  return Label;
}

QLabel* AddPageText(TFCEmbeddedForm* Page, const QString& Html, int Top, int Bottom) {
  auto* Label = new QLabel(Page);
  Label->setObjectName(QStringLiteral("LabelText"));
  Label->setFont(DemoFont(13, false));
  SetInk(Label, 1);
  Label->setTextFormat(Qt::RichText);
  Label->setWordWrap(true);
  Label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label->setText(QStringLiteral("<div style='line-height:125%'>%1</div>").arg(Html));
  Label->setGeometry(TextPagePadding, Top, TextPageWidth - 2 * TextPagePadding, Bottom - Top);
  return Label;
}

QPushButton* AddSiteButton(TFCEmbeddedForm* Page, const QString& Caption, const char* Name) {
  auto* Button = new QPushButton(Caption, Page);
  Button->setObjectName(QLatin1String(Name));
  const int Width = 180, Height = 28;
  Button->setGeometry(TextPageWidth - TextPagePadding - Width, TextPageHeight - TextPagePadding - Height, Width,
                      Height);
  QObject::connect(Button, &QPushButton::clicked, Page, [] { OpenLocalSite(); });
  return Button;
}

void OpenLocalSite() {
  const QString File = ProgramFile(QStringLiteral("site/index.html"));
  if (!QFileInfo(File).isFile())
    throw std::runtime_error(QStringLiteral("Cannot open file '%1': No such file").arg(File).toStdString());
  QDesktopServices::openUrl(QUrl::fromLocalFile(File));
}

}  // namespace vte::demo
