// Reading and writing TBitmap files: BMP, JPEG and PNG.
//
// Qt's readers decode the pixels, but they are lenient: a BMP, JPEG or PNG cut short comes back as
// a partly decoded picture without any error. The structure of each file is therefore checked
// here before decoding, so that a damaged file fails loudly instead of showing a half picture.
// BMP files are written here as well: Qt's writer knows only 1, 4, 8 and 24 bits a pixel, so a
// 32-bit or 16-bit bitmap would come back in another format after a round trip.
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <cstring>
#include <stdexcept>

#include "gdi/bitmap.h"

namespace vte {

namespace {

enum TFileKind { fkUnknown, fkBmp, fkJpeg, fkPng };

[[noreturn]] void Fail(const QString& Message) { throw std::runtime_error(Message.toStdString()); }

QString Quoted(const QString& FileName) { return QLatin1Char('\'') + FileName + QLatin1Char('\''); }

std::uint32_t Byte(const QByteArray& D, qsizetype Offset) {
  return static_cast<std::uint8_t>(D[Offset]);
}
std::uint32_t Le16(const QByteArray& D, qsizetype O) { return Byte(D, O) | Byte(D, O + 1) << 8; }
std::uint32_t Le32(const QByteArray& D, qsizetype O) {
  return Byte(D, O) | Byte(D, O + 1) << 8 | Byte(D, O + 2) << 16 | Byte(D, O + 3) << 24;
}
std::uint32_t Be32(const QByteArray& D, qsizetype O) {
  return Byte(D, O) << 24 | Byte(D, O + 1) << 16 | Byte(D, O + 2) << 8 | Byte(D, O + 3);
}

// The kind of picture by its first bytes; the name's extension does not count.
TFileKind KindOf(const QByteArray& D) {
  if (D.size() >= 2 && D.startsWith("BM")) return fkBmp;
  if (D.size() >= 3 && Byte(D, 0) == 0xFF && Byte(D, 1) == 0xD8 && Byte(D, 2) == 0xFF) return fkJpeg;
  if (D.startsWith(QByteArray::fromRawData("\x89PNG\r\n\x1a\n", 8))) return fkPng;
  return fkUnknown;
}

QByteArray ReadWholeFile(const QString& FileName) {
  const QFileInfo Info(FileName);
  if (!Info.exists()) Fail(QStringLiteral("Cannot open file %1: No such file").arg(Quoted(FileName)));
  if (Info.isDir()) Fail(QStringLiteral("Cannot open file %1: it is a folder").arg(Quoted(FileName)));
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly))
    Fail(QStringLiteral("Cannot open file %1: %2").arg(Quoted(FileName), File.errorString()));
  QByteArray Data = File.readAll();
  if (File.error() != QFileDevice::NoError)
    Fail(QStringLiteral("Cannot read file %1: %2").arg(Quoted(FileName), File.errorString()));
  return Data;
}

[[noreturn]] void FailTruncated(const QString& FileName, const char* What) {
  Fail(QStringLiteral("%1 is truncated (%2)").arg(Quoted(FileName), QLatin1String(What)));
}

// --- BMP -----------------------------------------------------------------------------------------

constexpr std::uint32_t BI_RGB = 0, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;
constexpr int FileHeaderSize = 14, InfoHeaderSize = 40;

struct TBmpHeader {
  std::int64_t Width = 0, Height = 0;
  int BitCount = 0;
  std::uint32_t Compression = BI_RGB;
  std::uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0;
  TPalette FirstColours;  // the palette's first two entries as the file has them (1-bit files)
};

