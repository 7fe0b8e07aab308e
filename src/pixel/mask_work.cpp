#include "pixel/mask_work.h"

#include <algorithm>
#include <cstring>

#include "pixel/mask_kernels.h"
#include "pixel/wipe_band_kernels.h"

namespace vte {

namespace {

// --- the plain kernels: the reference of every level ---

template <int Bytes>
void LevelRangeScalar(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t* Mask, int Count, int Low,
                      int High) {
  LevelRangePixels(Work, New, Mask, 0, Count, Low, High, Bytes);
}
void LevelRangeScalar4(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t* Mask, int Count, int Low,
                       int High) {
  LevelRangeNibbles(Work, New, Mask, 0, Count, Low, High);
}
void PatternScalar(std::uint8_t* Dest, const std::uint8_t* New, const std::uint8_t* Take, int Period, int Count) {
  PatternBytes(Dest, New, Take, Period, 0, Count);
}
void AgeScalar(std::uint8_t* Dest, const std::uint8_t* Source, int Count, int Fade) {
  AgeBytes(Dest, Source, 0, Count, Fade);
}
void SmoothScalar(std::uint8_t* Work, const std::uint8_t* Old, const std::uint8_t* New, const std::uint8_t* Mask,
                  int Count) {
  SmoothPixels(Work, Old, New, Mask, 0, Count);
}
void GradedScalar(std::uint8_t* Work, const std::uint8_t* Old, const std::uint8_t* New, const std::uint8_t* Mask,
                  int Count, const TGradedLevels& Levels) {
  GradedPixels(Work, Old, New, Mask, 0, Count, Levels);
}

const TMaskKernels ScalarKernels{{LevelRangeScalar4, LevelRangeScalar<1>, LevelRangeScalar<2>, LevelRangeScalar<3>,
                                  LevelRangeScalar<4>},
                                 PatternScalar,
                                 AgeScalar,
                                 SmoothScalar,
                                 GradedScalar};

int FloorTo(int V, int A) { return V >= 0 ? V / A * A : -((-V + A - 1) / A) * A; }
int CeilTo(int V, int A) { return FloorTo(V + A - 1, A); }

// The rows of every piece of the walk: Row(Y, Left, Count) for Count pixels from (Left, Y). A
// flat run whose rows lie back to back in every bitmap (Flat) is one call over all its rows.
template <class F>
void ForEachPieceRow(const TMaskWalk& Walk, bool Flat, F&& Row) {
  for (int P = 0; P < Walk.Count; ++P) {
    const TRect& R = Walk.Pieces[P];
    if (Walk.Shape == mwsFlat && Flat) {
      Row(R.Top, 0, R.Width() * R.Height());
      continue;
    }
    for (int Y = R.Top; Y < R.Bottom; ++Y) Row(Y, R.Left, R.Width());
  }
}

// Whether rows of Width pixels of these bits fill their strides exactly.
bool RowsBackToBack(int Width, int Bits, int Stride) { return static_cast<long long>(Width) * Bits == Stride * 8LL; }

// The 1-bit compose of a 4-bit row: a pair of pixels whose two bits are 0 copies its whole byte.
void ComposeNibbles(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t* Mask, int Count) {
  for (int P = 0; P < Count; P += 8) {
    const unsigned Bits = Mask[P >> 3];
    if (Bits == 0xFF) continue;
    const int End = std::min(Count, P + 8);
    for (int X = P; X < End; X += 2) {
      const bool Left = !((Bits >> (7 - (X & 7))) & 1);
      const bool Right = X + 1 < End && !((Bits >> (6 - (X & 7))) & 1);
      std::uint8_t& To = Work[X >> 1];
      if (Left && Right) To = New[X >> 1];
      else if (Left) To = static_cast<std::uint8_t>((To & 0x0F) | (New[X >> 1] & 0xF0));
      else if (Right) To = static_cast<std::uint8_t>((To & 0xF0) | (New[X >> 1] & 0x0F));
    }
  }
}

}  // namespace

const TMaskKernels& MaskKernels(TSimdLevel Level) {
  return KernelsForLevel(Level, ScalarKernels, simd_sse2::MaskKernels, simd_avx2::MaskKernels);
}

TGradedLevels MakeGradedLevels(int Level, int PrevLevel, int FadeLength) {
  TGradedLevels L;
  FadeLength = std::clamp(FadeLength, 1, 128);
  while ((2 << L.FadeShift) <= FadeLength) ++L.FadeShift;
  L.Level = Level;
  L.WindowLow = std::max(Level + 1, 0);
  L.WindowHigh = std::min(PrevLevel + (1 << L.FadeShift) - 1, 255);
  if (L.WindowLow > 255 || L.WindowHigh < 0) L.WindowHigh = L.WindowLow - 1;
  return L;
}

TMaskWalk WalkMaskRegion(const TRect& Inner, const TRect& Outer, int Align, int Width, int Height) {
  TMaskWalk W;
  if (Outer.IsEmpty()) return W;
  const TRect O = Rect(std::max(FloorTo(Outer.Left, Align), 0), std::max(Outer.Top, 0),
                       std::min(CeilTo(Outer.Right, Align), Width), std::min(Outer.Bottom, Height));
  if (O.IsEmpty()) return W;
  const TRect Aligned = Rect(CeilTo(Inner.Left, Align), Inner.Top, FloorTo(Inner.Right, Align), Inner.Bottom);
  TRect I;
  if (Aligned.IsEmpty() || !IntersectRect(I, Aligned, O)) {
    W.Shape = O.Left == 0 && O.Right == Width ? mwsFlat : mwsRect;
    W.Pieces[W.Count++] = O;
    return W;
  }
  W.Shape = mwsAround;
  for (const TRect& R : {Rect(O.Left, O.Top, O.Right, I.Top), Rect(O.Left, I.Bottom, O.Right, O.Bottom),
                         Rect(O.Left, I.Top, I.Left, I.Bottom), Rect(I.Right, I.Top, O.Right, I.Bottom)})
    if (!R.IsEmpty()) W.Pieces[W.Count++] = R;
  return W;
}

void ComposeThroughMask(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t* Mask, const TRect& Inner,
                        const TRect& Outer, TPixelFormat Format, int MaskStride, int ImageStride, int Width,
                        int Height) {
  const int Bits = Format >= pf4bit && Format <= pf32bit ? PixelFormatStorageBits(Format) : 0;
  if (Bits == 0) return;
  const TMaskWalk Walk = WalkMaskRegion(Inner, Outer, 8, Width, Height);
  const bool Flat = RowsBackToBack(Width, 1, MaskStride) && RowsBackToBack(Width, Bits, ImageStride);
  const TBandRowFn Select = Bits >= 8 ? BandRowKernels(CurrentSimdLevel()).Row[Bits / 8] : nullptr;
  ForEachPieceRow(Walk, Flat, [&](int Y, int Left, int Count) {
    const std::uint8_t* M = Mask + static_cast<std::ptrdiff_t>(Y) * MaskStride + Left / 8;
    const std::ptrdiff_t At = static_cast<std::ptrdiff_t>(Y) * ImageStride + Left * Bits / 8;
    if (!Select) return ComposeNibbles(Work + At, New + At, M, Count);
    // Runs of mask bytes other than 0xFF go to the wipe band's select kernel (white keeps the
    // work pixel, black takes the new one, in place); bytes of 0xFF are stepped over.
    const int Bytes = Bits / 8;
    for (int I = 0; I < Count;) {
      if (M[I >> 3] == 0xFF) {
        I += 8;
        continue;
      }
      int J = I + 8;
      while (J < Count && M[J >> 3] != 0xFF) J += 8;
      J = std::min(J, Count);
      std::uint8_t* To = Work + At + static_cast<std::ptrdiff_t>(I) * Bytes;
      Select(To, To, New + At + static_cast<std::ptrdiff_t>(I) * Bytes, M + (I >> 3), 0, J - I);
      I = J;
    }
  });
}

namespace {

// A pattern row that lets only a pixel or two of eight through: those pixels are copied one by
// one, which reads nothing of the work row and touches no byte that stays.
constexpr int SparsePixels = 2;

template <int Bytes>
void CopyPixelsEveryEighth(std::uint8_t* To, const std::uint8_t* From, unsigned Keep, int Width) {
  for (int P = 0; P < 8; ++P) {
    if ((Keep >> (7 - P)) & 1) continue;
    for (std::ptrdiff_t X = P; X < Width; X += 8) std::memcpy(To + X * Bytes, From + X * Bytes, Bytes);
  }
}

void CopyEveryEighth(std::uint8_t* To, const std::uint8_t* From, unsigned Keep, int Bytes, int Width) {
  switch (Bytes) {
    case 1: return CopyPixelsEveryEighth<1>(To, From, Keep, Width);
    case 2: return CopyPixelsEveryEighth<2>(To, From, Keep, Width);
    case 3: return CopyPixelsEveryEighth<3>(To, From, Keep, Width);
    default: return CopyPixelsEveryEighth<4>(To, From, Keep, Width);
  }
}

}  // namespace

void ComposeThroughPattern(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t Pattern[8],
                           TPixelFormat Format, int ImageStride, int Width, int Height) {
  const int Bits = Format >= pf4bit && Format <= pf32bit ? PixelFormatStorageBits(Format) : 0;
  if (Bits == 0 || Width <= 0) return;
  // Eight pixels of the format are Period bytes; each pattern row becomes such a run of byte
  // masks (all ones where the pixel takes the new image), whole pixels only in the row's bytes.
  const int Period = Bits, Bytes = Width * Bits / 8;
  const bool HalfByte = Width * Bits % 8 != 0;  // 4 bits a pixel, odd width: a last high nibble
  std::uint8_t Take[8][32];
  for (int R = 0; R < 8; ++R)
    for (int B = 0; B < Period; ++B) {
      unsigned T = 0;
      for (int K = 0; K < 8; ++K) {
        const int Pixel = (B * 8 + K) / Bits;  // the pixel bit K of byte B belongs to
        if (!((Pattern[R] >> (7 - Pixel)) & 1)) T |= 0x80u >> K;
      }
      Take[R][B] = static_cast<std::uint8_t>(T);
    }
  const TPatternRowFn Row = MaskKernels(CurrentSimdLevel()).Pattern;
  for (int Y = 0; Y < Height; ++Y) {
    const int R = Y & 7;
    if (Pattern[R] == 0xFF) continue;
    std::uint8_t* To = Work + static_cast<std::ptrdiff_t>(Y) * ImageStride;
    const std::uint8_t* From = New + static_cast<std::ptrdiff_t>(Y) * ImageStride;
    if (Pattern[R] == 0x00) std::memcpy(To, From, static_cast<std::size_t>(Bytes));
    else if (Bits >= 8 && __builtin_popcount(~Pattern[R] & 0xFFu) <= SparsePixels)
      CopyEveryEighth(To, From, Pattern[R], Bits / 8, Width);
    else Row(To, From, Take[R], Period, Bytes);
    if (HalfByte) {
      const unsigned T = Take[R][Bytes % Period] & 0xF0u;
      To[Bytes] = static_cast<std::uint8_t>((To[Bytes] & ~T) | (From[Bytes] & T));
    }
  }
}

void MaskDifference(std::uint8_t* Mask, std::uint8_t* AccumMask, int MaskStride, const TRect& Inner,
                    const TRect& Outer, int Width, int Height) {
  // Mask rows are whole 32-bit words: the region may take in the padding bits of the last one.
  const TMaskWalk Walk = WalkMaskRegion(Inner, Outer, 32, std::min(CeilTo(Width, 32), MaskStride * 8), Height);
  ForEachPieceRow(Walk, false, [&](int Y, int Left, int Count) {
    const std::ptrdiff_t At = static_cast<std::ptrdiff_t>(Y) * MaskStride + Left / 8;
    std::uint8_t *M = Mask + At, *A = AccumMask + At;
    // Bitwise, so a byte at a time gives what a word at a time gives (the compiler widens it).
    for (int B = 0; B < Count / 8; ++B) {
      const std::uint8_t OldAccum = A[B];
      A[B] = static_cast<std::uint8_t>(M[B] & OldAccum);
      M[B] = static_cast<std::uint8_t>(M[B] | ~OldAccum);
    }
  });
}

void InvertMaskBits(std::uint8_t* First, std::size_t Words) {
  for (std::size_t B = 0; B < Words * 4; ++B) First[B] = static_cast<std::uint8_t>(~First[B]);
}

void AgeMaskFrom(std::uint8_t* Dest, const std::uint8_t* Source, int MaskStride, int Width, int Height,
                 const TRect& Inner, const TRect& Outer, bool ClearAll, int Fade) {
  const int By = ClearAll ? 255 : std::clamp(Fade, 0, 255);
  const TAgeRowFn Age = MaskKernels(CurrentSimdLevel()).Age;
  const TMaskWalk Walk = WalkMaskRegion(Inner, Outer, 8, Width, Height);
  ForEachPieceRow(Walk, RowsBackToBack(Width, 8, MaskStride), [&](int Y, int Left, int Count) {
    const std::ptrdiff_t At = static_cast<std::ptrdiff_t>(Y) * MaskStride + Left;
    Age(Dest + At, Source + At, Count, By);
  });
}

void AgeMask(std::uint8_t* Mask, int MaskStride, int Width, int Height, const TRect& Inner, const TRect& Outer,
             bool ClearAll, int Fade) {
  AgeMaskFrom(Mask, Mask, MaskStride, Width, Height, Inner, Outer, ClearAll, Fade);
}

void CopyLevelRange(std::uint8_t* Work, const std::uint8_t* New, const std::uint8_t* Mask, TPixelFormat Format,
                    int High, int Low, int Width, int Height, int MaskStride, int ImageStride) {
  const int Bits = Format >= pf4bit && Format <= pf32bit ? PixelFormatStorageBits(Format) : 0;
  if (Bits == 0 || Low > High || Width <= 0 || Height <= 0) return;
  const TLevelRangeRowFn Row = MaskKernels(CurrentSimdLevel()).LevelRange[Bits / 8];
  if (RowsBackToBack(MaskStride, Bits, ImageStride)) {
    // Whole rows, padding included: the padding of the mask lines up with that of the images.
    Row(Work, New, Mask, MaskStride * Height, Low, High);
    return;
  }
  for (int Y = 0; Y < Height; ++Y) {
    const std::ptrdiff_t At = static_cast<std::ptrdiff_t>(Y) * ImageStride;
    Row(Work + At, New + At, Mask + static_cast<std::ptrdiff_t>(Y) * MaskStride, Width, Low, High);
  }
}

void ComposeSmoothed(std::uint8_t* Work, const std::uint8_t* Old, const std::uint8_t* New, const std::uint8_t* Mask,
                     const TRect& Inner, const TRect& Outer, int Width, int Height, int MaskStride, int ImageStride) {
  const TSmoothRowFn Smooth = MaskKernels(CurrentSimdLevel()).Smooth;
  const TMaskWalk Walk = WalkMaskRegion(Inner, Outer, 8, Width, Height);
  const bool Flat = RowsBackToBack(Width, 8, MaskStride) && RowsBackToBack(Width, 32, ImageStride);
  ForEachPieceRow(Walk, Flat, [&](int Y, int Left, int Count) {
    const std::ptrdiff_t At = static_cast<std::ptrdiff_t>(Y) * ImageStride + Left * 4;
    Smooth(Work + At, Old + At, New + At, Mask + static_cast<std::ptrdiff_t>(Y) * MaskStride + Left, Count);
  });
}

void ComposeGraded(std::uint8_t* Work, const std::uint8_t* Old, const std::uint8_t* New, const std::uint8_t* Mask,
                   const TRect& Inner, const TRect& Outer, int Width, int Height, int MaskStride, int ImageStride,
                   int Level, int PrevLevel, int FadeLength) {
  const TGradedLevels Levels = MakeGradedLevels(Level, PrevLevel, FadeLength);
  if (Levels.WindowHigh < Levels.WindowLow) return;
  const TGradedRowFn Graded = MaskKernels(CurrentSimdLevel()).Graded;
  const TMaskWalk Walk = WalkMaskRegion(Inner, Outer, 8, Width, Height);
  const bool Flat = RowsBackToBack(Width, 8, MaskStride) && RowsBackToBack(Width, 32, ImageStride);
  ForEachPieceRow(Walk, Flat, [&](int Y, int Left, int Count) {
    const std::ptrdiff_t At = static_cast<std::ptrdiff_t>(Y) * ImageStride + Left * 4;
    Graded(Work + At, Old + At, New + At, Mask + static_cast<std::ptrdiff_t>(Y) * MaskStride + Left, Count, Levels);
  });
}

}  // namespace vte
