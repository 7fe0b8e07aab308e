// TBitmap storage, format conversion and the QImage bridge.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "gdi/bitmap.h"
#include "support/bitmap_support.h"

namespace vte {
namespace {

using test::DescribeDifference;
using test::FillNoise;
using test::BlitConvertValue;
using test::RandomPalette;
using test::Raw;
using test::AllFormats;


constexpr QRgb Black = 0xFF000000u, White = 0xFFFFFFFFu, Red = 0xFFFF0000u, Green = 0xFF00FF00u,
               Blue = 0xFF0000FFu, Yellow = 0xFFFFFF00u, Cyan = 0xFF00FFFFu, Magenta = 0xFFFF00FFu;

std::string Name(TPixelFormat F) { return "pf" + std::to_string(PixelFormatStorageBits(F)) + (F == pf15bit ? "(15)" : ""); }

QRgb At(const TBitmap& B, int X, int Y) {
  return DecodePixel(B.PixelFormat(), B.Palette(), ReadPixel(B.ScanLine(Y), X, B.PixelFormat()));
}
void Put(TBitmap& B, int X, int Y, QRgb C) {
  WritePixel(B.ScanLine(Y), X, B.PixelFormat(), EncodePixel(B.PixelFormat(), B.Palette(), C));
}


// Palettes where the nearest entry is often a tie, which the lowest index must win: repeated
// entries, and greys two apart in falling order (a colour with R+G+B = 6k+3 lies exactly between
// two of them).
TPalette RepeatingPalette() {
  TPalette P = RandomPalette(256, 31);
  for (std::size_t I = 37; I < P.size(); ++I) P[I] = P[I % 37];
  return P;
}
TPalette FallingGreys() {
  TPalette P(256);
  for (int I = 0; I < 256; ++I) {
    const int V = I < 128 ? 254 - 2 * I : 2 * (I - 128);
    P[static_cast<std::size_t>(I)] = qRgb(V, V, V);
  }
  return P;
}

// The conversion as defined pixel by pixel: the optimised ConvertPixels must give exactly this.
// Equal formats with equal palettes keep the raw values (the X byte of pf32bit too).
void ReferenceConvert(const TBitmap& Src, TBitmap& Dst) {
  const TPixelFormat SF = Src.PixelFormat(), DF = Dst.PixelFormat();
  const bool Same = SF == DF && (!IsPaletteFormat(SF) || Src.Palette() == Dst.Palette());
  const bool ToMono = Dst.Monochrome();
  for (int Y = 0; Y < Src.Height(); ++Y)
    for (int X = 0; X < Src.Width(); ++X) {
      const std::uint32_t S = ReadPixel(Src.ScanLine(Y), X, SF);
      const QRgb C = DecodePixel(SF, Src.Palette(), S);
      const std::uint32_t V = Same     ? S
                              : ToMono ? ((C & 0xFFFFFF) == 0xFFFFFF ? 1u : 0u)
                                       : EncodePixel(DF, Dst.Palette(), C);
      WritePixel(Dst.ScanLine(Y), X, DF, V);
    }
}

// --- storage -------------------------------------------------------------------------------------

TEST(BitmapStorage, RowsAreAlignedAndTopDown) {
  for (TPixelFormat F : AllFormats)
    for (int W = 1; W <= 40; ++W) {
      TBitmap B(W, 3, F);
      const int Bits = PixelFormatStorageBits(F);
      ASSERT_EQ(B.ScanlineBytes(), (W * Bits + 31) / 32 * 4) << Name(F) << " width " << W;
      ASSERT_EQ(B.ScanLine(1) - B.ScanLine(0), B.ScanlineBytes());
      ASSERT_EQ(B.ScanLine(2) - B.ScanLine(0), 2 * B.ScanlineBytes());
      ASSERT_EQ(reinterpret_cast<std::uintptr_t>(B.Bits()) % 64, 0u);
    }
  // Row 0 of an image is ScanLine(0), and the other way round.
  QImage Image(4, 3, QImage::Format_RGB32);
  Image.fill(Green);
  for (int X = 0; X < 4; ++X) Image.setPixel(X, 0, Red);
  for (int X = 0; X < 4; ++X) Image.setPixel(X, 2, Blue);
  TBitmap B = TBitmap::FromQImage(Image);
  EXPECT_EQ(At(B, 1, 0), Red);
  EXPECT_EQ(At(B, 1, 1), Green);
  EXPECT_EQ(At(B, 1, 2), Blue);
  Put(B, 3, 0, Yellow);
  EXPECT_EQ(B.ToQImage().pixel(3, 0), Yellow);
  EXPECT_EQ(B.View().constScanLine(2), B.ScanLine(2));
}

TEST(BitmapStorage, NewBitmapsAreWhite) {
  for (TPixelFormat F : AllFormats) {
    TBitmap B(11, 3, F);
    for (int Y = 0; Y < 3; ++Y)
      for (int X = 0; X < 11; ++X) ASSERT_EQ(At(B, X, Y), White) << Name(F);
  }
}

TEST(BitmapStorage, SetSizeKeepsTheCommonAreaAndWhitensTheRest) {
  for (TPixelFormat F : AllFormats) {
    TBitmap B(9, 5, F);
    FillNoise(B, 7);
    const TBitmap Original(B);
    B.SetSize(13, 3);
    ASSERT_EQ(B.Width(), 13);
    ASSERT_EQ(B.Height(), 3);
    ASSERT_EQ(B.PixelFormat(), F);
    for (int Y = 0; Y < 3; ++Y)
      for (int X = 0; X < 13; ++X)
        if (X < 9)
          ASSERT_EQ(Raw(B, X, Y), Raw(Original, X, Y)) << Name(F) << " at " << X << "," << Y;
        else
          ASSERT_EQ(At(B, X, Y), White) << Name(F) << " at " << X << "," << Y;
    B.SetSize(4, 8);
    for (int Y = 0; Y < 8; ++Y)
      for (int X = 0; X < 4; ++X)
        if (Y < 3)
          ASSERT_EQ(Raw(B, X, Y), Raw(Original, X, Y)) << Name(F) << " at " << X << "," << Y;
        else
          ASSERT_EQ(At(B, X, Y), White) << Name(F) << " at " << X << "," << Y;
  }
}

TEST(BitmapStorage, AssignAndCopiesAreIndependent) {
  TBitmap B(7, 4, pf8bit);
  B.SetPalette(RandomPalette(256, 5));
  FillNoise(B, 9);
  B.SetTransparent(true);
  B.SetTransparentColor(clRed);
  TBitmap C(3, 3, pf32bit);
  C.Assign(B);
  EXPECT_EQ(DescribeDifference(C, B), "");
  EXPECT_EQ(C.Palette(), B.Palette());
  EXPECT_TRUE(C.Transparent());
  EXPECT_EQ(C.TransparentColor(), clRed);
  EXPECT_NE(C.Bits(), B.Bits());
  const std::uint32_t Before = Raw(B, 2, 1);
  WritePixel(C.ScanLine(1), 2, pf8bit, Before ^ 0xFF);
  EXPECT_EQ(Raw(B, 2, 1), Before);

  TBitmap Copy(B), Assigned;
  Assigned = B;
  EXPECT_EQ(DescribeDifference(Copy, B), "");
  EXPECT_EQ(DescribeDifference(Assigned, B), "");
  EXPECT_EQ(Assigned.Palette(), B.Palette());
}

TEST(BitmapStorage, Monochrome) {
  EXPECT_TRUE(TBitmap(4, 4, pf1bit).Monochrome());
  EXPECT_FALSE(TBitmap(4, 4, pf8bit).Monochrome());
  TBitmap Coloured(4, 4, pf1bit);
  Coloured.SetPalette({Red, White});
  EXPECT_FALSE(Coloured.Monochrome());

  TBitmap B(4, 1, pf32bit);
  Put(B, 0, 0, White);
  Put(B, 1, 0, qRgb(254, 255, 255));
  Put(B, 2, 0, Red);
  Put(B, 3, 0, Black);
  B.SetMonochrome(true);
  ASSERT_TRUE(B.Monochrome());
  ASSERT_EQ(B.PixelFormat(), pf1bit);
  EXPECT_EQ(Raw(B, 0, 0), 1u);  // only pure white stays white
  EXPECT_EQ(Raw(B, 1, 0), 0u);
  EXPECT_EQ(Raw(B, 2, 0), 0u);
  EXPECT_EQ(Raw(B, 3, 0), 0u);
  B.SetMonochrome(false);
  EXPECT_EQ(B.PixelFormat(), ResolvePixelFormat(pfDevice));
  EXPECT_EQ(At(B, 0, 0), White);
  EXPECT_EQ(At(B, 1, 0), Black);
  EXPECT_EQ(At(B, 3, 0), Black);

  // A two-colour bitmap with another palette becomes monochrome by the white rule as well.
  Coloured.SetPalette({Red, White});
  WritePixel(Coloured.ScanLine(0), 0, pf1bit, 0);
  Coloured.SetMonochrome(true);
  EXPECT_TRUE(Coloured.Monochrome());
  EXPECT_EQ(Raw(Coloured, 0, 0), 0u);
  EXPECT_EQ(Raw(Coloured, 1, 0), 1u);
}

// --- conversion ----------------------------------------------------------------------------------

TEST(BitmapConvert, KnownColoursSurviveEveryPairOfFormats) {
  const std::array<QRgb, 8> Known = {Black, White, Red, Green, Blue, Yellow, Cyan, Magenta};
  for (TPixelFormat From : AllFormats) {
    TBitmap B(8, 2, From);
    for (int X = 0; X < 8; ++X) {
      // A 1-bit bitmap holds only black and white.
      const QRgb A = From == pf1bit ? (X & 1 ? White : Black) : Known[X];
      const QRgb C = From == pf1bit ? (X & 2 ? White : Black) : Known[7 - X];
      Put(B, X, 0, A);
      Put(B, X, 1, C);
      ASSERT_EQ(At(B, X, 0), A) << Name(From) << " cannot hold a test colour";
    }
    for (TPixelFormat To : AllFormats) {
      TBitmap C(B);
      C.SetPixelFormat(To);
      ASSERT_EQ(C.PixelFormat(), To);
      ASSERT_EQ(C.Width(), 8);
      ASSERT_EQ(C.Height(), 2);
      for (int Y = 0; Y < 2; ++Y)
        for (int X = 0; X < 8; ++X) {
          const QRgb Original = At(B, X, Y);
          const QRgb Expected = To == pf1bit ? (Original == White ? White : Black) : Original;
          ASSERT_EQ(At(C, X, Y), Expected) << Name(From) << " -> " << Name(To) << " at " << X << "," << Y;
        }
    }
  }
}

TEST(BitmapConvert, PaletteFormatsTakeTheNearestEntry) {
  TBitmap B(4, 1, pf32bit);
  Put(B, 0, 0, qRgb(10, 240, 130));   // cube entry (0, 255, 153)
  Put(B, 1, 0, qRgb(100, 100, 100));  // the grey ramp's 99 is nearer than the cube's 102
  Put(B, 2, 0, qRgb(200, 10, 10));
  Put(B, 3, 0, qRgb(150, 150, 150));
  TBitmap Eight(B);
  Eight.SetPixelFormat(pf8bit);
  EXPECT_EQ(At(Eight, 0, 0), qRgb(0, 255, 153));
  EXPECT_EQ(At(Eight, 1, 0), qRgb(99, 99, 99));
  TBitmap Four(B);
  Four.SetPixelFormat(pf4bit);
  EXPECT_EQ(At(Four, 2, 0), qRgb(255, 0, 0));
  EXPECT_EQ(At(Four, 3, 0), qRgb(128, 128, 128));
  TBitmap Sixteen(B);
  Sixteen.SetPixelFormat(pf16bit);
  EXPECT_EQ(Raw(Sixteen, 0, 0), (10u >> 3) << 11 | (240u >> 2) << 5 | (130u >> 3));
  TBitmap Fifteen(B);
  Fifteen.SetPixelFormat(pf15bit);
  EXPECT_EQ(Raw(Fifteen, 3, 0), (150u >> 3) << 10 | (150u >> 3) << 5 | (150u >> 3));
}

TEST(BitmapConvert, MatchesThePerPixelDefinitionForEveryPair) {
  // Sources and destinations with default and with other palettes (a short one leaves indices
  // that decode to black, a two-colour one that is not black and white is no monochrome).
  struct TCase { TPixelFormat Format; TPalette Palette; };
  std::vector<TCase> Cases;
  for (TPixelFormat F : AllFormats) Cases.push_back({F, DefaultPalette(F)});
  Cases.push_back({pf8bit, RandomPalette(256, 11)});
  Cases.push_back({pf8bit, RandomPalette(100, 12)});
  Cases.push_back({pf8bit, RepeatingPalette()});
  Cases.push_back({pf8bit, FallingGreys()});
  Cases.push_back({pf4bit, RandomPalette(16, 13)});
  Cases.push_back({pf4bit, RandomPalette(5, 14)});
  Cases.push_back({pf1bit, {Red, Blue}});
  Cases.push_back({pf1bit, {White, Black}});
  for (int W : {1, 7, 8, 9, 33, 67}) {
    for (const TCase& S : Cases) {
      TBitmap Src(W, 5, S.Format);
      Src.SetPalette(S.Palette);
      FillNoise(Src, static_cast<std::uint32_t>(W * 31 + S.Format));
      if (IsPaletteFormat(S.Format))  // indices beyond a short palette
        for (int X = 0; X < W; X += 3) WritePixel(Src.ScanLine(4), X, S.Format, AllOnesPixel(S.Format));
      for (const TCase& D : Cases) {
        TBitmap Fast(W, 5, D.Format), Slow(W, 5, D.Format);
        Fast.SetPalette(D.Palette);
        Slow.SetPalette(D.Palette);
        ConvertPixels(Src, Fast);
        ReferenceConvert(Src, Slow);
        for (int Y = 0; Y < 5; ++Y)
          for (int X = 0; X < W; ++X)
            ASSERT_EQ(Raw(Fast, X, Y), Raw(Slow, X, Y))
                << Name(S.Format) << "/" << S.Palette.size() << " -> " << Name(D.Format) << "/"
                << D.Palette.size() << " width " << W << " at " << X << "," << Y;
      }
    }
  }
}

TEST(BitmapConvert, ManyColoursIntoAPaletteMatchTheDefinition) {
  // Far more distinct colours than the nearest-entry cache has slots: collisions must not
  // return another colour's answer.
  TBitmap Src(256, 64, pf24bit);
  FillNoise(Src, 99);
  for (const TPalette& P : {DefaultPalette(pf8bit), RandomPalette(256, 3), RepeatingPalette(), FallingGreys()}) {
    TBitmap Fast(256, 64, pf8bit), Slow(256, 64, pf8bit);
    Fast.SetPalette(P);
    Slow.SetPalette(P);
    ConvertPixels(Src, Fast);
    ReferenceConvert(Src, Slow);
    ASSERT_EQ(DescribeDifference(Fast, Slow), "");
  }
  TBitmap Wrong(3, 3, pf8bit);
  EXPECT_THROW(ConvertPixels(Src, Wrong), std::invalid_argument);
}

// --- QImage bridge -------------------------------------------------------------------------------

TEST(BitmapView, PaintingOnTheViewChangesTheBitmap) {
  const std::array<std::pair<TPixelFormat, QImage::Format>, 5> Paintable = {
      {{pf32bit, QImage::Format_RGB32},
       {pf24bit, QImage::Format_BGR888},
       {pf16bit, QImage::Format_RGB16},
       {pf15bit, QImage::Format_RGB555},
       {pf1bit, QImage::Format_Mono}}};
  for (const auto& [F, QtFormat] : Paintable) {
    TBitmap B(13, 7, F);
    QImage V = B.View();
    ASSERT_FALSE(V.isNull()) << Name(F);
    EXPECT_EQ(V.format(), QtFormat) << Name(F);
    EXPECT_EQ(V.size(), QSize(13, 7));
    EXPECT_EQ(V.bytesPerLine(), B.ScanlineBytes());
    EXPECT_EQ(V.constBits(), B.Bits());
    const QRgb Paint = F == pf1bit ? Black : Red;
    {
      QPainter P(&V);
      P.fillRect(QRect(2, 3, 4, 2), QColor::fromRgb(Paint));
    }
    EXPECT_EQ(V.constBits(), B.Bits()) << Name(F) << ": the painter detached into a copy";
    for (int Y = 0; Y < 7; ++Y)
      for (int X = 0; X < 13; ++X) {
        const bool Inside = X >= 2 && X < 6 && Y >= 3 && Y < 5;
        ASSERT_EQ(At(B, X, Y), Inside ? Paint : White) << Name(F) << " at " << X << "," << Y;
      }
  }
}

TEST(BitmapView, PaletteFormats) {
  TBitmap B(9, 4, pf8bit);
  TPalette P = RandomPalette(256, 21);
  P[7] = 0x00123456;  // written without alpha: the view must still show it opaque
  B.SetPalette(P);
  FillNoise(B, 4);
  QImage V = B.View();
  ASSERT_EQ(V.format(), QImage::Format_Indexed8);
  EXPECT_EQ(V.constBits(), B.Bits());
  ASSERT_EQ(V.colorCount(), 256);
  EXPECT_EQ(V.color(7), 0xFF123456u);
  EXPECT_EQ(V.color(200), P[200]);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 9; ++X) ASSERT_EQ(static_cast<std::uint32_t>(V.pixelIndex(X, Y)), Raw(B, X, Y));
  V.scanLine(2)[5] = 42;
  EXPECT_EQ(Raw(B, 5, 2), 42u);

