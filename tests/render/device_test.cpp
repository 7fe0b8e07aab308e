// Device and bitmap helpers: row sizes, the screen's format at every depth, bitmap set-up, solid
// bitmaps, client coordinates, screen copies, and the tests that tell whether an area shows on
// the screen as painted. Widgets are real, shown on the offscreen platform.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegion>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVariant>
#include <QWidget>
#include <array>
#include <memory>

#include "gdi/canvas.h"
#include "render/device.h"
#include "support/bitmap_support.h"

namespace vte::test {

// A widget of the class name the render window has; it must never count as covering anything.
class TTERenderWindow : public QWidget {
  Q_OBJECT

public:
  using QWidget::QWidget;
};

}  // namespace vte::test

namespace vte {
namespace {

using test::DescribeDifference;

// Forces a screen depth for one scope and goes back to the real screen afterwards, also when an
// assertion leaves the test early.
struct TForcedDepth {
  explicit TForcedDepth(int Bits) { ForceScreenBitsPerPixel(Bits); }
  ~TForcedDepth() { ForceScreenBitsPerPixel(0); }
};

void Pump() {
  for (int I = 0; I < 5; ++I) QCoreApplication::processEvents();
}

QRect ScreenGeometry() { return QGuiApplication::primaryScreen()->geometry(); }

TRect ScreenBoundsOf(const QWidget& W) {
  const QPoint P = W.mapToGlobal(QPoint(0, 0));
  return Bounds(P.x(), P.y(), W.width(), W.height());
}

// A shown top-level window at a given place on the screen.
std::unique_ptr<QWidget> ShowWindow(int X, int Y, int Width, int Height) {
  auto W = std::make_unique<QWidget>();
  W->setGeometry(X, Y, Width, Height);
  W->show();
  Pump();
  return W;
}

void SetBackground(QWidget& W, QColor Color) {
  QPalette P = W.palette();
  P.setColor(W.backgroundRole(), Color);
  W.setPalette(P);
  W.setAutoFillBackground(true);
}

// --- row sizes and formats -------------------------------------------------------------------

TEST(DeviceFormat, ScanlineBytesTable) {
  const TBitmap One(1, 1, pf32bit), Three(3, 1, pf32bit), Thirty3(33, 1, pf32bit);
  for (TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit})
    EXPECT_EQ(BitmapScanlineBytes(One, F), 4) << F;
  EXPECT_EQ(BitmapScanlineBytes(Three, pf24bit), 12);
  EXPECT_EQ(BitmapScanlineBytes(Three, pf15bit), 8);
  EXPECT_EQ(BitmapScanlineBytes(Three, pf16bit), 8);
  EXPECT_EQ(BitmapScanlineBytes(Three, pfDevice), 0);
  EXPECT_EQ(BitmapScanlineBytes(Three, pfCustom), 0);
  // The row is aligned, not the pixel count: 33 bits of pf1bit need two 32-bit words.
  EXPECT_EQ(BitmapScanlineBytes(Thirty3, pf1bit), 8);
  EXPECT_EQ(BitmapScanlineBytes(Thirty3, pf4bit), 20);
  EXPECT_EQ(BitmapScanlineBytes(Three, pf24bit, 8), 9);
  EXPECT_EQ(BitmapScanlineBytes(Three, pf8bit, 16), 4);
  EXPECT_EQ(PixelFormatBits(pf15bit), 16);
  EXPECT_EQ(PixelFormatBits(pfDevice), 0);
}

TEST(DeviceFormat, EachForcedDepthGivesItsFormat) {
  const int RealDepth = QGuiApplication::primaryScreen()->depth();
  const int RealBits = (RealDepth == 24 || RealDepth == 32) ? 32 : RealDepth;
  ASSERT_EQ(ScreenBitsPerPixel(true), RealBits);
  const TPixelFormat RealFormat = DevicePixelFormat(true);

  struct TCase { int Bits; TPixelFormat Format; int StorageBits; };
  const std::array<TCase, 6> Cases = {{{8, pf8bit, 8},
                                       {15, pf15bit, 16},
                                       {16, pf16bit, 16},
                                       {24, pf24bit, 24},
                                       {32, pf32bit, 32},
                                       {2, pf24bit, 24}}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Bits);
    TForcedDepth Forced(C.Bits);
    EXPECT_EQ(ScreenBitsPerPixel(), C.Bits);
    EXPECT_EQ(DevicePixelFormat(), C.Format);
    // The device layer's pfDevice follows the forced screen.
    EXPECT_EQ(TBitmap(3, 2, pfDevice).PixelFormat(), C.Format);
    EXPECT_EQ(PixelFormatBits(pfCustom), C.StorageBits);
    EXPECT_EQ(IsPaletteDevice(), C.Bits == 8);
    EXPECT_EQ(IsHighColorDevice(), C.Bits > 8);
  }
  // Back on the real screen.
  EXPECT_EQ(ScreenBitsPerPixel(), RealBits);
  EXPECT_EQ(DevicePixelFormat(), RealFormat);
  EXPECT_EQ(TBitmap(1, 1, pfDevice).PixelFormat(), RealFormat);
  if (RealBits == 32) {
    EXPECT_EQ(RealFormat, pf32bit);
  }
}

