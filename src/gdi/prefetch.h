#pragma once
// Asking for memory ahead of use. The processor follows a stream of adjacent lines by itself, but
// not the rows of a narrow piece of a bitmap: each lies a page or more from the last and is only
// a few cache lines long, too short to be seen as a stream, and every row waits for its address
// translation and its loads. The loops over such pieces ask for the lines of a row a few rows
// ahead while they work on this one. A prefetch never faults, so one past the end of a bitmap is
// harmless.
#include <cstddef>
#include <type_traits>

namespace vte {

// Asks for every cache line of the Bytes bytes (Bytes > 0) at each of the places: one a 64 bytes,
// and the last one, which a range not starting on a line reaches past the steps. A place given as
// a pointer to const is asked for reading, any other for writing. The places go step by step
// together, so the loop costs one test a line for all of them. Static: kernels compiled for other
// instruction sets use it too (see gdi/simd_kernel.h).
template <class... T>
static inline void PrefetchLines(std::size_t Bytes, T*... Places) {
  const auto Ask = [](auto* P, std::size_t Offset) {
    constexpr int Write = std::is_const_v<std::remove_pointer_t<decltype(P)>> ? 0 : 1;
    __builtin_prefetch(reinterpret_cast<const char*>(P) + Offset, Write);
  };
  (Ask(Places, 0), ...);
  for (std::size_t B = 64; B < Bytes; B += 64) (Ask(Places, B), ...);
  (Ask(Places, Bytes - 1), ...);
}

}  // namespace vte
