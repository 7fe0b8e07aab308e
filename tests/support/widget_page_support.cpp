#include "support/widget_page_support.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QScrollArea>
#include <QSlider>

namespace vte::test {

namespace {

// Paints its own background, so that a transparent child shows it.
class TGradientPanel : public QWidget {
public:
  using QWidget::QWidget;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter P(this);
    QLinearGradient G(0, 0, width(), height());
    G.setColorAt(0, QColor(30, 60, 200));
    G.setColorAt(1, QColor(250, 220, 40));
    P.fillRect(rect(), G);
  }
};

void SetBackground(QWidget* W, QColor Colour) {
  QPalette P = W->palette();
  P.setColor(QPalette::Window, Colour);
  W->setPalette(P);
  W->setAutoFillBackground(true);
}

}  // namespace

TWidgetPage BuildWidgetPage() {
  TWidgetPage R;
  R.Page = std::make_unique<QWidget>();
  QWidget* Page = R.Page.get();
  Page->resize(PageWidth, PageHeight);
  int Count = 1;
  auto Made = [&Count](auto* W) {
    ++Count;
    return W;
  };

  auto* Frame = Made(new QFrame(Page));
  Frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  Frame->setGeometry(10, 10, 330, 220);
  SetBackground(Frame, QColor(220, 230, 240));
  Made(new QLabel(QStringLiteral("Name:"), Frame))->setGeometry(12, 12, 60, 20);
  Made(new QLineEdit(QStringLiteral("Vantorel"), Frame))->setGeometry(80, 10, 230, 24);
  Made(new QPushButton(QStringLiteral("OK"), Frame))->setGeometry(230, 44, 80, 28);
  auto* HiddenLabel = Made(new QLabel(QStringLiteral("never shown"), Frame));
  HiddenLabel->setGeometry(12, 44, 100, 20);
  HiddenLabel->hide();
  R.Hidden.push_back(HiddenLabel);

  auto* Nested = Made(new QWidget(Frame));
  Nested->setGeometry(10, 84, 300, 120);
  SetBackground(Nested, QColor(180, 200, 160));
  Made(new QLabel(QStringLiteral("Nested label"), Nested))->setGeometry(8, 6, 120, 20);
  Made(new QCheckBox(QStringLiteral("Option"), Nested))->setGeometry(8, 30, 120, 22);
  R.Masked = Made(new QWidget(Nested));
  R.Masked->setGeometry(150, 10, 120, 90);
  SetBackground(R.Masked, QColor(210, 40, 40));
  R.Masked->setMask(QRegion(0, 0, 120, 90, QRegion::Ellipse));

  auto* Scroll = Made(new QScrollArea(Page));
  Scroll->setGeometry(350, 10, 340, 220);
  QString Text;
  for (int I = 1; I <= 30; ++I) Text += QStringLiteral("Line %1 of the scrolled text, long enough to scroll sideways\n").arg(I);
  Scroll->setWidget(Made(new QLabel(Text)));

  auto* Group = Made(new QGroupBox(QStringLiteral("Group"), Page));
  Group->setGeometry(10, 240, 330, 150);
  auto* Radio = Made(new QRadioButton(QStringLiteral("First"), Group));
  Radio->setGeometry(12, 26, 120, 22);
  Radio->setChecked(true);
  Made(new QRadioButton(QStringLiteral("Second"), Group))->setGeometry(12, 52, 120, 22);
  auto* Slider = Made(new QSlider(Qt::Horizontal, Group));
  Slider->setGeometry(12, 84, 300, 24);
  Slider->setValue(40);
  auto* HiddenButton = Made(new QPushButton(QStringLiteral("Hidden"), Group));
  HiddenButton->setGeometry(180, 26, 100, 28);
  HiddenButton->hide();
  R.Hidden.push_back(HiddenButton);

  auto* List = Made(new QListWidget(Page));
  List->setGeometry(350, 240, 160, 150);
  for (int I = 1; I <= 12; ++I) List->addItem(QStringLiteral("Item %1").arg(I));

  auto* Gradient = Made(new TGradientPanel(Page));
  Gradient->setGeometry(520, 240, 170, 150);
  Made(new QLabel(QStringLiteral("On a gradient"), Gradient))->setGeometry(10, 60, 150, 24);

  Made(new QLabel(QStringLiteral("Status: ready"), Page))->setGeometry(10, 400, 300, 20);
  Made(new QPushButton(QStringLiteral("Cancel"), Page))->setGeometry(590, 450, 100, 30);

  R.WidgetCount = Count;
  return R;
}

}  // namespace vte::test
