#pragma once
// The look the text pages share: the background of the page area around them seen through the glass
// the navigator gives the page, a title, and paragraphs of rich text in an ink that reads on that
// background (pages/page_ink.h), kept inside the page's padding.
#include <QString>

class QLabel;
class QPushButton;

namespace vte {
class TFCEmbeddedForm;
}

namespace vte::demo {

// The page area's size and the padding every text page keeps.
inline constexpr int TextPageWidth = 501, TextPageHeight = 493, TextPagePadding = 24;

// Name, caption, size and background: everything taken from the container around, until the
// navigator gives the page a glass of its own; the ink is fitted to it when the page is shown.
void SetUpTextPage(TFCEmbeddedForm* Page, const char* Name, const QString& Caption);
// The title along the top of the page, named LabelTitle.
QLabel* AddPageTitle(TFCEmbeddedForm* Page, const QString& Title);
// Paragraphs (rich text) below the title, from Top down to Bottom, named LabelText.
QLabel* AddPageText(TFCEmbeddedForm* Page, const QString& Html, int Top = 64,
                    int Bottom = TextPageHeight - TextPagePadding);
// A button at the bottom right of the page that opens the page about the library shipped beside
// the program (site/index.html); a missing file raises the file error naming it.
QPushButton* AddSiteButton(TFCEmbeddedForm* Page, const QString& Caption, const char* Name);
// Opens the local page about the library in the user's browser.
void OpenLocalSite();

}  // namespace vte::demo
