// The mask work row kernels compiled for AVX2 (this file gets -mavx2).
#include "gdi/simd_avx2.h"
#include "pixel/mask_kernel_impl.h"
