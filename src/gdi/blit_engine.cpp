#include "gdi/blit_engine.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "gdi/blit_rows.h"
#include "gdi/move_bytes.h"
#include "gdi/prefetch.h"
#include "gdi/raster_op.h"
#include "gdi/rop_kernels.h"

namespace vte {

namespace {
constexpr std::uint8_t CodeSrcCopy = RopCode(SRCCOPY), CodePatCopy = RopCode(PATCOPY);
}  // namespace

TBlitEngine& TBlitEngine::ForThisThread() {
  thread_local TBlitEngine Engine;
  return Engine;
}

TBlitEngine::TRun TBlitEngine::RunOf(TPixelFormat Format, int Left, int Right) {
  return RunOfBits(PixelFormatStorageBits(Format), Left, Right);
}

void TBlitEngine::Reserve(int Pixels, int Bytes) {
  if (FValues.size() < static_cast<std::size_t>(Pixels)) {
    FValues.resize(static_cast<std::size_t>(Pixels));
    FConverted.resize(static_cast<std::size_t>(Pixels));
  }
  // Packing the first pixel at a bit phase may touch one byte more than the run's.
  if (FRowScratch.size() < static_cast<std::size_t>(Bytes) + 8)
    FRowScratch.resize(static_cast<std::size_t>(Bytes) + 8);
}

void TBlitEngine::Prepare(const TBlitSurface& Dest, std::span<const TRect> Pieces,
                          const TBlitBrush& Brush, std::uint8_t Code) {
  int MaxPixels = 0, MaxBytes = 0;
  const long long Bpp = PixelFormatStorageBits(Dest.Format);
  for (const TRect& P : Pieces) {
    MaxPixels = std::max(MaxPixels, P.Width());
    MaxBytes = std::max(MaxBytes, RunOfBits(Bpp, P.Left, P.Right).Bytes);
  }
  Reserve(MaxPixels, MaxBytes);
  if (RopUsesPattern(Code)) FPattern.Build(Brush, Dest, MaxBytes, FCache);
}

TBlitSurface TBlitEngine::Snapshot(const TBlitSurface& Source, int First, int Last) {
  const std::size_t Size = static_cast<std::size_t>(Last - First + 1) * Source.Stride;
  if (FSnapshot.size() < Size) FSnapshot.resize(Size);
  std::memcpy(FSnapshot.data(), Source.Row(First), Size);
  TBlitSurface S = Source;
  S.Bits = FSnapshot.data();
  S.FirstRow = First;
  return S;
}

void TBlitEngine::FillRun(std::uint8_t* D, const TRun& Run, std::uint8_t B) {
  if (Run.Bytes <= 0) return;
  if (Run.Bytes == 1) {
    const std::uint8_t M = Run.Head & Run.Tail;
    D[0] = static_cast<std::uint8_t>((D[0] & ~M) | (B & M));
    return;
  }
  const std::size_t Last = static_cast<std::size_t>(Run.Bytes) - 1;
  D[0] = static_cast<std::uint8_t>((D[0] & ~Run.Head) | (B & Run.Head));
  std::memset(D + 1, B, Last - 1);
  D[Last] = static_cast<std::uint8_t>((D[Last] & ~Run.Tail) | (B & Run.Tail));
}

void TBlitEngine::PatternBlt(const TBlitSurface& Dest, std::span<const TRect> Pieces,
                             const TBlitBrush& Brush, std::uint8_t Code) {
  if (RopUsesSource(Code) || Pieces.empty()) return;
  Prepare(Dest, Pieces, Brush, Code);
  const bool UsesP = RopUsesPattern(Code);
  if (Code == CodePatCopy && FPattern.RepeatedByte() >= 0) {
    // One byte everywhere (shapes painted on masks): no pattern rows to read, and the many short
    // pieces of a shape's outline each cost a few stores.
    const auto B = static_cast<std::uint8_t>(FPattern.RepeatedByte());
    const long long Bpp = PixelFormatStorageBits(Dest.Format);
    for (const TRect& Piece : Pieces) {
      const TRun Run = RunOfBits(Bpp, Piece.Left, Piece.Right);
      for (int Y = Piece.Top; Y < Piece.Bottom; ++Y) FillRun(Dest.Row(Y) + Run.FirstByte, Run, B);
    }
    return;
  }
  for (const TRect& Piece : Pieces) {
    const TRun Run = RunOf(Dest.Format, Piece.Left, Piece.Right);
    const bool WholeBytes = Run.Head == 0xFF && Run.Tail == 0xFF;
    for (int Y = Piece.Top; Y < Piece.Bottom; ++Y) {
      std::uint8_t* D = Dest.Row(Y) + Run.FirstByte;
      const std::uint8_t* P = UsesP ? FPattern.Row(Y, Run.FirstByte) : nullptr;
      if (Code == CodePatCopy && WholeBytes)
        std::memcpy(D, P, static_cast<std::size_t>(Run.Bytes));
      else
        RopSpan(Code, D, nullptr, P, static_cast<std::size_t>(Run.Bytes), Run.Head, Run.Tail);
    }
  }
}

bool TBlitEngine::BeginSourceBlt(const TBlitSurface& Dest, std::span<const TRect> Pieces,
                                 const TBlitSurface& Source, const TBlitBrush& Brush,
                                 std::uint8_t Code) {
  // An operation that ignores the source is a pattern operation, whatever source it was given.
  if (!RopUsesSource(Code)) {
    PatternBlt(Dest, Pieces, Brush, Code);
    return false;
  }
  if (Pieces.empty()) return false;
  Prepare(Dest, Pieces, Brush, Code);
  FConverter.Setup(Source.Format, *Source.Palette, Source.Mono, Dest.Format, *Dest.Palette,
                   Dest.Mono, FCache);
  return true;
}

void TBlitEngine::BitBlt(const TBlitSurface& Dest, std::span<const TRect> Pieces,
                         const TBlitSurface& Source, TPoint Offset, const TBlitBrush& Brush,
                         std::uint8_t Code) {
  if (!BeginSourceBlt(Dest, Pieces, Source, Brush, Code)) return;
  TBlitSurface Src = Source;
  bool SameBits = Source.Bits == Dest.Bits;
  if (SameBits && Pieces.size() > 1) {
    // One piece can order its rows and columns so that it reads before it writes; across pieces
    // that order does not exist (a piece may read what another one wrote), so read a copy.
    int First = INT_MAX, Last = INT_MIN;
    for (const TRect& P : Pieces) {
      First = std::min(First, P.Top + Offset.Y);
      Last = std::max(Last, P.Bottom - 1 + Offset.Y);
    }
    Src = Snapshot(Source, First, Last);
    SameBits = false;
  }
  for (const TRect& P : Pieces) BlitPiece(Dest, P, Src, Offset, Code, SameBits);
}

const std::uint8_t* TBlitEngine::SourceRun(const TBlitSurface& Source, TPixelFormat DestFormat,
                                           int Y, int X, int Width, const TRun& Run,
                                           bool SameBits) {
  const std::uint8_t* Row = Source.Row(Y);
  std::uint8_t* Scratch = FRowScratch.data();
  const int Bpp = PixelFormatStorageBits(Source.Format);
  if (FConverter.Raw()) {
    const long long Bit = static_cast<long long>(X) * Bpp;
    if ((Bit & 7) == Run.Phase) {
      const std::uint8_t* S = Row + (Bit >> 3);
      if (!SameBits) return S;
      // The destination run may overlap it.
      std::memcpy(Scratch, S, static_cast<std::size_t>(Run.Bytes));
      return Scratch;
    }
    ShiftRowBits(Scratch, Run.Bytes, Row, static_cast<int>(Source.Stride), Bit - Run.Phase);
    return Scratch;
  }
  ReadRowValues(Row, Source.Format, X, Width, FValues.data());
  FConverter.ConvertRow(FValues.data(), FConverted.data(), Width);
  PackRowValues(FConverted.data(), Width, DestFormat,
                Run.Phase / PixelFormatStorageBits(DestFormat), Scratch);
  return Scratch;
}

void TBlitEngine::BlitPiece(const TBlitSurface& Dest, const TRect& Piece,
                            const TBlitSurface& Source, TPoint Offset, std::uint8_t Code,
                            bool SameBits) {
  const TRun Run = RunOf(Dest.Format, Piece.Left, Piece.Right);
  const int Sx = Piece.Left + Offset.X;
  const long long SourceBit = static_cast<long long>(Sx) * PixelFormatStorageBits(Dest.Format);
  // Same format at the same bit position: a copy is a move of the row's bytes.
  const bool Move = Code == CodeSrcCopy && FConverter.Raw() && (SourceBit & 7) == Run.Phase;
  const bool UsesP = RopUsesPattern(Code);
  // Within one bitmap, a source above the destination is read bottom-up so that no source row is
  // overwritten before it is read (a row itself is read before it is written).
  const bool BottomUp = SameBits && Offset.Y < 0;
  const std::size_t Bytes = static_cast<std::size_t>(Run.Bytes);
  if (Move && Run.Head == 0xFF && Run.Tail == 0xFF && Bytes == static_cast<std::size_t>(Dest.Stride) &&
      Dest.Stride == Source.Stride && (SourceBit >> 3) == Run.FirstByte) {
    // Whole rows of equal stride: the rows of both sides are one block each, and one move of the
    // block (overlap-safe) beats a move a row.
    std::memmove(Dest.Row(Piece.Top) + Run.FirstByte, Source.Row(Piece.Top + Offset.Y) + (SourceBit >> 3),
                 Bytes * static_cast<std::size_t>(Piece.Height()));
    return;
  }
  // Rows of a narrow piece lie a page apart, each a few cache lines, beyond the hardware
  // prefetcher: every line of the row a few ahead is asked for while this one is copied. A wide
  // piece is a stream the processor follows by itself.
  constexpr int Ahead = 6;
  if (Move && Run.Head == 0xFF && Run.Tail == 0xFF && Bytes <= 16) {
    // A column of a pixel or a few: the whole row loop is a handful of instructions a row.
    const std::ptrdiff_t DStep = BottomUp ? -Dest.Stride : Dest.Stride;
    const std::ptrdiff_t SStep = BottomUp ? -Source.Stride : Source.Stride;
    const int First = BottomUp ? Piece.Bottom - 1 : Piece.Top;
    std::uint8_t* D = Dest.Row(First) + Run.FirstByte;
    const std::uint8_t* S = Source.Row(First + Offset.Y) + (SourceBit >> 3);
    for (int K = 0; K < Piece.Height(); ++K, D += DStep, S += SStep) {
      if (K + Ahead < Piece.Height()) {
        // Both ends: a span of a few bytes may still cross a cache line.
        PrefetchLines(Bytes, D + Ahead * DStep, S + Ahead * SStep);
      }
      MoveSmallBytes(D, S, Bytes);
    }
    return;
  }
  const bool Narrow = Bytes <= 512;
  const std::ptrdiff_t Step = BottomUp ? -Dest.Stride : Dest.Stride;
  const std::ptrdiff_t SourceStep = BottomUp ? -Source.Stride : Source.Stride;
  for (int K = 0; K < Piece.Height(); ++K) {
    const int Y = BottomUp ? Piece.Bottom - 1 - K : Piece.Top + K;
    std::uint8_t* D = Dest.Row(Y) + Run.FirstByte;
    if (Narrow && K + Ahead < Piece.Height()) {
      const std::uint8_t* S = Source.Row(Y + Offset.Y) + (SourceBit >> 3);
      PrefetchLines(Bytes, D + Ahead * Step, S + Ahead * SourceStep);
    }
    if (Move) {
      CopySpan(D, Source.Row(Y + Offset.Y) + (SourceBit >> 3), Bytes, Run.Head, Run.Tail);
      continue;
    }
    const std::uint8_t* S =
        SourceRun(Source, Dest.Format, Y + Offset.Y, Sx, Piece.Width(), Run, SameBits);
    RopSpan(Code, D, S, UsesP ? FPattern.Row(Y, Run.FirstByte) : nullptr, Bytes, Run.Head,
            Run.Tail);
  }
}

void TBlitEngine::StretchBlt(const TBlitSurface& Dest, std::span<const TRect> Pieces,
                             const TBlitSurface& Source, const TStretchMap& Map,
                             const TBlitBrush& Brush, std::uint8_t Code) {
  if (!BeginSourceBlt(Dest, Pieces, Source, Brush, Code)) return;
  TBlitSurface Src = Source;
  if (Source.Bits == Dest.Bits) {
    // A stretch has no order that reads every pixel before it is written: read a copy.
    int First = INT_MAX, Last = INT_MIN;
    for (const TRect& P : Pieces)
      for (int Y = P.Top; Y < P.Bottom; ++Y) {
        First = std::min(First, Map.Row(Y));
        Last = std::max(Last, Map.Row(Y));
      }
    Src = Snapshot(Source, First, Last);
  }
  for (const TRect& P : Pieces) StretchPiece(Dest, P, Src, Map, Code);
}

void TBlitEngine::StretchPiece(const TBlitSurface& Dest, const TRect& Piece,
                               const TBlitSurface& Source, const TStretchMap& Map,
                               std::uint8_t Code) {
  const TRun Run = RunOf(Dest.Format, Piece.Left, Piece.Right);
  const int W = Piece.Width();
  const int Bpp = PixelFormatStorageBits(Dest.Format);
  const int PixelBytes = Bpp >= 8 ? Bpp / 8 : 0;
  const bool Raw = FConverter.Raw();
  const bool Copy = Code == CodeSrcCopy && Raw;
  const bool UsesP = RopUsesPattern(Code);
  const int* Columns = Map.Columns(Piece.Left);
  // Whole-byte pixels that only move: the columns are planned once, every row runs the plan.
  const bool Gathers = Raw && PixelBytes;
  if (Gathers) FGather.Plan(Columns, W, Source.Width, PixelBytes, Piece.Height());
  const std::size_t Bytes = static_cast<std::size_t>(Run.Bytes);
  std::uint8_t* Scratch = FRowScratch.data();
  int PreviousSy = -1, ScratchSy = -1;  // source rows are never negative
  for (int Y = Piece.Top; Y < Piece.Bottom; ++Y) {
    const int Sy = Map.Row(Y);
    std::uint8_t* D = Dest.Row(Y) + Run.FirstByte;
    if (Y + 1 < Piece.Bottom && Map.Row(Y + 1) != Sy + 1) {
      // A squeeze skips source rows, which breaks the stream the processor follows: the start of
      // the next source row is asked for while this one is drawn.
      const std::uint8_t* Next = Source.Row(Map.Row(Y + 1));
      PrefetchLines(512, Next);
    }
    if (Copy) {
      // An enlarged row repeats: copy the destination row just drawn.
      if (Y > Piece.Top && Sy == PreviousSy) {
        CopySpan(D, D - Dest.Stride, Bytes, Run.Head, Run.Tail);
        continue;
      }
      PreviousSy = Sy;
      if (PixelBytes) {
        FGather.Gather(D, Source.Row(Sy));
        continue;
      }
    }
    if (Sy != ScratchSy) {
      const std::uint8_t* Row = Source.Row(Sy);
      if (Gathers) {
        FGather.Gather(Scratch, Row);
      } else {
        GatherRowValues(Row, Source.Format, Columns, W, FValues.data());
        const std::uint32_t* Values = FValues.data();
        if (!Raw) {
          FConverter.ConvertRow(FValues.data(), FConverted.data(), W);
          Values = FConverted.data();
        }
        PackRowValues(Values, W, Dest.Format, Run.Phase / Bpp, Scratch);
      }
      ScratchSy = Sy;
    }
    RopSpan(Code, D, Scratch, UsesP ? FPattern.Row(Y, Run.FirstByte) : nullptr, Bytes, Run.Head,
            Run.Tail);
  }
}

}  // namespace vte
