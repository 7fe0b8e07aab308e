#include "gdi/rop_kernels.h"

#include "gdi/move_bytes.h"
#include "gdi/raster_op.h"
#include "gdi/simd_level.h"

namespace vte {

namespace {

// The word loop of the kernels is itself the plain form, and SSE2 is the baseline of x86-64: the
// scalar level runs the SSE2 build.
const TRopKernelTable& KernelTable() {
  return KernelsForLevel(CurrentSimdLevel(), simd_sse2::RopKernels, simd_sse2::RopKernels, simd_avx2::RopKernels);
}

}  // namespace

TRopRowKernel RopRowKernel(std::uint8_t Code) { return KernelTable()[Code]; }

void RopSpan(std::uint8_t Code, std::uint8_t* D, const std::uint8_t* S, const std::uint8_t* P,
             std::size_t N, std::uint8_t Head, std::uint8_t Tail) {
  if (N == 0) return;
  if (N == 1) {
    const std::uint8_t M = Head & Tail;
    const std::uint8_t R = RopBits<std::uint8_t>(Code, P ? P[0] : 0, S ? S[0] : 0, D[0]);
    D[0] = static_cast<std::uint8_t>((R & M) | (D[0] & ~M));
    return;
  }
  const std::uint8_t First = D[0], Last = D[N - 1];
  KernelTable()[Code](D, S, P, N);
  D[0] = static_cast<std::uint8_t>((D[0] & Head) | (First & ~Head));
  D[N - 1] = static_cast<std::uint8_t>((D[N - 1] & Tail) | (Last & ~Tail));
}

void CopySpan(std::uint8_t* D, const std::uint8_t* Src, std::size_t N, std::uint8_t Head,
              std::uint8_t Tail) {
  if (N == 0) return;
  if ((Head & Tail) == 0xFF) {
    // Whole bytes: no edge to keep, so no read of the destination (for narrow spans that read
    // is the first touch of a new page, and the move would wait for it).
    MoveBytes(D, Src, N);
    return;
  }
  if (N == 1) {
    const std::uint8_t M = Head & Tail;
    D[0] = static_cast<std::uint8_t>((Src[0] & M) | (D[0] & ~M));
    return;
  }
  // The edge bytes of the source are read before the move: it may overwrite them.
  const std::uint8_t SFirst = Src[0], SLast = Src[N - 1], DFirst = D[0], DLast = D[N - 1];
  MoveBytes(D, Src, N);
  D[0] = static_cast<std::uint8_t>((SFirst & Head) | (DFirst & ~Head));
  D[N - 1] = static_cast<std::uint8_t>((SLast & Tail) | (DLast & ~Tail));
}

}  // namespace vte
