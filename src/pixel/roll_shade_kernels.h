#pragma once
// The row kernels of the shaded roll band, one set per instruction-set level (see roll_shade.h for
// the per-pixel rule). Each variant gives the same bytes as the plain one.
#include <cstddef>
#include <cstdint>

#include "pixel/simd_level.h"

namespace vte {

struct TRollShadeKernels {
  // Rows rows of Count pixels from Row on, Stride bytes apart; pixel i of each takes Entries[i].
  void (*Across)(std::uint8_t* Row, std::ptrdiff_t Stride, int Rows, int Count, const std::uint32_t* Entries);
  // One row of Count pixels, all taking Entry.
  void (*Along)(std::uint8_t* Row, int Count, std::uint32_t Entry);
};

extern const TRollShadeKernels RollShadeKernelsSSE2;
extern const TRollShadeKernels RollShadeKernelsAVX2;

// The set for Level (the plain one for slScalar).
const TRollShadeKernels& RollShadeKernels(TSimdLevel Level);

}  // namespace vte
