#pragma once
// A page of about twenty ordinary widgets (700x493), as a transition captures it: frames, labels,
// buttons, edits, a scroll area with text, a list, nested coloured panels, a panel that paints its
// own gradient under a transparent label, a masked child and hidden children.
#include <QWidget>
#include <memory>
#include <vector>

namespace vte::test {

struct TWidgetPage {
  std::unique_ptr<QWidget> Page;
  QWidget* Masked = nullptr;              // a red child with an elliptic mask
  std::vector<QWidget*> Hidden;           // children hidden on purpose
  int WidgetCount = 0;                    // widgets made, the page and the hidden ones included
};

inline constexpr int PageWidth = 700, PageHeight = 493;

TWidgetPage BuildWidgetPage();

}  // namespace vte::test
