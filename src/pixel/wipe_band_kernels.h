#pragma once
// The row kernels of the wipe band (see wipe_band.h), one set per instruction-set level.
#include <cstdint>

#include "gdi/simd_level.h"

namespace vte {

// Count pixels of one row: Dest[i] := MaskRow bit (MaskBit + i) ? Old[i] : New[i]. Dest may be
// Old or New; nothing past the Count pixels is read from the images or written, and only the mask
// bytes holding the Count bits are read.
using TBandRowFn = void (*)(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New,
                            const std::uint8_t* MaskRow, int MaskBit, int Count);

// The row kernels of one level, by bytes per pixel (index 1 .. 4; pf8bit, pf15bit/pf16bit,
// pf24bit, pf32bit).
struct TBandRowKernels {
  TBandRowFn Row[5];
};
const TBandRowKernels& BandRowKernels(TSimdLevel Level);

// The SIMD sets (wipe_band_kernel_impl.h).
namespace simd_sse2 {
extern const TBandRowKernels BandRowKernels;
}
namespace simd_avx2 {
extern const TBandRowKernels BandRowKernels;
}

}  // namespace vte
