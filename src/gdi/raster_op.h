#pragma once
// Ternary raster operations. A raster operation combines, bit by bit, the brush P (pattern), the
// source S and the destination D: the result bit is bit (P<<2 | S<<1 | D) of the code byte, which
// is bits 16..23 of the 32-bit operation value.
#include <cstdint>

namespace vte {

inline constexpr std::uint32_t SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6,
                               SRCINVERT = 0x00660046, SRCERASE = 0x00440328,
                               NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6,
                               MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226,
                               PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09, PATINVERT = 0x005A0049,
                               DSTINVERT = 0x00550009, BLACKNESS = 0x00000042,
                               WHITENESS = 0x00FF0062, DSna = 0x00220326, PSDPxax = 0x00AC0744;

inline constexpr std::uint8_t RopCode(std::uint32_t Rop) { return static_cast<std::uint8_t>(Rop >> 16); }
// The full operation value for a code byte (the low word only guides the window system's code
// generation; here the code byte alone decides the result).
inline constexpr std::uint32_t RopFromCode(std::uint8_t Code) { return static_cast<std::uint32_t>(Code) << 16; }

// Whether the result depends on the source / brush / destination.
inline constexpr bool RopUsesSource(std::uint8_t C) { return ((C >> 2) & 0x33) != (C & 0x33); }
inline constexpr bool RopUsesPattern(std::uint8_t C) { return (C >> 4) != (C & 0x0F); }
inline constexpr bool RopUsesDest(std::uint8_t C) { return ((C >> 1) & 0x55) != (C & 0x55); }

// The operation on whole words: every bit of the result follows the code byte.
template <class W> constexpr W RopBits(std::uint8_t Code, W P, W S, W D) {
  W R = 0;
  for (int I = 0; I < 8; ++I)
    if (Code & (1 << I)) R |= ((I & 4) ? P : ~P) & ((I & 2) ? S : ~S) & ((I & 1) ? D : ~D);
  return R;
}

}  // namespace vte
