// The raster-operation kernels compiled for AVX2 (this file gets -mavx2): twice the width a step.
#define VTE_ROP_KERNEL_NAMESPACE rop_avx2
#include "gdi/rop_kernel_impl.h"

namespace vte::rop_avx2 {

const std::array<TRopRowKernel, 256>& Table() { return Kernels; }

}  // namespace vte::rop_avx2
