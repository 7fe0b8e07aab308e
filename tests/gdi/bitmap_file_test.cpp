// Loading and saving TBitmap files. Every input file is made here at run time, either by Qt's
// writers or byte by byte.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>

#include "gdi/bitmap.h"
#include "support/bitmap_support.h"

namespace vte {
namespace {

using test::DescribeDifference;
using test::FillNoise;
using test::BlitConvertValue;
using test::RandomPalette;
using test::Raw;

QRgb At(const TBitmap& B, int X, int Y) {
  return DecodePixel(B.PixelFormat(), B.Palette(), ReadPixel(B.ScanLine(Y), X, B.PixelFormat()));
}


// A picture with smooth areas and edges, so that JPEG keeps it close.
QImage Gradient(int W, int H) {
  QImage I(W, H, QImage::Format_RGB32);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) I.setPixel(X, Y, qRgb(X * 255 / (W - 1), Y * 255 / (H - 1), 128));
  return I;
}

void PutLe(QByteArray& D, std::uint32_t V, int Bytes) {
  for (int I = 0; I < Bytes; ++I) D.append(static_cast<char>((V >> (8 * I)) & 0xFF));
}

// A BMP file written byte by byte: a 40-byte header, optional bit-field masks, optional palette,
// then the rows (bottom-up unless TopDown), each padded to four bytes. Pixel(X, Y) gives the raw
// value of the picture's pixel at row Y from the top.
QByteArray MakeBmp(int W, int H, int Bits, std::uint32_t Compression, const std::vector<std::uint32_t>& Masks,
                   const TPalette& Palette, const std::function<std::uint32_t(int, int)>& Pixel,
                   bool TopDown = false) {
  const int Stride = (W * Bits + 31) / 32 * 4;
  const std::uint32_t Off = 14 + 40 + 4 * static_cast<std::uint32_t>(Masks.size() + Palette.size());
  QByteArray D("BM");
  PutLe(D, Off + Stride * H, 4);
  PutLe(D, 0, 4);
  PutLe(D, Off, 4);
  PutLe(D, 40, 4);
  PutLe(D, static_cast<std::uint32_t>(W), 4);
  PutLe(D, static_cast<std::uint32_t>(TopDown ? -H : H), 4);
  PutLe(D, 1, 2);
  PutLe(D, static_cast<std::uint32_t>(Bits), 2);
  PutLe(D, Compression, 4);
  PutLe(D, static_cast<std::uint32_t>(Stride * H), 4);
  PutLe(D, 2835, 4);
  PutLe(D, 2835, 4);
  PutLe(D, static_cast<std::uint32_t>(Palette.size()), 4);
  PutLe(D, 0, 4);
  for (std::uint32_t M : Masks) PutLe(D, M, 4);
  for (QRgb C : Palette) PutLe(D, C & 0xFFFFFF, 4);
  for (int Row = 0; Row < H; ++Row) {
    const int Y = TopDown ? Row : H - 1 - Row;
    QByteArray Line(Stride, '\0');
    for (int X = 0; X < W; ++X) {
      const std::uint32_t V = Pixel(X, Y);
      for (int B = 0; B < Bits / 8; ++B) Line[X * Bits / 8 + B] = static_cast<char>((V >> (8 * B)) & 0xFF);
    }
    D.append(Line);
  }
  return D;
}

class BitmapFile : public ::testing::Test {
protected:
  QString Path(const QString& Name) const { return FDir.filePath(Name); }