TEST(DeviceFormat, HighColorDetectionCountsGreenLevels) {
  {
    // Five bits of green give 32 levels: not more than 32 changes.
    TForcedDepth Forced(15);
    EXPECT_EQ(DetectHighColorFormat(), pf15bit);
  }
  {
    TForcedDepth Forced(16);
    EXPECT_EQ(DetectHighColorFormat(), pf16bit);
  }
  {
    // A palette screen has a handful of greens; a deep one all 256.
    TForcedDepth Forced(8);
    EXPECT_EQ(DetectHighColorFormat(), pf15bit);
  }
  {
    TForcedDepth Forced(32);
    EXPECT_EQ(DetectHighColorFormat(), pf16bit);
  }
}

// --- bitmap set-up ---------------------------------------------------------------------------

TEST(DeviceBitmap, SetupBitmapFormatsAndPalettes) {
  const TPalette System = CopySystemPalette();
  ASSERT_EQ(System.size(), 256u);
  EXPECT_EQ(System.front() & 0xFFFFFF, 0u);
  EXPECT_EQ(System.back() & 0xFFFFFF, 0xFFFFFFu);

  TBitmap B;
  SetupBitmap(B, nullptr, 7, 5, pf8bit);
  EXPECT_EQ(B.PixelFormat(), pf8bit);
  EXPECT_EQ(B.Width(), 7);
  EXPECT_EQ(B.Height(), 5);
  EXPECT_EQ(B.Palette(), System);

  // A given palette is taken as it is.
  const TPalette Greys = GreyPalette();
  TBitmap G;
  SetupBitmap(G, &Greys, 4, 4, pf8bit);
  EXPECT_EQ(G.Palette(), Greys);

  // pf1bit is made monochrome even when the bitmap had two other colours.
  TBitmap M(5, 3, pf1bit);
  M.SetPalette({qRgb(255, 0, 0), qRgb(0, 0, 255)});
  ASSERT_FALSE(M.Monochrome());
  SetupBitmap(M, nullptr, 9, 2, pf1bit);
  EXPECT_TRUE(M.Monochrome());
  EXPECT_EQ(M.Width(), 9);
  EXPECT_EQ(M.Height(), 2);

  TBitmap D;
  SetupBitmap(D, nullptr, 2, 3, pf16bit);
  EXPECT_EQ(D.PixelFormat(), pf16bit);
  EXPECT_EQ(D.ScanlineBytes(), 4);
}