  TBitmap Mono(10, 2, pf1bit);
  EXPECT_EQ(Mono.View().colorTable(), QList<QRgb>({Black, White}));
  Mono.SetPalette({Red});
  EXPECT_EQ(Mono.View().colorTable(), QList<QRgb>({Red, Black}));
  Mono.SetPalette({Red, Green, Blue});
  EXPECT_EQ(Mono.View().colorTable(), QList<QRgb>({Red, Green}));

  EXPECT_TRUE(TBitmap(5, 5, pf4bit).View().isNull());
  EXPECT_TRUE(TBitmap().View().isNull());
}

TEST(BitmapImage, ToQImageIsADeepCopyOfEveryFormat) {
  for (TPixelFormat F : AllFormats) {
    TBitmap B(37, 5, F);
    FillNoise(B, 17 + F);
    const QImage Image = B.ToQImage();
    ASSERT_FALSE(Image.isNull()) << Name(F);
    ASSERT_EQ(Image.size(), QSize(37, 5));
    EXPECT_NE(Image.constBits(), B.Bits());
    if (F == pf4bit) {
      ASSERT_EQ(Image.format(), QImage::Format_Indexed8);
    }
    for (int Y = 0; Y < 5; ++Y)
      for (int X = 0; X < 37; ++X) {
        ASSERT_EQ(Image.pixel(X, Y), At(B, X, Y)) << Name(F) << " at " << X << "," << Y;
        if (IsPaletteFormat(F)) {
          ASSERT_EQ(static_cast<std::uint32_t>(Image.pixelIndex(X, Y)), Raw(B, X, Y));
        }
        // Qt takes RGB32's top byte as opaque; the bitmap's X byte is noise here.
        if (F == pf32bit) {
          ASSERT_EQ(Image.constScanLine(Y)[4 * X + 3], 0xFF);
        }
      }
    const QImage Kept = Image.copy();
    std::memset(B.ScanLine(0), 0x5A, B.ScanlineBytes());
    EXPECT_EQ(Image, Kept) << Name(F) << ": the copy changed with the bitmap";
  }
  EXPECT_TRUE(TBitmap().ToQImage().isNull());
}

TEST(BitmapImage, RoundTripsThroughQImage) {
  for (TPixelFormat F : AllFormats) {
    TBitmap B(29, 6, F);
    if (F == pf8bit) B.SetPalette(RandomPalette(256, 8));
    FillNoise(B, 23 + F);
    const TBitmap Back = TBitmap::FromQImage(B.ToQImage());
    if (F == pf4bit) {
      // Qt has no 4-bit format: the way back is 8-bit with the same indices and colours.
      ASSERT_EQ(Back.PixelFormat(), pf8bit);
      ASSERT_EQ(Back.Palette().size(), 256u);
      for (int I = 0; I < 16; ++I) EXPECT_EQ(Back.Palette()[I], B.Palette()[I]);
      for (int I = 16; I < 256; ++I) EXPECT_EQ(Back.Palette()[I], Black);
      for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 29; ++X) ASSERT_EQ(Raw(Back, X, Y), Raw(B, X, Y));
      continue;
    }
    EXPECT_EQ(DescribeDifference(Back, B), "") << Name(F);
    EXPECT_EQ(Back.Palette(), B.Palette()) << Name(F);
    const TBitmap FromView = TBitmap::FromQImage(B.View());
    EXPECT_EQ(DescribeDifference(FromView, B), "") << Name(F) << " through the view";
    EXPECT_NE(FromView.Bits(), B.Bits());
  }
}