  static QByteArray ReadAll(const QString& Name) {
    QFile F(Name);
    EXPECT_TRUE(F.open(QIODevice::ReadOnly)) << Name.toStdString();
    return F.readAll();
  }
  static void WriteAll(const QString& Name, const QByteArray& Data) {
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly)) << Name.toStdString();
    ASSERT_EQ(F.write(Data), Data.size());
  }
  static int BmpBitCount(const QString& Name) {
    const QByteArray D = ReadAll(Name);
    return D.size() < 30 ? -1 : static_cast<std::uint8_t>(D[28]) | static_cast<std::uint8_t>(D[29]) << 8;
  }

  // Loading must fail with a message naming the file and giving Reason, and leave a bitmap that
  // already held a picture exactly as it was.
  static void ExpectLoadFails(const QString& Name, const std::string& Reason) {
    TBitmap B(7, 5, pf8bit);
    B.SetPalette(RandomPalette(256, 77));
    FillNoise(B, 31);
    const TBitmap Before(B);
    try {
      B.LoadFromFile(Name);
      ADD_FAILURE() << "no error loading " << Name.toStdString();
    } catch (const std::runtime_error& E) {
      const std::string Message = E.what();
      EXPECT_NE(Message.find("'" + Name.toStdString() + "'"), std::string::npos) << Message;
      EXPECT_NE(Message.find(Reason), std::string::npos) << Message;
    }
    EXPECT_EQ(DescribeDifference(B, Before), "");
    EXPECT_EQ(B.Palette(), Before.Palette());
  }

  QTemporaryDir FDir;
};

// --- BMP -----------------------------------------------------------------------------------------

TEST_F(BitmapFile, GreyBmpLoadsAsEightBitWithItsPalette) {
  QImage Image(23, 7, QImage::Format_Indexed8);
  QList<QRgb> Greys;
  for (int I = 0; I < 256; ++I) Greys.push_back(qRgb(I, I, I));
  Image.setColorTable(Greys);
  for (int Y = 0; Y < 7; ++Y)
    for (int X = 0; X < 23; ++X) Image.setPixel(X, Y, (X * 11 + Y * 37) % 256);
  const QString Name = Path("grey.bmp");
  ASSERT_TRUE(Image.save(Name, "BMP"));
  ASSERT_EQ(BmpBitCount(Name), 8);

  TBitmap B;
  B.LoadFromFile(Name);
  ASSERT_EQ(B.PixelFormat(), pf8bit);
  ASSERT_EQ(B.Width(), 23);
  ASSERT_EQ(B.Height(), 7);
  EXPECT_EQ(B.Palette(), GreyPalette());
  for (int Y = 0; Y < 7; ++Y)
    for (int X = 0; X < 23; ++X) ASSERT_EQ(Raw(B, X, Y), static_cast<std::uint32_t>(Image.pixelIndex(X, Y)));
}

TEST_F(BitmapFile, FourAndOneBitBmpsKeepTheirIndicesAndPalettes) {
  // Sixteen colours with a repeated one: indices must survive as they are, not by colour.
  QImage Sixteen(9, 4, QImage::Format_Indexed8);
  QList<QRgb> Table;
  for (int I = 0; I < 16; ++I) Table.push_back(qRgb(I * 16, 255 - I * 9, (I * 70) & 0xFF));
  Table[12] = Table[3];
  Sixteen.setColorTable(Table);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 9; ++X) Sixteen.setPixel(X, Y, (X + 5 * Y) % 16);
  const QString FourName = Path("sixteen.bmp");
  ASSERT_TRUE(Sixteen.save(FourName, "BMP"));
  ASSERT_EQ(BmpBitCount(FourName), 4);
  TBitmap B;
  B.LoadFromFile(FourName);
  ASSERT_EQ(B.PixelFormat(), pf4bit);
  EXPECT_EQ(B.Palette(), TPalette(Table.begin(), Table.end()));
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 9; ++X) ASSERT_EQ(Raw(B, X, Y), static_cast<std::uint32_t>((X + 5 * Y) % 16));

  QImage Two(13, 3, QImage::Format_Mono);
  Two.setColorTable({qRgb(90, 0, 0), qRgb(255, 255, 180)});
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 13; ++X) Two.setPixel(X, Y, (X * Y + X) % 3 == 0 ? 1 : 0);
  const QString OneName = Path("two.bmp");
  ASSERT_TRUE(Two.save(OneName, "BMP"));
  ASSERT_EQ(BmpBitCount(OneName), 1);
  B.LoadFromFile(OneName);
  ASSERT_EQ(B.PixelFormat(), pf1bit);
  EXPECT_EQ(B.Palette(), TPalette({qRgb(90, 0, 0), qRgb(255, 255, 180)}));
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 13; ++X) ASSERT_EQ(Raw(B, X, Y), static_cast<std::uint32_t>(Two.pixelIndex(X, Y)));
}

