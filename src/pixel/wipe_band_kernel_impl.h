#pragma once
// The row kernels of the wipe band, one source compiled once per instruction set
// (wipe_band_sse2.cpp, wipe_band_avx2.cpp; see gdi/simd_kernel.h): a vector of pixels a step, a
// mask lane per pixel made by comparing the pixel's own bit, then a select; the rest of a row
// pixel by pixel.
#include "pixel/wipe_band_kernels.h"

namespace vte::VTE_SIMD_NAMESPACE {
namespace {

// Pixels of one row picked whole by their mask bits: the tails of the kernels.
template <int Bytes>
inline void SelectPixels(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New,
                         const std::uint8_t* MaskRow, int MaskBit, int Count) {
  for (int I = 0; I < Count; ++I) {
    const int Bit = MaskBit + I;
    const std::uint8_t* From = ((MaskRow[Bit >> 3] >> (7 - (Bit & 7))) & 1) ? Old : New;
    __builtin_memmove(Dest + I * Bytes, From + I * Bytes, Bytes);
  }
}

// Count (8, 16 or 32) mask bits from bit Shift (0..7) of Bytes[0] on, the first one highest;
// reads only the bytes that hold them. Along a row the kernels step by whole bytes, so Shift
// stays the same for the whole row.
template <int Count>
inline std::uint32_t BitsAt(const std::uint8_t* Bytes, int Shift) {
  std::uint64_t V = 0;
  for (int B = 0; B < Count / 8; ++B) V = (V << 8) | Bytes[B];
  if (Shift == 0) return static_cast<std::uint32_t>(V);
  V = (V << 8) | Bytes[Count / 8];
  return static_cast<std::uint32_t>((V >> (8 - Shift)) & ((std::uint64_t{1} << Count) - 1));
}

// The bit each lane of Bytes bytes tests, the first lane the highest: one bit a lane over the
// whole vector for two- and four-byte lanes, 0x80 .. 0x01 in every eight byte lanes for bytes.
template <int Bytes> inline TVec LaneBits() {
  constexpr int Lanes = VecBytes / Bytes, Group = Bytes == 1 ? 8 : Lanes;
  struct TTable {
    alignas(VecBytes) std::uint8_t B[VecBytes];
  };
  static constexpr TTable Table = [] {
    TTable T{};
    for (int L = 0; L < Lanes; ++L) {
      const std::uint32_t Bit = std::uint32_t{1} << (Group - 1 - L % Group);
      for (int K = 0; K < Bytes; ++K) T.B[L * Bytes + K] = static_cast<std::uint8_t>(Bit >> (8 * K));
    }
    return T;
  }();
  return LoadA<TVec>(Table.B);
}

// All ones in the lanes of the pixels whose bit of Sel (LaneBits) is set in Bits: for bytes, the
// bytes of Bits spread over eight lanes each; otherwise Bits in every lane.
template <int Bytes> inline TVec PixelMask(std::uint32_t Bits, TVec Sel) {
  TVec Spread;
  if constexpr (Bytes == 1)
    Spread = SpreadBytesBy8(Bits);
  else
    Spread = BroadcastLanes<Bytes, TVec>(static_cast<int>(Bits));
  return CmpEqLanes<Bytes>(And(Spread, Sel), Sel);
}

inline void Step(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New, TVec White) {
  StoreU(Dest, Select(White, LoadU<TVec>(Old), LoadU<TVec>(New)));
}

template <int Bytes>
void Row(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New, const std::uint8_t* MaskRow,
         int MaskBit, int Count) {
  constexpr int Lanes = VecBytes / Bytes;       // pixels a vector
  constexpr int Group = Lanes < 8 ? 8 : Lanes;  // mask bits read at once: whole bytes
  const TVec Sel = LaneBits<Bytes>();
  const int Shift = MaskBit & 7;
  int I = 0;
  for (; I + Group <= Count; I += Group) {
    const std::uint32_t Bits = BitsAt<Group>(MaskRow + ((MaskBit + I) >> 3), Shift);
    // A group of more than one vector: the first takes the highest bits (the lanes ignore the
    // bits above theirs).
    for (int K = 0; K < Group / Lanes; ++K) {
      const int At = Bytes * (I + Lanes * K);
      Step(Dest + At, Old + At, New + At, PixelMask<Bytes>(Bits >> (Group - Lanes * (K + 1)), Sel));
    }
  }
  SelectPixels<Bytes>(Dest + Bytes * I, Old + Bytes * I, New + Bytes * I, MaskRow, MaskBit + I, Count - I);
}

// Three-byte pixels do not fill lanes evenly: whole pixels one by one.
void Row3(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New, const std::uint8_t* MaskRow,
          int MaskBit, int Count) {
  SelectPixels<3>(Dest, Old, New, MaskRow, MaskBit, Count);
}

}  // namespace

const TBandRowKernels BandRowKernels{{nullptr, Row<1>, Row<2>, Row3, Row<4>}};

}  // namespace vte::VTE_SIMD_NAMESPACE
