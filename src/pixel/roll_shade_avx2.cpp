// The shaded roll band's kernels compiled for AVX2 (this file gets -mavx2): eight pixels a step.
#include "gdi/simd_avx2.h"
#include "pixel/roll_shade_kernel_impl.h"
