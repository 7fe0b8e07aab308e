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

}  // namespace vte