TEST(DeviceBitmap, SolidBitmapFillsEveryPixel) {
  QWidget W;
  SetBackground(W, QColor(10, 200, 30));
  EXPECT_EQ(ControlColor(&W), RGB(10, 200, 30));
  // The colour of the background role, not always the window colour.
  QWidget Base;
  Base.setBackgroundRole(QPalette::Base);
  QPalette P = Base.palette();
  P.setColor(QPalette::Window, QColor(1, 2, 3));
  P.setColor(QPalette::Base, QColor(40, 50, 60));
  Base.setPalette(P);
  EXPECT_EQ(ControlColor(&Base), RGB(40, 50, 60));

  for (TPixelFormat F : {pf32bit, pf24bit, pf16bit, pf8bit}) {
    SCOPED_TRACE(F);
    const auto S = CreateSolidBitmap(&W, 13, 7, F, nullptr, clNone);
    ASSERT_EQ(S->Width(), 13);
    ASSERT_EQ(S->Height(), 7);
    ASSERT_EQ(S->PixelFormat(), F);
    EXPECT_FALSE(S->Canvas().Locked());
    const TColor Expected =
        QRgbToColor(DecodePixel(F, S->Palette(), EncodePixel(F, S->Palette(), qRgb(10, 200, 30))));
    for (int Y = 0; Y < 7; ++Y)
      for (int X = 0; X < 13; ++X) ASSERT_EQ(S->PixelColor(X, Y), Expected) << X << "," << Y;
  }
  // A given colour wins over the widget's.
  const auto Red = CreateSolidBitmap(&W, 3, 3, pf32bit, nullptr, clRed);
  EXPECT_EQ(Red->PixelColor(2, 2), clRed);
  const TPalette Greys = GreyPalette();
  const auto Grey = CreateSolidBitmap(nullptr, 3, 3, pf8bit, &Greys, RGB(77, 77, 77));
  EXPECT_EQ(Grey->Palette(), Greys);
  EXPECT_EQ(Grey->ScanLine(2)[2], 77);
}

// --- coordinates -----------------------------------------------------------------------------

TEST(DeviceCoordinates, ChildScrollAreaAndTopLevelWindow) {
  auto W = ShowWindow(100, 120, 300, 200);
  auto* Child = new QWidget(W.get());
  Child->setGeometry(10, 20, 50, 40);
  auto* Area = new QScrollArea(W.get());
  Area->setGeometry(80, 20, 120, 100);
  Child->show();
  Area->show();
  Pump();

  // A child: the whole widget is the client area.
  const QPoint ChildAt = W->mapToGlobal(QPoint(10, 20));
  EXPECT_EQ(GetClientOffset(Child), (TPoint{0, 0}));
  EXPECT_EQ(ControlClientOrigin(Child), (TPoint{ChildAt.x(), ChildAt.y()}));
  EXPECT_EQ(ControlClientRect(Child), Rect(0, 0, 50, 40));
  EXPECT_EQ(ControlWindowRect(Child), Bounds(ChildAt.x(), ChildAt.y(), 50, 40));
  EXPECT_EQ(ControlClientToScreen(Child, {3, 4}), (TPoint{ChildAt.x() + 3, ChildAt.y() + 4}));
  EXPECT_EQ(ControlScreenToClient(Child, {ChildAt.x() + 3, ChildAt.y() + 4}), (TPoint{3, 4}));

  // A scroll area: the viewport, inside the frame.
  const QWidget* Viewport = Area->viewport();
  ASSERT_GT(Area->frameWidth(), 0);
  EXPECT_EQ(GetClientOffset(Area), (TPoint{Viewport->x(), Viewport->y()}));
  EXPECT_EQ(GetClientOffset(Area), (TPoint{Area->frameWidth(), Area->frameWidth()}));
  EXPECT_EQ(ControlClientWidth(Area), Viewport->width());
  EXPECT_EQ(ControlClientHeight(Area), Viewport->height());
  EXPECT_LT(ControlClientWidth(Area), 120);
  const QPoint ViewAt = Viewport->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(ControlClientOrigin(Area), (TPoint{ViewAt.x(), ViewAt.y()}));
  EXPECT_EQ(ControlScreenToClient(Area, {ViewAt.x(), ViewAt.y()}), (TPoint{0, 0}));
  EXPECT_EQ(ControlWindowRect(Area), ScreenBoundsOf(*Area));

  // A top-level window: client = geometry, window rectangle = the frame.
  const QRect Geometry = W->geometry(), Frame = W->frameGeometry();
  EXPECT_EQ(ControlWindowRect(W.get()), Bounds(Frame.x(), Frame.y(), Frame.width(), Frame.height()));
  EXPECT_EQ(ControlClientOrigin(W.get()), (TPoint{Geometry.x(), Geometry.y()}));
  EXPECT_EQ(GetClientOffset(W.get()), (TPoint{Geometry.x() - Frame.x(), Geometry.y() - Frame.y()}));
  EXPECT_EQ(ControlClientRect(W.get()), Rect(0, 0, 300, 200));
  // The client origin is where a child at (0,0) appears on the screen.
  const QPoint Corner = Child->mapToGlobal(QPoint(-10, -20));
  EXPECT_EQ(ControlClientOrigin(W.get()), (TPoint{Corner.x(), Corner.y()}));

  EXPECT_EQ(GetClientOffset(nullptr), (TPoint{0, 0}));
}

