#include "gdi/blit_converter.h"

namespace vte {

namespace {

// Inline copies of DecodePixel/EncodePixel for the direct formats, so that a row converts
// without a call and a format switch per pixel.
inline int Five(std::uint32_t C) { return static_cast<int>((C << 3) | (C >> 2)); }
inline int Six(std::uint32_t C) { return static_cast<int>((C << 2) | (C >> 4)); }

template <TPixelFormat F> inline QRgb Decode(std::uint32_t V) {
  if constexpr (F == pf32bit || F == pf24bit) return 0xFF000000u | (V & 0xFFFFFFu);
  else if constexpr (F == pf16bit) return qRgb(Five((V >> 11) & 31), Six((V >> 5) & 63), Five(V & 31));
  else return qRgb(Five((V >> 10) & 31), Five((V >> 5) & 31), Five(V & 31));
}

template <TPixelFormat F> inline std::uint32_t Encode(QRgb C) {
  const std::uint32_t R = qRed(C), G = qGreen(C), B = qBlue(C);
  if constexpr (F == pf32bit) return 0xFF000000u | (R << 16) | (G << 8) | B;
  else if constexpr (F == pf24bit) return (R << 16) | (G << 8) | B;
  else if constexpr (F == pf16bit) return ((R >> 3) << 11) | ((G >> 2) << 5) | (B >> 3);
  else return ((R >> 3) << 10) | ((G >> 3) << 5) | (B >> 3);
}

template <TPixelFormat S, TPixelFormat D>
void DirectRow(const std::uint32_t* In, std::uint32_t* Out, int N) {
  for (int I = 0; I < N; ++I) Out[I] = Encode<D>(Decode<S>(In[I]));
}

template <TPixelFormat S>
void DirectToMonoRow(const std::uint32_t* In, std::uint32_t* Out, int N) {
  for (int I = 0; I < N; ++I) Out[I] = (Decode<S>(In[I]) & 0xFFFFFFu) == 0xFFFFFFu ? 1u : 0u;
}

template <TPixelFormat S> void (*DirectTo(TPixelFormat D))(const std::uint32_t*, std::uint32_t*, int) {
  switch (D) {
    case pf15bit: return &DirectRow<S, pf15bit>;
    case pf16bit: return &DirectRow<S, pf16bit>;
    case pf24bit: return &DirectRow<S, pf24bit>;
    default: return &DirectRow<S, pf32bit>;
  }
}

QRgb DecodeDirect(TPixelFormat F, std::uint32_t V) {
  switch (F) {
    case pf15bit: return Decode<pf15bit>(V);
    case pf16bit: return Decode<pf16bit>(V);
    default: return Decode<pf32bit>(V);  // pf24bit decodes the same way
  }
}

}  // namespace

void TBlitConverter::Setup(TPixelFormat SF, const TPalette& SP, bool SMono, TPixelFormat DF,
                           const TPalette& DP, bool DMono, TNearestColourCache& Cache) {
  FSourceFormat = SF;
  FDestFormat = DF;
  FSourcePalette = &SP;
  FDestPalette = &DP;
  FSourceMono = SMono;
  FDestMono = DMono;
  FCache = &Cache;
  if (IsPaletteFormat(DF)) Cache.Bind(DP);
  if (SF == DF && (!IsPaletteFormat(SF) || SP == DP)) {
    FMode = mRaw;
    return;
  }
  if (IsPaletteFormat(SF)) {
    // Few possible values: convert each once.
    FMode = mTable;
    const int Count = 1 << PixelFormatStorageBits(SF);
    for (int V = 0; V < Count; ++V) FTable[V] = ConvertByRule(static_cast<std::uint32_t>(V));
    return;
  }
  if (DMono) {
    FMode = mDirectToMono;
    switch (SF) {
      case pf15bit: FDirectRow = &DirectToMonoRow<pf15bit>; break;
      case pf16bit: FDirectRow = &DirectToMonoRow<pf16bit>; break;
      default: FDirectRow = &DirectToMonoRow<pf32bit>; break;
    }
    return;
  }
  if (IsPaletteFormat(DF)) {
    FMode = mDirectToPalette;
    return;
  }
  FMode = mDirectToDirect;
  switch (SF) {
    case pf15bit: FDirectRow = DirectTo<pf15bit>(DF); break;
    case pf16bit: FDirectRow = DirectTo<pf16bit>(DF); break;
    case pf24bit: FDirectRow = DirectTo<pf24bit>(DF); break;
    default: FDirectRow = DirectTo<pf32bit>(DF); break;
  }
}

std::uint32_t TBlitConverter::ConvertByRule(std::uint32_t V) {
  if (FMode == mRaw) return V;
  const bool ToPalette = IsPaletteFormat(FDestFormat);
  if (FSourceMono && !FDestMono) {
    if (ToPalette) return static_cast<std::uint32_t>(FCache->Lookup((V & 1) ? qRgb(255, 255, 255) : qRgb(0, 0, 0)));
    return (V & 1) ? AllOnesPixel(FDestFormat) : 0u;
  }
  const QRgb C = DecodePixel(FSourceFormat, *FSourcePalette, V);
  if (FDestMono) return (C & 0xFFFFFFu) == 0xFFFFFFu ? 1u : 0u;
  if (ToPalette) return static_cast<std::uint32_t>(FCache->Lookup(C));
  return EncodePixel(FDestFormat, *FDestPalette, C);
}

std::uint32_t TBlitConverter::Convert(std::uint32_t V) {
  switch (FMode) {
    case mRaw: return V;
    case mTable: return FTable[V & 0xFF];
    default: {
      std::uint32_t Out;
      ConvertRow(&V, &Out, 1);
      return Out;
    }
  }
}

void TBlitConverter::ConvertRow(const std::uint32_t* In, std::uint32_t* Out, int N) {
  switch (FMode) {
    case mRaw:
      for (int I = 0; I < N; ++I) Out[I] = In[I];
      break;
    case mTable:
      for (int I = 0; I < N; ++I) Out[I] = FTable[In[I] & 0xFF];
      break;
    case mDirectToPalette:
      for (int I = 0; I < N; ++I)
        Out[I] = static_cast<std::uint32_t>(FCache->Lookup(DecodeDirect(FSourceFormat, In[I])));
      break;
    case mDirectToMono:
    case mDirectToDirect: FDirectRow(In, Out, N); break;
  }
}

}  // namespace vte
