// The blend work kernels compiled for AVX2 (this file gets -mavx2): thirty-two bytes a step.
#include "gdi/simd_avx2.h"
#include "pixel/blend_kernel_impl.h"