// --- what the screen shows -------------------------------------------------------------------

TEST(DeviceObscured, ScreenEdge) {
  const QRect S = ScreenGeometry();
  // A window whose client area ends exactly at the screen's right edge.
  auto W = ShowWindow(S.x() + S.width() - 100, S.y() + 100, 100, 50);
  const TPoint O = ControlClientOrigin(W.get());
  ASSERT_EQ(O.X + 100, S.x() + S.width());
  const TRect Inside = Bounds(O.X, O.Y, 100, 50);
  EXPECT_FALSE(IsRectObscured(W.get(), Inside));
  TRect Beyond = Inside;
  Beyond.Right += 1;
  EXPECT_TRUE(IsRectObscured(W.get(), Beyond));
  TRect Above = Inside;
  Above.Top = S.y() - 1;
  EXPECT_TRUE(IsRectObscured(W.get(), Above));
  EXPECT_FALSE(IsRectObscured(nullptr, Beyond));
}

TEST(DeviceObscured, SiblingsOnEveryLevel) {
  auto W = std::make_unique<QWidget>();
  W->setGeometry(40, 40, 400, 300);
  auto* Panel = new QWidget(W.get());
  Panel->setGeometry(20, 20, 300, 200);
  auto* Control = new QWidget(Panel);
  Control->setGeometry(10, 10, 100, 80);
  auto* Sibling = new QWidget(Panel);
  Sibling->setGeometry(150, 10, 50, 50);
  auto* Outer = new QWidget(W.get());  // a sibling of the panel
  Outer->setGeometry(340, 20, 40, 40);
  auto* Render = new test::TTERenderWindow(Panel);
  Render->setGeometry(0, 0, 300, 200);
  Render->hide();
  W->show();
  Pump();

  const TRect R = ControlWindowRect(Control);
  ASSERT_FALSE(IsRectObscured(Control, R));
  // Reaching outside the control's client area.
  TRect Wider = R;
  Wider.Right += 1;
  EXPECT_TRUE(IsRectObscured(Control, Wider));

  // A sibling overlapping the control: visible counts, hidden does not.
  Sibling->move(90, 60);
  EXPECT_TRUE(IsRectObscured(Control, R));
  Sibling->hide();
  EXPECT_FALSE(IsRectObscured(Control, R));
  // The render window covering everything does not count.
  Render->show();
  EXPECT_FALSE(IsRectObscured(Control, R));
  Render->hide();

  // A sibling of the parent reaching into the area.
  Outer->move(100, 60);  // in the window: covers the control's right part
  EXPECT_TRUE(IsRectObscured(Control, R));
  Outer->hide();
  EXPECT_FALSE(IsRectObscured(Control, R));
}

