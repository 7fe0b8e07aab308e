#include "gdi/bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <sys/mman.h>
#include <stdexcept>
#include <utility>
#include <vector>

#include "gdi/canvas.h"

namespace vte {

namespace {

void FreeBits(std::uint8_t* P) { std::free(P); }

// Pixel memory is 64-byte aligned so that the row kernels can use aligned vector loads on the
// first row; the size is rounded up to a whole number of alignment units as aligned_alloc wants.
// Bitmaps of a few megabytes and more lie on huge pages where the system allows it: effects walk
// them in columns (a band, a strip, a roll), touching one row in each of a thousand 4 KB pages a
// frame, and a TLB miss a row then costs more than the pixels themselves.
constexpr std::size_t HugePage = std::size_t{2} << 20;

std::uint8_t* AllocateBits(std::size_t Size) {
  if (Size == 0) return nullptr;
  const bool Huge = Size >= HugePage;
  const std::size_t Unit = Huge ? HugePage : 64;
  const std::size_t Rounded = (Size + Unit - 1) & ~(Unit - 1);
  auto* P = static_cast<std::uint8_t*>(std::aligned_alloc(Unit, Rounded));
  if (!P) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
  // Only advice: where huge pages are off the memory is plain pages, as any other.
  if (Huge) madvise(P, Rounded, MADV_HUGEPAGE);
#endif
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

namespace {

// ConvertPixels works a row at a time: the source row is decoded into colours, then the colours
// are encoded into the destination row. Both steps give exactly what DecodePixel and EncodePixel
// give for each pixel; they are only spelt out here so that the compiler can inline and unroll
// them, and so that palette searches are not repeated for colours already seen.

inline QRgb Widen5(std::uint32_t C) { return (C << 3) | (C >> 2); }
inline QRgb Widen6(std::uint32_t C) { return (C << 2) | (C >> 4); }

class TRowDecoder {
public:
  TRowDecoder(TPixelFormat Format, const TPalette& Palette) : FFormat(Format) {
    if (IsPaletteFormat(Format)) {
      // Every index the format can hold; one beyond the palette decodes to black.
      const std::size_t Count = std::size_t{1} << PixelFormatStorageBits(Format);
      for (std::size_t I = 0; I < Count; ++I)
        FTable[I] = I < Palette.size() ? (Palette[I] | 0xFF000000u) : qRgb(0, 0, 0);
    }
  }

  void Decode(const std::uint8_t* S, int Width, QRgb* Out) const {
    switch (FFormat) {
      case pf32bit:
        for (int X = 0; X < Width; ++X)
          Out[X] = 0xFF000000u | S[4 * X] | (S[4 * X + 1] << 8) | (S[4 * X + 2] << 16);
        break;
      case pf24bit:
        for (int X = 0; X < Width; ++X)
          Out[X] = 0xFF000000u | S[3 * X] | (S[3 * X + 1] << 8) | (S[3 * X + 2] << 16);
        break;
      case pf16bit:
        for (int X = 0; X < Width; ++X) {
          const std::uint32_t V = S[2 * X] | (S[2 * X + 1] << 8);
          Out[X] = 0xFF000000u | (Widen5((V >> 11) & 31) << 16) | (Widen6((V >> 5) & 63) << 8) |
                   Widen5(V & 31);
        }
        break;
      case pf15bit:
        for (int X = 0; X < Width; ++X) {
          const std::uint32_t V = S[2 * X] | (S[2 * X + 1] << 8);
          Out[X] = 0xFF000000u | (Widen5((V >> 10) & 31) << 16) | (Widen5((V >> 5) & 31) << 8) |
                   Widen5(V & 31);
        }
        break;
      case pf8bit:
        for (int X = 0; X < Width; ++X) Out[X] = FTable[S[X]];
        break;
      case pf4bit:
        for (int X = 0; X < Width; ++X) Out[X] = FTable[(X & 1) ? (S[X >> 1] & 0x0F) : (S[X >> 1] >> 4)];
        break;
      case pf1bit:
        for (int X = 0; X < Width; ++X) Out[X] = FTable[(S[X >> 3] >> (7 - (X & 7))) & 1];
        break;
      default:
        for (int X = 0; X < Width; ++X) Out[X] = qRgb(0, 0, 0);
        break;
    }
  }

private:
  TPixelFormat FFormat;
  QRgb FTable[256] = {};
};

// The nearest palette entry, exactly as NearestPaletteIndex finds it, without searching the
// whole palette for every colour. RGB space is cut into 16x16x16 cells; for each cell (built when
// first needed) only the entries that can be nearest to some colour in it are kept: an entry whose
// smallest possible distance to the cell exceeds the largest distance of the best-placed entry can
// never win there. The candidates stay in palette order, so ties still go to the lowest index.
class TNearestSearch {
public:
  explicit TNearestSearch(const TPalette& Palette) : FPalette(Palette) {}

  std::uint32_t Find(QRgb C) {
    if (FPalette.empty()) return 0;
    const int R = qRed(C), G = qGreen(C), B = qBlue(C);
    if (FCells.empty()) FCells.resize(Levels * Levels * Levels);
    TCell& Cell = FCells[static_cast<std::size_t>((R >> Shift) * Levels * Levels + (G >> Shift) * Levels + (B >> Shift))];
    if (!Cell.Ready) Fill(Cell, R >> Shift, G >> Shift, B >> Shift);
    std::uint32_t Best = 0;
    int BestDist = std::numeric_limits<int>::max();
    for (const TEntry& E : Cell.Candidates) {
      const int Dr = E.R - R, Dg = E.G - G, Db = E.B - B;
      const int D = Dr * Dr + Dg * Dg + Db * Db;
      if (D < BestDist) {
        BestDist = D;
        Best = E.Index;
        if (D == 0) break;
      }
    }
    return Best;
  }

private:
  static constexpr int Shift = 4, Levels = 256 >> Shift, Width = 1 << Shift;
  struct TEntry { int R, G, B; std::uint32_t Index; };
  struct TCell { bool Ready = false; std::vector<TEntry> Candidates; };

  static int Nearest(int V, int Lo) { return V < Lo ? Lo - V : (V > Lo + Width - 1 ? V - (Lo + Width - 1) : 0); }
  static int Farthest(int V, int Lo) { return std::max(std::abs(V - Lo), std::abs(V - (Lo + Width - 1))); }

  void Fill(TCell& Cell, int Cr, int Cg, int Cb) {
    const int Lr = Cr * Width, Lg = Cg * Width, Lb = Cb * Width;
    const std::size_t N = FPalette.size();
    std::vector<int> MinDist(N);
    int Bound = std::numeric_limits<int>::max();
    for (std::size_t I = 0; I < N; ++I) {
      const int R = qRed(FPalette[I]), G = qGreen(FPalette[I]), B = qBlue(FPalette[I]);
      const int Nr = Nearest(R, Lr), Ng = Nearest(G, Lg), Nb = Nearest(B, Lb);
      const int Fr = Farthest(R, Lr), Fg = Farthest(G, Lg), Fb = Farthest(B, Lb);
      MinDist[I] = Nr * Nr + Ng * Ng + Nb * Nb;
      Bound = std::min(Bound, Fr * Fr + Fg * Fg + Fb * Fb);
    }
    for (std::size_t I = 0; I < N; ++I)
      if (MinDist[I] <= Bound)
        Cell.Candidates.push_back({qRed(FPalette[I]), qGreen(FPalette[I]), qBlue(FPalette[I]),
                                   static_cast<std::uint32_t>(I)});
    Cell.Ready = true;
  }

  const TPalette& FPalette;
  std::vector<TCell> FCells;
};

class TRowEncoder {
public:
  TRowEncoder(TPixelFormat Format, const TPalette& Palette, bool ToMono)
      : FFormat(Format), FSearch(Palette), FToMono(ToMono) {
    if (IsPaletteFormat(Format) && !ToMono) {
      // A direct-mapped cache of nearest-entry answers: pictures repeat colours a lot, and a
      // full search of a 256-entry palette per pixel is what makes the conversion slow.
      FKeys.assign(CacheSize, InvalidKey);
      FValues.assign(CacheSize, 0);
    }
  }

  void Encode(const QRgb* In, int Width, std::uint8_t* D) {
    switch (FFormat) {
      case pf32bit:
        for (int X = 0; X < Width; ++X) {
          const QRgb C = In[X];
          D[4 * X] = static_cast<std::uint8_t>(C);
          D[4 * X + 1] = static_cast<std::uint8_t>(C >> 8);
          D[4 * X + 2] = static_cast<std::uint8_t>(C >> 16);
          D[4 * X + 3] = 0xFF;
        }
        break;
      case pf24bit:
        for (int X = 0; X < Width; ++X) {
          const QRgb C = In[X];
          D[3 * X] = static_cast<std::uint8_t>(C);
          D[3 * X + 1] = static_cast<std::uint8_t>(C >> 8);
          D[3 * X + 2] = static_cast<std::uint8_t>(C >> 16);
        }
        break;
      case pf16bit:
        for (int X = 0; X < Width; ++X) {
          const QRgb C = In[X];
          const std::uint32_t V = ((qRed(C) >> 3) << 11) | ((qGreen(C) >> 2) << 5) | (qBlue(C) >> 3);
          D[2 * X] = static_cast<std::uint8_t>(V);
          D[2 * X + 1] = static_cast<std::uint8_t>(V >> 8);
        }
        break;
      case pf15bit:
        for (int X = 0; X < Width; ++X) {
          const QRgb C = In[X];
          const std::uint32_t V = ((qRed(C) >> 3) << 10) | ((qGreen(C) >> 3) << 5) | (qBlue(C) >> 3);
          D[2 * X] = static_cast<std::uint8_t>(V);
          D[2 * X + 1] = static_cast<std::uint8_t>(V >> 8);
        }
        break;
      case pf8bit:
        for (int X = 0; X < Width; ++X) D[X] = static_cast<std::uint8_t>(Index(In[X]));
        break;
      case pf4bit:
        for (int X = 0; X + 1 < Width; X += 2)
          D[X >> 1] = static_cast<std::uint8_t>(((Index(In[X]) & 0x0F) << 4) | (Index(In[X + 1]) & 0x0F));
        if (Width & 1) {
          std::uint8_t& B = D[Width >> 1];
          B = static_cast<std::uint8_t>((B & 0x0F) | ((Index(In[Width - 1]) & 0x0F) << 4));
        }
        break;
      case pf1bit: {
        int X = 0;
        for (; X + 8 <= Width; X += 8) {
          std::uint8_t B = 0;
          for (int K = 0; K < 8; ++K) B = static_cast<std::uint8_t>((B << 1) | (Index(In[X + K]) & 1));
          D[X >> 3] = B;
        }
        for (; X < Width; ++X) WritePixel(D, X, pf1bit, Index(In[X]));
        break;
      }
      default: break;
    }
  }

private:
  static constexpr std::uint32_t CacheBits = 12, CacheSize = 1u << CacheBits;
  static constexpr std::uint32_t InvalidKey = 0xFFFFFFFFu;  // no 24-bit key has the top bits set

  // The palette value for a colour: into a monochrome bitmap only white stays white, as for a
  // colour-to-mono blit; into any other palette the nearest entry.
  std::uint32_t Index(QRgb C) {
    const std::uint32_t Key = C & 0xFFFFFFu;
    if (FToMono) return Key == 0xFFFFFFu ? 1u : 0u;
    const std::uint32_t Slot = (Key * 2654435761u) >> (32 - CacheBits);
    if (FKeys[Slot] != Key) {
      FKeys[Slot] = Key;
      FValues[Slot] = FSearch.Find(C);
    }
    return FValues[Slot];
  }

  TPixelFormat FFormat;
  TNearestSearch FSearch;
  bool FToMono;
  std::vector<std::uint32_t> FKeys, FValues;
};

}  // namespace

void ConvertPixels(const TBitmap& Src, TBitmap& Dst) {
  if (Src.Width() != Dst.Width() || Src.Height() != Dst.Height())
    throw std::invalid_argument("ConvertPixels: sizes differ");
  const TPixelFormat SF = Src.PixelFormat(), DF = Dst.PixelFormat();
  const int W = Src.Width(), H = Src.Height();
  if (W == 0 || H == 0) return;
  if (SF == DF && (!IsPaletteFormat(SF) || Src.Palette() == Dst.Palette())) {
    // Same raw values: whole rows (padding included) copy as they are.
    for (int Y = 0; Y < H; ++Y) std::memcpy(Dst.ScanLine(Y), Src.ScanLine(Y), Src.ScanlineBytes());
    return;
  }
  const TRowDecoder Decoder(SF, Src.Palette());
  TRowEncoder Encoder(DF, Dst.Palette(), Dst.Monochrome());
  std::vector<QRgb> Line(static_cast<std::size_t>(W));
  for (int Y = 0; Y < H; ++Y) {
    Decoder.Decode(Src.ScanLine(Y), W, Line.data());
    Encoder.Encode(Line.data(), W, Dst.ScanLine(Y));
  }
}

}  // namespace vte
