#include "gdi/rop_kernels.h"

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

namespace {

// A move of up to 16 bytes without a library call: the columns of a narrow blit are a pixel or
// two wide, a thousand rows a frame. All bytes are loaded before any is stored, so the two
// ranges may overlap.
inline void MoveSmall(std::uint8_t* D, const std::uint8_t* S, std::size_t N) {
  if (N >= 8) {
    std::uint64_t A, B;
    std::memcpy(&A, S, 8);
    std::memcpy(&B, S + N - 8, 8);
    std::memcpy(D, &A, 8);
    std::memcpy(D + N - 8, &B, 8);
  } else if (N >= 4) {
    std::uint32_t A, B;
    std::memcpy(&A, S, 4);
    std::memcpy(&B, S + N - 4, 4);
    std::memcpy(D, &A, 4);
    std::memcpy(D + N - 4, &B, 4);
  } else {
    const std::uint8_t A = S[0], B = S[N / 2], C = S[N - 1];
    D[0] = A;
    D[N / 2] = B;
    D[N - 1] = C;
  }
}

}  // namespace

void CopySpan(std::uint8_t* D, const std::uint8_t* Src, std::size_t N, std::uint8_t Head,
              std::uint8_t Tail) {
  if (N == 0) return;
  if ((Head & Tail) == 0xFF) {
    // Whole bytes: no edge to keep, so no read of the destination (for narrow spans that read
    // is the first touch of a new page, and the move would wait for it).
    if (N <= 16) MoveSmall(D, Src, N);
    else std::memmove(D, Src, N);
    return;
  }
  if (N == 1) {
    const std::uint8_t M = Head & Tail;
    D[0] = static_cast<std::uint8_t>((Src[0] & M) | (D[0] & ~M));
    return;
  }
  // The edge bytes of the source are read before the move: it may overwrite them.
  const std::uint8_t SFirst = Src[0], SLast = Src[N - 1], DFirst = D[0], DLast = D[N - 1];
  std::memmove(D, Src, N);
  D[0] = static_cast<std::uint8_t>((SFirst & Head) | (DFirst & ~Head));
  D[N - 1] = static_cast<std::uint8_t>((SLast & Tail) | (DLast & ~Tail));
}

}  // namespace vte
