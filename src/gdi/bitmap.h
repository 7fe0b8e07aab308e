#pragma once
// A device-independent bitmap: pixel memory in one of the pixel formats, rows top-down and 32-bit
// aligned, a palette for the palette formats, and a canvas to draw on it.
//
// Setting the size keeps the pixels of the common area and makes new ones white; setting the pixel
// format converts the picture. A new bitmap is white. QImage views share the memory (no copy).
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>

#include "gdi/graphic.h"
#include "gdi/pixel_format.h"

namespace vte {

class TCanvas;

class TBitmap : public TGraphic {
public:
  TBitmap();  // empty (0x0), pf32bit
  TBitmap(int Width, int Height, TPixelFormat PixelFormat);
  TBitmap(const TBitmap& Other);
  TBitmap(TBitmap&& Other) noexcept;
  TBitmap& operator=(const TBitmap& Other);
  TBitmap& operator=(TBitmap&& Other) noexcept;
  ~TBitmap() override;

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  void SetSize(int Width, int Height);
  void SetWidth(int Width) { SetSize(Width, FHeight); }
  void SetHeight(int Height) { SetSize(FWidth, Height); }

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the picture to the format (pfDevice: the device format). Colours go through RGB;
  // into a palette format each pixel takes the nearest entry of that format's default palette.
  void SetPixelFormat(TPixelFormat Format);

  // A monochrome bitmap is pf1bit with the palette [black, white]. Setting it converts.
  bool Monochrome() const;
  void SetMonochrome(bool Value);

  const TPalette& Palette() const { return FPalette; }
  // Replaces the palette of a palette format (indices are kept); ignored for direct formats.
  void SetPalette(TPalette Palette);

  std::uint8_t* ScanLine(int Row);
  const std::uint8_t* ScanLine(int Row) const;
  int ScanlineBytes() const { return FStride; }
  std::uint8_t* Bits() { return FBits.get(); }
  const std::uint8_t* Bits() const { return FBits.get(); }
  std::size_t ImageSize() const { return static_cast<std::size_t>(FStride) * FHeight; }

  TCanvas& Canvas();

  // Copies size, format, palette and pixels (and the transparency settings).
  void Assign(const TBitmap& Source);
  // Frees the pixels: the bitmap becomes 0x0 in its format.
  void Clear();

  // The colour of a pixel (no clipping, no origin): a plain 0x00BBGGRR value.
  TColor PixelColor(int X, int Y) const;

  // A QImage over this bitmap's memory (no copy). pf4bit has no such view: it gives a null image.
  QImage View();
  // A copy as a QImage (pf4bit becomes Indexed8).
  QImage ToQImage() const;
  static TBitmap FromQImage(const QImage& Image);

  // BMP (palette formats and 8-bit greys stay 1/4/8-bit with their palette), JPEG, PNG.
  // A missing, truncated or unreadable file raises std::runtime_error naming the file; the
  // bitmap is left as it was.
  void LoadFromFile(const QString& FileName);
  void SaveToFile(const QString& FileName) const;

  void DrawOn(TCanvas& Canvas, const TRect& Rect) const override;

private:
  void Allocate(int Width, int Height, TPixelFormat Format, TPalette Palette);
  void SwapContents(TBitmap& Other) noexcept;

  int FWidth = 0;
  int FHeight = 0;
  int FStride = 0;
  TPixelFormat FPixelFormat = pf32bit;
  TPalette FPalette;
  std::unique_ptr<std::uint8_t[], void (*)(std::uint8_t*)> FBits;
  std::unique_ptr<TCanvas> FCanvas;
};

// Converts Src into Dst's format (Dst's palette chooses the entries): same size required.
void ConvertPixels(const TBitmap& Src, TBitmap& Dst);

}  // namespace vte
