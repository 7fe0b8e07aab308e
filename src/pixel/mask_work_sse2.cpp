// The mask work row kernels compiled for SSE2 (this file gets -msse2).
#include "gdi/simd_sse2.h"
#include "pixel/mask_kernel_impl.h"