// Reads the headers and checks that the file holds every byte they promise.
TBmpHeader CheckBmp(const QByteArray& D, const QString& FileName) {
  if (D.size() < FileHeaderSize + 4) FailTruncated(FileName, "incomplete file header");
  const std::uint32_t OffBits = Le32(D, 10);
  const std::uint32_t InfoSize = Le32(D, FileHeaderSize);
  if (D.size() < FileHeaderSize + static_cast<qint64>(InfoSize)) FailTruncated(FileName, "incomplete bitmap header");
  TBmpHeader H;
  std::uint32_t SizeImage = 0;
  if (InfoSize == 12) {  // the old OS/2 core header
    H.Width = static_cast<std::int16_t>(Le16(D, 18));
    H.Height = static_cast<std::int16_t>(Le16(D, 20));
    H.BitCount = static_cast<int>(Le16(D, 24));
  } else if (InfoSize >= 16) {
    H.Width = static_cast<std::int32_t>(Le32(D, 18));
    H.Height = static_cast<std::int32_t>(Le32(D, 22));
    H.BitCount = static_cast<int>(Le16(D, 28));
    if (InfoSize >= 20) H.Compression = Le32(D, 30);
    if (InfoSize >= 24) SizeImage = Le32(D, 34);
    if (H.Compression == BI_BITFIELDS || H.Compression == BI_ALPHABITFIELDS) {
      // Version 4 and 5 headers hold the masks; after the plain 40-byte one they follow it.
      const qsizetype At = FileHeaderSize + (InfoSize >= 52 ? 40 : static_cast<qsizetype>(InfoSize));
      if (D.size() < At + 12) FailTruncated(FileName, "incomplete colour masks");
      H.RedMask = Le32(D, At);
      H.GreenMask = Le32(D, At + 4);
      H.BlueMask = Le32(D, At + 8);
    }
  } else {
    // Not a header size any BMP version uses: Qt will name the problem when it reads.
    return H;
  }
  if (H.BitCount == 1) {
    const qsizetype At = FileHeaderSize + static_cast<qsizetype>(InfoSize);
    const qsizetype Entry = InfoSize == 12 ? 3 : 4;
    for (qsizetype I = 0; I < 2 && At + (I + 1) * Entry <= D.size(); ++I)
      H.FirstColours.push_back(qRgb(Byte(D, At + I * Entry + 2), Byte(D, At + I * Entry + 1), Byte(D, At + I * Entry)));
  }
  if (OffBits > static_cast<std::uint64_t>(D.size())) FailTruncated(FileName, "no pixel data");
  const std::int64_t Rows = H.Height < 0 ? -H.Height : H.Height;
  if (H.Compression == BI_RGB || H.Compression == BI_BITFIELDS || H.Compression == BI_ALPHABITFIELDS) {
    if (H.Width > 0 && H.BitCount > 0) {
      const std::int64_t Stride = (H.Width * H.BitCount + 31) / 32 * 4;
      if (static_cast<std::int64_t>(D.size()) < static_cast<std::int64_t>(OffBits) + Rows * Stride)
        FailTruncated(FileName, "fewer pixel rows than the header gives");
    }
  } else if (SizeImage > 0 &&
             static_cast<std::uint64_t>(D.size()) < static_cast<std::uint64_t>(OffBits) + SizeImage) {
    // Run-length data has no fixed row size; the header's image size is all there is to check.
    FailTruncated(FileName, "less pixel data than the header gives");
  }
  return H;
}

// The format a BMP file's pixels are kept in: the depth of the file.
TPixelFormat BmpPixelFormat(const TBmpHeader& H) {
  switch (H.BitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
      if (H.Compression == BI_RGB) return pf15bit;
      if (H.BlueMask == 0x001F && H.GreenMask == 0x03E0 && H.RedMask == 0x7C00) return pf15bit;
      if (H.BlueMask == 0x001F && H.GreenMask == 0x07E0 && H.RedMask == 0xF800) return pf16bit;
      return pf24bit;  // other channel layouts: keep every bit the file has
    case 32: return pf32bit;
    default: return pf24bit;
  }
}

void PutLe16(QByteArray& D, std::uint32_t V) {
  D.append(static_cast<char>(V & 0xFF));
  D.append(static_cast<char>((V >> 8) & 0xFF));
}
void PutLe32(QByteArray& D, std::uint32_t V) {
  PutLe16(D, V & 0xFFFF);
  PutLe16(D, V >> 16);
}