TEST_F(BitmapFile, DeepBmpsLoadInTheirOwnDepth) {
  auto Value = [](int X, int Y) { return static_cast<std::uint32_t>(X * 2654435761u ^ Y * 40503u); };
  struct TCase { const char* Name; int Bits; std::uint32_t Compression; std::vector<std::uint32_t> Masks;
                 std::uint32_t ValueMask; TPixelFormat Expected; bool TopDown; };
  const std::array<TCase, 6> Cases = {{
      {"555.bmp", 16, 0, {}, 0x7FFF, pf15bit, false},
      {"555-fields.bmp", 16, 3, {0x7C00, 0x03E0, 0x001F}, 0x7FFF, pf15bit, false},
      {"565.bmp", 16, 3, {0xF800, 0x07E0, 0x001F}, 0xFFFF, pf16bit, false},
      {"24.bmp", 24, 0, {}, 0xFFFFFF, pf24bit, false},
      {"24-topdown.bmp", 24, 0, {}, 0xFFFFFF, pf24bit, true},
      {"32.bmp", 32, 0, {}, 0xFFFFFF, pf32bit, false},
  }};
  for (const TCase& C : Cases) {
    const QString Name = Path(QString::fromLatin1(C.Name));
    WriteAll(Name, MakeBmp(11, 6, C.Bits, C.Compression, C.Masks, {},
                           [&](int X, int Y) { return Value(X, Y) & C.ValueMask; }, C.TopDown));
    TBitmap B;
    B.LoadFromFile(Name);
    ASSERT_EQ(B.PixelFormat(), C.Expected) << C.Name;
    ASSERT_EQ(B.Width(), 11);
    ASSERT_EQ(B.Height(), 6);
    for (int Y = 0; Y < 6; ++Y)
      for (int X = 0; X < 11; ++X)
        ASSERT_EQ(Raw(B, X, Y) & C.ValueMask, Value(X, Y) & C.ValueMask) << C.Name << " at " << X << "," << Y;
  }
}

TEST_F(BitmapFile, BmpRoundTripsAreExactInEveryFormat) {
  for (TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    for (bool OwnPalette : {false, true}) {
      if (OwnPalette && !IsPaletteFormat(F)) continue;
      TBitmap B(19, 6, F);
      if (OwnPalette) B.SetPalette(RandomPalette(std::size_t{1} << PixelFormatStorageBits(F), 40 + F));
      FillNoise(B, 50 + F);
      const QString Name = Path(QStringLiteral("round-%1-%2.bmp").arg(F).arg(OwnPalette));
      B.SaveToFile(Name);
      ASSERT_EQ(BmpBitCount(Name), PixelFormatStorageBits(F)) << Name.toStdString();

      TBitmap Back;
      Back.LoadFromFile(Name);
      EXPECT_EQ(DescribeDifference(Back, B), "") << Name.toStdString();
      EXPECT_EQ(Back.Palette(), B.Palette()) << Name.toStdString();

      // Other programs read the same picture: Qt's own reader agrees on every pixel.
      const QImage Other(Name);
      ASSERT_FALSE(Other.isNull()) << Name.toStdString();
      for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 19; ++X) {
          if (F == pf15bit || F == pf16bit)  // Qt widens 5/6-bit channels its own way
            ASSERT_EQ(EncodePixel(F, {}, Other.pixel(X, Y)), Raw(B, X, Y)) << Name.toStdString();
          else
            ASSERT_EQ(Other.pixel(X, Y), At(B, X, Y)) << Name.toStdString() << " at " << X << "," << Y;
        }
    }
  }
}

// --- JPEG ----------------------------------------------------------------------------------------

