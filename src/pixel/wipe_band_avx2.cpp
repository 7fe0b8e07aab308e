// The wipe band's row kernels compiled for AVX2 (this file gets -mavx2): thirty-two bytes a step.
#include "gdi/simd_avx2.h"
#include "pixel/wipe_band_kernel_impl.h"
