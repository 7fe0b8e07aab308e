#pragma once
// The byte moves under every same-format blit: std::memmove, except where the C library's move
// is known to stall. Its large moves use the string-move instruction, which on the processors we
// measured (AMD Zen 3) runs five to ten times slower when the destination lies less than 64
// bytes past the source modulo 4 KB: every load then seems to wait for an earlier store to the
// same page offset. A blit that shifts pixels right by a few columns between two bitmaps whose
// rows line up on pages is exactly that case (a push or slide to the right, row by row).
#include <cstddef>
#include <cstdint>

namespace vte {

// As std::memmove(D, S, N): the ranges may overlap.
void MoveBytes(std::uint8_t* D, const std::uint8_t* S, std::size_t N);

// The same for N of at most 16, inline: the rows of a narrow column are a pixel or two wide, a
// thousand of them a frame, and a call a row costs more than the bytes. All bytes are loaded
// before any is stored, so the ranges may overlap.
inline void MoveSmallBytes(std::uint8_t* D, const std::uint8_t* S, std::size_t N) {
  if (N >= 8) {
    std::uint64_t A, B;
    __builtin_memcpy(&A, S, 8);
    __builtin_memcpy(&B, S + N - 8, 8);
    __builtin_memcpy(D, &A, 8);
    __builtin_memcpy(D + N - 8, &B, 8);
  } else if (N >= 4) {
    std::uint32_t A, B;
    __builtin_memcpy(&A, S, 4);
    __builtin_memcpy(&B, S + N - 4, 4);
    __builtin_memcpy(D, &A, 4);
    __builtin_memcpy(D + N - 4, &B, 4);
  } else if (N > 0) {
    const std::uint8_t A = S[0], B = S[N / 2], C = S[N - 1];
    D[0] = A;
    D[N / 2] = B;
    D[N - 1] = C;
  }
}

// Sets N bytes (at most 16) to Value, inline, for the same narrow rows.
inline void FillSmallBytes(std::uint8_t* D, std::uint8_t Value, std::size_t N) {
  const std::uint64_t Pattern = 0x0101010101010101ull * Value;
  if (N >= 8) {
    __builtin_memcpy(D, &Pattern, 8);
    __builtin_memcpy(D + N - 8, &Pattern, 8);
  } else if (N >= 4) {
    __builtin_memcpy(D, &Pattern, 4);
    __builtin_memcpy(D + N - 4, &Pattern, 4);
  } else if (N > 0) {
    D[0] = D[N / 2] = D[N - 1] = Value;
  }
}

}  // namespace vte
