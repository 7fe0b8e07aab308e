// The raster-operation kernels compiled for AVX2 (this file gets -mavx2): twice the width a step.
#include "gdi/simd_avx2.h"
#include "gdi/rop_kernel_impl.h"
