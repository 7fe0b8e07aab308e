// The bridge between TBitmap and QImage: views over the bitmap's own memory, deep copies both
// ways. File reading and writing live in bitmap_file.cpp.
#include <QList>
#include <algorithm>
#include <cstring>
#include <new>

#include "gdi/bitmap.h"

namespace vte {

namespace {

// Colour tables handed to Qt are opaque: the device model has no alpha, and Qt would treat an
// entry written as 0x00RRGGBB as fully transparent when it draws or saves the image.
QList<QRgb> OpaqueTable(const TPalette& Palette, std::size_t Count) {
  QList<QRgb> Table;
  Table.reserve(static_cast<qsizetype>(Count));
  for (std::size_t I = 0; I < Count; ++I)
    Table.push_back(I < Palette.size() ? (Palette[I] | 0xFF000000u) : qRgb(0, 0, 0));
  return Table;
}

// Qt's Mono images have no default table when built over foreign memory, so a view of a 1-bit
// bitmap always gets exactly two entries; a missing one is black, as DecodePixel reads it.
QList<QRgb> MonoTable(const TPalette& Palette) { return OpaqueTable(Palette, 2); }

QList<QRgb> IndexedTable(const TPalette& Palette) { return OpaqueTable(Palette, Palette.size()); }

bool QtFormatOf(TPixelFormat Format, QImage::Format& Out) {
  switch (Format) {
    case pf32bit: Out = QImage::Format_RGB32; return true;
    case pf24bit: Out = QImage::Format_BGR888; return true;
    case pf16bit: Out = QImage::Format_RGB16; return true;
    case pf15bit: Out = QImage::Format_RGB555; return true;
    case pf8bit: Out = QImage::Format_Indexed8; return true;
    case pf1bit: Out = QImage::Format_Mono; return true;
    default: return false;
  }
}

// Bytes that hold the pixels of one row (the last one possibly in part).
std::size_t PixelBytes(int Width, TPixelFormat Format) {
  return (static_cast<std::size_t>(Width) * PixelFormatStorageBits(Format) + 7) / 8;
}

// The bits of a 1-bit row's last byte beyond the width are cleared so that whole-byte work on
// the rows never sees stray set bits coming from a foreign image.
void ClearMonoTail(std::uint8_t* Row, int Width) {
  if (Width & 7) Row[Width >> 3] &= static_cast<std::uint8_t>(0xFF00 >> (Width & 7));
}

std::uint8_t ReverseBits(std::uint8_t B) {
  B = static_cast<std::uint8_t>((B & 0xF0) >> 4 | (B & 0x0F) << 4);
  B = static_cast<std::uint8_t>((B & 0xCC) >> 2 | (B & 0x33) << 2);
  return static_cast<std::uint8_t>((B & 0xAA) >> 1 | (B & 0x55) << 1);
}

// A palette read from a Qt colour table, opaque, padded to Count entries. Qt itself draws a Mono
// image with a short table as black (0) and white (1), so those are the fillers there.
TPalette PaletteFromTable(const QList<QRgb>& Table, std::size_t Count, bool MonoDefaults) {
  TPalette P(Count, qRgb(0, 0, 0));
  if (MonoDefaults && Count == 2) P[1] = qRgb(255, 255, 255);
  for (std::size_t I = 0; I < Count && I < static_cast<std::size_t>(Table.size()); ++I)
    P[I] = Table[static_cast<qsizetype>(I)] | 0xFF000000u;
  return P;
}

}  // namespace

QImage TBitmap::View() {
  QImage::Format Format;
  if (Empty() || !QtFormatOf(FPixelFormat, Format)) return {};
  // The non-const pointer makes the image write into our memory; as long as the caller keeps
  // this image unshared, QPainter paints here instead of detaching into a private copy.
  QImage Image(FBits.get(), FWidth, FHeight, FStride, Format);
  if (FPixelFormat == pf8bit) Image.setColorTable(IndexedTable(FPalette));
  if (FPixelFormat == pf1bit) Image.setColorTable(MonoTable(FPalette));
  return Image;
}

QImage TBitmap::ToQImage() const {
  if (Empty()) return {};
  if (FPixelFormat == pf4bit) {
    QImage Image(FWidth, FHeight, QImage::Format_Indexed8);
    if (Image.isNull()) throw std::bad_alloc();
    Image.setColorTable(IndexedTable(FPalette));
    for (int Y = 0; Y < FHeight; ++Y) {
      const std::uint8_t* S = ScanLine(Y);
      uchar* D = Image.scanLine(Y);
      for (int X = 0; X + 1 < FWidth; X += 2) {
        D[X] = S[X >> 1] >> 4;
        D[X + 1] = S[X >> 1] & 0x0F;
      }
      if (FWidth & 1) D[FWidth - 1] = S[FWidth >> 1] >> 4;
    }
    return Image;
  }
  QImage::Format Format;
  if (!QtFormatOf(FPixelFormat, Format)) return {};
  QImage Image(FWidth, FHeight, Format);
  if (Image.isNull()) throw std::bad_alloc();
  const std::size_t Bytes = PixelBytes(FWidth, FPixelFormat);
  for (int Y = 0; Y < FHeight; ++Y) {
    uchar* D = Image.scanLine(Y);
    std::memcpy(D, ScanLine(Y), Bytes);
    // Format_RGB32 promises an opaque 0xFF top byte; ours is free (effects may leave anything
    // there), and Qt's converters and writers would take a stray value for alpha.
    if (FPixelFormat == pf32bit)
      for (int X = 0; X < FWidth; ++X) D[4 * X + 3] = 0xFF;
  }
  if (FPixelFormat == pf8bit) Image.setColorTable(IndexedTable(FPalette));
  if (FPixelFormat == pf1bit) Image.setColorTable(MonoTable(FPalette));
  return Image;
}

TBitmap TBitmap::FromQImage(const QImage& Source) {
  TBitmap Result;
  if (Source.isNull()) return Result;
  QImage Image = Source;
  TPixelFormat Format;
  TPalette Palette;
  switch (Image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
      Format = pf1bit;
      Palette = PaletteFromTable(Image.colorTable(), 2, true);
      break;
    case QImage::Format_Indexed8:
      // Every index a byte can hold must name a colour, so a short table is padded with black
      // (what Qt shows for an index beyond its table).
      Format = pf8bit;
      Palette = PaletteFromTable(Image.colorTable(), 256, false);
      break;
    case QImage::Format_Grayscale8:
      Format = pf8bit;
      Palette = GreyPalette();
      break;
    case QImage::Format_RGB555: Format = pf15bit; break;
    case QImage::Format_RGB16: Format = pf16bit; break;
    case QImage::Format_BGR888:
    case QImage::Format_RGB888: Format = pf24bit; break;
    case QImage::Format_RGB32: Format = pf32bit; break;
    default:
      // Alpha, premultiplied, byte-ordered and deep formats: Qt's own conversion to RGB32 (the
      // colour channels of non-premultiplied pixels are kept as they are).
      Image = Image.convertToFormat(QImage::Format_RGB32);
      if (Image.isNull()) throw std::bad_alloc();
      Format = pf32bit;
      break;
  }
  const int W = Image.width(), H = Image.height();
  Result.Allocate(W, H, Format, std::move(Palette));
  const std::size_t Bytes = PixelBytes(W, Format);
  const QImage::Format QtFormat = Image.format();
  for (int Y = 0; Y < H; ++Y) {
    const uchar* S = Image.constScanLine(Y);
    std::uint8_t* D = Result.ScanLine(Y);
    switch (QtFormat) {
      case QImage::Format_MonoLSB:
        for (std::size_t I = 0; I < Bytes; ++I) D[I] = ReverseBits(S[I]);
        ClearMonoTail(D, W);
        break;
      case QImage::Format_Mono:
        std::memcpy(D, S, Bytes);
        ClearMonoTail(D, W);
        break;
      case QImage::Format_RGB555: {
        // Qt ignores the top bit of a 555 pixel; ours must be zero.
        std::memcpy(D, S, Bytes);
        for (int X = 0; X < W; ++X) D[2 * X + 1] &= 0x7F;
        break;
      }
      case QImage::Format_RGB888:
        for (int X = 0; X < W; ++X) {
          D[3 * X] = S[3 * X + 2];
          D[3 * X + 1] = S[3 * X + 1];
          D[3 * X + 2] = S[3 * X];
        }
        break;
      default: std::memcpy(D, S, Bytes); break;
    }
  }
  return Result;
}

}  // namespace vte