TEST(BitmapImage, FromQImageMapsEachQtFormat) {
  // 1-bit, both bit orders, with the image's two colours.
  QImage Mono(11, 2, QImage::Format_Mono), MonoLsb(11, 2, QImage::Format_MonoLSB);
  for (QImage* I : {&Mono, &MonoLsb}) {
    I->setColorTable({qRgb(200, 0, 0), qRgb(0, 0, 200)});
    for (int Y = 0; Y < 2; ++Y)
      for (int X = 0; X < 11; ++X) I->setPixel(X, Y, (X * 7 + Y * 3) % 5 < 2 ? 1 : 0);
  }
  for (const QImage* I : {&Mono, &MonoLsb}) {
    const TBitmap B = TBitmap::FromQImage(*I);
    ASSERT_EQ(B.PixelFormat(), pf1bit);
    EXPECT_EQ(B.Palette(), TPalette({qRgb(200, 0, 0), qRgb(0, 0, 200)}));
    for (int Y = 0; Y < 2; ++Y)
      for (int X = 0; X < 11; ++X)
        ASSERT_EQ(Raw(B, X, Y), static_cast<std::uint32_t>(I->pixelIndex(X, Y))) << I->format() << " " << X;
  }
  // A Mono image over foreign memory has no colour table: Qt shows it black and white.
  alignas(4) uchar MonoBits[8] = {0xA5, 0, 0, 0, 0x0F, 0, 0, 0};
  const TBitmap Bare = TBitmap::FromQImage(QImage(MonoBits, 8, 2, 4, QImage::Format_Mono));
  EXPECT_TRUE(Bare.Monochrome());
  EXPECT_EQ(Bare.ScanLine(0)[0], 0xA5);
  EXPECT_EQ(Bare.ScanLine(1)[0], 0x0F);

  // Indexed8: a short table is padded with black so that every index names a colour.
  QImage Indexed(5, 3, QImage::Format_Indexed8);
  Indexed.setColorTable({Red, Green, Blue});
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) Indexed.setPixel(X, Y, (X + Y) % 3);
  TBitmap B = TBitmap::FromQImage(Indexed);
  ASSERT_EQ(B.PixelFormat(), pf8bit);
  ASSERT_EQ(B.Palette().size(), 256u);
  EXPECT_EQ(B.Palette()[0], Red);
  EXPECT_EQ(B.Palette()[2], Blue);
  EXPECT_EQ(B.Palette()[3], Black);
  EXPECT_EQ(B.Palette()[255], Black);
  EXPECT_EQ(Raw(B, 4, 2), 0u);
  EXPECT_EQ(Raw(B, 3, 2), 2u);

  QImage Grey(6, 2, QImage::Format_Grayscale8);
  for (int X = 0; X < 6; ++X) Grey.scanLine(0)[X] = Grey.scanLine(1)[X] = static_cast<uchar>(X * 50);
  B = TBitmap::FromQImage(Grey);
  ASSERT_EQ(B.PixelFormat(), pf8bit);
  EXPECT_EQ(B.Palette(), GreyPalette());
  EXPECT_EQ(Raw(B, 5, 1), 250u);

  // 5-5-5 with the unused top bit set by someone else: ours must be clear.
  alignas(4) quint16 Rgb555[4] = {0x8000 | 0x7C00, 0x001F, 0xFFFF, 0x0000};
  B = TBitmap::FromQImage(QImage(reinterpret_cast<uchar*>(Rgb555), 4, 1, 8, QImage::Format_RGB555));
  ASSERT_EQ(B.PixelFormat(), pf15bit);
  EXPECT_EQ(Raw(B, 0, 0), 0x7C00u);
  EXPECT_EQ(Raw(B, 1, 0), 0x001Fu);
  EXPECT_EQ(Raw(B, 2, 0), 0x7FFFu);

  alignas(4) quint16 Rgb565[2] = {0xF800, 0x07E0};
  B = TBitmap::FromQImage(QImage(reinterpret_cast<uchar*>(Rgb565), 2, 1, 4, QImage::Format_RGB16));
  ASSERT_EQ(B.PixelFormat(), pf16bit);
  EXPECT_EQ(Raw(B, 0, 0), 0xF800u);
  EXPECT_EQ(Raw(B, 1, 0), 0x07E0u);

  // Byte orders: both 24-bit layouts end up B,G,R.
  for (QImage::Format Q : {QImage::Format_RGB888, QImage::Format_BGR888}) {
    QImage I(3, 2, Q);
    I.fill(Qt::white);
    I.setPixel(0, 0, qRgb(10, 20, 30));
    I.setPixel(2, 1, qRgb(200, 100, 50));
    B = TBitmap::FromQImage(I);
    ASSERT_EQ(B.PixelFormat(), pf24bit);
    EXPECT_EQ(B.ScanLine(0)[0], 30);
    EXPECT_EQ(B.ScanLine(0)[1], 20);
    EXPECT_EQ(B.ScanLine(0)[2], 10);
    EXPECT_EQ(At(B, 2, 1), qRgb(200, 100, 50));
    EXPECT_EQ(At(B, 1, 1), White);
  }

  // Every other format goes through RGB32.
  QImage Alpha(2, 1, QImage::Format_ARGB32);
  Alpha.setPixel(0, 0, qRgba(10, 20, 30, 255));
  Alpha.setPixel(1, 0, qRgba(40, 50, 60, 255));
  QImage Rgba = Alpha.convertToFormat(QImage::Format_RGBA8888);
  QImage Premultiplied = Alpha.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  for (const QImage& I : {Alpha, Rgba, Premultiplied}) {
    B = TBitmap::FromQImage(I);
    ASSERT_EQ(B.PixelFormat(), pf32bit) << I.format();
    EXPECT_EQ(At(B, 0, 0), qRgb(10, 20, 30)) << I.format();
    EXPECT_EQ(At(B, 1, 0), qRgb(40, 50, 60)) << I.format();
  }

  // Rows wider than needed in the source image.
  alignas(4) quint32 Wide[2 * 16] = {};
  Wide[0] = 0xFF112233;
  Wide[16] = 0xFF445566;
  Wide[16 + 2] = 0xFF778899;
  B = TBitmap::FromQImage(QImage(reinterpret_cast<uchar*>(Wide), 3, 2, 64, QImage::Format_RGB32));
  EXPECT_EQ(At(B, 0, 0), 0xFF112233u);
  EXPECT_EQ(At(B, 0, 1), 0xFF445566u);
  EXPECT_EQ(At(B, 2, 1), 0xFF778899u);

  B = TBitmap::FromQImage(QImage());
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.PixelFormat(), pf32bit);
}

}  // namespace
}  // namespace vte
