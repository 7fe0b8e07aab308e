#include "gdi/simd_level.h"

namespace vte {

namespace simd_level_detail {
constinit std::atomic<int> InUse{-1};
}  // namespace simd_level_detail

namespace {

TSimdLevel Detect() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return slAVX2;
  if (__builtin_cpu_supports("sse2")) return slSSE2;
#endif
  return slScalar;
}

}  // namespace

TSimdLevel SupportedSimdLevel() {
  static const TSimdLevel Level = Detect();
  return Level;
}

TSimdLevel simd_level_detail::Settle() {
  // Threads that ask first at the same time all store the same level.
  const TSimdLevel Level = SupportedSimdLevel();
  InUse.store(Level, std::memory_order_relaxed);
  return Level;
}

TSimdLevel ForceSimdLevel(TSimdLevel Level) {
  const TSimdLevel Supported = SupportedSimdLevel();
  const TSimdLevel Use = Level < Supported ? Level : Supported;
  simd_level_detail::InUse.store(Use, std::memory_order_relaxed);
  return Use;
}

void ResetSimdLevel() { simd_level_detail::InUse.store(SupportedSimdLevel(), std::memory_order_relaxed); }

const char* SimdLevelName(TSimdLevel Level) {
  switch (Level) {
    case slSSE2: return "SSE2";
    case slAVX2: return "AVX2";
    default: return "scalar";
  }
}

}  // namespace vte