TEST(DeviceObscured, OtherTopLevelWindows) {
  auto W = ShowWindow(50, 60, 300, 200);
  auto* Control = new QWidget(W.get());
  Control->setGeometry(10, 10, 200, 150);
  Control->show();
  Pump();
  const TRect R = ControlWindowRect(Control);
  ASSERT_FALSE(IsRectObscured(Control, R));

  // Away from the area: no effect.
  auto Away = ShowWindow(500, 500, 50, 50);
  EXPECT_FALSE(IsRectObscured(Control, R));
  // Over the area: shown counts, hidden and minimised do not.
  auto Over = ShowWindow(R.Left + 150, R.Top + 100, 120, 120);
  EXPECT_TRUE(IsRectObscured(Control, R));
  Over->hide();
  Pump();
  EXPECT_FALSE(IsRectObscured(Control, R));
  Over->showMinimized();
  Pump();
  ASSERT_TRUE(Over->isMinimized());
  EXPECT_FALSE(IsRectObscured(Control, R));
  Over->showNormal();
  Pump();
  EXPECT_TRUE(IsRectObscured(Control, R));
  Over->hide();

  // A render window on the top does not count.
  test::TTERenderWindow Render;
  Render.setGeometry(R.Left, R.Top, R.Width(), R.Height());
  Render.show();
  Pump();
  EXPECT_FALSE(IsRectObscured(Control, R));
  Render.hide();

  // A window owned by the control's window lies above it.
  auto* Tool = new QWidget(W.get(), Qt::Tool);
  Tool->setGeometry(R.Left + 20, R.Top + 20, 40, 40);
  Tool->show();
  Pump();
  EXPECT_TRUE(IsRectObscured(Control, R));
  Tool->hide();

  // The window a dialog belongs to lies below the dialog.
  auto* Dialog = new QWidget(W.get(), Qt::Dialog);
  Dialog->setGeometry(R.Left + 5, R.Top + 5, 100, 80);
  auto* InDialog = new QWidget(Dialog);
  InDialog->setGeometry(0, 0, 100, 80);
  Dialog->show();
  Pump();
  const TRect D = ControlWindowRect(InDialog);
  EXPECT_FALSE(IsRectObscured(InDialog, D));
  // ... while for the window's own control the dialog is above.
  EXPECT_TRUE(IsRectObscured(Control, R));
}

TEST(DeviceScreen, CaptureEqualsTheWindowsGrab) {
  auto W = std::make_unique<QWidget>();
  W->setGeometry(60, 70, 200, 150);
  SetBackground(*W, QColor(200, 30, 60));
  auto* Label = new QLabel(QStringLiteral("Capture"), W.get());
  Label->setGeometry(20, 30, 120, 40);
  SetBackground(*Label, QColor(20, 90, 240));
  W->show();
  Pump();
  W->repaint();

  const TBitmap Grab = TBitmap::FromQImage(W->grab().toImage());
  ASSERT_EQ(Grab.Width(), 200);
  const TPoint O = ControlClientOrigin(W.get());
  const auto Shot = CaptureScreenRect(Bounds(O.X, O.Y, 200, 150), pf32bit);
  ASSERT_EQ(Shot->PixelFormat(), pf32bit);
  EXPECT_EQ(DescribeDifference(*Shot, Grab), "");

  // A part of it, in another format.
  const auto Part = CaptureScreenRect(Bounds(O.X + 15, O.Y + 25, 60, 30), pf16bit);
  TBitmap Expected(60, 30, pf32bit);
  Expected.Canvas().BitBlt(0, 0, 60, 30, const_cast<TBitmap&>(Grab).Canvas(), 15, 25, SRCCOPY);
  Expected.SetPixelFormat(pf16bit);
  EXPECT_EQ(DescribeDifference(*Part, Expected), "");
  EXPECT_EQ(Part->PixelColor(10, 10), Expected.PixelColor(10, 10));

  const auto Empty = CaptureScreenRect(Rect(O.X, O.Y, O.X, O.Y + 10), pf24bit);
  EXPECT_TRUE(Empty->Empty());
  EXPECT_EQ(Empty->PixelFormat(), pf24bit);
}

TEST(DeviceScreen, ScrollBarsShowWhenTheContentOverflows) {
  auto W = ShowWindow(30, 30, 300, 300);
  auto* Big = new QScrollArea(W.get());
  Big->setGeometry(0, 0, 120, 100);
  auto* BigContent = new QWidget;
  BigContent->resize(400, 300);
  Big->setWidget(BigContent);
  auto* Small = new QScrollArea(W.get());
  Small->setGeometry(130, 0, 120, 100);
  auto* SmallContent = new QWidget;
  SmallContent->resize(50, 50);
  Small->setWidget(SmallContent);
  Big->show();
  Small->show();
  Pump();

  EXPECT_TRUE(HasScrollBar(Big, Qt::Horizontal));
  EXPECT_TRUE(HasScrollBar(Big, Qt::Vertical));
  EXPECT_FALSE(HasScrollBar(Small, Qt::Horizontal));
  EXPECT_FALSE(HasScrollBar(Small, Qt::Vertical));

  // Always on, but nothing to scroll: the range is 0..0.
  Small->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Pump();
  ASSERT_TRUE(Small->verticalScrollBar()->isVisible());
  EXPECT_FALSE(HasScrollBar(Small, Qt::Vertical));
  // Always off hides it whatever the range.
  Big->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Pump();
  EXPECT_FALSE(HasScrollBar(Big, Qt::Horizontal));
  EXPECT_TRUE(HasScrollBar(Big, Qt::Vertical));

  EXPECT_FALSE(HasScrollBar(W.get(), Qt::Vertical));
  EXPECT_FALSE(HasScrollBar(nullptr, Qt::Vertical));
}

