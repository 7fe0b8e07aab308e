#include "gdi/blit_pattern.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "gdi/blit_rows.h"

namespace vte {

void TBlitPattern::Build(const TBlitBrush& Brush, const TBlitSurface& Dest, int SpanBytes,
                         TNearestColourCache& Cache) {
  const TPixelFormat F = Dest.Format;
  // Cells[r][c]: the pattern pixel (c, r) in the destination format.
  std::array<std::array<std::uint32_t, 8>, 8> Cells;
  const TBitmap* Pat = Brush.Pattern && !Brush.Pattern->Empty() ? Brush.Pattern : nullptr;
  if (Pat) {
    FConverter.Setup(Pat->PixelFormat(), Pat->Palette(), Pat->Monochrome(), F, *Dest.Palette,
                     Dest.Mono, Cache);
    // Patterns smaller than 8x8 repeat within the cell block.
    for (int Y = 0; Y < 8; ++Y)
      for (int X = 0; X < 8; ++X)
        Cells[Y][X] = FConverter.Convert(
            ReadPixel(Pat->ScanLine(Y % Pat->Height()), X % Pat->Width(), Pat->PixelFormat()));
  } else {
    const std::uint32_t V = EncodePixel(F, *Dest.Palette, ColorToQRgb(Brush.Color));
    for (auto& R : Cells) R.fill(V);
  }
  FSolid = !Pat;

  FPeriod = PixelFormatStorageBits(F);  // bytes that hold eight pixels
  const int RowBytes = FPeriod + std::max(SpanBytes, 1);
  const int RowCount = FSolid ? 1 : 8;
  if (FBuffer.size() < static_cast<std::size_t>(RowBytes) * RowCount)
    FBuffer.resize(static_cast<std::size_t>(RowBytes) * RowCount);
  for (int R = 0; R < RowCount; ++R) {
    std::uint8_t* Row = FBuffer.data() + static_cast<std::size_t>(R) * RowBytes;
    // Device row R (mod 8) uses pattern row (R - Origin.Y) mod 8; device column x, which lies at
    // position x mod 8 of its group of eight, uses pattern column (x - Origin.X) mod 8.
    const auto& Cell = Cells[((R - Brush.Origin.Y) % 8 + 8) % 8];
    std::array<std::uint32_t, 8> Tile;
    for (int J = 0; J < 8; ++J) Tile[J] = Cell[((J - Brush.Origin.X) % 8 + 8) % 8];
    PackRowValues(Tile.data(), 8, F, 0, Row);
    for (int Done = FPeriod; Done < RowBytes;) {
      const int Chunk = std::min(Done, RowBytes - Done);
      std::memcpy(Row + Done, Row, static_cast<std::size_t>(Chunk));
      Done += Chunk;
    }
  }
  for (int R = 0; R < 8; ++R)
    FRows[R] = FBuffer.data() + static_cast<std::size_t>(FSolid ? 0 : R) * RowBytes;
  FRepeatedByte = FSolid && std::all_of(FRows[0], FRows[0] + FPeriod, [&](std::uint8_t B) { return B == FRows[0][0]; })
                      ? FRows[0][0]
                      : -1;
}

}  // namespace vte
