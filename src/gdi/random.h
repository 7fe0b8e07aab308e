#pragma once
// The program-wide pseudo-random generator. Every random choice of the library (styles, block
// orders, the wipe band mask, fuse patterns, shake offsets) draws from it, so that seeding it makes
// those choices repeatable: seed := seed * 134775813 + 1 (mod 2^32), and Random(N) is the high
// 32 bits of the 64-bit product seed * N, taken after the seed is updated.
#include <cstdint>

namespace vte {

extern std::uint32_t RandSeed;

// A value in 0 .. N-1 (0 when N <= 0, the seed is still advanced).
int Random(int N);
// Seeds the generator from the clock.
void Randomize();

}  // namespace vte
