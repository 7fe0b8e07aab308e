#include "gdi/blit_rows.h"

#include <bit>
#include <cstring>

namespace vte {

// Raw values are read and stored as little-endian words: B,G,R(,X) and the 16-bit pixels are
// laid out that way in memory.
static_assert(std::endian::native == std::endian::little);

namespace {
inline std::uint32_t Load32(const std::uint8_t* P) {
  std::uint32_t V;
  std::memcpy(&V, P, 4);
  return V;
}
inline std::uint16_t Load16(const std::uint8_t* P) {
  std::uint16_t V;
  std::memcpy(&V, P, 2);
  return V;
}
inline std::uint32_t Load24(const std::uint8_t* P) { return P[0] | (P[1] << 8) | (P[2] << 16); }
}  // namespace

void ReadRowValues(const std::uint8_t* Row, TPixelFormat F, int X, int N, std::uint32_t* Out) {
  switch (F) {
    case pf32bit:
      for (int I = 0; I < N; ++I) Out[I] = Load32(Row + 4 * (X + I));
      break;
    case pf24bit:
      for (int I = 0; I < N; ++I) Out[I] = Load24(Row + 3 * (X + I));
      break;
    case pf15bit:
    case pf16bit:
      for (int I = 0; I < N; ++I) Out[I] = Load16(Row + 2 * (X + I));
      break;
    case pf8bit:
      for (int I = 0; I < N; ++I) Out[I] = Row[X + I];
      break;
    default:
      for (int I = 0; I < N; ++I) Out[I] = ReadPixel(Row, X + I, F);
      break;
  }
}

void GatherRowValues(const std::uint8_t* Row, TPixelFormat F, const int* C, int N,
                     std::uint32_t* Out) {
  switch (F) {
    case pf32bit:
      for (int I = 0; I < N; ++I) Out[I] = Load32(Row + 4 * C[I]);
      break;
    case pf24bit:
      for (int I = 0; I < N; ++I) Out[I] = Load24(Row + 3 * C[I]);
      break;
    case pf15bit:
    case pf16bit:
      for (int I = 0; I < N; ++I) Out[I] = Load16(Row + 2 * C[I]);
      break;
    case pf8bit:
      for (int I = 0; I < N; ++I) Out[I] = Row[C[I]];
      break;
    default:
      for (int I = 0; I < N; ++I) Out[I] = ReadPixel(Row, C[I], F);
      break;
  }
}

void PackRowValues(const std::uint32_t* V, int N, TPixelFormat F, int First, std::uint8_t* Out) {
  switch (F) {
    case pf32bit:
      std::memcpy(Out + 4 * First, V, 4 * static_cast<std::size_t>(N));
      break;
    case pf24bit:
      for (int I = 0; I < N; ++I) {
        std::uint8_t* P = Out + 3 * (First + I);
        P[0] = static_cast<std::uint8_t>(V[I]);
        P[1] = static_cast<std::uint8_t>(V[I] >> 8);
        P[2] = static_cast<std::uint8_t>(V[I] >> 16);
      }
      break;
    case pf15bit:
    case pf16bit:
      for (int I = 0; I < N; ++I) {
        const std::uint16_t H = static_cast<std::uint16_t>(V[I]);
        std::memcpy(Out + 2 * (First + I), &H, 2);
      }
      break;
    case pf8bit:
      for (int I = 0; I < N; ++I) Out[First + I] = static_cast<std::uint8_t>(V[I]);
      break;
    default:
      for (int I = 0; I < N; ++I) WritePixel(Out, First + I, F, V[I]);
      break;
  }
}

void GatherRowBytes(std::uint8_t* Out, const std::uint8_t* Row, int Bpp, const int* C, int N) {
  // Nearest-neighbour columns step by floor or ceil of one scale, so columns that span exactly
  // N - 1 over N pixels step by one each: a plain copy (a row that is only stretched vertically).
  if (N > 0 && C[N - 1] - C[0] == N - 1) {
    std::memcpy(Out, Row + static_cast<std::ptrdiff_t>(Bpp) * C[0], static_cast<std::size_t>(N) * Bpp);
    return;
  }
  switch (Bpp) {
    case 4:
      for (int I = 0; I < N; ++I) std::memcpy(Out + 4 * I, Row + 4 * C[I], 4);
      break;
    case 3:
      for (int I = 0; I < N; ++I) {
        const std::uint8_t* S = Row + 3 * C[I];
        Out[3 * I] = S[0];
        Out[3 * I + 1] = S[1];
        Out[3 * I + 2] = S[2];
      }
      break;
    case 2:
      for (int I = 0; I < N; ++I) std::memcpy(Out + 2 * I, Row + 2 * C[I], 2);
      break;
    default:
      for (int I = 0; I < N; ++I) Out[I] = Row[C[I]];
      break;
  }
}

void ShiftRowBits(std::uint8_t* Out, int N, const std::uint8_t* Row, int RowBytes,
                  long long FirstBit) {
  const long long Q0 = FirstBit >> 3;  // floor, also for negative bits
  const int R = static_cast<int>(FirstBit & 7);
  auto At = [&](long long Q) -> unsigned { return Q >= 0 && Q < RowBytes ? Row[Q] : 0u; };
  if (R == 0) {
    for (int I = 0; I < N; ++I) Out[I] = static_cast<std::uint8_t>(At(Q0 + I));
    return;
  }
  int I = 0;
  // The ends through the bounds-checked read, the middle straight.
  for (; I < N && Q0 + I < 0; ++I)
    Out[I] = static_cast<std::uint8_t>((At(Q0 + I) << R) | (At(Q0 + I + 1) >> (8 - R)));
  for (; I < N && Q0 + I + 1 < RowBytes; ++I)
    Out[I] = static_cast<std::uint8_t>((Row[Q0 + I] << R) | (Row[Q0 + I + 1] >> (8 - R)));
  for (; I < N; ++I)
    Out[I] = static_cast<std::uint8_t>((At(Q0 + I) << R) | (At(Q0 + I + 1) >> (8 - R)));
}

}  // namespace vte
