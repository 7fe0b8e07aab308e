#pragma once
// The row kernels of the shaded roll band, one set per instruction-set level (see roll_shade.h for
// the per-pixel rule). Each variant gives the same bytes as the plain one.
#include <cstddef>
#include <cstdint>

#include "gdi/simd_level.h"

namespace vte {

struct TRollShadeKernels {
  // Rows rows of Count pixels read from Src on (SrcStride bytes apart) and written shaded from
  // Dest on (DestStride bytes apart); pixel i of each takes Entries[i]. Src may be Dest (with its
  // stride): shading in place; otherwise the two must not overlap.
  void (*Across)(std::uint8_t* Dest, std::ptrdiff_t DestStride, const std::uint8_t* Src, std::ptrdiff_t SrcStride,
                 int Rows, int Count, const std::uint32_t* Entries);
  // One row of Count pixels, all taking Entry (Src as for Across).
  void (*Along)(std::uint8_t* Dest, const std::uint8_t* Src, int Count, std::uint32_t Entry);
};

// The SIMD sets (roll_shade_kernel_impl.h).
namespace simd_sse2 {
extern const TRollShadeKernels RollShadeKernels;
}
namespace simd_avx2 {
extern const TRollShadeKernels RollShadeKernels;
}

// The set for Level (the plain one for slScalar).
const TRollShadeKernels& RollShadeKernels(TSimdLevel Level);

}  // namespace vte
