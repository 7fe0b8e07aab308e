#pragma once
// How a family of SIMD kernels is built, and the one rule that keeps code compiled for different
// instruction sets apart.
//
// The pattern. A family's kernels (raster operations, blend work, roll shade, wipe band, ...) are
// written once, in a template source `<family>_kernel_impl.h`, and compiled once per instruction
// set by a tiny file `<family>_sse2.cpp` / `<family>_avx2.cpp` (CMake gives a file -msse2 or
// -mavx2 by its name). The tiny file includes the header of its instruction set, gdi/simd_sse2.h
// or gdi/simd_avx2.h, and then the template source. The instruction set's header
//   - defines VTE_SIMD_NAMESPACE (simd_sse2, simd_avx2), the namespace of everything compiled
//     with those flags, and refuses to be compiled without them;
//   - gives the lane wrappers: TVec (the widest vector of the set), VecBytes, and the same names
//     over 128- and 256-bit vectors (LoadU, Add16, Srl32, CmpEq8, PackUs16, ... below, written
//     once for both widths in gdi/simd_lanes.h), plus the few steps each set does its own way
//     (Select, Mul32, WidenBytes, PackUs16InOrder, JoinHalves, SpreadBytesBy8).
// A loop written with the wrappers is then one source at both widths. The template source opens
// `namespace vte::VTE_SIMD_NAMESPACE { namespace { ... } }` for its kernels and ends by defining
// the family's table in vte::VTE_SIMD_NAMESPACE (simd_sse2::BlendKernels, simd_avx2::BlendKernels,
// ...), which the family's plain header declares for both sets; the plain code takes the table of
// the current level with KernelsForLevel (gdi/simd_level.h). Where a wider set calls for another algorithm rather than
// wider lanes (permutes across the whole register, for instance), that kernel is written for
// its set alone, with a comment saying why, under the same rule.
//
// The rule. A file compiled with -mavx2 may use AVX2 instructions in everything it compiles,
// including the inline functions and template instances it emits. An emitted function with
// external linkage is merged by the linker with the copies other files emit, and the one copy
// kept may be the AVX2 one, which a plain caller then runs on a processor without AVX2. So in a
// file compiled for an instruction set (and in the headers only such files include):
//   - the only names with external linkage are the family's tables in vte::VTE_SIMD_NAMESPACE;
//     everything else (lane wrappers, kernels, their helpers) has internal linkage: it sits in
//     an unnamed namespace (inside the instruction set's namespace) or is static;
//   - code shared with plain files is called only where it has internal linkage too (`static
//     inline`, as gdi/prefetch.h and the one-pixel steps of the kernel headers are) or is
//     evaluated at compile time (constexpr); no inline function or template with external
//     linkage, the standard library's included, is called from it, and no Qt header is
//     included.
// The test IsaObjectsDefineNoSharedCode checks the built objects: a *_sse2 or *_avx2 object
// defines no weak symbol, and no strong one outside its instruction set's namespace.
#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

#if !defined(VTE_SIMD_NAMESPACE)
#error "gdi/simd_kernel.h comes through gdi/simd_sse2.h or gdi/simd_avx2.h"
#endif

namespace vte::VTE_SIMD_NAMESPACE {
namespace {

// The vector type of a width in bytes (a class template over the vector types themselves would
// drop their attributes).
template <int Bytes> struct TVecOfBytes;
template <> struct TVecOfBytes<16> {
  using T = __m128i;
};
template <int Bytes> using TVecOf = typename TVecOfBytes<Bytes>::T;

// The loads, stores and broadcasts of each width, by the vector type they give.
template <class V> V LoadU(const void* P);
template <class V> V LoadA(const void* P);
template <class V> V Zero();
template <class V> V Broadcast8(int X);
template <class V> V Broadcast16(int X);
template <class V> V Broadcast32(int X);

// The vector of the 128-bit halves H[0 .. sizeof(V) / 16 - 1], H[0] the lowest.
template <class V> V JoinHalves(const __m128i* H);
template <> inline __m128i JoinHalves<__m128i>(const __m128i* H) { return H[0]; }

// The count of the shifts by a variable number of bits (one 128-bit register at every width).
using TShift = __m128i;
inline TShift ShiftCount(int Bits) { return _mm_cvtsi32_si128(Bits); }

// X in every lane of Bytes (1, 2 or 4) bytes.
template <int Bytes, class V> inline V BroadcastLanes(int X) {
  if constexpr (Bytes == 1) return Broadcast8<V>(X);
  else if constexpr (Bytes == 2) return Broadcast16<V>(X);
  else return Broadcast32<V>(X);
}

}  // namespace
}  // namespace vte::VTE_SIMD_NAMESPACE

// The wrappers of 128-bit vectors, for every instruction set.
#define VTE_LANES_VEC __m128i
#define VTE_LANES_OP(Name) _mm_##Name
#define VTE_LANES_SI(Name) _mm_##Name##_si128
#include "gdi/simd_lanes.h"
#undef VTE_LANES_VEC
#undef VTE_LANES_OP
#undef VTE_LANES_SI
