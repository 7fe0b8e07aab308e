// The shaded roll band's kernels compiled for SSE2 (this file gets -msse2): four pixels a step.
#include "gdi/simd_sse2.h"
#include "pixel/roll_shade_kernel_impl.h"
