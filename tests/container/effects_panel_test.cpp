// Panels and group boxes painted through background options, on the screen and in captures:
// plain colour, what lies below, glass, inherited pictures under scrolling, bevels and captions.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include "container/effects_group_box.h"
#include "container/effects_panel.h"
#include "container/form.h"
#include "gdi/canvas.h"
#include "pixel/blend_work.h"
#include "render/control_render.h"
#include "support/screen_support.h"

namespace vte {
namespace {

using test::ScreenOf;

// A form that owns options, as a form with a form-transitions component on it.
class TOptionsForm : public TForm {
  Q_OBJECT
  Q_PROPERTY(vte::TFCBackgroundOptions* BackgroundOptions READ BackgroundOptions)

public:
  Q_INVOKABLE explicit TOptionsForm(QObject* Owner = nullptr) : TForm(Owner), FOptions(new TFCBackgroundOptions(this)) {
    FOptions->AttachTo(this);
  }
  TFCBackgroundOptions* BackgroundOptions() const { return FOptions; }

private:
  TFCBackgroundOptions* FOptions;
};

// A scrolling owner: its viewport is painted through its options, and scrolling moves inherited
// pictures along.
class TOptionsScrollArea : public QScrollArea {
  Q_OBJECT
  Q_PROPERTY(vte::TFCBackgroundOptions* BackgroundOptions READ BackgroundOptions)

public:
  explicit TOptionsScrollArea(QWidget* Parent) : QScrollArea(Parent), FOptions(new TFCBackgroundOptions(this)) {
    FOptions->AttachTo(this);
    for (QScrollBar* Bar : {horizontalScrollBar(), verticalScrollBar()})
      connect(Bar, &QScrollBar::valueChanged, this, [this] { FOptions->PositionChanged(); });
  }
  TFCBackgroundOptions* BackgroundOptions() const { return FOptions; }

protected:
  bool viewportEvent(QEvent* Event) override {
    if (Event->type() != QEvent::Paint) return QScrollArea::viewportEvent(Event);
    QPainter Painter(viewport());
    FOptions->Paint(Painter, TRect{});
    return true;
  }

private:
  TFCBackgroundOptions* FOptions;
};

// Every pixel a colour of its own, so that a misplaced tile shows.
TPicture NumberedPicture(int W, int H) {
  TBitmap B(W, H, pf32bit);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) B.Canvas().SetPixel(X, Y, static_cast<TColor>(0x040000 * X + 0x0400 * Y + 0x30));
  TPicture P;
  P.SetBitmap(&B);
  return P;
}

QImage Part(const QImage& Image, QRect R) { return Image.copy(R); }

class EffectsPanel : public ::testing::Test {
protected:
  void SetUp() override {
    Form.SetBorderStyle(bsNone);
    Form.setGeometry(100, 100, 240, 160);
    Form.BackgroundOptions()->SetPicture(NumberedPicture(17, 13));
  }
  void Show() {
    Form.show();
    QApplication::processEvents();
  }
  TOptionsForm Form;
};

TEST_F(EffectsPanel, DefaultOptionsPaintThePlainColourUnderBevelsAndCaption) {
  auto* Panel = new TEffectsPanel(&Form);
  Panel->setGeometry(20, 20, 100, 50);
  Panel->SetColor(clYellow);
  Panel->SetBevelOuter(bvRaised);
  Panel->SetBevelInner(bvLowered);
  Panel->SetBevelWidth(2);
  Panel->SetBorderWidth(3);
  Panel->SetCaption(QStringLiteral("WWW"));
  Show();
  EXPECT_FALSE(Panel->BackgroundOptions()->IsActive());
  const QImage S = ScreenOf(Panel);
  const QRgb Yellow = ColorToQRgb(clYellow) | 0xFF000000u, Light = ColorToQRgb(clBtnHighlight) | 0xFF000000u,
             Dark = ColorToQRgb(clBtnShadow) | 0xFF000000u;
  EXPECT_EQ(S.pixel(0, 10), Light);
  EXPECT_EQ(S.pixel(1, 10), Light) << "outer bevel two pixels wide";
  EXPECT_EQ(S.pixel(99, 10), Dark);
  EXPECT_EQ(S.pixel(3, 10), Yellow) << "the border band is left to the surface";
  EXPECT_EQ(S.pixel(5, 10), Dark) << "the inner bevel is lowered";
  EXPECT_EQ(S.pixel(94, 10), Light);
  int Text = 0;
  for (int X = 10; X < 90; ++X) Text += S.pixel(X, 25) != Yellow;
  EXPECT_GT(Text, 3) << "the caption is drawn across the middle";
  EXPECT_EQ(Panel->Version(), QStringLiteral("Version 3.3"));
  Panel->setProperty("Version", QStringLiteral("x"));
  EXPECT_EQ(Panel->Version(), QStringLiteral("Version 3.3"));
}

TEST_F(EffectsPanel, ATransparentPanelShowsExactlyWhatLiesBelowAndGlassTintsIt) {
  auto* Below = new QWidget(&Form);  // a sibling below the panel shows through as well
  Below->setGeometry(60, 30, 50, 30);
  Below->setAutoFillBackground(true);
  test::SetColor(Below, Qt::darkGreen);
  Show();
  const QImage Without = ScreenOf(&Form);
  auto* Panel = new TEffectsPanel(&Form);
  Panel->SetBevelOuter(bvNone);
  Panel->setGeometry(33, 17, 150, 90);
  Panel->BackgroundOptions()->SetOpaque(false);
  Panel->show();
  QApplication::processEvents();
  const QRect Area = Panel->geometry();
  EXPECT_EQ(Part(ScreenOf(&Form), Area), Part(Without, Area));

  Panel->BackgroundOptions()->SetGlassColor(clRed);
  Panel->BackgroundOptions()->SetGlassTranslucency(255);
  QApplication::processEvents();
  EXPECT_EQ(Part(ScreenOf(&Form), Area), Part(Without, Area)) << "255: no glass";

  Panel->BackgroundOptions()->SetGlassTranslucency(0);
  QApplication::processEvents();
  QImage Red(Area.size(), QImage::Format_RGB32);
  Red.fill(QColor(Qt::red));
  EXPECT_EQ(Part(ScreenOf(&Form), Area), Red) << "0: the glass colour alone";

  Panel->BackgroundOptions()->SetGlassTranslucency(128);
  QApplication::processEvents();
  TBitmap Want = TBitmap::FromQImage(Part(Without, Area));
  TintBitmap(Want, nullptr, Want.PixelFormat(), 128, Rect(0, 0, Area.width(), Area.height()), clRed);
  EXPECT_EQ(Part(ScreenOf(&Form), Area), Want.ToQImage().convertToFormat(QImage::Format_RGB32));
}

TEST_F(EffectsPanel, AnInheritedPictureStaysAlignedWhenItsOwnerScrolls) {
  auto* Area = new TOptionsScrollArea(&Form);
  Area->setGeometry(10, 10, 200, 120);
  Area->setFrameShape(QFrame::NoFrame);
  auto* Content = new QWidget;
  Content->resize(500, 400);
  Area->setWidget(Content);
  Content->setAutoFillBackground(false);
  auto* Child = new TEffectsPanel(Content);
  Child->SetBevelOuter(bvNone);
  Child->setGeometry(40, 30, 90, 60);
  const int PW = 17, PH = 13;
  Area->BackgroundOptions()->SetPicture(NumberedPicture(PW, PH));
  Child->BackgroundOptions()->SetParentPicture(true);
  Show();
  TPicture TilePicture = NumberedPicture(PW, PH);
  TBitmap& Tile = TilePicture.Bitmap();
  auto Misplaced = [&] {
    // Each pixel of the child shows the tile pixel of its place in the scrolled content.
    const QImage S = ScreenOf(Child);
    const QPoint InContent = Child->mapTo(Content, QPoint(0, 0));
    int Wrong = 0;
    for (int Y = 0; Y < S.height(); ++Y)
      for (int X = 0; X < S.width(); ++X)
        Wrong += QRgbToColor(S.pixel(X, Y)) != Tile.Canvas().Pixel((InContent.x() + X) % PW, (InContent.y() + Y) % PH);
    return Wrong;
  };
  EXPECT_EQ(Misplaced(), 0);
  Area->horizontalScrollBar()->setValue(23);
  Area->verticalScrollBar()->setValue(9);
  QApplication::processEvents();
  ASSERT_EQ(Child->mapTo(Area->viewport(), QPoint(0, 0)), QPoint(40 - 23, 30 - 9));
  EXPECT_EQ(Misplaced(), 0);
  EXPECT_TRUE(test::ScreenShowsItsPaint(&Form));
}

TEST_F(EffectsPanel, AGroupBoxFrameNeverCrossesItsCaption) {
  for (bool Ctl3D : {true, false}) {
    auto* Box = new TEffectsGroupBox(&Form);
    Box->setGeometry(10, 10, 150, 80);
    Box->SetColor(clYellow);
    Box->SetCtl3D(Ctl3D);
    Box->setTitle(QStringLiteral("      "));  // blank, so that every caption pixel is the surface
    Box->show();
    Show();
    const QImage S = ScreenOf(Box);
    const QRect Caption = Box->CaptionRect();
    ASSERT_FALSE(Caption.isEmpty());
    const int FrameY = Caption.height() / 2 - 1;
    const QRgb Yellow = ColorToQRgb(clYellow) | 0xFF000000u;
    for (int X = Caption.left(); X <= Caption.right(); ++X) ASSERT_EQ(S.pixel(X, FrameY), Yellow) << X;
    EXPECT_NE(S.pixel(Caption.left() - 2, FrameY), Yellow) << "the frame runs up to the caption";
    EXPECT_NE(S.pixel(Caption.right() + 2, FrameY), Yellow);
    delete Box;
  }
}

TEST_F(EffectsPanel, TheMouseEnteringAndLeavingIsReported) {
  auto* Panel = new TEffectsPanel(&Form);
  Panel->setGeometry(50, 50, 60, 40);
  QStringList Seen;
  Panel->OnMouseEnter = [&](QObject* Sender) { Seen << (Sender == Panel ? "enter" : "?"); };
  Panel->OnMouseLeave = [&](QObject* Sender) { Seen << (Sender == Panel ? "leave" : "?"); };
  Show();
  QTest::mouseMove(Form.windowHandle(), QPoint(5, 5));
  QTest::mouseMove(Form.windowHandle(), QPoint(70, 60));
  QTest::mouseMove(Form.windowHandle(), QPoint(200, 140));
  QApplication::processEvents();
  EXPECT_EQ(Seen, QStringList({"enter", "leave"}));
}

// Bricks with mortar and a little grain: a tile whose seams show when it is misplaced.
TPicture BrickPicture() {
  TBitmap B(64, 32, pf32bit);
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 64; ++X) {
      const int Shift = Y < 16 ? 0 : 32;
      const bool Mortar = Y % 16 == 15 || (X + Shift) % 64 == 63;
      const int Grain = static_cast<int>((X * 73856093u ^ Y * 19349663u) % 23u);
      B.Canvas().SetPixel(X, Y, Mortar ? RGB(200 + Grain, 196 + Grain, 186 + Grain)
                                       : RGB(150 + Grain, 70 + Grain / 2 + (Y % 16), 50 + Grain / 2));
    }
  TPicture P;
  P.SetBitmap(&B);
  return P;
}

