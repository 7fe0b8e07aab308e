#pragma once
// The raster-operation kernels, one source compiled once per instruction set (rop_kernels_sse2.cpp,
// rop_kernels_avx2.cpp; see gdi/simd_kernel.h): the same source, so the same bits. The word loop
// needs no lane wrappers: -O3 widens it to the vectors of the file's instruction set.
#include <cstring>
#include <utility>

#include "gdi/raster_op.h"
#include "gdi/rop_kernels.h"

namespace vte::VTE_SIMD_NAMESPACE {
namespace {

// The operation as a decision tree on P, then S, then D (each level a bit select), built from
// the code's truth table at compile time. Equal halves drop their level, so the expression only
// contains the operands the code depends on.
template <unsigned T, class W> inline W OfD(W D) {
  if constexpr (T == 0) return W(0);
  else if constexpr (T == 1) return static_cast<W>(~D);
  else if constexpr (T == 2) return D;
  else return static_cast<W>(~W(0));
}

template <unsigned T, class W> inline W OfSD(W S, W D) {
  constexpr unsigned Lo = T & 3, Hi = T >> 2;
  if constexpr (Lo == Hi) {
    return OfD<Lo>(D);
  } else {
    const W A = OfD<Hi>(D), B = OfD<Lo>(D);
    return static_cast<W>(B ^ ((A ^ B) & S));
  }
}

template <std::uint8_t C, class W> inline W RopWord(W P, W S, W D) {
  constexpr unsigned Lo = C & 15, Hi = C >> 4;
  if constexpr (Lo == Hi) {
    return OfSD<Lo>(S, D);
  } else {
    const W A = OfSD<Hi>(S, D), B = OfSD<Lo>(S, D);
    return static_cast<W>(B ^ ((A ^ B) & P));
  }
}

template <std::uint8_t C>
void Kernel(std::uint8_t* D, const std::uint8_t* S, const std::uint8_t* P, std::size_t N) {
  constexpr bool UsesS = RopUsesSource(C), UsesP = RopUsesPattern(C), UsesD = RopUsesDest(C);
  std::size_t I = 0;
  // 64-bit words through memcpy (no alignment or aliasing assumptions); -O3 widens the loop.
  for (; I + 8 <= N; I += 8) {
    std::uint64_t Dw = 0, Sw = 0, Pw = 0;
    if constexpr (UsesD) std::memcpy(&Dw, D + I, 8);
    if constexpr (UsesS) std::memcpy(&Sw, S + I, 8);
    if constexpr (UsesP) std::memcpy(&Pw, P + I, 8);
    const std::uint64_t R = RopWord<C>(Pw, Sw, Dw);
    std::memcpy(D + I, &R, 8);
  }
  for (; I < N; ++I) {
    const std::uint8_t Db = UsesD ? D[I] : 0, Sb = UsesS ? S[I] : 0, Pb = UsesP ? P[I] : 0;
    D[I] = RopWord<C>(Pb, Sb, Db);
  }
}

template <std::size_t... I> constexpr TRopKernelTable MakeTable(std::index_sequence<I...>) {
  return {&Kernel<static_cast<std::uint8_t>(I)>...};
}

}  // namespace

constinit const TRopKernelTable RopKernels = MakeTable(std::make_index_sequence<256>());

}  // namespace vte::VTE_SIMD_NAMESPACE
