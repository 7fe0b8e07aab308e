// The render modes carried out: a custom frame painter, one painter for the whole window,
// paint-copy painting by focus, painting through a bitmap, the framebuffer picture and the copy
// from the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

#include "gdi/bitmap.h"
#include "gdi/canvas.h"
#include "render/control_registry.h"
#include "render/control_render.h"
#include "render/refresh_markers.h"
#include "support/bitmap_support.h"

class TModesTestFramed : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;
};

class TModesTestWhole : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;
};

class TModesTestMasked : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;
};

// Paints a blue square in its corner and nothing else.
class TModesTestPaintCopy : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;

protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(0, 0, 10, 10, Qt::blue); }
};

class TModesTestViaBitmap : public QLabel {
  Q_OBJECT
public:
  using QLabel::QLabel;
};

// Shows red from its paint event; its framebuffer holds green.
class TModesTestFramebuffer : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;
  Q_INVOKABLE QImage grabFramebuffer() {
    QImage I(size(), QImage::Format_RGB32);
    I.fill(Qt::green);
    return I;
  }

protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::red); }
};

class TModesTestGrabbed : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;

protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::red); }
};

// Paints Colour; changing it without an update leaves the screen as it was.
class TModesTestScreenOnly : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;
  QColor Colour = Qt::red;

protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Colour); }
};