TEST(DeviceScreen, PalettesAreLookedForOnlyOnPaletteScreens) {
  QWidget Root;
  auto* Panel = new QWidget(&Root);
  auto* Hidden = new QWidget(Panel);
  Hidden->hide();
  Hidden->setProperty("vtePalette", QVariant::fromValue(QList<QRgb>{qRgb(1, 2, 3)}));
  auto* Shown = new QWidget(Panel);

  // Deep screen: nothing is looked at.
  Shown->setProperty("vtePalette", QVariant::fromValue(QList<QRgb>{qRgb(1, 2, 3)}));
  ASSERT_FALSE(IsPaletteDevice());
  EXPECT_FALSE(RealizeControlPalettes(&Root, false));

  TForcedDepth Forced(8);
  EXPECT_TRUE(RealizeControlPalettes(&Root, false));
  EXPECT_TRUE(RealizeControlPalettes(Shown, true));
  // A hidden child's palette does not show.
  Shown->setProperty("vtePalette", QVariant());
  EXPECT_FALSE(RealizeControlPalettes(&Root, false));
  EXPECT_FALSE(RealizeControlPalettes(Hidden->parentWidget(), false));
  // An empty list is no palette.
  Root.setProperty("vtePalette", QVariant::fromValue(QList<QRgb>{}));
  EXPECT_FALSE(RealizeControlPalettes(&Root, false));
  Root.setProperty("vtePalette", QVariant::fromValue(QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
  EXPECT_TRUE(RealizeControlPalettes(&Root, false));
  EXPECT_FALSE(RealizeControlPalettes(nullptr, false));
}

TEST(DeviceWindows, MdiMaximizedChildrenAndMasks) {
  QWidget Form;
  auto* Area = new QMdiArea(&Form);
  Area->setGeometry(0, 0, 300, 200);
  QMdiSubWindow* First = Area->addSubWindow(new QLabel(QStringLiteral("one")));
  QMdiSubWindow* Second = Area->addSubWindow(new QLabel(QStringLiteral("two")));
  Form.resize(300, 200);
  Form.show();
  First->show();
  Second->show();
  Pump();

  EXPECT_FALSE(IsMaximizedMDIChild(First));
  EXPECT_FALSE(IsMaximizedMDIChild(Second));
  EXPECT_FALSE(IsMDIClientWithMaximizedChild(Area));
  EXPECT_FALSE(IsMDIFormWithMaximizedChild(&Form));

  Second->showMaximized();
  Pump();
  ASSERT_TRUE(Second->isMaximized());
  EXPECT_TRUE(IsMaximizedMDIChild(Second));
  EXPECT_TRUE(IsMaximizedMDIChild(First));  // a sibling is maximised
  EXPECT_TRUE(IsMDIClientWithMaximizedChild(Area));
  EXPECT_TRUE(IsMDIClientWithMaximizedChild(Area->viewport()));
  EXPECT_TRUE(IsMDIFormWithMaximizedChild(&Form));
  EXPECT_FALSE(IsMDIFormWithMaximizedChild(Area));  // not a window
  EXPECT_FALSE(IsMaximizedMDIChild(&Form));
  EXPECT_FALSE(IsMDIClientWithMaximizedChild(&Form));

  QWidget* Masked = Area->viewport();
  EXPECT_FALSE(HasWindowRegion(Masked));
  Masked->setMask(QRegion(0, 0, 100, 100, QRegion::Ellipse));
  EXPECT_TRUE(HasWindowRegion(Masked));
  Masked->clearMask();
  EXPECT_FALSE(HasWindowRegion(Masked));
  EXPECT_FALSE(HasWindowRegion(nullptr));
}

}  // namespace
}  // namespace vte

#include "device_test.moc"
