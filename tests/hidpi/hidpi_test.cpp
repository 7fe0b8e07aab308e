// Transitions on a screen whose device pixel ratio is above 1. This program runs on an offscreen
// screen of ratio 2 and of ratio 1.5 (the test main reads VTE_TEST_SCREEN_DPR), and where xvfb-run
// exists once more on an X server with Qt's scaling at both ratios. The looks are captured,
// animated and shown in device pixels, so that a transition is exactly as sharp as the widgets
// before and after it: a look captured at the logical size and shown scaled up fails every
// comparison below, which are exact.
//
// The offscreen platform keeps its windows' pictures in logical pixels when the ratio is its own
// (it composes the screen at the logical size), so what the screen shows is compared only where
// the screen holds device pixels (X11); the render window's surface, which the screen shows 1:1,
// is compared everywhere.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "container/effects_panel.h"
#include "effects/wipe.h"
#include "engine/render_window.h"
#include "engine/transition_run.h"
#include "gdi/bitmap.h"
#include "render/control_render.h"
#include "render/device.h"
#include "render/device_scale.h"
#include "support/bitmap_support.h"
#include "support/screen_support.h"
#include "support/widget_page_support.h"

namespace vte {
namespace {

double ScreenRatio() { return QGuiApplication::primaryScreen()->devicePixelRatio(); }

// Qt's own picture of the widget at the screen's ratio (a first grab lets item views settle).
TBitmap GrabOf(QWidget* W) {
  W->grab();
  return TBitmap::FromQImage(W->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

TBitmap ScreenOf(QWidget* W) { return TBitmap::FromQImage(test::ScreenOf(W)); }

TBitmap Painted(QWidget* W) {
  return *RenderControlToBitmap(W, Rect(0, 0, W->width(), W->height()), true, pf32bit, true);
}

// Pixels of A that differ from B (the same size).
int Differing(const TBitmap& A, const TBitmap& B) {
  int N = 0;
  for (int Y = 0; Y < A.Height(); ++Y)
    for (int X = 0; X < A.Width(); ++X) N += A.PixelColor(X, Y) != B.PixelColor(X, Y);
  return N;
}

// Whether every column of Shot is that column of Old or of New: a wipe's frame shows the looks'
// own pixels, nothing resampled.
bool ColumnsOfEither(const TBitmap& Shot, const TBitmap& Old, const TBitmap& New, int& OldColumns, int& NewColumns) {
  OldColumns = NewColumns = 0;
  if (Shot.Width() != Old.Width() || Shot.Height() != Old.Height()) return false;
  for (int X = 0; X < Shot.Width(); ++X) {
    bool IsOld = true, IsNew = true;
    for (int Y = 0; Y < Shot.Height() && (IsOld || IsNew); ++Y) {
      IsOld = IsOld && Shot.PixelColor(X, Y) == Old.PixelColor(X, Y);
      IsNew = IsNew && Shot.PixelColor(X, Y) == New.PixelColor(X, Y);
    }
    if (!IsOld && !IsNew) return false;
    OldColumns += IsOld && !IsNew;
    NewColumns += IsNew && !IsOld;
  }
  return true;
}

class HiDpi : public ::testing::Test {
protected:
  void SetUp() override {
    if (!std::getenv("VTE_TEST_SCREEN_DPR")) GTEST_SKIP() << "runs through ctest, on a screen of ratio 2 or 1.5";
    ASSERT_DOUBLE_EQ(ScreenRatio(), std::atof(std::getenv("VTE_TEST_SCREEN_DPR")));
  }
  int Device(int Logical) const { return ToDevicePixels(Logical, ScreenRatio()); }
  // At a ratio like 1.5 widgets lie between device pixels. Widgets are painted exactly where Qt
  // paints them, but a panel painting through a bitmap of its own (background options) has that
  // bitmap drawn between pixels by Qt's raster engine, which rounds its edge its own way: a few
  // such pixels are allowed there, none at whole ratios.
  bool WholeRatio() const { return ScreenRatio() == std::round(ScreenRatio()); }
};

// The page of about twenty widgets, painted: Qt's own grab at the screen's ratio, pixel for pixel,
// and what the screen shows. A copy of the screen has the device size.
TEST_F(HiDpi, APageCapturedIsQtsGrabAtTheRatio) {
  test::TWidgetPage Page = test::BuildWidgetPage();
  Page.Page->move(30, 20);
  Page.Page->show();
  QApplication::processEvents();
  const TBitmap Grab = GrabOf(Page.Page.get());
  ASSERT_EQ(Grab.Width(), Device(test::PageWidth));
  ASSERT_EQ(Grab.Height(), Device(test::PageHeight));
  EXPECT_EQ(test::DescribeDifference(Painted(Page.Page.get()), Grab), "") << "painted";
  const QPoint G = Page.Page->mapToGlobal(QPoint(0, 0));
  const std::unique_ptr<TBitmap> Copy = CaptureScreenRect(Bounds(G.x(), G.y(), 301, 157), pf32bit);
  EXPECT_EQ(Copy->Width(), Device(301));
  EXPECT_EQ(Copy->Height(), Device(157));
  if (ScreenCopiesDevicePixels()) {
    ASSERT_TRUE(test::SettleScreen(Page.Page.get()));
    EXPECT_EQ(test::DescribeDifference(ScreenOf(Page.Page.get()), Grab), "") << "on the screen";
  }
}

// Panels painted through background options (a transparent one showing what lies below, glass
// over it, a tiled picture) paint their device pixels in a capture as Qt paints them.
TEST_F(HiDpi, BackgroundOptionsPaintDevicePixels) {
  QWidget Form;
  Form.setGeometry(40, 40, 360, 220);
  Form.setAutoFillBackground(true);
  test::SetColor(&Form, QColor(200, 220, 240));
  auto* Text = new QLabel(QStringLiteral("Text below the glass, sharp at any ratio"), &Form);
  Text->setGeometry(15, 25, 320, 30);
  auto* Clear = new TEffectsPanel(&Form);
  Clear->setGeometry(7, 11, 300, 80);
  Clear->SetCaption(QStringLiteral("Transparent"));
  Clear->BackgroundOptions()->SetOpaque(false);
  Clear->BackgroundOptions()->SetGlassColor(clNavy);
  Clear->BackgroundOptions()->SetGlassTranslucency(160);
  auto* Pictured = new TEffectsPanel(&Form);
  Pictured->setGeometry(21, 107, 250, 97);
  TBitmap Picture(16, 16, pf32bit);
  test::FillNoise(Picture, 5);
  TPicture P;
  P.SetBitmap(&Picture);
  Pictured->BackgroundOptions()->SetPicture(P);
  Pictured->BackgroundOptions()->SetPictureMode(fcpmTile);
  Form.show();
  QApplication::processEvents();
  const TBitmap Grab = GrabOf(&Form);
  const TBitmap Capture = Painted(&Form);
  ASSERT_EQ(Capture.Width(), Grab.Width());
  ASSERT_EQ(Capture.Height(), Grab.Height());
  if (WholeRatio())
    EXPECT_EQ(test::DescribeDifference(Capture, Grab), "");
  else
    EXPECT_LT(Differing(Capture, Grab), Grab.Width() * Grab.Height() / 200) << "a few edge pixels at most";
  if (ScreenCopiesDevicePixels() && WholeRatio()) {
    ASSERT_TRUE(test::SettleScreen(&Form));
    EXPECT_EQ(test::DescribeDifference(ScreenOf(&Form), Grab), "") << "on the screen";
  }
}

// A wipe between two pages of text and buttons: one frame per device column, every frame made of
// the two pages' exact device pixels, and the end exactly the new page.
TEST_F(HiDpi, AWipeShowsExactDevicePixelsInEveryFrameAndEndsOnTheWidget) {
  QWidget Window;
  Window.setGeometry(60, 50, 420, 260);
  auto* Stack = new QStackedWidget(&Window);
  Stack->setGeometry(13, 9, 331, 187);
  for (const char* Caption : {"The old page, with small text", "The new page: other words"}) {
    auto* Page = new QWidget;
    auto* Layout = new QVBoxLayout(Page);
    Layout->addWidget(new QLabel(QString::fromLatin1(Caption)));
    Layout->addWidget(new QPushButton(QStringLiteral("A button")));
    Layout->addWidget(new QLabel(QStringLiteral("0123456789 abcdefghij")));
    Stack->addWidget(Page);
  }
  Window.show();
  QApplication::processEvents();
  // The pages as Qt paints them where they lie in the window (between device pixels at 1.5).
  const auto Look = [&] {
    const TBitmap All = GrabOf(&Window);
    const TRect Area = ToDevicePixels(Bounds(13, 9, 331, 187), ScreenRatio());
    TBitmap Part(Device(331), Device(187), pf32bit);
    Part.Canvas().BitBlt(0, 0, Part.Width(), Part.Height(), const_cast<TBitmap&>(All).Canvas(), Area.Left, Area.Top, SRCCOPY);
    return Part;
  };
  const TBitmap Old = Look();
  Stack->setCurrentIndex(1);
  const TBitmap New = Look();
  Stack->setCurrentIndex(0);
  if (ScreenCopiesDevicePixels()) {
    ASSERT_TRUE(test::SettleScreen(Stack));
  }

  TWipeTransition Wipe;
  Wipe.SetDirection(tedRight);
  Wipe.SetBandWidth(0);
  Wipe.SetMilliseconds(0);  // every frame the effect has
  Wipe.AbortCheckInterval = -1;
  int Frames = 0;
  std::vector<TBitmap> Surfaces, Screens;
  Wipe.OnAbortQuery = [&](QObject*, TTransitionEffect*, bool&) {
    // Asked before each frame is drawn (and twice before the first): the last frame is on show.
    if (++Frames % 37 != 0) return;
    Surfaces.push_back(test::TheRenderWindow()->Surface());
    if (ScreenCopiesDevicePixels()) Screens.push_back(ScreenOf(Stack));
  };
  ChangeWithTransition(&Wipe, Stack, [&] { Stack->setCurrentIndex(1); });

  // Frames follow the device pixels: a column of them a frame.
  EXPECT_EQ(Frames, Device(331) + 1);
  ASSERT_GE(Surfaces.size(), 5u);
  bool SawBoth = false;
  for (const std::vector<TBitmap>* Shots : {&Surfaces, &Screens})
    for (std::size_t I = 0; I < Shots->size(); ++I) {
      int OldColumns = 0, NewColumns = 0;
      EXPECT_TRUE(ColumnsOfEither((*Shots)[I], Old, New, OldColumns, NewColumns))
          << (Shots == &Surfaces ? "surface " : "screen ") << I;
      SawBoth = SawBoth || (OldColumns > 0 && NewColumns > 0);
    }
  EXPECT_TRUE(SawBoth) << "the shots are taken mid-way (else they prove nothing)";
  EXPECT_EQ(test::DescribeDifference(Painted(Stack), New), "") << "the capture the run ends on";
  if (ScreenCopiesDevicePixels()) {
    EXPECT_TRUE(test::ScreenShowsItsPaint(Stack));
    EXPECT_EQ(test::DescribeDifference(ScreenOf(Stack), New), "");
  }
}

}  // namespace
}  // namespace vte
