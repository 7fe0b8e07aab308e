#include "gdi/random.h"

#include <chrono>

namespace vte {

std::uint32_t RandSeed = 0;

int Random(int N) {
  RandSeed = RandSeed * 134775813u + 1u;
  // N is taken as an unsigned 32-bit multiplier; a non-positive range yields 0 but still
  // consumes one step, so the sequence of later draws does not depend on it.
  if (N <= 0) return 0;
  return static_cast<int>((static_cast<std::uint64_t>(RandSeed) * static_cast<std::uint32_t>(N)) >> 32);
}

void Randomize() {
  const auto Ticks = std::chrono::steady_clock::now().time_since_epoch().count() ^
                     std::chrono::system_clock::now().time_since_epoch().count();
  RandSeed = static_cast<std::uint32_t>(Ticks ^ (Ticks >> 32));
}

}  // namespace vte
