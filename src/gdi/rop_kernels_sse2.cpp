// The raster-operation kernels compiled for SSE2 (this file gets -msse2), the baseline of x86-64.
#include "gdi/simd_sse2.h"
#include "gdi/rop_kernel_impl.h"
