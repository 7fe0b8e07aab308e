#pragma once
// The raster-operation blit engine behind TCanvas: brush-only operations, blits and stretches on
// destination pieces that the canvas has already clipped (to the bitmap, the clip region and the
// source). Each run of a row is combined byte by byte in the destination format:
//   - the source row is used in place when it already has the destination's format and bit
//     position, else it is converted, stretched or bit-shifted into a scratch row first;
//   - the brush comes from an eight-row pattern built once per call;
//   - the operation runs over the bytes with masks for the partly covered end bytes of 1- and
//     4-bit formats.
// Same-format copies move whole rows (memmove), fills copy from the pattern row. Blits within one
// bitmap read every source pixel before it is overwritten. Scratch memory is kept per thread and
// only grows, so a warmed-up engine does not allocate.
#include <cstdint>
#include <span>
#include <vector>

#include "gdi/blit_converter.h"
#include "gdi/blit_nearest_cache.h"
#include "gdi/blit_pattern.h"
#include "gdi/blit_stretch_map.h"
#include "gdi/blit_surface.h"
#include "gdi/column_gather.h"

namespace vte {

class TBlitEngine {
public:
  static TBlitEngine& ForThisThread();

  // Brush with the destination (a code that uses the source draws nothing).
  void PatternBlt(const TBlitSurface& Dest, std::span<const TRect> Pieces, const TBlitBrush& Brush,
                  std::uint8_t Code);
  // Source pixel of destination (x, y) is (x + Offset.X, y + Offset.Y); the pieces lie where
  // those are inside the source.
  void BitBlt(const TBlitSurface& Dest, std::span<const TRect> Pieces, const TBlitSurface& Source,
              TPoint Offset, const TBlitBrush& Brush, std::uint8_t Code);
  // Source pixel of destination (x, y) is (Map.Column(x), Map.Row(y)).
  void StretchBlt(const TBlitSurface& Dest, std::span<const TRect> Pieces,
                  const TBlitSurface& Source, const TStretchMap& Map, const TBlitBrush& Brush,
                  std::uint8_t Code);

private:
  // Byte range and edge masks of the run of pixels [Left, Right) of a destination row.
  struct TRun {
    int FirstByte, Bytes, Phase;  // Phase: bit offset of pixel Left within its byte
    std::uint8_t Head, Tail;
  };
  static TRun RunOf(TPixelFormat Format, int Left, int Right);
  // The same for a format of Bpp bits a pixel: loops over many pieces look the format up once.
  static TRun RunOfBits(long long Bpp, int Left, int Right) {
    const long long Bit0 = Left * Bpp, Bit1 = Right * Bpp;
    TRun R;
    R.FirstByte = static_cast<int>(Bit0 >> 3);
    R.Bytes = static_cast<int>(((Bit1 + 7) >> 3) - (Bit0 >> 3));
    R.Phase = static_cast<int>(Bit0 & 7);
    R.Head = static_cast<std::uint8_t>(0xFF >> R.Phase);
    R.Tail = (Bit1 & 7) ? static_cast<std::uint8_t>(~(0xFF >> (Bit1 & 7))) : std::uint8_t{0xFF};
    return R;
  }
  // The run's bytes set to B, the bits outside Head and Tail of its end bytes kept.
  static void FillRun(std::uint8_t* D, const TRun& Run, std::uint8_t B);

  void Prepare(const TBlitSurface& Dest, std::span<const TRect> Pieces, const TBlitBrush& Brush,
               std::uint8_t Code);
  void BlitPiece(const TBlitSurface& Dest, const TRect& Piece, const TBlitSurface& Source,
                 TPoint Offset, std::uint8_t Code, bool SameBits);
  void StretchPiece(const TBlitSurface& Dest, const TRect& Piece, const TBlitSurface& Source,
                    const TStretchMap& Map, std::uint8_t Code);
  // The source operand of a blit run, lined up with the destination bytes.
  const std::uint8_t* SourceRun(const TBlitSurface& Source, TPixelFormat DestFormat, int Y, int X,
                                int Width, const TRun& Run, bool SameBits);
  // Copies source rows First .. Last into scratch memory; the result reads like Source.
  // The common start of the source operations; false when nothing is left for the caller to do.
  bool BeginSourceBlt(const TBlitSurface& Dest, std::span<const TRect> Pieces,
                      const TBlitSurface& Source, const TBlitBrush& Brush, std::uint8_t Code);
  TBlitSurface Snapshot(const TBlitSurface& Source, int First, int Last);
  void Reserve(int Pixels, int Bytes);

  TNearestColourCache FCache;
  TBlitConverter FConverter;
  TBlitPattern FPattern;
  TColumnGather FGather;  // the columns of the piece being stretched
  std::vector<std::uint32_t> FValues, FConverted;
  std::vector<std::uint8_t> FRowScratch;
  std::vector<std::uint8_t> FSnapshot;
};

}  // namespace vte
