#pragma once
// Which instruction-set level the pixel routines run at. The best level the processor offers is
// found once, when first asked; every routine family keeps a table of its kernels by level and
// takes the entry of the current level. Tests force a lower level to compare the variants with
// the plain reference on the same machine.
namespace vte {

enum TSimdLevel { slScalar, slSSE2, slAVX2 };
inline constexpr int SimdLevelCount = 3;

// The best level this processor runs.
TSimdLevel SupportedSimdLevel();
// The level in use: the supported one unless forced.
TSimdLevel CurrentSimdLevel();
// Makes the routines use Level (at most the supported one: a higher level gives the supported
// one). Returns the level now in use.
TSimdLevel ForceSimdLevel(TSimdLevel Level);
// Back to the supported level.
void ResetSimdLevel();
const char* SimdLevelName(TSimdLevel Level);

}  // namespace vte
