#include "gdi/pixel_format.h"

#include <array>
#include <limits>
#include <utility>

namespace vte {

namespace {
std::function<TPixelFormat()>& DeviceResolver() {
  static std::function<TPixelFormat()> Resolver;
  return Resolver;
}
}  // namespace

int PixelFormatStorageBits(TPixelFormat Format) {
  switch (Format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return 0;
  }
}

int ScanlineBytes(int Width, TPixelFormat Format) {
  const long long Bits = static_cast<long long>(Width) * PixelFormatStorageBits(ResolvePixelFormat(Format));
  return static_cast<int>(((Bits + 31) / 32) * 4);
}

void SetDevicePixelFormatResolver(std::function<TPixelFormat()> Resolver) {
  DeviceResolver() = std::move(Resolver);
}

TPixelFormat ResolvePixelFormat(TPixelFormat Format) {
  if (Format != pfDevice) return Format;
  if (const auto& R = DeviceResolver()) {
    const TPixelFormat F = R();
    if (F != pfDevice && F != pfCustom) return F;
  }
  return pf32bit;
}

TPalette DefaultPalette(TPixelFormat Format) {
  switch (Format) {
    case pf1bit: return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    case pf4bit:
      return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
              qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(128, 128, 128),
              qRgb(192, 192, 192), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
              qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    case pf8bit: {
      // 216 cube colours, then 40 greys strictly between black and white, white last.
      TPalette P;
      P.reserve(256);
      for (int R = 0; R < 6; ++R)
        for (int G = 0; G < 6; ++G)
          for (int B = 0; B < 6; ++B) P.push_back(qRgb(R * 51, G * 51, B * 51));
      for (int I = 1; I <= 40; ++I) {
        const int V = I * 255 / 41;
        P.push_back(qRgb(V, V, V));
      }
      // The cube starts with black; swap its white (index 215) with the last entry so that an
      // all-ones index is white, like the system palette.
      std::swap(P[215], P[255]);
      return P;
    }
    default: return {};
  }
}

TPalette GreyPalette() {
  TPalette P(256);
  for (int I = 0; I < 256; ++I) P[I] = qRgb(I, I, I);
  return P;
}

bool IsMonochromePalette(const TPalette& Palette) {
  return Palette.size() == 2 && (Palette[0] & 0xFFFFFF) == 0 && (Palette[1] & 0xFFFFFF) == 0xFFFFFF;
}

int NearestPaletteIndex(const TPalette& Palette, QRgb Rgb) {
  int Best = 0;
  int BestDist = std::numeric_limits<int>::max();
  const int R = qRed(Rgb), G = qGreen(Rgb), B = qBlue(Rgb);
  for (int I = 0; I < static_cast<int>(Palette.size()); ++I) {
    const int Dr = qRed(Palette[I]) - R, Dg = qGreen(Palette[I]) - G, Db = qBlue(Palette[I]) - B;
    const int D = Dr * Dr + Dg * Dg + Db * Db;
    if (D < BestDist) {
      BestDist = D;
      Best = I;
      if (D == 0) break;
    }
  }
  return Best;
}

std::uint32_t EncodePixel(TPixelFormat Format, const TPalette& Palette, QRgb Rgb) {
  const std::uint32_t R = qRed(Rgb), G = qGreen(Rgb), B = qBlue(Rgb);
  switch (Format) {
    case pf32bit: return 0xFF000000u | (R << 16) | (G << 8) | B;
    case pf24bit: return (R << 16) | (G << 8) | B;
    case pf16bit: return ((R >> 3) << 11) | ((G >> 2) << 5) | (B >> 3);
    case pf15bit: return ((R >> 3) << 10) | ((G >> 3) << 5) | (B >> 3);
    case pf1bit:
    case pf4bit:
    case pf8bit: return static_cast<std::uint32_t>(NearestPaletteIndex(Palette, Rgb));
    default: return 0;
  }
}

QRgb DecodePixel(TPixelFormat Format, const TPalette& Palette, std::uint32_t V) {
  // 5- and 6-bit channels widen by repeating their top bits, so full scale maps to 255.
  auto Five = [](std::uint32_t C) { return static_cast<int>((C << 3) | (C >> 2)); };
  auto Six = [](std::uint32_t C) { return static_cast<int>((C << 2) | (C >> 4)); };
  switch (Format) {
    case pf32bit:
    case pf24bit: return qRgb((V >> 16) & 0xFF, (V >> 8) & 0xFF, V & 0xFF);
    case pf16bit: return qRgb(Five((V >> 11) & 31), Six((V >> 5) & 63), Five(V & 31));
    case pf15bit: return qRgb(Five((V >> 10) & 31), Five((V >> 5) & 31), Five(V & 31));
    case pf1bit:
    case pf4bit:
    case pf8bit: return V < Palette.size() ? (Palette[V] | 0xFF000000u) : qRgb(0, 0, 0);
    default: return qRgb(0, 0, 0);
  }
}

std::uint32_t ReadPixel(const std::uint8_t* Row, int X, TPixelFormat Format) {
  switch (Format) {
    case pf32bit: {
      const std::uint8_t* P = Row + 4 * X;
      return P[0] | (P[1] << 8) | (P[2] << 16) | (static_cast<std::uint32_t>(P[3]) << 24);
    }
    case pf24bit: {
      const std::uint8_t* P = Row + 3 * X;
      return P[0] | (P[1] << 8) | (P[2] << 16);
    }
    case pf15bit:
    case pf16bit: return Row[2 * X] | (Row[2 * X + 1] << 8);
    case pf8bit: return Row[X];
    case pf4bit: return (X & 1) ? (Row[X >> 1] & 0x0F) : (Row[X >> 1] >> 4);
    case pf1bit: return (Row[X >> 3] >> (7 - (X & 7))) & 1;
    default: return 0;
  }
}

void WritePixel(std::uint8_t* Row, int X, TPixelFormat Format, std::uint32_t V) {
  switch (Format) {
    case pf32bit:
      Row[4 * X] = V & 0xFF;
      Row[4 * X + 1] = (V >> 8) & 0xFF;
      Row[4 * X + 2] = (V >> 16) & 0xFF;
      Row[4 * X + 3] = (V >> 24) & 0xFF;
      break;
    case pf24bit:
      Row[3 * X] = V & 0xFF;
      Row[3 * X + 1] = (V >> 8) & 0xFF;
      Row[3 * X + 2] = (V >> 16) & 0xFF;
      break;
    case pf15bit:
    case pf16bit:
      Row[2 * X] = V & 0xFF;
      Row[2 * X + 1] = (V >> 8) & 0xFF;
      break;
    case pf8bit: Row[X] = V & 0xFF; break;
    case pf4bit: {
      std::uint8_t& B = Row[X >> 1];
      B = (X & 1) ? static_cast<std::uint8_t>((B & 0xF0) | (V & 0x0F))
                  : static_cast<std::uint8_t>((B & 0x0F) | ((V & 0x0F) << 4));
      break;
    }
    case pf1bit: {
      const std::uint8_t Bit = static_cast<std::uint8_t>(0x80 >> (X & 7));
      std::uint8_t& B = Row[X >> 3];
      B = (V & 1) ? (B | Bit) : (B & ~Bit);
      break;
    }
    default: break;
  }
}

std::uint32_t AllOnesPixel(TPixelFormat Format) {
  switch (Format) {
    case pf32bit: return 0xFFFFFFFFu;
    case pf24bit: return 0xFFFFFFu;
    case pf16bit: return 0xFFFFu;
    case pf15bit: return 0x7FFFu;
    case pf8bit: return 0xFFu;
    case pf4bit: return 0x0Fu;
    case pf1bit: return 1u;
    default: return 0;
  }
}

}  // namespace vte
