// Painting widget trees into bitmaps and canvases: the picture equals Qt's own grab, the tree
// rules (stacking order, stop window, clipping to parent and mask, hidden and render windows),
// client and window coordinates of a top-level window, the capture's bitmap reference, and that
// a canvas comes back unchanged on every path.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <stdexcept>

#include "gdi/bitmap.h"
#include "gdi/canvas.h"
#include "render/control_render.h"
#include "support/bitmap_support.h"
#include "support/widget_page_support.h"

// The transition's overlay window as the engine names it: never part of a capture.
class TTERenderWindow : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;
};

namespace vte {
namespace {

// Qt's own picture of the widget, or of a part of it (styles draw some edges differently when
// only a part is painted). A never-shown item view lays out its scroll bars while it is first
// painted, after they have been painted: a first grab is taken to let that settle.
TBitmap GrabOf(QWidget* W, TPixelFormat Format, const QRect& Part = QRect(QPoint(0, 0), QSize(-1, -1))) {
  W->grab();
  TBitmap B = TBitmap::FromQImage(W->grab(Part).toImage().convertToFormat(QImage::Format_RGB32));
  B.SetPixelFormat(Format);
  return B;
}

QWidget* Panel(QWidget* Parent, const QRect& R, QColor Colour) {
  auto* W = new QWidget(Parent);
  W->setGeometry(R);
  QPalette P = W->palette();
  P.setColor(QPalette::Window, Colour);
  W->setPalette(P);
  W->setAutoFillBackground(true);
  return W;
}

int CountColour(const TBitmap& B, TColor C, const TRect& R) {
  int N = 0;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) N += B.PixelColor(X, Y) == C;
  return N;
}

const TRect PageRect = Rect(0, 0, test::PageWidth, test::PageHeight);

class PageCapture : public ::testing::TestWithParam<bool> {};

// The page with a render window over part of it: the capture shows what the page shows without
// it, in every format the way Qt's grab converted to that format does.
TEST_P(PageCapture, EqualsQtsGrabWithoutTheRenderWindow) {
  test::TWidgetPage Page = test::BuildWidgetPage();
  ASSERT_GE(Page.WidgetCount, 20);
  auto* Overlay = new TTERenderWindow(Page.Page.get());
  Overlay->setGeometry(250, 150, 300, 200);
  Overlay->setAutoFillBackground(true);
  Overlay->setPalette(QPalette(Qt::magenta));
  new QLabel(QStringLiteral("over the page"), Overlay);
  const bool Shown = GetParam();
  if (Shown) {
    Page.Page->show();
    QApplication::processEvents();
  }
  Overlay->hide();
  const TBitmap Grab32 = GrabOf(Page.Page.get(), pf32bit);
  Overlay->show();
  Overlay->raise();

  for (TPixelFormat Format : {pf32bit, pf24bit, pf16bit}) {
    SCOPED_TRACE(Format);
    const std::unique_ptr<TBitmap> Capture =
        RenderControlToBitmap(Page.Page.get(), PageRect, true, Format, true);
    ASSERT_TRUE(Capture);
    TBitmap Expected(Grab32);
    Expected.SetPixelFormat(Format);
    EXPECT_EQ(test::DescribeDifference(*Capture, Expected), "");
  }
}

INSTANTIATE_TEST_SUITE_P(ShownAndNeverShown, PageCapture, ::testing::Values(true, false));

// Part of the page in client coordinates, and the same area painted into a canvas of the caller
// at an origin of its own.
TEST(TreeCapture, PartOfThePageAndIntoACallersCanvas) {
  test::TWidgetPage Page = test::BuildWidgetPage();
  const TRect Part = Rect(100, 50, 460, 330);
  const std::unique_ptr<TBitmap> Capture = RenderControlToBitmap(Page.Page.get(), Part, true, pf32bit, true);
  EXPECT_EQ(test::DescribeDifference(*Capture, GrabOf(Page.Page.get(), pf32bit, QRect(100, 50, 360, 280))), "");

  const TBitmap Grab = GrabOf(Page.Page.get(), pf32bit);

  TBitmap Target(800, 600, pf32bit);
  Target.Canvas().SetWindowOrigin({-20, -30});  // page (0,0) at device (20,30)
  Target.Canvas().SelectClipRect(&PageRect);      // the caller limits the painting
  RenderWindowTree(Page.Page.get(), nullptr, nullptr, true, true, PageRect, Target.Canvas());
  TBitmap Placed(test::PageWidth, test::PageHeight, pf32bit);
  Placed.Canvas().BitBlt(0, 0, test::PageWidth, test::PageHeight, Target.Canvas(), 0, 0, SRCCOPY);
  EXPECT_EQ(test::DescribeDifference(Placed, Grab), "");
  EXPECT_EQ(Target.PixelColor(19, 29), clWhite);
  EXPECT_EQ(Target.PixelColor(20 + test::PageWidth, 30), clWhite);
}

// Plain colours survive the per-painting copy of formats QPainter does not paint in place.
TEST(TreeCapture, PalettedAndHighColourCanvasesOfTheCaller) {
  QWidget Root;
  Root.resize(60, 40);
  Root.setPalette(QPalette(QColor(255, 255, 0)));
  Panel(&Root, QRect(10, 10, 20, 20), QColor(0, 0, 255));
  for (TPixelFormat Format : {pf8bit, pf16bit}) {
    SCOPED_TRACE(Format);
    TBitmap Target(100, 100, Format);
    Target.Canvas().SetWindowOrigin({-5, -5});
    RenderWindowTree(&Root, nullptr, nullptr, true, true, Rect(0, 0, 60, 40), Target.Canvas());
    EXPECT_EQ(Target.PixelColor(5, 5), RGB(255, 255, 0));
    EXPECT_EQ(Target.PixelColor(15, 15), RGB(0, 0, 255));
    EXPECT_EQ(Target.PixelColor(34, 34), RGB(0, 0, 255));
    EXPECT_EQ(Target.PixelColor(35, 35), RGB(255, 255, 0));
    EXPECT_EQ(Target.PixelColor(4, 4), clWhite);
  }
}

class TreeRules : public ::testing::Test {
protected:
  void SetUp() override {
    Root.resize(300, 200);
    Root.setPalette(QPalette(QColor(255, 255, 255)));
    Root.setAutoFillBackground(true);
    Bottom = Panel(&Root, QRect(10, 10, 100, 100), QColor(255, 0, 0));
    Middle = Panel(&Root, QRect(60, 60, 100, 100), QColor(0, 255, 0));
    Panel(Middle, QRect(10, 10, 20, 20), QColor(0, 0, 0));
    Top = Panel(&Root, QRect(120, 20, 100, 100), QColor(0, 0, 255));
  }
  std::unique_ptr<TBitmap> Capture(QWidget* Stop = nullptr) {
    return RenderWindowToBitmap(&Root, Stop, &Root, pf32bit, true, false, Rect(0, 0, 300, 200));
  }
  QWidget Root;
  QWidget *Bottom = nullptr, *Middle = nullptr, *Top = nullptr;
};

TEST_F(TreeRules, UpperSiblingsPaintOverLowerOnes) {
  const std::unique_ptr<TBitmap> B = Capture();
  EXPECT_EQ(B->PixelColor(65, 65), RGB(0, 255, 0));   // middle over bottom
  EXPECT_EQ(B->PixelColor(125, 70), RGB(0, 0, 255));  // top over middle
  EXPECT_EQ(B->PixelColor(75, 75), RGB(0, 0, 0));     // middle's child
  EXPECT_EQ(B->PixelColor(20, 20), RGB(255, 0, 0));
}

TEST_F(TreeRules, StopWindowLeavesItAndTheSiblingsAboveOut) {
  const std::unique_ptr<TBitmap> B = Capture(Middle);
  EXPECT_EQ(CountColour(*B, RGB(255, 0, 0), Rect(0, 0, 300, 200)), 100 * 100);
  EXPECT_EQ(CountColour(*B, RGB(0, 255, 0), Rect(0, 0, 300, 200)), 0);
  EXPECT_EQ(CountColour(*B, RGB(0, 0, 0), Rect(0, 0, 300, 200)), 0);
  EXPECT_EQ(CountColour(*B, RGB(0, 0, 255), Rect(0, 0, 300, 200)), 0);
  // Stopping at the window a capture starts at paints nothing.
  const std::unique_ptr<TBitmap> None = Capture(&Root);
  EXPECT_EQ(CountColour(*None, clWhite, Rect(0, 0, 300, 200)), 300 * 200);
}

TEST_F(TreeRules, HiddenAndRenderWindowsAndTheirChildrenAreLeftOut) {
  Top->hide();
  auto* Overlay = new TTERenderWindow(&Root);
  Overlay->setGeometry(0, 150, 300, 50);
  Panel(Overlay, QRect(0, 0, 300, 50), QColor(255, 0, 255));
  const std::unique_ptr<TBitmap> B = Capture();
  EXPECT_EQ(CountColour(*B, RGB(0, 0, 255), Rect(0, 0, 300, 200)), 0);
  EXPECT_EQ(CountColour(*B, RGB(255, 0, 255), Rect(0, 0, 300, 200)), 0);
  EXPECT_EQ(B->PixelColor(150, 199), clWhite);
  EXPECT_EQ(B->PixelColor(125, 70), RGB(0, 255, 0));
}

TEST_F(TreeRules, ChildIsClippedToItsParentAndToItsMask) {
  // Reaches 40 pixels past the right and bottom of its parent (bottom: 10..110).
  Panel(Bottom, QRect(50, 50, 90, 90), QColor(255, 0, 255));
  Middle->hide();
  Top->hide();
  const std::unique_ptr<TBitmap> B = Capture();
  EXPECT_EQ(CountColour(*B, RGB(255, 0, 255), Rect(0, 0, 300, 200)), 50 * 50);
  EXPECT_EQ(B->PixelColor(10 + 99, 10 + 99), RGB(255, 0, 255));
  EXPECT_EQ(B->PixelColor(10 + 100, 10 + 60), clWhite);

  Middle->show();
  Middle->setMask(QRegion(0, 0, 30, 100));
  const std::unique_ptr<TBitmap> M = Capture();
  EXPECT_EQ(M->PixelColor(65, 100), RGB(0, 255, 0));
  EXPECT_EQ(M->PixelColor(95, 100), RGB(255, 0, 255));  // the clipped child below shows
  EXPECT_EQ(M->PixelColor(150, 150), clWhite);
}

// A shown top-level window has a frame (the offscreen platform's frame margins): its client area
// starts inside it. Window coordinates include the frame, which the library draws itself.
TEST(TopLevelWindow, ClientAndWindowCoordinates) {
  QWidget Window;
  Window.resize(120, 80);
  Window.setPalette(QPalette(QColor(200, 220, 240)));
  Panel(&Window, QRect(0, 0, 30, 30), QColor(255, 0, 0));
  Window.show();
  QApplication::processEvents();
  const QPoint Offset = Window.geometry().topLeft() - Window.frameGeometry().topLeft();
  ASSERT_GT(Offset.x(), 0);
  ASSERT_GT(Offset.y(), 0);
  const int FrameW = Window.frameGeometry().width(), FrameH = Window.frameGeometry().height();

  const TBitmap Grab = GrabOf(&Window, pf32bit);
  const std::unique_ptr<TBitmap> Client = RenderControlToBitmap(&Window, Rect(0, 0, 120, 80), true, pf32bit, true);
  EXPECT_EQ(test::DescribeDifference(*Client, Grab), "");

  const std::unique_ptr<TBitmap> Whole =
      RenderControlToBitmap(&Window, Rect(0, 0, FrameW, FrameH), false, pf32bit, true);
  TBitmap Inner(120, 80, pf32bit);
  Inner.Canvas().BitBlt(0, 0, 120, 80, Whole->Canvas(), Offset.x(), Offset.y(), SRCCOPY);
  EXPECT_EQ(test::DescribeDifference(Inner, Grab), "");
  const TColor Outline = QRgbToColor(Window.palette().color(QPalette::Dark).rgb());
  const TColor Face = RGB(200, 220, 240);
  EXPECT_EQ(Whole->PixelColor(0, 0), Outline);
  EXPECT_EQ(Whole->PixelColor(FrameW - 1, FrameH / 2), Outline);
  EXPECT_EQ(Whole->PixelColor(FrameW / 2, FrameH - 1), Outline);
  if (Offset.x() > 1) {
    EXPECT_EQ(Whole->PixelColor(1, FrameH / 2), Face);
  }
  // The red child at the client's corner, not at the window's.
  EXPECT_EQ(Whole->PixelColor(Offset.x(), Offset.y()), RGB(255, 0, 0));
  EXPECT_NE(Whole->PixelColor(Offset.x() - 1, Offset.y()), RGB(255, 0, 0));
}

// Records what a capture reports while it paints, and can fail or capture another widget.
class TProbe : public QWidget {
public:
  using QWidget::QWidget;
  bool Throw = false;
  QWidget* Nested = nullptr;
  TBitmap* Seen = nullptr;
  TBitmap* SeenAfterNested = nullptr;
  TBitmap* SeenInNested = nullptr;

protected:
  void paintEvent(QPaintEvent*) override {
    Seen = CurrentRenderBitmap();
    if (Throw) throw std::runtime_error("paint failed");
    if (Nested) {
      const std::unique_ptr<TBitmap> Inner = RenderControlToBitmap(Nested, Rect(0, 0, 10, 10), true, pf32bit, true);
      SeenAfterNested = CurrentRenderBitmap();
    }
    QPainter(this).fillRect(rect(), Qt::green);
  }
};

class TNestedProbe : public QWidget {
public:
  using QWidget::QWidget;
  TBitmap* Seen = nullptr;

protected:
  void paintEvent(QPaintEvent*) override { Seen = CurrentRenderBitmap(); }
};

TEST(CurrentRenderBitmap, SetWhilePaintingNestedAndRestoredAfter) {
  TProbe Probe;
  Probe.resize(40, 30);
  TNestedProbe Other;
  Other.resize(10, 10);
  Probe.Nested = &Other;
  ASSERT_EQ(CurrentRenderBitmap(), nullptr);
  const std::unique_ptr<TBitmap> B = RenderControlToBitmap(&Probe, Rect(0, 0, 40, 30), true, pf32bit, true);
  EXPECT_EQ(Probe.Seen, B.get());
  EXPECT_EQ(Probe.SeenAfterNested, B.get());
  EXPECT_NE(Other.Seen, nullptr);
  EXPECT_NE(Other.Seen, B.get());
  EXPECT_EQ(CurrentRenderBitmap(), nullptr);
  EXPECT_EQ(B->PixelColor(20, 15), RGB(0, 255, 0));
}

TEST(CurrentRenderBitmap, RestoredWhenPaintingFailsAndTheWidgetPaintsAgainAfter) {
  QWidget Root;
  Root.resize(60, 60);
  auto* Probe = new TProbe(&Root);
  Probe->setGeometry(10, 10, 40, 40);
  Probe->Throw = true;
  EXPECT_THROW(RenderControlToBitmap(&Root, Rect(0, 0, 60, 60), true, pf32bit, true), std::runtime_error);
  EXPECT_NE(Probe->Seen, nullptr);
  EXPECT_EQ(CurrentRenderBitmap(), nullptr);
  // Qt's painting state of the widget survived the failure.
  Probe->Throw = false;
  const std::unique_ptr<TBitmap> B = RenderControlToBitmap(&Root, Rect(0, 0, 60, 60), true, pf32bit, true);
  EXPECT_EQ(B->PixelColor(30, 30), RGB(0, 255, 0));
  Root.show();
  QApplication::processEvents();
  EXPECT_EQ(GrabOf(&Root, pf32bit).PixelColor(30, 30), RGB(0, 255, 0));
}

TEST(CanvasState, UnchangedAfterARenderAndAfterAFailedOne) {
  QWidget Root;
  Root.resize(60, 60);
  auto* Probe = new TProbe(&Root);
  Probe->setGeometry(10, 10, 40, 40);
  Probe->setMask(QRegion(0, 0, 20, 40));
  TBitmap Target(100, 100, pf32bit);
  TCanvas& C = Target.Canvas();
  C.SetWindowOrigin({-7, 5});
  C.SetBrushOrigin({3, 4});
  const TRect Clip = Rect(0, 0, 50, 40);
  C.SelectClipRect(&Clip);
  const QRegion ClipBefore = C.ClipRegion();
  for (bool Throw : {false, true}) {
    SCOPED_TRACE(Throw);
    Probe->Throw = Throw;
    try {
      RenderWindowTree(&Root, nullptr, nullptr, true, false, Rect(0, 0, 60, 60), C);
    } catch (const std::runtime_error&) {
      EXPECT_TRUE(Throw);
    }
    EXPECT_EQ(C.WindowOrigin(), (TPoint{-7, 5}));
    EXPECT_EQ(C.BrushOrigin(), (TPoint{3, 4}));
    EXPECT_EQ(C.ClipRegion(), ClipBefore);
    EXPECT_FALSE(C.RestoreDC(-1));  // no saved state left behind
  }
}

}  // namespace
}  // namespace vte

#include "render_test.moc"