// A BMP file of the bitmap in its own depth: 1/4/8 bits with the palette, 16 bits as 5-5-5
// (the plain layout) or 5-6-5 (with bit-field masks), 24 and 32 bits. Rows are bottom-up.
QByteArray EncodeBmp(const TBitmap& B, const QString& FileName) {
  const TPixelFormat F = B.PixelFormat();
  const int Bits = PixelFormatStorageBits(F);
  std::size_t Colours = 0;
  if (IsPaletteFormat(F)) {
    const std::size_t Max = std::size_t{1} << Bits;
    // A zero colour count tells readers "all 2^bits entries", so an empty palette is written
    // as that many blacks (what its indices decode to).
    Colours = B.Palette().empty() ? Max : std::min(B.Palette().size(), Max);
  }
  const std::uint32_t Compression = F == pf16bit ? BI_BITFIELDS : BI_RGB;
  const std::uint64_t MaskBytes = F == pf16bit ? 12 : 0;
  const std::uint64_t OffBits = FileHeaderSize + InfoHeaderSize + MaskBytes + 4 * Colours;
  const std::uint64_t ImageBytes = static_cast<std::uint64_t>(B.ScanlineBytes()) * B.Height();
  if (OffBits + ImageBytes > 0xFFFFFFFFu)
    Fail(QStringLiteral("Cannot save %1: the bitmap is too large for a BMP file").arg(Quoted(FileName)));

  QByteArray D;
  D.reserve(static_cast<qsizetype>(OffBits + ImageBytes));
  D.append("BM", 2);
  PutLe32(D, static_cast<std::uint32_t>(OffBits + ImageBytes));
  PutLe32(D, 0);
  PutLe32(D, static_cast<std::uint32_t>(OffBits));
  PutLe32(D, InfoHeaderSize);
  PutLe32(D, static_cast<std::uint32_t>(B.Width()));
  PutLe32(D, static_cast<std::uint32_t>(B.Height()));
  PutLe16(D, 1);
  PutLe16(D, static_cast<std::uint32_t>(Bits));
  PutLe32(D, Compression);
  PutLe32(D, static_cast<std::uint32_t>(ImageBytes));
  PutLe32(D, 3780);  // 96 dots an inch
  PutLe32(D, 3780);
  PutLe32(D, static_cast<std::uint32_t>(Colours));
  PutLe32(D, 0);
  if (F == pf16bit) {
    PutLe32(D, 0xF800);
    PutLe32(D, 0x07E0);
    PutLe32(D, 0x001F);
  }
  for (std::size_t I = 0; I < Colours; ++I) {
    const QRgb C = I < B.Palette().size() ? B.Palette()[I] : qRgb(0, 0, 0);
    D.append(static_cast<char>(qBlue(C)));
    D.append(static_cast<char>(qGreen(C)));
    D.append(static_cast<char>(qRed(C)));
    D.append('\0');
  }
  for (int Y = B.Height() - 1; Y >= 0; --Y)
    D.append(reinterpret_cast<const char*>(B.ScanLine(Y)), B.ScanlineBytes());
  return D;
}

// --- JPEG and PNG ------------------------------------------------------------------------------

void CheckJpeg(const QByteArray& D, const QString& FileName) {
  // A complete stream ends with the end-of-image marker; some writers pad the file with zeros.
  qsizetype End = D.size();
  while (End > 2 && Byte(D, End - 1) == 0) --End;
  if (End < 4 || Byte(D, End - 2) != 0xFF || Byte(D, End - 1) != 0xD9)
    FailTruncated(FileName, "no end-of-image marker");
}

void CheckPng(const QByteArray& D, const QString& FileName) {
  // Walks the chunks up to the closing IEND one.
  qsizetype At = 8;
  for (;;) {
    if (D.size() - At < 12) FailTruncated(FileName, "no IEND chunk");
    const std::uint32_t Length = Be32(D, At);
    if (Length > 0x7FFFFFFFu)
      Fail(QStringLiteral("%1 is damaged (a PNG chunk length out of range)").arg(Quoted(FileName)));
    if (D.size() - At - 12 < static_cast<qsizetype>(Length)) FailTruncated(FileName, "an incomplete PNG chunk");
    if (std::memcmp(D.constData() + At + 4, "IEND", 4) == 0) return;
    At += 12 + static_cast<qsizetype>(Length);
  }
}

QImage Decode(const QByteArray& Data, const char* Format, const QString& FileName) {
  if (!QImageReader::supportedImageFormats().contains(Format))
    Fail(QStringLiteral("%1 is a %2 file, but Qt has no %2 reader here")
             .arg(Quoted(FileName), QString::fromLatin1(Format).toUpper()));
  QBuffer Buffer;
  Buffer.setData(Data);
  Buffer.open(QIODevice::ReadOnly);
  QImageReader Reader(&Buffer, Format);
  // The pixels as stored: the class library ignores orientation tags.
  Reader.setAutoTransform(false);
  QImage Image;
  if (!Reader.read(&Image) || Image.isNull())
    Fail(QStringLiteral("%1 is not a picture file Qt can read (%2)").arg(Quoted(FileName), Reader.errorString()));
  return Image;
}

// A 4-bit BMP reaches us as Indexed8 with the file's indices and palette: those are kept as
// they are (converting through colours would merge duplicate palette entries).
TBitmap ToFourBit(const TBitmap& Eight) {
  TBitmap Result(Eight.Width(), Eight.Height(), pf4bit);
  TPalette Palette(Eight.Palette().begin(), Eight.Palette().begin() + std::min<std::size_t>(16, Eight.Palette().size()));
  Palette.resize(16, qRgb(0, 0, 0));
  Result.SetPalette(std::move(Palette));
  for (int Y = 0; Y < Eight.Height(); ++Y) {
    const std::uint8_t* S = Eight.ScanLine(Y);
    std::uint8_t* D = Result.ScanLine(Y);
    for (int X = 0; X < Eight.Width(); ++X) WritePixel(D, X, pf4bit, S[X] & 0x0F);
  }
  return Result;
}

