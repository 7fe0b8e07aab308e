#include "gdi/column_gather.h"

#include <algorithm>
#include <cstring>

#include "gdi/blit_rows.h"

namespace vte {

namespace {

// Time of one block by windows per block (32-bit lanes for four-byte pixels, bytes for the
// others), and of one pixel copied singly by bytes per pixel, in units of a one-window block
// (measured with bench_column_gather on Zen 3 with the rows in cache; only the ratios matter).
constexpr double LaneBlockCost[5] = {0.0, 1.0, 1.6, 2.1, 2.7};
constexpr double ByteBlockCost[5] = {0.0, 1.0, 1.4, 1.8, 2.1};
constexpr double PixelCost[5] = {0.0, 0.33, 0.43, 0.4, 0.32};
// Laying blocks costs about as much as gathering a few dozen rows with them: fewer rows are
// copied pixel by pixel.
constexpr int MinRowsForBlocks = 32;
// The windows per block are chosen on this many leading pixels: a stretch has one scale.
constexpr int SamplePixels = 256;
// Span blocks up to this many windows were cheaper than window blocks or single pixels wherever
// the columns fit them (bench_column_gather, scales 0.25 .. 1.5).
constexpr int MaxSpanWindows = 4;

// Output bytes [At, At + Bytes) of a block (those from 0 on) take source bytes from Offset on in
// window W.
void SetBytes(column_gather_detail::TGatherBlock& B, int At, int Bytes, int W, int Offset) {
  for (int T = 0; T < Bytes; ++T)
    if (At + T >= 0) B.Index[At + T] = static_cast<std::uint8_t>(16 * W + Offset + T);
}

// The four-byte pixel at output byte At takes source pixel Offset / 4 of window W.
void SetLane(column_gather_detail::TGatherBlock& B, int At, int W, int Offset) {
  const std::int32_t V = 8 * W + Offset / 4;
  std::memcpy(B.Index + At, &V, 4);
}

}  // namespace

void TColumnGather::Plan(const int* Columns, int N, int SourcePixels, int BytesPerPixel, int Rows, int Windows,
                         TBlockShape Shape) {
  FCount = std::max(N, 0);
  FSourcePixels = SourcePixels;
  FBpp = BytesPerPixel;
  const TSimdLevel Level = CurrentSimdLevel();
  FWindows = FBlockCount = 0;
  FTail = FCount;
  if (FColumns.size() < static_cast<std::size_t>(FCount)) FColumns.resize(static_cast<std::size_t>(FCount));
  if (FCount) std::memcpy(FColumns.data(), Columns, static_cast<std::size_t>(FCount) * sizeof(int));
  if (Level == slScalar) {
    FMode = gmReference;
    return;
  }
  // The shortcut of the reference: columns that step by one are a plain copy.
  if (FCount > 0 && Columns[FCount - 1] - Columns[0] == FCount - 1) {
    FMode = gmCopy;
    return;
  }
  FMode = gmPixels;
  FTail = 0;
  FWindowBytes = FBpp == 4 ? 32 : 16;
  if (Level < slAVX2 || FCount * FBpp < 32 || SourcePixels * FBpp < FWindowBytes) return;
  if (Windows < 0 && Rows < MinRowsForBlocks) return;
  FDecreasing = Columns[FCount - 1] < Columns[0];
  int BestK = std::min(Windows, 4);
  if (FBpp == 4 && (Windows < 0 || (Shape == bsSpans && Windows > 0))) {
    const int K = SpanWindows();
    if (Windows < 0 ? K <= MaxSpanWindows : K <= BestK && 8 * BestK <= SourcePixels) {
      LaySpans(Windows < 0 ? K : BestK);
      return;
    }
  }
  if (Windows < 0) {
    // The windows a block needs grow with the squeeze; more windows a block cost more but let a
    // block take more pixels. Take the cheapest K on the leading pixels, or none when single
    // pixels are cheaper.
    double Best = PixelCost[FBpp];
    BestK = 0;
    for (int K = 1; K <= 4; ++K) {
      int Laid = 0;
      const int Count = Lay(K, false, std::min(FCount, SamplePixels), Laid);
      if (!Count) break;
      const double Cost = (FBpp == 4 ? LaneBlockCost : ByteBlockCost)[K] * Count / Laid;  // per pixel
      if (Cost < Best) {
        Best = Cost;
        BestK = K;
      }
      // Full blocks: more windows cannot give more pixels.
      if (Laid >= Count * (32 / FBpp)) break;
    }
  }
  if (BestK <= 0) return;
  FMode = gmBlocks;
  FWindows = BestK;
  FBlockCount = Lay(BestK, true, FCount, FTail);
}

// Where a window opens for a pixel not yet in one: starting at it when the columns grow, ending
// with it when they fall (mirrored), so that it serves the pixels that follow; moved back inside
// the row at its ends. For four-byte pixels the window stays on pixel boundaries.
[[gnu::always_inline]] inline int TColumnGather::OpenWindow(int Column) const {
  const int Start = FDecreasing ? (Column + 1) * FBpp - FWindowBytes : Column * FBpp;
  return std::clamp(Start, 0, FSourcePixels * FBpp - FWindowBytes);
}

// Pixel Q of the output, at byte At of block B (whose windows 0 .. Windows-1 are open): finds or
// opens its window and sets its lanes. False when it needs a window more than K.
[[gnu::always_inline]] inline bool TColumnGather::Place(TBlock& B, int& Windows, int K, int Q, int At) const {
  const int S = FColumns[static_cast<std::size_t>(Q)] * FBpp;
  // Stretch columns only move one way, so a pixel outside the newest window is outside the older
  // ones too (a window moved back at the end of the row reaches that end). Columns that jump back
  // and forth just open more windows.
  int W = Windows - 1;
  if (W < 0 || S < B.Src[W] || S + FBpp > B.Src[W] + FWindowBytes) {
    if (Windows == K) return false;
    W = Windows++;
    B.Src[W] = OpenWindow(FColumns[static_cast<std::size_t>(Q)]);
  }
  if (FBpp == 4)
    SetLane(B, At, W, S - B.Src[W]);
  else
    SetBytes(B, At, FBpp, W, S - B.Src[W]);
  return true;
}

TColumnGather::TBlock& TColumnGather::NewBlock(bool Store, int Count, TBlock& Scratch) {
  if (!Store) return Scratch;
  if (FBlocks.size() <= static_cast<std::size_t>(Count)) FBlocks.resize(2 * static_cast<std::size_t>(Count) + 16);
  return FBlocks[static_cast<std::size_t>(Count)];
}

int TColumnGather::Lay(int K, bool Store, int Limit, int& Tail) {
  const int N = FCount, Bpp = FBpp, PerBlock = 32 / Bpp;  // whole pixels a block can hold
  int Count = 0, P = 0;
  TBlock Scratch;
  while ((N - P) * Bpp >= 32 && P < Limit) {
    TBlock& B = NewBlock(Store, Count, Scratch);
    std::memset(B.Index, 0, sizeof B.Index);
    int Windows = 0, Q = P;
    while (Q < N && Q - P < PerBlock && Place(B, Windows, K, Q, (Q - P) * Bpp)) ++Q;
    for (int W = Windows; W < 4; ++W) B.Src[W] = B.Src[0];
    B.Out = P * Bpp;
    ++Count;
    P = Q;
  }
  Tail = P;
  // The last pixels, too few for a block of their own: a block ending with the row, which
  // rewrites some pixels already written with the same values, if K windows serve all its bytes.
  if (P < N && Limit >= N && N * Bpp >= 32) {
    TBlock& B = NewBlock(Store, Count, Scratch);
    std::memset(B.Index, 0, sizeof B.Index);
    const int From = N * Bpp - 32;  // on a pixel boundary only for sizes that divide 32
    int Windows = 0, Q = From / Bpp;
    while (Q < N && Place(B, Windows, K, Q, Q * Bpp - From)) ++Q;
    if (Q == N) {
      for (int W = Windows; W < 4; ++W) B.Src[W] = B.Src[0];
      B.Out = From;
      ++Count;
      Tail = N;
    }
  }
  return Count;
}

int TColumnGather::SpanWindows() const {
  constexpr int None = 5;
  if (FCount < 8) return None;
  int Widest = 0;
  const int* C = FColumns.data();
  // Whole blocks from the start and, when the row is not a multiple of eight, one ending with it.
  for (int P = 0;; P += 8) {
    const int At = std::min(P, FCount - 8);
    const auto [Lo, Hi] = std::minmax_element(C + At, C + At + 8);
    Widest = std::max(Widest, *Hi - *Lo + 1);
    if (Widest > 32 || At == FCount - 8) break;
  }
  const int K = (Widest + 7) / 8;
  return K <= 4 && 8 * K <= FSourcePixels ? K : None;
}

void TColumnGather::LaySpans(int K) {
  const int Full = FCount / 8, Count = Full + (FCount % 8 != 0);
  if (FSpans.size() < static_cast<std::size_t>(Count)) FSpans.resize(static_cast<std::size_t>(Count));
  const int* C = FColumns.data();
  for (int I = 0; I < Count; ++I) {
    const int At = std::min(8 * I, FCount - 8);
    // Any start from the last column of the run back to the first holds the block; the lowest
    // that keeps the run inside the row.
    const int Start = std::min(*std::min_element(C + At, C + At + 8), FSourcePixels - 8 * K);
    TSpan& B = FSpans[static_cast<std::size_t>(I)];
    B.Src = Start * 4;
    for (int L = 0; L < 8; ++L) B.Index[L] = static_cast<std::uint8_t>(C[At + L] - Start);
  }
  FMode = gmSpans;
  FWindows = K;
  FBlockCount = Count;
  FTail = FCount;
}

void TColumnGather::Gather(std::uint8_t* Out, const std::uint8_t* Row) const {
  const int* C = FColumns.data();
  switch (FMode) {
    case gmCopy:
      std::memcpy(Out, Row + static_cast<std::ptrdiff_t>(FBpp) * C[0], static_cast<std::size_t>(FCount) * FBpp);
      return;
    case gmReference:
      GatherRowBytes(Out, Row, FBpp, C, FCount);
      return;
    case gmBlocks: {
      const column_gather_detail::TBlockKernels& K = simd_avx2::ColumnGatherBlocks;
      (FBpp == 4 ? K.Lanes : K.Bytes)[FWindows](Out, Row, FBlocks.data(), FBlockCount);
      break;
    }
    case gmSpans: {
      const column_gather_detail::TSpanRunFn Run = simd_avx2::ColumnGatherBlocks.Spans[FWindows];
      const int Full = FCount / 8;
      Run(Out, Row, FSpans.data(), Full);
      // The last pixels: a block ending with the row, rewriting some pixels with the same values.
      if (Full < FBlockCount) Run(Out + (FCount - 8) * 4, Row, FSpans.data() + Full, 1);
      return;
    }
    case gmPixels:
      break;
  }
  if (FTail < FCount)
    simd_sse2::ColumnGatherPixels.Run[FBpp](Out + static_cast<std::ptrdiff_t>(FTail) * FBpp, Row, C + FTail, FCount - FTail,
                          FSourcePixels);
}

}  // namespace vte