TEST_F(BitmapFile, JpegLoadsAsTwentyFourBit) {
  const QImage Original = Gradient(40, 30);
  const QString Name = Path("gradient.jpg");
  ASSERT_TRUE(Original.save(Name, "JPEG", 95));
  TBitmap B(3, 3, pf8bit);
  B.LoadFromFile(Name);
  ASSERT_EQ(B.PixelFormat(), pf24bit);
  ASSERT_EQ(B.Width(), 40);
  ASSERT_EQ(B.Height(), 30);
  const QImage Decoded(Name);
  int Worst = 0;
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 40; ++X) {
      // The pixels Qt's decoder gives, and those are near the picture that was saved.
      ASSERT_EQ(At(B, X, Y), Decoded.pixel(X, Y)) << X << "," << Y;
      const QRgb A = At(B, X, Y), O = Original.pixel(X, Y);
      Worst = std::max({Worst, std::abs(qRed(A) - qRed(O)), std::abs(qGreen(A) - qGreen(O)),
                        std::abs(qBlue(A) - qBlue(O))});
    }
  EXPECT_LE(Worst, 12);

  // A greyscale JPEG is 24-bit as well.
  const QString GreyName = Path("grey.jpg");
  ASSERT_TRUE(Original.convertToFormat(QImage::Format_Grayscale8).save(GreyName, "JPEG", 95));
  B.LoadFromFile(GreyName);
  ASSERT_EQ(B.PixelFormat(), pf24bit);
  const QRgb C = At(B, 20, 15);
  EXPECT_EQ(qRed(C), qGreen(C));
  EXPECT_EQ(qGreen(C), qBlue(C));

  // Zero padding after the end-of-image marker is accepted.
  const QString Padded = Path("padded.jpg");
  WriteAll(Padded, ReadAll(Name) + QByteArray(64, '\0'));
  B.LoadFromFile(Padded);
  EXPECT_EQ(B.Width(), 40);
}

TEST_F(BitmapFile, SavesJpeg) {
  TBitmap B = TBitmap::FromQImage(Gradient(32, 24));
  B.SetPixelFormat(pf24bit);
  for (const char* Name : {"out.jpg", "out.JPEG"}) {
    const QString File = Path(QString::fromLatin1(Name));
    B.SaveToFile(File);
    const QByteArray Data = ReadAll(File);
    ASSERT_TRUE(Data.startsWith("\xFF\xD8\xFF")) << Name;
    TBitmap Back;
    Back.LoadFromFile(File);
    ASSERT_EQ(Back.Width(), 32);
    for (int Y = 0; Y < 24; Y += 5)
      for (int X = 0; X < 32; X += 5) {
        const QRgb A = At(Back, X, Y), O = At(B, X, Y);
        ASSERT_LE(std::abs(qRed(A) - qRed(O)) + std::abs(qGreen(A) - qGreen(O)) + std::abs(qBlue(A) - qBlue(O)), 30)
            << Name << " at " << X << "," << Y;
      }
  }
}

// --- PNG -----------------------------------------------------------------------------------------

TEST_F(BitmapFile, PngRoundTripsAreExact) {
  struct TCase { TPixelFormat Format; TPalette Palette; TPixelFormat Expected; };
  const std::array<TCase, 6> Cases = {{
      {pf32bit, {}, pf32bit},
      {pf8bit, DefaultPalette(pf8bit), pf8bit},
      {pf8bit, GreyPalette(), pf8bit},
      {pf1bit, DefaultPalette(pf1bit), pf1bit},
      {pf24bit, {}, pf32bit},
      {pf16bit, {}, pf32bit},
  }};
  int N = 0;
  for (const TCase& C : Cases) {
    TBitmap B(21, 9, C.Format);
    B.SetPalette(C.Palette);
    FillNoise(B, 60 + N);
    const QString Name = Path(QStringLiteral("round%1.png").arg(N++));
    B.SaveToFile(Name);
    ASSERT_TRUE(ReadAll(Name).startsWith("\x89PNG")) << Name.toStdString();
    TBitmap Back;
    Back.LoadFromFile(Name);
    ASSERT_EQ(Back.PixelFormat(), C.Expected) << Name.toStdString();
    if (C.Expected == C.Format) {
      EXPECT_EQ(DescribeDifference(Back, B), "") << Name.toStdString();
      EXPECT_EQ(Back.Palette(), B.Palette()) << Name.toStdString();
    } else {
      for (int Y = 0; Y < 9; ++Y)
        for (int X = 0; X < 21; ++X) ASSERT_EQ(At(Back, X, Y), At(B, X, Y)) << Name.toStdString();
    }
  }
}

