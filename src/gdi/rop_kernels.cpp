#include "gdi/rop_kernels.h"

#include "gdi/move_bytes.h"

#define VTE_ROP_KERNEL_NAMESPACE rop_baseline
#include "gdi/rop_kernel_impl.h"
#undef VTE_ROP_KERNEL_NAMESPACE

namespace vte {

namespace rop_avx2 {
const std::array<TRopRowKernel, 256>& Table();
}

namespace {

// Chosen once: the AVX2 build of the same kernels where the processor has it.
int& KernelLevel() {
  static int Level = (__builtin_cpu_init(), __builtin_cpu_supports("avx2")) ? 1 : 0;
  return Level;
}

const std::array<TRopRowKernel, 256>* KernelTable() {
  return KernelLevel() == 1 ? &rop_avx2::Table() : &rop_baseline::Kernels;
}

}  // namespace

int ForceRopKernelLevel(int Level) {
  const int Previous = KernelLevel();
  KernelLevel() = (Level == 1 && __builtin_cpu_supports("avx2")) ? 1 : 0;
  return Previous;
}

TRopRowKernel RopRowKernel(std::uint8_t Code) { return (*KernelTable())[Code]; }

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
  (*KernelTable())[Code](D, S, P, N);
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
