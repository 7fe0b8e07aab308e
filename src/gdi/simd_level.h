#pragma once
// Which instruction-set level the pixel loops run at: the one switch for every family of kernels
// (raster operations, column gather, blend, roll shade, wipe band, ...). The best level the
// processor offers is found once, when first asked; every family keeps a table of its kernels by
// level and takes the entry of the current level each time it runs, so forcing a level (tests
// compare the variants with the plain reference on the same machine) reaches every family at
// once. How a family's SIMD variants are built: gdi/simd_kernel.h.
#include <atomic>

namespace vte {

enum TSimdLevel { slScalar, slSSE2, slAVX2 };
inline constexpr int SimdLevelCount = 3;

// The best level this processor runs.
TSimdLevel SupportedSimdLevel();
// The level in use: the supported one unless forced. Inline: the blits ask for it once a row.
inline TSimdLevel CurrentSimdLevel();
// Makes the routines use Level (at most the supported one: a higher level gives the supported
// one). Returns the level now in use.
TSimdLevel ForceSimdLevel(TSimdLevel Level);
// Back to the supported level.
void ResetSimdLevel();
const char* SimdLevelName(TSimdLevel Level);

// A family's entry for Level from its tables by level.
template <class T>
inline const T& KernelsForLevel(TSimdLevel Level, const T& Scalar, const T& SSE2, const T& AVX2) {
  return Level >= slAVX2 ? AVX2 : Level >= slSSE2 ? SSE2 : Scalar;
}

namespace simd_level_detail {
// The level in use, -1 until first asked. Constant-initialised, so it is valid in code that runs
// before main; relaxed loads are plain loads.
extern std::atomic<int> InUse;
TSimdLevel Settle();
}  // namespace simd_level_detail

inline TSimdLevel CurrentSimdLevel() {
  const int Level = simd_level_detail::InUse.load(std::memory_order_relaxed);
  return Level >= 0 ? static_cast<TSimdLevel>(Level) : simd_level_detail::Settle();
}

}  // namespace vte