TEST_F(BitmapFile, FormatIsTakenFromTheContentNotTheName) {
  const QImage Image = Gradient(8, 8);
  const QString PngNamedBmp = Path("really-a-png.bmp");
  ASSERT_TRUE(Image.save(PngNamedBmp, "PNG"));
  TBitmap B;
  B.LoadFromFile(PngNamedBmp);
  EXPECT_EQ(B.PixelFormat(), pf32bit);
  EXPECT_EQ(At(B, 7, 7), Image.pixel(7, 7));

  TBitmap Eight(5, 5, pf8bit);
  FillNoise(Eight, 1);
  const QString BmpNamedJpg = Path("really-a-bmp.jpg");
  WriteAll(BmpNamedJpg, [&] {
    Eight.SaveToFile(Path("tmp.bmp"));
    return ReadAll(Path("tmp.bmp"));
  }());
  B.LoadFromFile(BmpNamedJpg);
  EXPECT_EQ(DescribeDifference(B, Eight), "");

  // Saving goes by the extension, in any letter case.
  Eight.SaveToFile(Path("upper.PNG"));
  EXPECT_TRUE(ReadAll(Path("upper.PNG")).startsWith("\x89PNG"));
}

// --- errors --------------------------------------------------------------------------------------

TEST_F(BitmapFile, TruncatedFilesFailAndLeaveTheBitmapAlone) {
  TBitmap Picture = TBitmap::FromQImage(Gradient(48, 40));
  Picture.SetPixelFormat(pf24bit);
  const QString Bmp = Path("whole.bmp"), Jpeg = Path("whole.jpg"), Png = Path("whole.png");
  Picture.SaveToFile(Bmp);
  Picture.SaveToFile(Jpeg);
  Picture.SaveToFile(Png);
  const QByteArray BmpData = ReadAll(Bmp), JpegData = ReadAll(Jpeg), PngData = ReadAll(Png);

  const std::array<std::pair<const char*, QByteArray>, 7> Cut = {{
      {"cut.bmp", BmpData.left(BmpData.size() - 10)},
      {"cut-header.bmp", BmpData.left(20)},
      {"cut.jpg", JpegData.left(JpegData.size() - 200)},
      {"cut-end.jpg", JpegData.left(JpegData.size() - 2)},
      {"cut-iend.png", PngData.left(PngData.size() - 12)},
      {"cut.png", PngData.left(PngData.size() / 2)},
      {"cut-signature.png", PngData.left(10)},
  }};
  for (const auto& [Name, Data] : Cut) {
    const QString File = Path(QString::fromLatin1(Name));
    WriteAll(File, Data);
    SCOPED_TRACE(Name);
    ExpectLoadFails(File, "is truncated");
  }
}

TEST_F(BitmapFile, NonPicturesAndMissingFilesFail) {
  const QString Text = Path("notes.bmp");
  WriteAll(Text, "This is a text file, not a picture.\n");
  ExpectLoadFails(Text, "is not a picture file Qt can read");
  const QString Empty = Path("empty.png");
  WriteAll(Empty, QByteArray());
  ExpectLoadFails(Empty, "is not a picture file Qt can read");
  ExpectLoadFails(Path("missing.bmp"), "Cannot open file '" + Path("missing.bmp").toStdString() + "': No such file");
  ExpectLoadFails(FDir.path(), "Cannot open file");
}

TEST_F(BitmapFile, SaveErrorsNameTheFile) {
  const TBitmap B(4, 4, pf24bit);
  auto ExpectSaveFails = [](const TBitmap& Bitmap, const QString& Name) {
    try {
      Bitmap.SaveToFile(Name);
      ADD_FAILURE() << "no error saving " << Name.toStdString();
    } catch (const std::runtime_error& E) {
      EXPECT_NE(std::string(E.what()).find("'" + Name.toStdString() + "'"), std::string::npos) << E.what();
    }
    EXPECT_FALSE(QFile::exists(Name)) << Name.toStdString();
  };
  ExpectSaveFails(B, Path("picture.gif"));
  ExpectSaveFails(B, Path("picture"));
  ExpectSaveFails(B, Path("no-such-folder/picture.bmp"));
  ExpectSaveFails(B, Path("no-such-folder/picture.png"));
  ExpectSaveFails(TBitmap(), Path("empty.bmp"));
}

}  // namespace
}  // namespace vte
