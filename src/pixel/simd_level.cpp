#include "pixel/simd_level.h"

namespace vte {

namespace {

TSimdLevel Detect() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return slAVX2;
  if (__builtin_cpu_supports("sse2")) return slSSE2;
#endif
  return slScalar;
}

TSimdLevel& Supported() {
  static TSimdLevel Level = Detect();
  return Level;
}

TSimdLevel& InUse() {
  static TSimdLevel Level = Supported();
  return Level;
}

}  // namespace

TSimdLevel SupportedSimdLevel() { return Supported(); }

TSimdLevel CurrentSimdLevel() { return InUse(); }

TSimdLevel ForceSimdLevel(TSimdLevel Level) {
  InUse() = Level < Supported() ? Level : Supported();
  return InUse();
}

void ResetSimdLevel() { InUse() = Supported(); }

const char* SimdLevelName(TSimdLevel Level) {
  switch (Level) {
    case slSSE2: return "SSE2";
    case slAVX2: return "AVX2";
    default: return "scalar";
  }
}

}  // namespace vte
