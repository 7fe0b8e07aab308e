#pragma once
// Pixel formats and the raw pixel values they hold.
//   pf32bit  bytes B,G,R,X (X is 0xFF when written from a colour)   QImage::Format_RGB32
//   pf24bit  bytes B,G,R                                             QImage::Format_BGR888
//   pf16bit  5-6-5 (red in the top bits)                             QImage::Format_RGB16
//   pf15bit  0-5-5-5, the top bit 0                                  QImage::Format_RGB555
//   pf8bit   a palette index                                         QImage::Format_Indexed8
//   pf4bit   two pixels a byte, the high nibble left                 (no QImage format)
//   pf1bit   eight pixels a byte, bit 7 leftmost                     QImage::Format_Mono
// Rows are 32-bit aligned.
#include <QRgb>
#include <cstdint>
#include <functional>
#include <vector>

namespace vte {

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

using TPalette = std::vector<QRgb>;

// Bits a pixel occupies in memory (pf15bit: 16); 0 for pfDevice and pfCustom.
int PixelFormatStorageBits(TPixelFormat Format);
// Bytes of one 32-bit aligned row.
int ScanlineBytes(int Width, TPixelFormat Format);
inline bool IsPaletteFormat(TPixelFormat F) { return F == pf1bit || F == pf4bit || F == pf8bit; }
inline bool IsDirectFormat(TPixelFormat F) { return F >= pf15bit && F <= pf32bit; }

// pfDevice resolves to the screen's format. The layer itself knows no screen: the capture layer
// installs a resolver; without one the device format is pf32bit.
void SetDevicePixelFormatResolver(std::function<TPixelFormat()> Resolver);
TPixelFormat ResolvePixelFormat(TPixelFormat Format);

// The palette a new bitmap of a palette format gets: black/white (1-bit), the sixteen classic
// colours (4-bit), and for 8-bit the 6x6x6 colour cube, then greys, with black at 0 and white
// at 255. Empty for direct formats.
TPalette DefaultPalette(TPixelFormat Format);
TPalette GreyPalette();  // 256 greys, entry i = (i, i, i)
// Whether a palette is exactly [black, white].
bool IsMonochromePalette(const TPalette& Palette);

// The entry nearest to Rgb in squared RGB distance, the lowest index on ties. Rgb's alpha is
// ignored. An empty palette gives 0.
int NearestPaletteIndex(const TPalette& Palette, QRgb Rgb);

// Raw pixel values <-> colours. For palette formats the value is the index (nearest entry when
// encoding); an index beyond the palette decodes to black.
std::uint32_t EncodePixel(TPixelFormat Format, const TPalette& Palette, QRgb Rgb);
QRgb DecodePixel(TPixelFormat Format, const TPalette& Palette, std::uint32_t Value);

// The raw value of pixel X of a row, and storing one (only the pixel's own bits change).
std::uint32_t ReadPixel(const std::uint8_t* Row, int X, TPixelFormat Format);
void WritePixel(std::uint8_t* Row, int X, TPixelFormat Format, std::uint32_t Value);

// The value whose bits are all set within one pixel of the format (pf15bit: 0x7FFF).
std::uint32_t AllOnesPixel(TPixelFormat Format);

}  // namespace vte