namespace vte {
namespace {

void PaintGreenFrame(QWidget* Control, TCanvas& Target) {
  Target.Brush().Color = RGB(0, 255, 0);
  Target.FillRect(Rect(0, 0, Control->frameGeometry().width(), Control->frameGeometry().height()));
}

void PaintWholeYellow(QWidget* Control, TCanvas& Target) {
  Target.Brush().Color = RGB(255, 255, 0);
  Target.FillRect(Rect(0, 0, Control->width(), Control->height()));
}

void ShowAndSettle(QWidget& W) {
  W.show();
  W.activateWindow();
  QApplication::setActiveWindow(&W);
  QApplication::processEvents();
}

// A non-client painter registered with another client mode keeps its painter and paints the
// frame of a top-level window with it; the client is printed.
TEST(RenderModes, CustomNonClientPainterPaintsTheFrame) {
  RegisterControlClass(QStringLiteral("TModesTestFramed"), ncrmCustom, crmPrint, nullptr, PaintGreenFrame);
  TTERegControl Entry;
  TModesTestFramed Window;
  ASSERT_TRUE(RegControls().Find(Window.metaObject(), Entry));
  EXPECT_EQ(Entry.NonClientProc, &PaintGreenFrame);
  Window.resize(80, 60);
  Window.setPalette(QPalette(QColor(10, 20, 30)));
  ShowAndSettle(Window);
  const QRect Frame = Window.frameGeometry();
  const QPoint Offset = Window.geometry().topLeft() - Frame.topLeft();
  ASSERT_GT(Offset.x(), 0);
  const std::unique_ptr<TBitmap> B =
      RenderControlToBitmap(&Window, Rect(0, 0, Frame.width(), Frame.height()), false, pf32bit, true);
  EXPECT_EQ(B->PixelColor(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(B->PixelColor(Frame.width() - 1, Frame.height() - 1), RGB(0, 255, 0));
  EXPECT_EQ(B->PixelColor(Offset.x(), Offset.y()), RGB(10, 20, 30));  // the painter left the client alone
  EXPECT_EQ(B->PixelColor(Frame.width() / 2, Frame.height() / 2), RGB(10, 20, 30));
}

TEST(RenderModes, OnePainterForBothAreasPaintsTheWholeWindow) {
  RegisterControlClass(QStringLiteral("TModesTestWhole"), ncrmCustom, crmCustom, PaintWholeYellow, PaintWholeYellow);
  QWidget Root;
  Root.resize(60, 60);
  Root.setPalette(QPalette(QColor(0, 0, 0)));
  auto* Whole = new TModesTestWhole(&Root);
  Whole->setGeometry(10, 10, 30, 20);
  const std::unique_ptr<TBitmap> B = RenderControlToBitmap(&Root, Rect(0, 0, 60, 60), true, pf32bit, true);
  EXPECT_EQ(B->PixelColor(10, 10), RGB(255, 255, 0));
  EXPECT_EQ(B->PixelColor(39, 29), RGB(255, 255, 0));
  EXPECT_EQ(B->PixelColor(40, 29), RGB(0, 0, 0));
}

// The mask limits every mode, also painters that know nothing of it; a capture that does not use
// the window region of the widget it starts at paints all of it.
TEST(RenderModes, MaskLimitsCustomPainters) {
  RegisterControlClass(QStringLiteral("TModesTestMasked"), ncrmNone, crmCustom, PaintWholeYellow, nullptr);
  QWidget Root;
  Root.resize(60, 60);
  Root.setPalette(QPalette(QColor(0, 0, 0)));
  auto* Masked = new TModesTestMasked(&Root);
  Masked->setGeometry(10, 10, 40, 40);
  Masked->setMask(QRegion(0, 0, 20, 40));
  const std::unique_ptr<TBitmap> B = RenderControlToBitmap(&Root, Rect(0, 0, 60, 60), true, pf32bit, true);
  EXPECT_EQ(B->PixelColor(29, 30), RGB(255, 255, 0));
  EXPECT_EQ(B->PixelColor(30, 30), RGB(0, 0, 0));
  const std::unique_ptr<TBitmap> Alone = RenderControlToBitmap(Masked, Rect(0, 0, 40, 40), true, pf32bit, true);
  EXPECT_EQ(Alone->PixelColor(30, 30), clWhite);
  const std::unique_ptr<TBitmap> Whole = RenderControlToBitmap(Masked, Rect(0, 0, 40, 40), true, pf32bit, false);
  EXPECT_EQ(Whole->PixelColor(30, 30), RGB(255, 255, 0));
}

// Unfocused, a paint-copy widget is painted by its paint event alone (no window background);
// focused, it is printed normally, and it repaints both areas after the transition.
TEST(RenderModes, PaintCopyUnlessFocused) {
  RegisterControlClass(QStringLiteral("TModesTestPaintCopy"), ncrmPrint | rmoPaintCopy, crmPrint | rmoPaintCopy);
  QWidget Window;
  Window.resize(100, 60);
  auto* Widget = new TModesTestPaintCopy(&Window);
  Widget->setGeometry(10, 10, 40, 40);
  Widget->setFocusPolicy(Qt::StrongFocus);
  Widget->setPalette(QPalette(QColor(90, 90, 90)));
  ShowAndSettle(Window);
  Window.setFocus();

  std::unique_ptr<TBitmap> B = RenderControlToBitmap(Widget, Rect(0, 0, 40, 40), true, pf32bit, true);
  EXPECT_EQ(B->PixelColor(5, 5), RGB(0, 0, 255));
  EXPECT_EQ(B->PixelColor(20, 20), clWhite);
  EXPECT_EQ(RefreshMarkers().Peek(Widget), rmkNoRepaint);

  Widget->setFocus();
  ASSERT_TRUE(Widget->hasFocus());
  B = RenderControlToBitmap(Widget, Rect(0, 0, 40, 40), true, pf32bit, true);
  EXPECT_EQ(B->PixelColor(5, 5), RGB(0, 0, 255));
  EXPECT_EQ(B->PixelColor(20, 20), RGB(90, 90, 90));
  EXPECT_EQ(RefreshMarkers().Peek(Widget), rmkRepaintBoth);
  RefreshMarkedWindows(&Window);
}

// Through an intermediate bitmap that starts as what lies below: a transparent label over a
// gradient comes out as on the screen.
TEST(RenderModes, ViaBitmapKeepsWhatShowsThrough) {
  RegisterControlClass(QStringLiteral("TModesTestViaBitmap"), ncrmPrint, crmPrint | rmoViaBitmap);
  class TGradient : public QWidget {
  public:
    using QWidget::QWidget;
    void paintEvent(QPaintEvent*) override {
      QPainter P(this);
      QLinearGradient G(0, 0, width(), 0);
      G.setColorAt(0, Qt::darkBlue);
      G.setColorAt(1, Qt::yellow);
      P.fillRect(rect(), G);
    }
  } Root;
  Root.resize(160, 50);
  (new TModesTestViaBitmap(QStringLiteral("Through a bitmap"), &Root))->setGeometry(10, 10, 140, 30);
  const std::unique_ptr<TBitmap> B = RenderControlToBitmap(&Root, Rect(0, 0, 160, 50), true, pf32bit, true);
  TBitmap Grab = TBitmap::FromQImage(Root.grab().toImage().convertToFormat(QImage::Format_RGB32));
  Grab.SetPixelFormat(pf32bit);
  EXPECT_EQ(test::DescribeDifference(*B, Grab), "");
}

TEST(RenderModes, FramebufferWidgetsShowTheirOwnPicture) {
  RegisterControlClass(QStringLiteral("TModesTestFramebuffer"), ncrmNone, crmOleDraw);
  RegisterControlClass(QStringLiteral("TModesTestGrabbed"), ncrmNone, crmOleDraw);
  QWidget Root;
  Root.resize(100, 40);
  (new TModesTestFramebuffer(&Root))->setGeometry(0, 0, 40, 40);
  (new TModesTestGrabbed(&Root))->setGeometry(50, 0, 40, 40);
  const std::unique_ptr<TBitmap> B = RenderControlToBitmap(&Root, Rect(0, 0, 100, 40), true, pf32bit, true);
  EXPECT_EQ(B->PixelColor(20, 20), RGB(0, 255, 0));
  EXPECT_EQ(B->PixelColor(70, 20), RGB(255, 0, 0));
}

// A widget of the screen-copy mode shows what the screen shows, not what it would paint now;
// off the screen it is painted.
TEST(RenderModes, ScreenCopyModeTakesTheScreensPixels) {
  RegisterControlClass(QStringLiteral("TModesTestScreenOnly"), ncrmNone, crmHookedPaint);
  QWidget Window;
  Window.resize(100, 60);
  Window.move(100, 100);
  auto* Native = new TModesTestScreenOnly(&Window);
  Native->setGeometry(20, 10, 50, 40);
  ShowAndSettle(Window);
  Native->Colour = Qt::blue;  // not repainted: the screen still shows red
  const std::unique_ptr<TBitmap> B = RenderControlToBitmap(&Window, Rect(0, 0, 100, 60), true, pf32bit, true);
  EXPECT_EQ(B->PixelColor(20, 10), RGB(255, 0, 0));
  EXPECT_EQ(B->PixelColor(69, 49), RGB(255, 0, 0));

  QWidget Hidden;
  Hidden.resize(60, 60);
  auto* OffScreen = new TModesTestScreenOnly(&Hidden);
  OffScreen->setGeometry(0, 0, 30, 30);
  OffScreen->Colour = Qt::blue;
  const std::unique_ptr<TBitmap> H = RenderControlToBitmap(&Hidden, Rect(0, 0, 60, 60), true, pf32bit, true);
  EXPECT_EQ(H->PixelColor(10, 10), RGB(0, 0, 255));
}

}  // namespace
}  // namespace vte

#include "render_modes_test.moc"
