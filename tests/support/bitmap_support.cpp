#include "support/bitmap_support.h"

#include <sstream>

#include "gdi/canvas.h"

namespace vte::test {

void FillNoise(TBitmap& Bitmap, std::uint32_t Seed) {
  std::uint32_t S = Seed * 2654435761u + 1;
  const int Count = static_cast<int>(Bitmap.Palette().size());
  for (int Y = 0; Y < Bitmap.Height(); ++Y) {
    std::uint8_t* Row = Bitmap.ScanLine(Y);
    for (int I = 0; I < Bitmap.ScanlineBytes(); ++I) {
      S = S * 1103515245u + 12345u;
      Row[I] = static_cast<std::uint8_t>(S >> 16);
    }
    const TPixelFormat F = Bitmap.PixelFormat();
    for (int X = 0; X < Bitmap.Width(); ++X) {
      if (F == pf15bit) WritePixel(Row, X, F, ReadPixel(Row, X, F) & 0x7FFF);
      if (IsPaletteFormat(F) && Count > 0 && ReadPixel(Row, X, F) >= static_cast<std::uint32_t>(Count))
        WritePixel(Row, X, F, ReadPixel(Row, X, F) % Count);
    }
  }
}

TBitmap NoiseBitmap(int Width, int Height, std::uint32_t Seed, TPixelFormat Format) {
  TBitmap B(Width, Height, Format);
  FillNoise(B, Seed);
  return B;
}

TBitmap PlainBitmap(int Width, int Height, TColor Color, TPixelFormat Format) {
  TBitmap B(Width, Height, Format);
  B.Canvas().Brush().Color = Color;
  B.Canvas().FillRect(Rect(0, 0, Width, Height));
  return B;
}

std::string DescribeDifference(const TBitmap& A, const TBitmap& B) {
  std::ostringstream Out;
  if (A.Width() != B.Width() || A.Height() != B.Height() || A.PixelFormat() != B.PixelFormat()) {
    Out << "shape differs: " << A.Width() << "x" << A.Height() << " pf" << A.PixelFormat() << " vs "
        << B.Width() << "x" << B.Height() << " pf" << B.PixelFormat();
    return Out.str();
  }
  const TPixelFormat F = A.PixelFormat();
  const std::uint32_t Mask = F == pf32bit ? 0xFFFFFFu : 0xFFFFFFFFu;
  for (int Y = 0; Y < A.Height(); ++Y)
    for (int X = 0; X < A.Width(); ++X) {
      const std::uint32_t Pa = ReadPixel(A.ScanLine(Y), X, F) & Mask;
      const std::uint32_t Pb = ReadPixel(B.ScanLine(Y), X, F) & Mask;
      if (Pa != Pb) {
        Out << "pixel (" << X << "," << Y << "): 0x" << std::hex << Pa << " vs 0x" << Pb;
        return Out.str();
      }
    }
  return {};
}

testing::AssertionResult SameMemory(const TBitmap& A, const TBitmap& B) {
  if (A.ScanlineBytes() != B.ScanlineBytes() || A.Height() != B.Height())
    return testing::AssertionFailure() << "shapes differ";
  for (int Y = 0; Y < A.Height(); ++Y)
    for (int I = 0; I < A.ScanlineBytes(); ++I)
      if (A.ScanLine(Y)[I] != B.ScanLine(Y)[I])
        return testing::AssertionFailure()
               << "row " << Y << " byte " << I << ": 0x" << std::hex << int(A.ScanLine(Y)[I])
               << " vs 0x" << int(B.ScanLine(Y)[I]);
  return testing::AssertionSuccess();
}

TPalette RandomPalette(std::size_t Count, std::uint32_t Seed) {
  TPalette P(Count);
  for (auto& C : P) {
    Seed = Seed * 1664525u + 1013904223u;
    C = 0xFF000000u | (Seed >> 8);
  }
  return P;
}

std::uint32_t BlitConvertValue(const TBitmap& From, std::uint32_t V, const TBitmap& To) {
  const TPixelFormat SF = From.PixelFormat(), DF = To.PixelFormat();
  if (SF == DF && (!IsPaletteFormat(SF) || From.Palette() == To.Palette())) return V;
  if (From.Monochrome()) {
    if (IsPaletteFormat(DF))
      return NearestPaletteIndex(To.Palette(), V ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return V ? AllOnesPixel(DF) : 0u;
  }
  const QRgb C = DecodePixel(SF, From.Palette(), V);
  if (To.Monochrome()) return (C & 0xFFFFFF) == 0xFFFFFF ? 1u : 0u;
  return EncodePixel(DF, To.Palette(), C);
}

}  // namespace vte::test