// A background form with controls of its own.
class TBackdropForm : public TForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TBackdropForm(QObject* Owner) : TForm(Owner) {
    SetColor(RGB(30, 60, 120));
    auto* Stripe = new QWidget(this);
    Stripe->setGeometry(0, 20, 2000, 12);
    Stripe->setAutoFillBackground(true);
    test::SetColor(Stripe, QColor(240, 200, 40));
  }
};

// The look asked for: a tiled form, a transparent panel, glass, nested inherited pictures, a group
// box and a panel showing a background form. Saved as PNG when VTE_SHOT_DIR names a folder.
TEST(EffectsPanelLook, AFormTreeCapturedEqualsTheScreen) {
  TOptionsForm Form;
  Form.SetBorderStyle(bsNone);
  Form.setGeometry(40, 40, 700, 493);
  Form.BackgroundOptions()->SetPicture(BrickPicture());
  auto Panel = [](QWidget* Parent, QRect R, const char* Caption) {
    auto* P = new TEffectsPanel(Parent);
    P->setGeometry(R);
    P->SetCaption(QString::fromLatin1(Caption));
    return P;
  };
  TEffectsPanel* Clear = Panel(&Form, {20, 20, 300, 140}, "Transparent");
  Clear->BackgroundOptions()->SetOpaque(false);
  auto* Button = new QWidget(&Form);  // lies below the glass
  Button->setGeometry(380, 60, 120, 40);
  Button->setAutoFillBackground(true);
  test::SetColor(Button, QColor(20, 160, 60));
  TEffectsPanel* Glass = Panel(&Form, {350, 20, 330, 140}, "Glass 128");
  Glass->BackgroundOptions()->SetOpaque(false);
  Glass->BackgroundOptions()->SetGlassColor(clNavy);
  Glass->BackgroundOptions()->SetGlassTranslucency(128);
  TEffectsPanel* Outer = Panel(&Form, {20, 180, 420, 290}, "");
  Outer->SetBevelInner(bvLowered);
  Outer->SetBorderWidth(4);
  Outer->BackgroundOptions()->SetPicture(NumberedPicture(40, 40));
  TEffectsPanel* Inner = Panel(Outer, {30, 30, 250, 200}, "ParentPicture");
  Inner->BackgroundOptions()->SetParentPicture(true);
  TEffectsPanel* Innermost = Panel(Inner, {20, 112, 150, 76}, "and again");
  Innermost->SetBevelOuter(bvLowered);
  Innermost->BackgroundOptions()->SetParentPicture(true);
  Innermost->BackgroundOptions()->SetParentGlass(true);
  Inner->BackgroundOptions()->SetGlassColor(clWhite);
  Inner->BackgroundOptions()->SetGlassTranslucency(200);
  auto* Box = new TEffectsGroupBox(&Form);
  Box->setGeometry(460, 180, 220, 130);
  Box->setTitle(QStringLiteral("Group box"));
  Box->BackgroundOptions()->SetOpaque(false);
  TEffectsPanel* Backdrop = Panel(&Form, {460, 330, 220, 140}, "Background form");
  Backdrop->BackgroundOptions()->SetBkgrndForm(&TBackdropForm::staticMetaObject);
  Form.show();
  QApplication::processEvents();

  EXPECT_TRUE(test::ScreenShowsItsPaint(&Form));
  const QImage Bevelled = ScreenOf(Clear);
  EXPECT_EQ(Bevelled.pixel(0, 0), ColorToQRgb(clBtnHighlight) | 0xFF000000u) << "bevels over the picture";
  EXPECT_EQ(Bevelled.pixel(299, 139), ColorToQRgb(clBtnShadow) | 0xFF000000u);
  // The background form's own look shows through its panel, stripe included.
  const QImage Shown = ScreenOf(Backdrop);
  EXPECT_EQ(Shown.pixel(100, 25), qRgb(240, 200, 40));
  EXPECT_EQ(Shown.pixel(100, 60), qRgb(30, 60, 120));
  if (const char* Dir = std::getenv("VTE_SHOT_DIR"))
    ScreenOf(&Form).save(QString::fromLocal8Bit(Dir) + QStringLiteral("/background-options-") +
                         QGuiApplication::platformName() + QStringLiteral(".png"));
}

}  // namespace
}  // namespace vte

#include "effects_panel_test.moc"
