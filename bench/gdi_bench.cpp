// The device layer's blits at 1920x1080 pf32bit next to a plain memcpy of the same frame, the
// memory-bandwidth yardstick they are measured against. Bytes/second count one frame a call.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>

#include "gdi/bitmap.h"
#include "gdi/canvas.h"

namespace {

using namespace vte;

constexpr int FrameWidth = 1920, FrameHeight = 1080;

void Scribble(TBitmap& B, std::uint32_t Seed) {
  std::uint32_t S = Seed;
  for (std::size_t I = 0; I < B.ImageSize(); ++I) {
    S = S * 1103515245u + 12345u;
    B.Bits()[I] = static_cast<std::uint8_t>(S >> 16);
  }
}

std::int64_t FrameBytes() { return std::int64_t{FrameWidth} * FrameHeight * 4; }

void BM_MemcpyFrame(benchmark::State& State) {
  TBitmap Src(FrameWidth, FrameHeight, pf32bit), Dst(FrameWidth, FrameHeight, pf32bit);
  Scribble(Src, 1);
  for (auto _ : State) {
    std::memcpy(Dst.Bits(), Src.Bits(), Src.ImageSize());
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * FrameBytes());
}
BENCHMARK(BM_MemcpyFrame);

void BM_BitBltSrcCopy(benchmark::State& State) {
  TBitmap Src(FrameWidth, FrameHeight, pf32bit), Dst(FrameWidth, FrameHeight, pf32bit);
  Scribble(Src, 2);
  for (auto _ : State) {
    Dst.Canvas().BitBlt(0, 0, FrameWidth, FrameHeight, Src.Canvas(), 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * FrameBytes());
}
BENCHMARK(BM_BitBltSrcCopy);

void BM_BitBltPatternSelectMonoBrush(benchmark::State& State) {
  TBitmap Src(FrameWidth, FrameHeight, pf32bit), Dst(FrameWidth, FrameHeight, pf32bit);
  TBitmap Pattern(8, 8, pf1bit);
  Scribble(Src, 3);
  Scribble(Dst, 4);
  Scribble(Pattern, 5);
  Dst.Canvas().Brush().Bitmap = &Pattern;
  Dst.Canvas().SetBrushOrigin({3, 5});
  for (auto _ : State) {
    Dst.Canvas().BitBlt(0, 0, FrameWidth, FrameHeight, Src.Canvas(), 0, 0, PSDPxax);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * FrameBytes());
}
BENCHMARK(BM_BitBltPatternSelectMonoBrush);

void BM_StretchBltDoubleToFrame(benchmark::State& State) {
  TBitmap Src(FrameWidth / 2, FrameHeight / 2, pf32bit), Dst(FrameWidth, FrameHeight, pf32bit);
  Scribble(Src, 6);
  for (auto _ : State) {
    Dst.Canvas().StretchBlt(0, 0, FrameWidth, FrameHeight, Src.Canvas(), 0, 0, FrameWidth / 2,
                            FrameHeight / 2, SRCCOPY);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * FrameBytes());
}
BENCHMARK(BM_StretchBltDoubleToFrame);

void BM_FillRectFrame(benchmark::State& State) {
  TBitmap Dst(FrameWidth, FrameHeight, pf32bit);
  Dst.Canvas().Brush().Color = RGB(0x20, 0x80, 0xC0);
  for (auto _ : State) {
    Dst.Canvas().FillRect(Rect(0, 0, FrameWidth, FrameHeight));
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * FrameBytes());
}
BENCHMARK(BM_FillRectFrame);

}  // namespace

BENCHMARK_MAIN();
