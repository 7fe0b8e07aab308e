#include "gdi/bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

#include "gdi/canvas.h"

namespace vte {

namespace {

void FreeBits(std::uint8_t* P) { std::free(P); }

// Pixel memory is 64-byte aligned so that the row kernels can use aligned vector loads on the
// first row; the size is rounded up to a whole number of alignment units as aligned_alloc wants.
std::uint8_t* AllocateBits(std::size_t Size) {
  if (Size == 0) return nullptr;
  const std::size_t Rounded = (Size + 63) & ~std::size_t{63};
  auto* P = static_cast<std::uint8_t*>(std::aligned_alloc(64, Rounded));
  if (!P) throw std::bad_alloc();
  return P;
}

// The raw value every pixel of a new bitmap gets: white.
std::uint32_t WhitePixel(TPixelFormat Format, const TPalette& Palette) {
  return EncodePixel(Format, Palette, qRgb(255, 255, 255));
}

void FillRowPixels(std::uint8_t* Row, int From, int To, TPixelFormat Format, std::uint32_t Value) {
  for (int X = From; X < To; ++X) WritePixel(Row, X, Format, Value);
}

}  // namespace

TBitmap::TBitmap() : FBits(nullptr, FreeBits) {}

TBitmap::TBitmap(int Width, int Height, TPixelFormat PixelFormat) : TBitmap() {
  const TPixelFormat F = ResolvePixelFormat(PixelFormat);
  Allocate(Width, Height, F, DefaultPalette(F));
}

TBitmap::TBitmap(const TBitmap& Other) : TGraphic(Other), FBits(nullptr, FreeBits) { Assign(Other); }

TBitmap::TBitmap(TBitmap&& Other) noexcept : TGraphic(Other), FBits(nullptr, FreeBits) {
  SwapContents(Other);
}

TBitmap& TBitmap::operator=(const TBitmap& Other) {
  if (this != &Other) Assign(Other);
  return *this;
}

TBitmap& TBitmap::operator=(TBitmap&& Other) noexcept {
  if (this != &Other) {
    TGraphic::operator=(Other);
    SwapContents(Other);
  }
  return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::SwapContents(TBitmap& Other) noexcept {
  std::swap(FWidth, Other.FWidth);
  std::swap(FHeight, Other.FHeight);
  std::swap(FStride, Other.FStride);
  std::swap(FPixelFormat, Other.FPixelFormat);
  std::swap(FPalette, Other.FPalette);
  std::swap(FBits, Other.FBits);
  // Each canvas stays with its bitmap object: the pixels move, the device context does not.
}

void TBitmap::Allocate(int Width, int Height, TPixelFormat Format, TPalette Palette) {
  if (Width < 0 || Height < 0) throw std::invalid_argument("TBitmap: negative size");
  const int Stride = vte::ScanlineBytes(Width, Format);
  const std::size_t Size = static_cast<std::size_t>(Stride) * Height;
  std::unique_ptr<std::uint8_t[], void (*)(std::uint8_t*)> Bits(AllocateBits(Size), FreeBits);
  if (Size) {
    // Rows start white; the row padding is zero so that whole-block operations see no noise.
    std::memset(Bits.get(), 0, Size);
    const std::uint32_t White = WhitePixel(Format, Palette);
    if (White == AllOnesPixel(Format) && Format != pf15bit) {
      for (int Y = 0; Y < Height; ++Y)
        std::memset(Bits.get() + static_cast<std::size_t>(Y) * Stride, 0xFF,
                    static_cast<std::size_t>(Width) * PixelFormatStorageBits(Format) / 8);
      if (Format == pf1bit || Format == pf4bit) {
        // The bits of a partly used last byte.
        for (int Y = 0; Y < Height; ++Y) {
          std::uint8_t* Row = Bits.get() + static_cast<std::size_t>(Y) * Stride;
          const int Full = Width * PixelFormatStorageBits(Format) / 8;
          FillRowPixels(Row, Full * 8 / PixelFormatStorageBits(Format), Width, Format, White);
        }
      }
    } else {
      FillRowPixels(Bits.get(), 0, Width, Format, White);
      for (int Y = 1; Y < Height; ++Y)
        std::memcpy(Bits.get() + static_cast<std::size_t>(Y) * Stride, Bits.get(), Stride);
    }
  }
  FWidth = Width;
  FHeight = Height;
  FStride = Stride;
  FPixelFormat = Format;
  FPalette = std::move(Palette);
  FBits = std::move(Bits);
}

void TBitmap::SetSize(int Width, int Height) {
  if (Width == FWidth && Height == FHeight) return;
  TBitmap Old(std::move(*this));
  TGraphic::operator=(Old);
  Allocate(Width, Height, Old.FPixelFormat, Old.FPalette);
  const int W = std::min(Width, Old.FWidth), H = std::min(Height, Old.FHeight);
  const int Bits = PixelFormatStorageBits(FPixelFormat);
  for (int Y = 0; Y < H; ++Y) {
    const int WholeBytes = W * Bits / 8;
    std::memcpy(ScanLine(Y), Old.ScanLine(Y), WholeBytes);
    for (int X = WholeBytes * 8 / Bits; X < W; ++X)
      WritePixel(ScanLine(Y), X, FPixelFormat, ReadPixel(Old.ScanLine(Y), X, FPixelFormat));
  }
}

void TBitmap::SetPixelFormat(TPixelFormat Format) {
  Format = ResolvePixelFormat(Format);
  if (Format == pfCustom) throw std::invalid_argument("TBitmap: pfCustom cannot be set");
  if (Format == FPixelFormat) return;
  TBitmap Converted(FWidth, FHeight, Format);
  ConvertPixels(*this, Converted);
  SwapContents(Converted);
}

bool TBitmap::Monochrome() const { return FPixelFormat == pf1bit && IsMonochromePalette(FPalette); }

void TBitmap::SetMonochrome(bool Value) {
  if (Value == Monochrome()) return;
  if (Value) {
    TBitmap Mono(FWidth, FHeight, pf1bit);
    ConvertPixels(*this, Mono);
    SwapContents(Mono);
  } else {
    SetPixelFormat(pfDevice);
  }
}

void TBitmap::SetPalette(TPalette Palette) {
  if (!IsPaletteFormat(FPixelFormat)) return;
  FPalette = std::move(Palette);
}

std::uint8_t* TBitmap::ScanLine(int Row) {
  if (Row < 0 || Row >= FHeight) throw std::out_of_range("TBitmap::ScanLine: row out of range");
  return FBits.get() + static_cast<std::size_t>(Row) * FStride;
}

const std::uint8_t* TBitmap::ScanLine(int Row) const {
  return const_cast<TBitmap*>(this)->ScanLine(Row);
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>(*this);
  return *FCanvas;
}

void TBitmap::Assign(const TBitmap& Source) {
  if (&Source == this) return;
  TGraphic::operator=(Source);
  const std::size_t Size = Source.ImageSize();
  std::unique_ptr<std::uint8_t[], void (*)(std::uint8_t*)> Bits(AllocateBits(Size), FreeBits);
  if (Size) std::memcpy(Bits.get(), Source.FBits.get(), Size);
  FWidth = Source.FWidth;
  FHeight = Source.FHeight;
  FStride = Source.FStride;
  FPixelFormat = Source.FPixelFormat;
  FPalette = Source.FPalette;
  FBits = std::move(Bits);
}

void TBitmap::Clear() {
  FBits.reset();
  FWidth = FHeight = FStride = 0;
}

TColor TBitmap::PixelColor(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return -1;
  return QRgbToColor(DecodePixel(FPixelFormat, FPalette, ReadPixel(ScanLine(Y), X, FPixelFormat)));
}

void ConvertPixels(const TBitmap& Src, TBitmap& Dst) {
  if (Src.Width() != Dst.Width() || Src.Height() != Dst.Height())
    throw std::invalid_argument("ConvertPixels: sizes differ");
  const TPixelFormat SF = Src.PixelFormat(), DF = Dst.PixelFormat();
  const bool Raw = SF == DF && (!IsPaletteFormat(SF) || Src.Palette() == Dst.Palette());
  const bool ToMono = Dst.Monochrome();
  for (int Y = 0; Y < Src.Height(); ++Y) {
    const std::uint8_t* S = Src.ScanLine(Y);
    std::uint8_t* D = Dst.ScanLine(Y);
    if (Raw) {
      std::memcpy(D, S, Src.ScanlineBytes());
      continue;
    }
    for (int X = 0; X < Src.Width(); ++X) {
      const QRgb C = DecodePixel(SF, Src.Palette(), ReadPixel(S, X, SF));
      // Into a monochrome bitmap only white stays white, as for a colour-to-mono blit.
      const std::uint32_t V = ToMono ? ((C & 0xFFFFFF) == 0xFFFFFF ? 1u : 0u)
                                     : EncodePixel(DF, Dst.Palette(), C);
      WritePixel(D, X, DF, V);
    }
  }
}

}  // namespace vte
