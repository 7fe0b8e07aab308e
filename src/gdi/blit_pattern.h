#pragma once
// The brush operand of a blit, laid out like destination rows. Eight pixels of any format fill a
// whole number of bytes (Bits bytes), so each of the eight pattern rows is a byte sequence that
// repeats every Bits bytes from the start of a destination row; one copy long enough for the
// widest run serves every run of the call at its byte offset.
#include <cstdint>
#include <vector>

#include "gdi/blit_converter.h"
#include "gdi/blit_surface.h"

namespace vte {

class TBlitPattern {
public:
  // Brush in Dest's format; SpanBytes is the longest run (in bytes) the call will draw.
  void Build(const TBlitBrush& Brush, const TBlitSurface& Dest, int SpanBytes,
             TNearestColourCache& Cache);
  // The pattern bytes for a run that starts at byte FirstByte of device row Y.
  const std::uint8_t* Row(int Y, int FirstByte) const {
    return FRows[Y & 7] + FirstByte % FPeriod;
  }
  // The byte every pattern byte holds when the brush is solid and its pixels repeat one byte (1-
  // and 8-bit formats always, deeper ones for greys); -1 otherwise.
  int RepeatedByte() const { return FRepeatedByte; }

private:
  std::vector<std::uint8_t> FBuffer;
  int FRepeatedByte = -1;
  const std::uint8_t* FRows[8] = {};
  int FPeriod = 1;
  bool FSolid = true;
  TBlitConverter FConverter;
};

}  // namespace vte