// Qt's BMP reader turns a 1-bit picture whose first colour is the darker one upside down: it
// inverts every index and swaps the two colours (its own bitmaps have 0 white). The colours stay
// right, but the indices are no longer the file's, and masks work on indices. This undoes it.
void RestoreMonoIndices(TBitmap& B, const TPalette& FileColours) {
  if (B.PixelFormat() != pf1bit || FileColours.size() != 2 || B.Palette().size() != 2) return;
  const QRgb File0 = FileColours[0] | 0xFF000000u, File1 = FileColours[1] | 0xFF000000u;
  if (File0 == File1 || B.Palette()[0] != File1 || B.Palette()[1] != File0) return;
  const int Bytes = (B.Width() + 7) / 8;
  for (int Y = 0; Y < B.Height(); ++Y) {
    std::uint8_t* Row = B.ScanLine(Y);
    for (int I = 0; I < Bytes; ++I) Row[I] = static_cast<std::uint8_t>(~Row[I]);
    if (B.Width() & 7) Row[Bytes - 1] &= static_cast<std::uint8_t>(0xFF00 >> (B.Width() & 7));
  }
  B.SetPalette({File0, File1});
}

}  // namespace

void TBitmap::LoadFromFile(const QString& FileName) {
  const QByteArray Data = ReadWholeFile(FileName);
  TBitmap Loaded;
  switch (KindOf(Data)) {
    case fkBmp: {
      const TBmpHeader Header = CheckBmp(Data, FileName);
      const TPixelFormat Target = BmpPixelFormat(Header);
      Loaded = FromQImage(Decode(Data, "bmp", FileName));
      RestoreMonoIndices(Loaded, Header.FirstColours);
      if (Target == pf4bit && Loaded.PixelFormat() == pf8bit)
        Loaded = ToFourBit(Loaded);
      else
        Loaded.SetPixelFormat(Target);
      break;
    }
    case fkJpeg: {
      CheckJpeg(Data, FileName);
      QImage Image = Decode(Data, "jpeg", FileName);
      // Like the class library's JPEG-to-bitmap step: 24 bits a pixel, greyscale pictures too.
      Image = Image.convertToFormat(QImage::Format_BGR888);
      if (Image.isNull()) throw std::bad_alloc();
      Loaded = FromQImage(Image);
      break;
    }
    case fkPng:
      CheckPng(Data, FileName);
      Loaded = FromQImage(Decode(Data, "png", FileName));
      // Palette and grey pictures keep their indices; every other kind becomes 32-bit.
      if (!IsPaletteFormat(Loaded.PixelFormat())) Loaded.SetPixelFormat(pf32bit);
      break;
    default:
      Fail(QStringLiteral("%1 is not a picture file Qt can read (not BMP, JPEG or PNG)").arg(Quoted(FileName)));
  }
  // Only a fully read picture replaces the current one.
  SwapContents(Loaded);
}

void TBitmap::SaveToFile(const QString& FileName) const {
  const QString Suffix = QFileInfo(FileName).suffix().toLower();
  const char* Format = nullptr;
  if (Suffix == QLatin1String("bmp")) Format = "bmp";
  else if (Suffix == QLatin1String("jpg") || Suffix == QLatin1String("jpeg")) Format = "jpeg";
  else if (Suffix == QLatin1String("png")) Format = "png";
  else
    Fail(QStringLiteral("Cannot save %1: unknown picture file extension (use .bmp, .jpg, .jpeg or .png)")
             .arg(Quoted(FileName)));
  if (Empty()) Fail(QStringLiteral("Cannot save %1: the bitmap is empty").arg(Quoted(FileName)));

  QByteArray Bytes;
  if (std::strcmp(Format, "bmp") == 0) {
    Bytes = EncodeBmp(*this, FileName);
  } else {
    if (!QImageWriter::supportedImageFormats().contains(Format))
      Fail(QStringLiteral("Cannot save %1: Qt has no %2 writer here").arg(Quoted(FileName), QLatin1String(Format)));
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::WriteOnly);
    QImageWriter Writer(&Buffer, Format);
    if (std::strcmp(Format, "jpeg") == 0) Writer.setQuality(90);  // the class library's default
    if (!Writer.write(ToQImage()))
      Fail(QStringLiteral("Cannot save %1: %2").arg(Quoted(FileName), Writer.errorString()));
  }
  // Written through a temporary file: a failed save leaves an existing file as it was.
  QSaveFile File(FileName);
  if (!File.open(QIODevice::WriteOnly))
    Fail(QStringLiteral("Cannot create file %1: %2").arg(Quoted(FileName), File.errorString()));
  if (File.write(Bytes) != Bytes.size() || !File.commit())
    Fail(QStringLiteral("Cannot write file %1: %2").arg(Quoted(FileName), File.errorString()));
}

}  // namespace vte
