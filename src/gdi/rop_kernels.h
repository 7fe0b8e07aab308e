#pragma once
// The raster operations over runs of bytes. One kernel per code byte, each compiled with its code
// as a constant so that the operation folds to the few instructions it needs (SRCCOPY is a copy,
// pattern select three operations); a 256-entry table picks the kernel at run time. A kernel
// reads only the operands its code uses: S and P may be null otherwise.
#include <array>
#include <cstddef>
#include <cstdint>

namespace vte {

using TRopRowKernel = void (*)(std::uint8_t* D, const std::uint8_t* S, const std::uint8_t* P,
                               std::size_t Count);

// The kernel of Code at the current SIMD level (gdi/simd_level.h).
TRopRowKernel RopRowKernel(std::uint8_t Code);

// The kernels of each instruction set, by code byte (rop_kernel_impl.h).
using TRopKernelTable = std::array<TRopRowKernel, 256>;
namespace simd_sse2 {
extern const TRopKernelTable RopKernels;
}
namespace simd_avx2 {
extern const TRopKernelTable RopKernels;
}

// The operation over the N bytes at D. Head and Tail are the bits of the first and last byte that
// belong to the run (sub-byte formats start and end inside bytes); the other bits keep their
// values. S and P line up with D byte for byte.
void RopSpan(std::uint8_t Code, std::uint8_t* D, const std::uint8_t* S, const std::uint8_t* P,
             std::size_t N, std::uint8_t Head, std::uint8_t Tail);

// Copies N bytes from Src (which may overlap D) under the same edge masks.
void CopySpan(std::uint8_t* D, const std::uint8_t* Src, std::size_t N, std::uint8_t Head,
              std::uint8_t Tail);

}  // namespace vte
