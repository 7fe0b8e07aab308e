// The data files the build generates beside the program: every one reads back as what the pages
// expect of it, masks are true 8-bit greys, and the tiled textures show no seam.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>

#include "demo_test_support.h"
#include "effects/bitmap_mask.h"

namespace vte::demo {
namespace {

class DemoDataFiles : public ::testing::Test {
protected:
  void SetUp() override { test::UseGeneratedData(); }
};

// The mean difference across the wrap (last column against the first, or last row against the
// first), against the largest between neighbouring columns or rows inside the picture: a seam is a
// jump beyond any the texture makes by itself.
double SeamRatio(const QImage& Image, bool Across) {
  const int Lines = Across ? Image.width() : Image.height(), Length = Across ? Image.height() : Image.width();
  auto Grey = [&](int Line, int I) { return qGray(Across ? Image.pixel(Line, I) : Image.pixel(I, Line)); };
  auto Jump = [&](int A, int B) {
    double Sum = 0;
    for (int I = 0; I < Length; ++I) Sum += std::abs(Grey(A, I) - Grey(B, I));
    return Sum / Length;
  };
  double Largest = 0;
  for (int Line = 0; Line + 1 < Lines; ++Line) Largest = std::max(Largest, Jump(Line, Line + 1));
  return Jump(Lines - 1, 0) / std::max(Largest, 1.0);
}

TEST_F(DemoDataFiles, TexturesTileWithoutSeams) {
  for (const char* Name : {"Stone.jpg", "Wood.jpg", "Strokes.jpg", "Wall.jpg"}) {
    QImage Image(ProgramFile(QString::fromLatin1(Name)));
    ASSERT_FALSE(Image.isNull()) << Name;
    EXPECT_LE(SeamRatio(Image, true), 1.0) << Name;
    EXPECT_LE(SeamRatio(Image, false), 1.0) << Name;
  }
}

TEST_F(DemoDataFiles, PicturesAreFoundWhateverTheCaseOfTheirNames) {
  for (const char* Name : {"box.jpg", "stone.jpg", "Strokes.jpg", "wall.jpg", "wood.jpg", "VEff.jpg", "gradient.jpg",
                           "Contact.jpg"})
    EXPECT_FALSE(QImage(ProgramFile(QString::fromLatin1(Name))).isNull()) << Name;
  EXPECT_TRUE(ProgramFile(QStringLiteral("nothing.jpg")).endsWith(QStringLiteral("/nothing.jpg")));
}

TEST_F(DemoDataFiles, MasksAreGreyRampsOfEightBits) {
  for (const char* Name : {"Twirl.bmp", "Wiper.bmp"}) {
    const TBitmap Mask = TBmpMaskTransition::LoadMaskFromFile(ProgramFile(QString::fromLatin1(Name)));
    ASSERT_EQ(Mask.PixelFormat(), pf8bit) << Name;
    // A ramp uses nearly every level: the transition then changes pixels in every frame.
    bool Seen[256] = {};
    for (int Y = 0; Y < Mask.Height(); ++Y)
      for (int X = 0; X < Mask.Width(); ++X) Seen[Mask.ScanLine(Y)[X]] = true;
    EXPECT_GT(std::count(std::begin(Seen), std::end(Seen), true), 240) << Name;
  }
}

TEST_F(DemoDataFiles, ChimeIsAPcmWave) {
  QFile Chime(ProgramFile(QStringLiteral("welcome.wav")));
  ASSERT_TRUE(Chime.open(QIODevice::ReadOnly));
  const QByteArray Wave = Chime.readAll();
  ASSERT_GT(Wave.size(), 44);
  EXPECT_EQ(Wave.left(4), QByteArray("RIFF"));
  EXPECT_EQ(Wave.mid(8, 8), QByteArray("WAVEfmt "));
  EXPECT_EQ(qFromLittleEndian<quint32>(Wave.constData() + 40), quint32(Wave.size() - 44));
}

}  // namespace
}  // namespace vte::demo
