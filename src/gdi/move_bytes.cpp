#include "gdi/move_bytes.h"

#include <emmintrin.h>

#include <cstring>

namespace vte {

namespace {

// 64 bytes a step, each step loaded whole before it is stored. Front to back is right for a
// destination before the source; back to front for one after it. Of two ranges apart, the stall
// case copies back to front: its loads then never meet a pending store at the same page offset.
inline void MoveStep(std::uint8_t* D, const std::uint8_t* S) {
  const __m128i A = _mm_loadu_si128(reinterpret_cast<const __m128i*>(S));
  const __m128i B = _mm_loadu_si128(reinterpret_cast<const __m128i*>(S + 16));
  const __m128i C = _mm_loadu_si128(reinterpret_cast<const __m128i*>(S + 32));
  const __m128i E = _mm_loadu_si128(reinterpret_cast<const __m128i*>(S + 48));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(D), A);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(D + 16), B);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(D + 32), C);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(D + 48), E);
}

void MoveForward(std::uint8_t* D, const std::uint8_t* S, std::size_t N) {
  std::size_t I = 0;
  for (; I + 64 <= N; I += 64) MoveStep(D + I, S + I);
  // The rest of under 64 bytes through the library (no string move at that length).
  if (I < N) std::memmove(D + I, S + I, N - I);
}

void MoveBackward(std::uint8_t* D, const std::uint8_t* S, std::size_t N) {
  std::size_t I = N;
  for (; I >= 64; I -= 64) MoveStep(D + I - 64, S + I - 64);
  if (I > 0) std::memmove(D, S, I);
}

}  // namespace

void MoveBytes(std::uint8_t* D, const std::uint8_t* S, std::size_t N) {
  if (N <= 16) {
    MoveSmallBytes(D, S, N);
    return;
  }
  // Below about 2 KB the library copies with vector registers, which do not stall.
  constexpr std::size_t StringMoveFrom = 1024;
  const auto Gap = (reinterpret_cast<std::uintptr_t>(D) - reinterpret_cast<std::uintptr_t>(S)) & 4095;
  if (N >= StringMoveFrom && Gap != 0 && Gap < 64) {
    if (D < S && D + N > S) MoveForward(D, S, N);
    else MoveBackward(D, S, N);
    return;
  }
  std::memmove(D, S, N);
}

}  // namespace vte
