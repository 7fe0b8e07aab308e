#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include "gdi/bitmap.h"
#include "gdi/canvas.h"
#include "gdi/color.h"
#include "gdi/picture.h"

namespace vte {
namespace {

TEST(Color, PlainSpecialAndSystemColours) {
  EXPECT_EQ(ColorToRGB(RGB(1, 2, 3)), 0x030201);
  EXPECT_EQ(ColorToRGB(PaletteRGB(10, 20, 30)), RGB(10, 20, 30));
  EXPECT_EQ(ColorToRGB(clNone), clBlack);
  // System colours follow the application palette.
  QPalette Saved = QApplication::palette();
  QPalette P = Saved;
  P.setColor(QPalette::Button, QColor(12, 34, 56));
  P.setColor(QPalette::Base, QColor(200, 201, 202));
  QApplication::setPalette(P);
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(12, 34, 56));
  EXPECT_EQ(ColorToRGB(clWindow), RGB(200, 201, 202));
  EXPECT_EQ(ColorToRGB(clDefault), RGB(200, 201, 202));
  QApplication::setPalette(Saved);
  EXPECT_EQ(ColorToQRgb(clRed), qRgb(255, 0, 0));
  EXPECT_EQ(QRgbToColor(qRgb(0, 0, 255)), clBlue);
}

int CountNotColour(const TBitmap& B, TColor C, const TRect& R) {
  int N = 0;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) N += B.PixelColor(X, Y) != C;
  return N;
}

TEST(Text, TextOutDrawsInsideItsCellOnEveryFormat) {
  for (TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    TBitmap B(200, 60, F);
    TCanvas& C = B.Canvas();
    C.Font().Color = clBlack;
    C.Font().Height = -16;
    C.Brush().Style = bsClear;
    C.SetWindowOrigin({-10, -5});  // logical (0,0) is device (10,5)
    C.TextOut(0, 0, QStringLiteral("Wipe"));
    const int W = C.TextWidth(QStringLiteral("Wipe")), H = C.TextHeight(QStringLiteral("Wipe"));
    ASSERT_GT(W, 10);
    const TRect Cell = Bounds(10, 5, W, H);
    EXPECT_GT(CountNotColour(B, clWhite, Cell), 20) << "format " << F;
    EXPECT_EQ(CountNotColour(B, clWhite, Rect(0, 0, 200, 60)), CountNotColour(B, clWhite, Cell)) << "format " << F;
    EXPECT_EQ(C.PenPos(), Point(W, 0));
  }
}

TEST(Text, ClipRegionAndSolidBrush) {
  TBitmap B(120, 40, pf24bit);
  TCanvas& C = B.Canvas();
  C.Font().Height = -20;
  C.Font().Color = clBlack;
  C.Brush().Color = clRed;
  C.ExcludeClipRect(Rect(0, 0, 30, 40));
  C.TextOut(0, 0, QStringLiteral("MMMM"));
  EXPECT_EQ(CountNotColour(B, clWhite, Rect(0, 0, 30, 40)), 0);
  // The solid brush fills the text cell behind the letters.
  EXPECT_EQ(B.PixelColor(31, 1), clRed);
}

TEST(Text, DrawTextMeasuresWrapsAndAligns) {
  TBitmap B(300, 200, pf32bit);
  TCanvas& C = B.Canvas();
  C.Font().Height = -14;
  C.Font().Color = clBlack;
  TRect One = Rect(0, 0, 0, 0);
  const int H1 = C.DrawText(QStringLiteral("one line"), One, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(One.Width(), C.TextWidth(QStringLiteral("one line")));
  EXPECT_EQ(One.Height(), H1);
  TRect Wrapped = Rect(0, 0, 60, 0);
  C.DrawText(QStringLiteral("several words that will not fit on a line"), Wrapped, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_GE(Wrapped.Height(), 3 * H1);
  EXPECT_LE(Wrapped.Width(), 60);
  // Nothing was drawn while measuring.
  EXPECT_EQ(CountNotColour(B, clWhite, Rect(0, 0, 300, 200)), 0);

  // Centred text has its ink about the rectangle's centre; right-aligned text ends at the right.
  TRect R = Rect(0, 0, 300, 40);
  C.DrawText(QStringLiteral("centre"), R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  int MinX = 300, MaxX = -1;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 300; ++X)
      if (B.PixelColor(X, Y) != clWhite) MinX = std::min(MinX, X), MaxX = std::max(MaxX, X);
  ASSERT_GE(MaxX, 0);
  EXPECT_NEAR((MinX + MaxX) / 2.0, 150.0, 4.0);
  TRect Right = Rect(0, 50, 300, 90);
  C.DrawText(QStringLiteral("right"), Right, DT_RIGHT | DT_SINGLELINE);
  EXPECT_EQ(CountNotColour(B, clWhite, Rect(0, 50, 200, 90)), 0);
  EXPECT_GT(CountNotColour(B, clWhite, Rect(250, 50, 300, 90)), 0);
}

TEST(Text, EndEllipsisKeepsTextInsideTheRectangle) {
  TBitmap B(200, 30, pf32bit);
  TCanvas& C = B.Canvas();
  C.Font().Color = clBlack;
  TRect R = Rect(10, 0, 70, 30);
  C.DrawText(QStringLiteral("a rather long caption that cannot fit"), R, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
  EXPECT_GT(CountNotColour(B, clWhite, R), 0);
  EXPECT_EQ(CountNotColour(B, clWhite, Rect(72, 0, 200, 30)), 0);
}

TEST(Picture, DrawAndTransparentColour) {
  TBitmap Pic(4, 4, pf24bit);
  Pic.Canvas().Brush().Color = clLime;
  Pic.Canvas().FillRect(Rect(0, 0, 4, 4));
  Pic.Canvas().Brush().Color = clBlue;
  Pic.Canvas().FillRect(Rect(1, 1, 3, 3));
  TPicture Picture;
  int Changes = 0;
  Picture.OnChange = [&](TPicture&) { ++Changes; };
  Picture.SetBitmap(&Pic);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Picture.Width(), 4);

  TBitmap Dst(10, 10, pf32bit);
  Dst.Canvas().Draw(2, 3, *Picture.Graphic());
  EXPECT_EQ(Dst.PixelColor(2, 3), clLime);
  EXPECT_EQ(Dst.PixelColor(3, 4), clBlue);
  EXPECT_EQ(Dst.PixelColor(6, 3), clWhite);

  // Transparent with the default key: the bottom-left colour (lime) leaves the target alone.
  TBitmap Dst2(10, 10, pf16bit);
  Picture.Bitmap().SetTransparent(true);
  Dst2.Canvas().StretchDraw(Rect(0, 0, 8, 8), *Picture.Graphic());
  EXPECT_EQ(Dst2.PixelColor(0, 0), clWhite);
  EXPECT_EQ(Dst2.PixelColor(7, 7), clWhite);
  EXPECT_EQ(Dst2.PixelColor(2, 2), clBlue);
  EXPECT_EQ(Dst2.PixelColor(5, 5), clBlue);
}

}  // namespace
}  // namespace vte
