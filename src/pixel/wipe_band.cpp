#include "pixel/wipe_band.h"

#include <algorithm>
#include <cstring>

#include "gdi/pixel_format.h"
#include "gdi/prefetch.h"

namespace vte {

namespace {

bool MaskBitSet(const std::uint8_t* MaskRow, int Bit) { return (MaskRow[Bit >> 3] >> (7 - (Bit & 7))) & 1; }

template <int Bytes>
void ScalarRow(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New, const std::uint8_t* MaskRow,
               int MaskBit, int Count) {
  ComposeBandRowReference(Dest, Old, New, MaskRow, MaskBit, Count, Bytes);
}

const TBandRowKernels ScalarKernels{{nullptr, ScalarRow<1>, ScalarRow<2>, ScalarRow<3>, ScalarRow<4>}};

int BytesPerPixel(TPixelFormat Format) {
  switch (Format) {
    case pf8bit: return 1;
    case pf15bit:
    case pf16bit: return 2;
    case pf24bit: return 3;
    case pf32bit: return 4;
    default: return 0;
  }
}

}  // namespace

// The three raster operations, pixel by pixel: the old side keeps the old pixel under white
// (AND with all ones), the new side the new pixel under black (AND NOT with zero), OR joins them.
void ComposeBandRowReference(std::uint8_t* Dest, const std::uint8_t* Old, const std::uint8_t* New,
                             const std::uint8_t* MaskRow, int MaskBit, int Count, int BytesPerPixel) {
  for (int I = 0; I < Count; ++I) {
    const std::uint8_t M = MaskBitSet(MaskRow, MaskBit + I) ? 0xFF : 0x00;
    for (int B = 0; B < BytesPerPixel; ++B) {
      const int K = I * BytesPerPixel + B;
      const std::uint8_t OldSide = Old[K] & M;
      const std::uint8_t NewSide = New[K] & static_cast<std::uint8_t>(~M);
      Dest[K] = NewSide | OldSide;
    }
  }
}

const TBandRowKernels& BandRowKernels(TSimdLevel Level) {
  return KernelsForLevel(Level, ScalarKernels, simd_sse2::BandRowKernels, simd_avx2::BandRowKernels);
}

bool CanComposeBand(const TBitmap& Dest, const TBitmap& Old, const TBitmap& New) {
  const TPixelFormat F = Dest.PixelFormat();
  if (BytesPerPixel(F) == 0 || Old.PixelFormat() != F || New.PixelFormat() != F) return false;
  return !IsPaletteFormat(F) || (Old.Palette() == Dest.Palette() && New.Palette() == Dest.Palette());
}

void ComposeBand(TBitmap& Dest, const TBitmap& Old, const TBitmap& New, const TBitmap& Mask, const TRect& Area,
                 TPoint MaskAt, const TRect& Strip) {
  const bool Band = !Area.IsEmpty(), Copy = !Strip.IsEmpty();
  if (!Band && !Copy) return;
  const int Bytes = BytesPerPixel(Dest.PixelFormat());
  const TBandRowFn Row = BandRowKernels(CurrentSimdLevel()).Row[Bytes];
  const int BandOffset = Area.Left * Bytes, StripOffset = Strip.Left * Bytes;
  const std::size_t StripLength = Copy ? static_cast<std::size_t>(Strip.Width()) * Bytes : 0;
  const int First = !Band ? Strip.Top : !Copy ? Area.Top : std::min(Area.Top, Strip.Top);
  const int Last = !Band ? Strip.Bottom : !Copy ? Area.Bottom : std::max(Area.Bottom, Strip.Bottom);
  // Rows are walked by stride: one checked ScanLine call per bitmap, not three a row.
  const std::ptrdiff_t DestStride = Dest.ScanlineBytes(), OldStride = Old.ScanlineBytes();
  const std::ptrdiff_t NewStride = New.ScanlineBytes(), MaskStride = Mask.ScanlineBytes();
  std::uint8_t* const DestBits = Dest.ScanLine(0);
  const std::uint8_t* const OldBits = Old.ScanLine(0);
  const std::uint8_t* const NewBits = New.ScanLine(0);
  const std::uint8_t* const MaskBits = Band ? Mask.ScanLine(MaskAt.Y) - Area.Top * MaskStride : nullptr;
  // A narrow band touches a new memory page in every row of each bitmap, where the processor's
  // own prefetching stops (and a piece of a few cache lines is too short for it to see a stream
  // in): asking for every line of the rows a few ahead lets their address translations and loads
  // overlap with the work on this one. A wide band is a stream the processor follows by itself.
  constexpr int Ahead = 8;
  const std::size_t PrefetchBytes = static_cast<std::size_t>(std::min(Area.Width() * Bytes, 512));
  for (int Y = First; Y < Last; ++Y) {
    std::uint8_t* To = DestBits + Y * DestStride;
    if (Band && Y + Ahead >= Area.Top && Y + Ahead < Area.Bottom) {
      PrefetchLines(PrefetchBytes, OldBits + (Y + Ahead) * OldStride + BandOffset,
                    NewBits + (Y + Ahead) * NewStride + BandOffset, To + Ahead * DestStride + BandOffset);
    }
    if (Band && Y >= Area.Top && Y < Area.Bottom)
      Row(To + BandOffset, OldBits + Y * OldStride + BandOffset, NewBits + Y * NewStride + BandOffset,
          MaskBits + Y * MaskStride, MaskAt.X, Area.Width());
    if (Copy && Y >= Strip.Top && Y < Strip.Bottom) {
      const std::uint8_t* From = NewBits + Y * NewStride + StripOffset;
      // The strip behind a straight edge is a pixel or two wide a frame: no library call for it.
      if (StripLength <= 8) {
        for (std::size_t K = 0; K < StripLength; ++K) To[StripOffset + K] = From[K];
      } else {
        std::memcpy(To + StripOffset, From, StripLength);
      }
    }
  }
}

}  // namespace vte
