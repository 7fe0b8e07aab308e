// The column gather of a horizontal stretch: 1920-pixel source rows gathered into rows of
// 1920 x scale pixels with the columns of a nearest-neighbour stretch, at every level; the plan is
// made once per 1080 rows as the blit engine does once per stretched piece. Counter ns_px:
// nanoseconds per output pixel, plan included.
//   Frame/<level>/<bytes per pixel>/<scale>: 1080 different rows, a frame from memory;
//   Floor/<bytes>/<scale>: each source row read whole and the output row written (memcpy through
//     a small buffer): what a frame costs in memory traffic alone;
//   Hot/<level>/<bytes>/<scale>/<windows>: 1080 rows over the same 16 rows, which stay in cache:
//     the work itself. "auto" lets the plan choose; w1 .. w4 forces blocks of that many windows,
//     w0 pixel by pixel, s1 .. s4 span blocks of that many windows (four-byte pixels, where the
//     columns fit them) (the costs the plan weighs);
//   Plan/<bytes>/<scale>: one plan alone, per output pixel of one row.
// The machine may be shared: run with --benchmark_repetitions; the "min" row is the least
// disturbed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gdi/column_gather.h"
#include "gdi/simd_level.h"

namespace {

using namespace vte;

constexpr int SourceWidth = 1920, Rows = 1080;
const double Scales[] = {0.25, 0.5, 0.75, 0.9, 1.5};

std::vector<int> Columns(int Width) {
  std::vector<int> C(static_cast<std::size_t>(Width));
  for (int I = 0; I < Width; ++I)
    C[static_cast<std::size_t>(I)] = static_cast<int>((2LL * I + 1) * SourceWidth / (2LL * Width));
  return C;
}

int WidthOf(double Scale) { return static_cast<int>(SourceWidth * Scale + 0.5); }

struct TFrames {
  std::vector<std::uint8_t> Source, Out;
  TFrames(int Bpp, int Width)
      : Source(static_cast<std::size_t>(SourceWidth) * Bpp * Rows), Out(static_cast<std::size_t>(Width) * Bpp * Rows) {
    std::uint32_t S = 12345;
    for (auto& B : Source) {
      S = S * 1103515245u + 12345u;
      B = static_cast<std::uint8_t>(S >> 16);
    }
  }
};

void PerPixel(benchmark::State& State, double Pixels) {
  State.counters["ns_px"] = benchmark::Counter(Pixels * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                                  benchmark::Counter::kInvert);
}

void Gather(benchmark::State& State, TSimdLevel Level, int Bpp, double Scale, int Windows, TBlockShape Shape,
            bool Hot) {
  const int Width = WidthOf(Scale);
  const std::vector<int> C = Columns(Width);
  TFrames F(Bpp, Width);
  TColumnGather G;
  const std::size_t SourceStride = static_cast<std::size_t>(SourceWidth) * Bpp, Stride = static_cast<std::size_t>(Width) * Bpp;
  const int RowMask = Hot ? 15 : -1;
  ForceSimdLevel(Level);
  for (auto _ : State) {
    G.Plan(C.data(), Width, SourceWidth, Bpp, Rows, Windows, Shape);
    for (int Y = 0; Y < Rows; ++Y) {
      const std::size_t R = static_cast<std::size_t>(Y & RowMask);
      G.Gather(F.Out.data() + R * Stride, F.Source.data() + R * SourceStride);
    }
    benchmark::ClobberMemory();
  }
  ResetSimdLevel();
  State.counters["windows"] = G.WindowsPerBlock();
  State.counters["spans"] = G.SpanBlocks();
  PerPixel(State, static_cast<double>(Width) * Rows);
}

void Floor(benchmark::State& State, int Bpp, double Scale) {
  const int Width = WidthOf(Scale);
  TFrames F(Bpp, Width);
  const std::size_t SourceStride = static_cast<std::size_t>(SourceWidth) * Bpp, Stride = static_cast<std::size_t>(Width) * Bpp;
  std::vector<std::uint8_t> Buffer(std::max(SourceStride, Stride));
  for (auto _ : State) {
    for (int Y = 0; Y < Rows; ++Y) {
      std::memcpy(Buffer.data(), F.Source.data() + Y * SourceStride, SourceStride);
      benchmark::ClobberMemory();
      std::memcpy(F.Out.data() + Y * Stride, Buffer.data(), Stride);
    }
    benchmark::ClobberMemory();
  }
  PerPixel(State, static_cast<double>(Width) * Rows);
}

void Plan(benchmark::State& State, int Bpp, double Scale) {
  const int Width = WidthOf(Scale);
  const std::vector<int> C = Columns(Width);
  TColumnGather G;
  for (auto _ : State) {
    G.Plan(C.data(), Width, SourceWidth, Bpp);
    benchmark::DoNotOptimize(G.BlockCount());
  }
  PerPixel(State, static_cast<double>(Width));
}

std::string ScaleName(double Scale) {
  char S[16];
  std::snprintf(S, sizeof S, "%.2f", Scale);
  return S;
}

// The machine may be shared: with --benchmark_repetitions the least time of the repetitions is
// the one least disturbed.
double Least(const std::vector<double>& V) { return *std::min_element(V.begin(), V.end()); }

int Register() {
  auto Tune = [](benchmark::internal::Benchmark* B) { B->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Least); };
  for (int Bpp = 1; Bpp <= 4; ++Bpp)
    for (double Scale : Scales) {
      const std::string Tail = "/" + std::to_string(Bpp) + "/" + ScaleName(Scale);
      Tune(benchmark::RegisterBenchmark(("Floor" + Tail).c_str(), Floor, Bpp, Scale));
      for (int L = 0; L <= SupportedSimdLevel(); ++L) {
        const auto Level = static_cast<TSimdLevel>(L);
        const std::string Name = std::string(SimdLevelName(Level)) + Tail;
        Tune(benchmark::RegisterBenchmark(("Frame/" + Name).c_str(), Gather, Level, Bpp, Scale, -1, bsWindows,
                                            false));
        Tune(benchmark::RegisterBenchmark(("Hot/" + Name + "/auto").c_str(), Gather, Level, Bpp, Scale, -1, bsWindows,
                                            true));
        if (Level == slAVX2) {
          for (int W = 0; W <= 4; ++W)
            Tune(benchmark::RegisterBenchmark(("Hot/" + Name + "/w" + std::to_string(W)).c_str(), Gather, Level, Bpp,
                                              Scale, W, bsWindows, true));
          if (Bpp == 4)
            for (int W = 1; W <= 4; ++W)
              Tune(benchmark::RegisterBenchmark(("Hot/" + Name + "/s" + std::to_string(W)).c_str(), Gather, Level,
                                                Bpp, Scale, W, bsSpans, true));
        }
      }
      benchmark::RegisterBenchmark(("Plan" + Tail).c_str(), Plan, Bpp, Scale)->ComputeStatistics("min", Least);
    }
  return 0;
}

[[maybe_unused]] const int Registered = Register();

}  // namespace

BENCHMARK_MAIN();
