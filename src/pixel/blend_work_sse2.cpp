// The blend work kernels compiled for SSE2 (this file gets -msse2): sixteen bytes a step.
#include "gdi/simd_sse2.h"
#include "pixel/blend_kernel_impl.h"
