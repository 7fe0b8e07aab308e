#include "pixel/blend_work.h"

#include <algorithm>
#include <stdexcept>

#include "gdi/canvas.h"
#include "gdi/raster_op.h"
#include "pixel/blend_kernels.h"

namespace vte {

// --- the plain loops and the table of levels ---

namespace {

void BlendWordsPlain(std::uint8_t* Dest, const std::uint8_t* A, const std::uint8_t* B, std::size_t Words,
                     const TBlendLanes& L) {
  BlendWordsTail(Dest, A, B, 0, Words, L);
}

std::size_t CountEqualWordsPlain(const std::uint8_t* A, const std::uint8_t* B, std::size_t Words) {
  return CountEqualWordsTail(A, B, 0, Words);
}

void OpaqueWordsPlain(std::uint8_t* Dest, const std::uint8_t* Source, std::size_t Words) {
  OpaqueWordsTail(Dest, Source, 0, Words);
}

void TintBytesPlain(std::uint8_t* P, std::size_t Count, const TTintBytes& T) { TintBytesTail(P, 0, Count, T); }

void TintWordsPlain(std::uint8_t* P, std::size_t Count, const TTintWords& T) { TintWordsTail(P, 0, Count, T); }

}  // namespace

const TBlendKernels BlendKernelsScalar = {BlendWordsPlain, CountEqualWordsPlain, TintBytesPlain, TintWordsPlain,
                                           OpaqueWordsPlain};

const TBlendKernels& BlendKernels(TSimdLevel Level) {
  return KernelsForLevel(Level, BlendKernelsScalar, simd_sse2::BlendKernels, simd_avx2::BlendKernels);
}

const TBlendKernels& BlendKernels() { return BlendKernels(CurrentSimdLevel()); }

// --- dither ---

namespace {

// Cell number (1..64) at column X, row Y.
constexpr int DitherOrder[8][8] = {
    {2, 34, 10, 42, 3, 35, 11, 43},  {54, 30, 62, 22, 55, 31, 63, 23}, {14, 46, 6, 38, 15, 47, 7, 39},
    {58, 18, 50, 26, 59, 19, 51, 27}, {4, 36, 12, 44, 1, 33, 9, 41},   {56, 32, 64, 24, 53, 29, 61, 21},
    {16, 48, 8, 40, 13, 45, 5, 37},  {60, 20, 52, 28, 57, 17, 49, 25}};

struct TCellPlaces {
  int X[65] = {};
  int Y[65] = {};
  constexpr TCellPlaces() {
    for (int Y0 = 0; Y0 < 8; ++Y0)
      for (int X0 = 0; X0 < 8; ++X0) {
        X[DitherOrder[Y0][X0]] = X0;
        Y[DitherOrder[Y0][X0]] = Y0;
      }
  }
};
constexpr TCellPlaces CellPlaces;

// Copies Source's (0, 0, W, H) onto Dest at (X, Y) through Pattern as brush: black pattern pixels
// take the source, white ones keep the destination. The brush loses the pattern also on failure.
void CopyThroughPattern(TBitmap& Dest, int X, int Y, int W, int H, TBitmap& Source, const TBitmap& Pattern) {
  TCanvas& Canvas = Dest.Canvas();
  struct TRemovePattern {
    TCanvas& Canvas;
    ~TRemovePattern() { Canvas.Brush().Bitmap = nullptr; }
  } Remove{Canvas};
  Canvas.Brush().Bitmap = &Pattern;
  Canvas.BitBlt(X, Y, W, H, Source.Canvas(), 0, 0, PSDPxax);
}

}  // namespace

void SetDitherCell(TBitmap& Pattern, int Index) {
  if (Index < 1 || Index > 64) return;
  const int X = CellPlaces.X[Index], Y = CellPlaces.Y[Index];
  if (X >= Pattern.Width() || Y >= Pattern.Height()) return;
  WritePixel(Pattern.ScanLine(Y), X, Pattern.PixelFormat(),
             EncodePixel(Pattern.PixelFormat(), Pattern.Palette(), qRgb(0, 0, 0)));
}

void DitherBlend(TBitmap& Dest, TBitmap& Source, int Count, TBitmap& Pattern) {
  for (int Cell = 1; Cell <= Count && Cell <= 64; ++Cell) SetDitherCell(Pattern, Cell);
  CopyThroughPattern(Dest, 0, 0, Dest.Width(), Dest.Height(), Source, Pattern);
}

// --- blend ---

namespace {

bool FiveBitChannels(TPixelFormat F) { return F == pf15bit || F == pf16bit; }

// The lanes of a format and the multiplier of a weight w <= 128: w = K * 2^t with K odd, and the
// product is shifted right by 8 - t.
TBlendLanes BlendLanesFor(TPixelFormat Format, int Weight, bool SkipEqual) {
  TBlendLanes L;
  if (Format == pf15bit) {
    L.LowMask = 0x03E07C1F;
    L.HighMask = 0x7C1F03E0;
    L.Shift = 5;
  } else if (Format == pf16bit) {
    L.LowMask = 0x07E0F81F;
    L.HighMask = 0xF81F07E0;
    L.Shift = 5;
  }
  if (Weight > 0) {
    const int T = __builtin_ctz(static_cast<unsigned>(Weight));
    L.K = static_cast<std::uint32_t>(Weight >> T);
    L.S = static_cast<std::uint32_t>(8 - T);
  }
  L.SkipEqual = SkipEqual;
  return L;
}

}  // namespace

void BlendMemory(void* Dest, const void* A, const void* B, int Similarity, int Level, std::size_t ByteCount,
                 TPixelFormat PixelFormat) {
  const bool Five = FiveBitChannels(PixelFormat);
  Level = std::clamp(Level, 0, Five ? 256 : 255);
  const auto* First = static_cast<const std::uint8_t*>(A);
  const auto* Second = static_cast<const std::uint8_t*>(B);
  int Weight = Level;
  if (Level > 128) {
    // Mixing from the other side keeps the multiplier at most 128, so the products of both
    // channels of a lane stay apart inside 32 bits.
    std::swap(First, Second);
    Weight = (Five ? 256 : 255) - Level;
  }
  const TBlendLanes Lanes = BlendLanesFor(PixelFormat, Weight, Similarity >= 10);
  BlendKernels().BlendWords(static_cast<std::uint8_t*>(Dest), First, Second, ByteCount / 4, Lanes);
}

void BlendFrame(TBitmap& Dest, TBitmap& NewBmp, const TBitmap& OldBmp, int Similarity, int Level,
                TPixelFormat PixelFormat, TBitmap* Pattern) {
  if (Pattern) {
    DitherBlend(Dest, NewBmp, Level, *Pattern);
    return;
  }
  // The three blocks run as one: the same rows in the same places, padding included.
  const std::size_t ByteCount = static_cast<std::size_t>(ScanlineBytes(NewBmp.Width(), PixelFormat)) * Dest.Height();
  if (Dest.ImageSize() < ByteCount || NewBmp.ImageSize() < ByteCount || OldBmp.ImageSize() < ByteCount)
    throw std::invalid_argument("BlendFrame: the bitmaps differ in size or format");
  if (FiveBitChannels(PixelFormat)) Level *= 8;
  BlendMemory(Dest.Bits(), NewBmp.Bits(), OldBmp.Bits(), Similarity, Level, ByteCount, PixelFormat);
}

std::size_t CountEqualWords(const void* A, const void* B, std::size_t Words) {
  return BlendKernels().CountEqualWords(static_cast<const std::uint8_t*>(A), static_cast<const std::uint8_t*>(B),
                                        Words);
}

// --- tint ---

int TintTableEntry(int Bits, int C, int Level, int X) {
  const int Range = 1 << Bits;
  const int E = Bits == 5 ? Level / 8 + 1 : Bits == 6 ? Level / 4 + 1 : Level + 1;
  return ((C + 1) * (Range - E) + (X + 1) * E) / Range - 1;
}

namespace {

// The tables of the last tint, with what they were built for. Index 0 blue, 1 green, 2 red.
struct TTintTables {
  bool Valid = false;
  int Level = -1;
  int Kind = 0;  // 15, 16, or 24 for both 24- and 32-bit pixels (the same 8-bit tables)
  int Channel[3] = {-1, -1, -1};
  std::uint8_t Table[3][256] = {};
  TTintTableBuilds Builds;
};

TTintTables& Tables() {
  static TTintTables T;
  return T;
}

int ChannelBits(int Kind, int Channel) {
  if (Kind == 24) return 8;
  return Kind == 16 && Channel == 1 ? 6 : 5;
}

// Rebuilds what the parameters ask for: everything after a change of level or kind of pixel, a
// channel's table after a change of the colour's value in that channel.
void UpdateTintTables(int Kind, int Level, const int (&Channel)[3]) {
  TTintTables& T = Tables();
  const bool All = !T.Valid || T.Level != Level || T.Kind != Kind;
  int* Counts[3] = {&T.Builds.Blue, &T.Builds.Green, &T.Builds.Red};
  for (int Ch = 0; Ch < 3; ++Ch) {
    if (!All && T.Channel[Ch] == Channel[Ch]) continue;
    const int Bits = ChannelBits(Kind, Ch);
    for (int X = 0; X < (1 << Bits); ++X)
      T.Table[Ch][X] = static_cast<std::uint8_t>(TintTableEntry(Bits, Channel[Ch], Level, X));
    T.Channel[Ch] = Channel[Ch];
    ++*Counts[Ch];
  }
  T.Valid = true;
  T.Level = Level;
  T.Kind = Kind;
}

// Table entry X of channel value C equals (X * Mul + Add) >> Bits: the +1 and -1 of the table's
// definition cancel, since (C + 1) * (R - E) + (X + 1) * E - R = C * (R - E) + X * E.
void TintArithmetic(int Bits, int C, int Level, std::uint16_t& Mul, std::uint16_t& Add) {
  const int Range = 1 << Bits;
  const int E = Bits == 5 ? Level / 8 + 1 : Bits == 6 ? Level / 4 + 1 : Level + 1;
  Mul = static_cast<std::uint16_t>(E);
  Add = static_cast<std::uint16_t>(C * (Range - E));
}

void TintBytesArea(TBitmap& Bitmap, const TRect& Area, bool Whole, int Level, TColor Rgb) {
  const int Channel[3] = {GetBValue(Rgb), GetGValue(Rgb), GetRValue(Rgb)};
  UpdateTintTables(24, Level, Channel);
  TTintBytes T;
  T.Period = Bitmap.PixelFormat() == pf32bit ? 4 : 3;
  for (int Ch = 0; Ch < 3; ++Ch) T.Table[Ch] = Tables().Table[Ch];
  std::uint16_t Mul[4], Add[4];
  for (int Ch = 0; Ch < 3; ++Ch) TintArithmetic(8, Channel[Ch], Level, Mul[Ch], Add[Ch]);
  Mul[3] = 256;  // the fourth byte of a 32-bit pixel comes back as it was
  Add[3] = 0;
  for (std::size_t I = 0; I < TintBytesBlock; ++I) {
    T.Mul[I] = Mul[I % T.Period];
    T.Add[I] = Add[I % T.Period];
  }
  const TTintBytesKernel Kernel = BlendKernels().TintBytes;
  if (Whole) {
    Kernel(Bitmap.Bits(), Bitmap.ImageSize() / T.Period, T);
    return;
  }
  for (int Y = Area.Top; Y < Area.Bottom; ++Y)
    Kernel(Bitmap.ScanLine(Y) + static_cast<std::size_t>(Area.Left) * T.Period, Area.Width(), T);
}

void TintWordsArea(TBitmap& Bitmap, const TRect& Area, bool Whole, int Level, TColor Rgb) {
  const int Kind = Bitmap.PixelFormat() == pf16bit ? 16 : 15;
  const std::uint32_t Pixel = EncodePixel(Bitmap.PixelFormat(), {}, ColorToQRgb(Rgb));
  TTintWords T;
  T.RedShift = Kind == 16 ? 11 : 10;
  T.GreenMask = Kind == 16 ? 63 : 31;
  const int Channel[3] = {static_cast<int>(Pixel & 31), static_cast<int>((Pixel >> 5) & T.GreenMask),
                          static_cast<int>((Pixel >> T.RedShift) & 31)};
  UpdateTintTables(Kind, Level, Channel);
  for (int Ch = 0; Ch < 3; ++Ch) {
    T.Table[Ch] = Tables().Table[Ch];
    T.Bits[Ch] = static_cast<std::uint16_t>(ChannelBits(Kind, Ch));
    TintArithmetic(T.Bits[Ch], Channel[Ch], Level, T.Mul[Ch], T.Add[Ch]);
  }
  const TTintWordsKernel Kernel = BlendKernels().TintWords;
  if (Whole) {
    Kernel(Bitmap.Bits(), Bitmap.ImageSize() / 2, T);
    return;
  }
  for (int Y = Area.Top; Y < Area.Bottom; ++Y)
    Kernel(Bitmap.ScanLine(Y) + static_cast<std::size_t>(Area.Left) * 2, Area.Width(), T);
}

}  // namespace

TTintTableBuilds TintTableBuilds() { return Tables().Builds; }

void TintBitmap(TBitmap& Bitmap, TBitmap* Pattern, TPixelFormat PixelFormat, int Level, const TRect& Rect,
                TColor Color) {
  const TColor Rgb = ColorToRGB(Color);
  const TRect All = vte::Rect(0, 0, Bitmap.Width(), Bitmap.Height());
  TRect Area;
  if (!IntersectRect(Area, Rect, All)) return;

  if (Pattern) {
    TBitmap Colour(Area.Width(), Area.Height(), Bitmap.PixelFormat());
    if (IsPaletteFormat(Bitmap.PixelFormat())) Colour.SetPalette(Bitmap.Palette());
    Colour.Canvas().Brush().Color = Rgb;
    Colour.Canvas().FillRect(vte::Rect(0, 0, Area.Width(), Area.Height()));
    for (int Cell = 1; Cell <= 64 - Level; ++Cell) SetDitherCell(*Pattern, Cell);
    CopyThroughPattern(Bitmap, Area.Left, Area.Top, Area.Width(), Area.Height(), Colour, *Pattern);
    return;
  }

  if (PixelFormat != Bitmap.PixelFormat())
    throw std::invalid_argument("TintBitmap: the pixel format is not the bitmap's");
  Level = std::clamp(Level, 0, 255);
  // The whole bitmap is one run over its memory when its rows have no padding of other pixels'
  // bytes: 24-bit rows only when the width is a multiple of 4.
  const bool WholeArea = Area == All;
  switch (PixelFormat) {
    case pf15bit:
    case pf16bit: TintWordsArea(Bitmap, Area, WholeArea, Level, Rgb); break;
    case pf24bit: TintBytesArea(Bitmap, Area, WholeArea && Bitmap.Width() % 4 == 0, Level, Rgb); break;
    case pf32bit: TintBytesArea(Bitmap, Area, WholeArea, Level, Rgb); break;
    default: break;
  }
}

void CopyOpaque(void* Dest, const void* Source, std::size_t Pixels) {
  BlendKernels().OpaqueWords(static_cast<std::uint8_t*>(Dest), static_cast<const std::uint8_t*>(Source), Pixels);
}

}  // namespace vte
