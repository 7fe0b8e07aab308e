// The wipe band's row kernels compiled for SSE2 (this file gets -msse2): sixteen bytes a step.
#include "gdi/simd_sse2.h"
#include "pixel/wipe_band_kernel_impl.h"
