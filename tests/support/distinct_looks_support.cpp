#include "support/distinct_looks_support.h"

#include <stdexcept>

#include "render/device.h"

namespace vte::test {

namespace {

// Odd multipliers: each is a bijection modulo any power of two, as is the shift that folds the
// high half of the bits into the low half; together they scatter consecutive numbers.
constexpr std::uint32_t Scatter1 = 0x9E3779B1u, Scatter2 = 0x85EBCA77u;

std::uint32_t InverseOfOdd(std::uint32_t A) {
  std::uint32_t X = A;  // right to 3 bits; each step doubles them
  for (int I = 0; I < 5; ++I) X *= 2u - A * X;
  return X;
}

int DirectBits(TPixelFormat F) {
  switch (F) {
    case pf15bit: return 15;
    case pf16bit: return 16;
    case pf24bit:
    case pf32bit: return 24;
    default: return 0;
  }
}

// Palette looks: entries 1..254 that are no multiple of four; look L has the entries 4k + L + 1.
constexpr std::uint32_t EntriesPerLook = 63;

}  // namespace

TDistinctLooks::TDistinctLooks(int Width, int Height, TPixelFormat Format)
    : FWidth(Width), FHeight(Height), FFormat(Format == pfDevice ? DevicePixelFormat() : Format) {
  FBits = DirectBits(FFormat);
  if (FBits == 0 && FFormat != pf8bit) throw std::invalid_argument("TDistinctLooks: no looks in this pixel format");
  const std::uint64_t Pixels = 3ull * static_cast<std::uint64_t>(Width) * static_cast<std::uint64_t>(Height);
  if (FBits != 0 && Pixels > (1ull << FBits)) throw std::invalid_argument("TDistinctLooks: too many pixels");
  if (FBits != 0) {
    const std::uint32_t White = (1u << FBits) - 1u;
    while (Decode(0) < Pixels || Decode(White) < Pixels) ++FSalt;
  }
  for (int L = lkOld; L <= lkNew; ++L) {
    TBitmap& B = FLooks[L];
    B = TBitmap(Width, Height, FFormat);
    if (FFormat == pf8bit) B.SetPalette(CopySystemPalette());
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) {
        const std::uint32_t Index = static_cast<std::uint32_t>(Y * Width + X);
        const std::uint32_t V = FBits != 0 ? Encode(static_cast<std::uint32_t>(L) * Width * Height + Index)
                                           : PaletteEntry(static_cast<TLook>(L), Index);
        WritePixel(B.ScanLine(Y), X, FFormat, V);
      }
  }
}

std::uint32_t TDistinctLooks::Encode(std::uint32_t N) const {
  const std::uint32_t Mask = (1u << FBits) - 1u, Half = (FBits + 1) / 2;
  std::uint32_t V = (N * Scatter1) & Mask;
  V ^= V >> Half;
  return ((V * Scatter2) & Mask) ^ FSalt;
}

std::uint32_t TDistinctLooks::Decode(std::uint32_t Value) const {
  const std::uint32_t Mask = (1u << FBits) - 1u, Half = (FBits + 1) / 2;
  std::uint32_t V = (((Value ^ FSalt) & Mask) * InverseOfOdd(Scatter2)) & Mask;
  V ^= V >> Half;  // its own inverse: the shift is at least half the bits
  return (V * InverseOfOdd(Scatter1)) & Mask;
}

std::uint32_t TDistinctLooks::PaletteEntry(TLook L, std::uint32_t Index) const {
  // Neighbours get different entries, so that a move by one pixel shows.
  const std::uint32_t K = (Index * 29u + Index / EntriesPerLook) % EntriesPerLook;
  return 4u * K + static_cast<std::uint32_t>(L) + 1u;
}

TLook TDistinctLooks::LookOf(std::uint32_t Raw) const {
  if (FBits == 0) {
    if (Raw == 0 || Raw >= 255 || Raw % 4 == 0) return lkNone;
    return static_cast<TLook>(Raw % 4 - 1);
  }
  if (FFormat == pf32bit) Raw &= 0xFFFFFFu;  // the fourth byte is no part of the colour
  if (Raw >> FBits) return lkNone;
  const std::uint32_t Area = static_cast<std::uint32_t>(FWidth * FHeight), N = Decode(Raw);
  return N < 3 * Area ? static_cast<TLook>(N / Area) : lkNone;
}

TPoint TDistinctLooks::PlaceOf(std::uint32_t Raw) const {
  if (FBits == 0 || LookOf(Raw) == lkNone) return {-1, -1};
  if (FFormat == pf32bit) Raw &= 0xFFFFFFu;
  const std::uint32_t Index = Decode(Raw) % static_cast<std::uint32_t>(FWidth * FHeight);
  return {static_cast<int>(Index % FWidth), static_cast<int>(Index / FWidth)};
}

}  // namespace vte::test
