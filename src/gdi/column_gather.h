#pragma once
// The nearest-neighbour column gather of a stretch: output pixel i := source pixel Columns[i] of a
// row of whole-byte pixels, for every row of a stretched piece with the same columns. Copying
// pixel by pixel costs about five times a memcpy, and a horizontal squeeze of a whole frame is
// made of nothing else, so the columns are planned once per piece and each row then runs the plan.
//
// The plan cuts the output row into blocks of 32 bytes, each made from at most K short windows of
// the source row: one unaligned load per window, a permute inside it (32-bit lanes of a 32-byte
// window for four-byte pixels, bytes of a 16-byte window for the others), and a blend of the
// permuted windows. A block takes as many whole pixels as its K windows can serve and writes its
// full 32 bytes; the bytes past its own pixels are rewritten by the next block, so no pixel needs
// to lie in a window it does not fit. K is chosen once per plan by counting the blocks each K
// needs; where windows serve too few pixels (a strong squeeze) the row is copied pixel by pixel.
// Hardware gathers are not used: on the processors this runs on they are slower than plain loads.
//
// Four-byte pixels down to a squeeze of about 0.23 have a cheaper shape, the span block: eight
// output pixels taken from one run of K adjacent windows (8 * K source pixels), which holds any
// eight neighbouring columns of such a stretch. Every store is full (one-window blocks of a
// squeeze of 0.5 .. 0.9 fill 4 .. 7 pixels of theirs) and the blocks follow one another, so a
// block needs only its source offset and eight byte-sized lane indices: twelve bytes of plan
// instead of sixty-four.
//
// Nothing outside Row[0 .. SourcePixels * BytesPerPixel) is read and nothing outside
// Out[0 .. N * BytesPerPixel) is written. Every level gives the bytes of GatherRowBytes.
#include <cstdint>
#include <vector>

#include "gdi/simd_level.h"

namespace vte {

namespace column_gather_detail {

// Thirty-two output bytes at Out from the windows at Src[0 .. K-1] (byte offsets in the source
// row; unused entries repeat Src[0]). Index holds, for four-byte pixels, eight 32-bit lanes
// 8 * window + pixel in the window; for the other sizes, 32 bytes 16 * window + byte in the
// window.
struct alignas(32) TGatherBlock {
  std::uint8_t Index[32];
  std::int32_t Out;
  std::int32_t Src[4];
};

// Eight four-byte output pixels from the source bytes Src .. Src + 32 * K - 1: lane i takes
// source pixel Index[i] of that run (the windows are adjacent, so the index is 8 * window +
// pixel in the window as in TGatherBlock).
struct TSpanBlock {
  std::int32_t Src;
  std::uint8_t Index[8];
};

// Runs Count blocks over one row.
using TBlockRunFn = void (*)(std::uint8_t* Out, const std::uint8_t* Row, const TGatherBlock* Blocks, int Count);
// Runs Count span blocks over one row, block i writing Out[32 * i .. 32 * i + 31].
using TSpanRunFn = void (*)(std::uint8_t* Out, const std::uint8_t* Row, const TSpanBlock* Blocks, int Count);
// Copies pixels Columns[0 .. N-1] of a row of SourcePixels pixels one by one.
using TPixelRunFn = void (*)(std::uint8_t* Out, const std::uint8_t* Row, const int* Columns, int N,
                             int SourcePixels);

// The block runners by windows per block (index 1 .. 4): Lanes for four-byte pixels, Bytes for
// one to three.
struct TBlockKernels {
  TBlockRunFn Lanes[5];
  TBlockRunFn Bytes[5];
  TSpanRunFn Spans[5];
};
// Pixel by pixel, several pixels to a store, by bytes per pixel (index 1 .. 4).
struct TPixelKernels {
  TPixelRunFn Run[5];
};

}  // namespace column_gather_detail

// The kernels of each instruction set (gdi/simd_kernel.h): not one source for both, since they
// are different algorithms. The blocks need permutes across a 32-byte register (vpermd) and
// byte shuffles from a window repeated in both halves, which SSE2 has no counterpart for; the
// pixel-by-pixel copies are scalar loads joined for wider stores, which AVX2 would not speed up
// (they serve its rows' last pixels too).
namespace simd_sse2 {
extern const column_gather_detail::TPixelKernels ColumnGatherPixels;
}
namespace simd_avx2 {
extern const column_gather_detail::TBlockKernels ColumnGatherBlocks;
}

// Which blocks a plan forced to a number of windows lays.
enum TBlockShape { bsWindows, bsSpans };

class TColumnGather {
public:
  // Prepares Gather for these columns (each in [0, SourcePixels)) at the current level, for
  // about Rows rows (a plan for a few rows is not worth laying blocks for). Columns are copied;
  // the memory of a plan is kept and only grows. Windows 1 .. 4 makes the vector level use
  // blocks of that many windows (span blocks with Shape bsSpans, where the columns fit them;
  // window blocks otherwise), 0 pixel by pixel, whatever they cost (for the tests and
  // measurements); -1 takes the cheapest.
  void Plan(const int* Columns, int N, int SourcePixels, int BytesPerPixel, int Rows = 1 << 20, int Windows = -1,
            TBlockShape Shape = bsWindows);
  // Out[i] := Row[Columns[i]] for the planned columns, i = 0 .. N-1.
  void Gather(std::uint8_t* Out, const std::uint8_t* Row) const;

  // What the plan came to, for the tests and measurements: windows per block (0 when the row is
  // copied whole or pixel by pixel) and the number of blocks.
  int WindowsPerBlock() const { return FWindows; }
  int BlockCount() const { return FBlockCount; }
  bool SpanBlocks() const { return FMode == gmSpans; }

private:
  enum TMode { gmCopy, gmReference, gmPixels, gmBlocks, gmSpans };
  using TBlock = column_gather_detail::TGatherBlock;
  using TSpan = column_gather_detail::TSpanBlock;

  // Lays blocks of K windows over the pixels from 0 until Limit; returns their number and, in
  // Tail, the first pixel left to the pixel-by-pixel copy. Store false only counts.
  int Lay(int K, bool Store, int Limit, int& Tail);
  TBlock& NewBlock(bool Store, int Count, TBlock& Scratch);
  bool Place(TBlock& B, int& Windows, int K, int Q, int At) const;
  int OpenWindow(int Column) const;
  // The fewest adjacent windows that hold every eight neighbouring output pixels (above 4: none
  // do); LaySpans lays span blocks of K windows.
  int SpanWindows() const;
  void LaySpans(int K);

  TMode FMode = gmReference;
  int FCount = 0, FSourcePixels = 0, FBpp = 4;
  int FWindowBytes = 32;
  bool FDecreasing = false;
  int FWindows = 0, FBlockCount = 0, FTail = 0;
  std::vector<int> FColumns;
  std::vector<TBlock> FBlocks;
  std::vector<TSpan> FSpans;
};

}  // namespace vte
