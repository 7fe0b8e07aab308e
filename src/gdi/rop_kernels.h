#pragma once
// The raster operations over runs of bytes. One kernel per code byte, each compiled with its code
// as a constant so that the operation folds to the few instructions it needs (SRCCOPY is a copy,
// pattern select three operations); a 256-entry table picks the kernel at run time. A kernel
// reads only the operands its code uses: S and P may be null otherwise.
#include <cstddef>
#include <cstdint>

namespace vte {

using TRopRowKernel = void (*)(std::uint8_t* D, const std::uint8_t* S, const std::uint8_t* P,
                               std::size_t Count);

TRopRowKernel RopRowKernel(std::uint8_t Code);

// 0: the baseline (SSE2) kernels, 1: the AVX2 build of the same kernels (ignored where the
// processor lacks AVX2). Chosen once at start-up; tests force a level. Returns the previous one.
int ForceRopKernelLevel(int Level);

// The operation over the N bytes at D. Head and Tail are the bits of the first and last byte that
// belong to the run (sub-byte formats start and end inside bytes); the other bits keep their
// values. S and P line up with D byte for byte.
void RopSpan(std::uint8_t Code, std::uint8_t* D, const std::uint8_t* S, const std::uint8_t* P,
             std::size_t N, std::uint8_t Head, std::uint8_t Tail);

// Copies N bytes from Src (which may overlap D) under the same edge masks.
void CopySpan(std::uint8_t* D, const std::uint8_t* Src, std::size_t N, std::uint8_t Head,
              std::uint8_t Tail);

}  // namespace vte
