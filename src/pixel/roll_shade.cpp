#include "pixel/roll_shade.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "pixel/roll_shade_kernels.h"

namespace vte {

namespace {

// The look of the roll, chosen by eye on photographs and flat colours alike.
constexpr double LightAcross = -0.3;  // the light leans towards line 0 (top / left)
constexpr double Ambient = 0.12;      // what the silhouette facing away still gets
constexpr double Diffuse = 0.95;
constexpr double Paper = 0.12;        // share of paper white: the back of the sheet is paler
constexpr double Gloss = 0.4;         // strength of the highlight
constexpr double Shininess = 20;

}  // namespace

void BuildRollShadeTable(std::uint32_t* Table, int Lines) {
  if (Lines < 0) return;
  const double LightLength = std::sqrt(LightAcross * LightAcross + 1);
  const double Lx = LightAcross / LightLength, Lz = 1 / LightLength;
  // Half-way between the light and the viewer (who looks straight down the z axis).
  const double HalfLength = std::sqrt(Lx * Lx + (Lz + 1) * (Lz + 1));
  const double Hx = Lx / HalfLength, Hz = (Lz + 1) / HalfLength;
  for (int K = 0; K <= Lines + 1; ++K) {
    // The surface normal at this point of the diameter, seen end-on: (x, z) on the unit circle.
    const double X = -1 + 2.0 * K / (Lines + 1);
    const double Z = std::sqrt(std::max(0.0, 1 - X * X));
    const double Light = Ambient + Diffuse * std::max(0.0, X * Lx + Z * Lz);
    const double Highlight = Gloss * std::pow(std::max(0.0, X * Hx + Z * Hz), Shininess);
    const long M = std::lround(256 * Light * (1 - Paper));
    const long A = std::lround(255 * (Light * Paper + Highlight));
    Table[K] = RollShadeEntry(static_cast<int>(std::clamp(M, 0L, 256L)), static_cast<int>(std::clamp(A, 0L, 255L)));
  }
}

void ShadeRollRowsAcrossScalar(std::uint8_t* Dest, std::ptrdiff_t DestStride, const std::uint8_t* Src,
                               std::ptrdiff_t SrcStride, int Rows, int Count, const std::uint32_t* Entries) {
  for (int Y = 0; Y < Rows; ++Y, Dest += DestStride, Src += SrcStride)
    for (int I = 0; I < Count; ++I) ShadeRollPixel(Dest + 4 * I, Src + 4 * I, Entries[I]);
}

void ShadeRollRowAlongScalar(std::uint8_t* Dest, const std::uint8_t* Src, int Count, std::uint32_t Entry) {
  for (int I = 0; I < Count; ++I) ShadeRollPixel(Dest + 4 * I, Src + 4 * I, Entry);
}

namespace {
const TRollShadeKernels RollShadeKernelsScalar = {ShadeRollRowsAcrossScalar, ShadeRollRowAlongScalar};
}  // namespace

const TRollShadeKernels& RollShadeKernels(TSimdLevel Level) {
  return KernelsForLevel(Level, RollShadeKernelsScalar, simd_sse2::RollShadeKernels, simd_avx2::RollShadeKernels);
}

void ShadeRollBand(std::uint8_t* Bits, int Stride, int Left, int Top, int Right, int Bottom, bool Across,
                   int First, const std::uint32_t* Table) {
  ShadeRollBandFrom(Bits, Stride, Bits, Stride, 0, 0, Left, Top, Right, Bottom, Across, First, Table);
}

void ShadeRollBandFrom(std::uint8_t* Bits, int Stride, const std::uint8_t* Source, int SourceStride, int SourceDx,
                       int SourceDy, int Left, int Top, int Right, int Bottom, bool Across, int First,
                       const std::uint32_t* Table) {
  if (Right <= Left || Bottom <= Top) return;
  const int Count = Right - Left;
  const TRollShadeKernels& K = RollShadeKernels(CurrentSimdLevel());
  std::uint8_t* Row = Bits + static_cast<std::ptrdiff_t>(Top) * Stride + 4 * Left;
  const std::uint8_t* From =
      Source + static_cast<std::ptrdiff_t>(Top + SourceDy) * SourceStride + 4 * (Left + SourceDx);
  if (Across) {
    K.Across(Row, Stride, From, SourceStride, Bottom - Top, Count, Table + (Left - First + 1));
  } else {
    for (int Y = Top; Y < Bottom; ++Y, Row += Stride, From += SourceStride)
      K.Along(Row, From, Count, Table[Y - First + 1]);
  }
}

}  // namespace vte
