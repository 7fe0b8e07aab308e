// The blend work routines at 1920x1080 next to the memory passes that bound them: a frame memcpy
// (read one frame, write one: the limit of an in-place tint) and a 3-stream pass (read two frames,
// write one: the limit of a blend frame). The machine is shared, so each case times its bound and
// itself back to back in every iteration on the same frames and reports the ratio of the two
// sums; each case is repeated and the medians are kept. A table closes the run.
#include <benchmark/benchmark.h>
#include <immintrin.h>

#include <QApplication>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/blend_transition.h"
#include "engine/offscreen_runner.h"
#include "gdi/bitmap.h"
#include "pixel/blend_work.h"
#include "gdi/simd_level.h"
#include "render/device.h"

namespace {

using namespace vte;

constexpr int FrameWidth = 1920, FrameHeight = 1080;
constexpr int Repetitions = 7;

void Scribble(TBitmap& B, std::uint32_t Seed) {
  std::uint32_t S = Seed;
  for (std::size_t I = 0; I < B.ImageSize(); ++I) {
    S = S * 1103515245u + 12345u;
    B.Bits()[I] = static_cast<std::uint8_t>(S >> 16);
  }
}

// The 3-stream yardstick at the widest vectors the processor has: it must not be slower than the
// work it bounds for want of instructions.
__attribute__((target("avx2"))) void OrStreamsAVX2(std::uint8_t* D, const std::uint8_t* A, const std::uint8_t* B,
                                                    std::size_t Bytes) {
  for (std::size_t I = 0; I + 32 <= Bytes; I += 32) {
    const __m256i X = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(A + I));
    const __m256i Y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(B + I));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(D + I), _mm256_or_si256(X, Y));
  }
}

void OrStreamsSSE2(std::uint8_t* D, const std::uint8_t* A, const std::uint8_t* B, std::size_t Bytes) {
  for (std::size_t I = 0; I + 16 <= Bytes; I += 16) {
    const __m128i X = _mm_loadu_si128(reinterpret_cast<const __m128i*>(A + I));
    const __m128i Y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(B + I));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(D + I), _mm_or_si128(X, Y));
  }
}

struct TFrames {
  TBitmap A, B, D;
  explicit TFrames(TPixelFormat F) : A(FrameWidth, FrameHeight, F), B(FrameWidth, FrameHeight, F), D(FrameWidth, FrameHeight, F) {
    Scribble(A, 1);
    Scribble(B, 2);
    Scribble(D, 3);
  }
  void ThreeStreams() {
    if (SupportedSimdLevel() >= slAVX2)
      OrStreamsAVX2(D.Bits(), A.Bits(), B.Bits(), A.ImageSize());
    else
      OrStreamsSSE2(D.Bits(), A.Bits(), B.Bits(), A.ImageSize());
  }
  void Memcpy() { std::memcpy(D.Bits(), A.Bits(), A.ImageSize()); }
};

double Seconds(std::chrono::steady_clock::duration D) { return std::chrono::duration<double>(D).count(); }

// Times Bound and Work back to back each iteration; the iteration's time is Work's, the counters
// give the bound's time and the ratio of the sums.
void Paired(benchmark::State& State, const std::function<void()>& Bound, const std::function<void()>& Work) {
  double BoundTime = 0, WorkTime = 0;
  for (auto _ : State) {
    const auto T0 = std::chrono::steady_clock::now();
    Bound();
    benchmark::ClobberMemory();
    const auto T1 = std::chrono::steady_clock::now();
    Work();
    benchmark::ClobberMemory();
    const auto T2 = std::chrono::steady_clock::now();
    BoundTime += Seconds(T1 - T0);
    WorkTime += Seconds(T2 - T1);
    State.SetIterationTime(Seconds(T2 - T1));
  }
  State.counters["bound_ms"] = 1e3 * BoundTime / static_cast<double>(State.iterations());
  State.counters["ratio"] = WorkTime / BoundTime;
}

bool Force(benchmark::State& State, TSimdLevel Level) {
  if (ForceSimdLevel(Level) == Level) return true;
  State.SkipWithError("instruction set missing");
  return false;
}

// Level through the first argument, the pixel format through the second.
void BM_BlendFrame(benchmark::State& State) {
  const auto Level = static_cast<TSimdLevel>(State.range(0));
  const auto Format = static_cast<TPixelFormat>(State.range(1));
  if (!Force(State, Level)) return;
  TFrames F(Format);
  // Frame 100 of 255 (multiplier 25, shift 6); on 16-bit frame 13 of 32 (weight 104: 13, 5).
  const int Frame = Format == pf16bit ? 13 : 100;
  Paired(State, [&] { F.ThreeStreams(); }, [&] { BlendFrame(F.D, F.A, F.B, 0, Frame, Format, nullptr); });
  ResetSimdLevel();
}

void BM_TintBitmap(benchmark::State& State) {
  const auto Level = static_cast<TSimdLevel>(State.range(0));
  const auto Format = static_cast<TPixelFormat>(State.range(1));
  if (!Force(State, Level)) return;
  TFrames F(Format);
  Paired(State, [&] { F.Memcpy(); },
         [&] { TintBitmap(F.D, nullptr, Format, 160, Rect(0, 0, FrameWidth, FrameHeight), RGB(40, 90, 200)); });
  ResetSimdLevel();
}

// The whole effect through the offscreen runner on a 32-bit screen: each frame blends into the
// work bitmap and copies it to the screen, so its bound is a 3-stream pass plus a memcpy. The
// time is one frame's: a run's time over its 254 frames and the final copy.
void BM_BlendTransitionFrame(benchmark::State& State) {
  ForceScreenBitsPerPixel(32);
  TFrames F(pf32bit);
  TBitmap Screen;
  double BoundTime = 0, WorkTime = 0;
  for (auto _ : State) {
    const auto T0 = std::chrono::steady_clock::now();
    for (int I = 0; I < 16; ++I) {
      F.ThreeStreams();
      F.Memcpy();
    }
    const auto T1 = std::chrono::steady_clock::now();
    TBlendTransition E;
    int Frames = 0;
    RunOffscreen(E, F.A, F.B, Screen, [&](const TOffscreenFrame&) { ++Frames; });
    const auto T2 = std::chrono::steady_clock::now();
    BoundTime += Seconds(T1 - T0) / 16;
    WorkTime += Seconds(T2 - T1) / Frames;
    State.SetIterationTime(Seconds(T2 - T1) / Frames);
  }
  State.counters["bound_ms"] = 1e3 * BoundTime / static_cast<double>(State.iterations());
  State.counters["ratio"] = WorkTime / BoundTime;
  ForceScreenBitsPerPixel(0);
}

void BM_MemcpyFrame(benchmark::State& State) {
  TFrames F(pf32bit);
  for (auto _ : State) {
    F.Memcpy();
    benchmark::ClobberMemory();
  }
}

void BM_ThreeStreamPass(benchmark::State& State) {
  TFrames F(pf32bit);
  for (auto _ : State) {
    F.ThreeStreams();
    benchmark::ClobberMemory();
  }
}

void Settings(benchmark::internal::Benchmark* B) {
  B->Unit(benchmark::kMillisecond)->Repetitions(Repetitions)->ReportAggregatesOnly(true);
}

void LevelsAndFormats(benchmark::internal::Benchmark* B) {
  B->ArgNames({"level", "pf"});
  for (int Format : {pf32bit, pf16bit})
    for (int Level : {slScalar, slSSE2, slAVX2}) B->Args({Level, Format});
  B->UseManualTime()->MinTime(0.3)->Apply(Settings);
}

BENCHMARK(BM_MemcpyFrame)->MinTime(0.3)->Apply(Settings);
BENCHMARK(BM_ThreeStreamPass)->MinTime(0.3)->Apply(Settings);
BENCHMARK(BM_BlendFrame)->Apply(LevelsAndFormats);
BENCHMARK(BM_TintBitmap)->Apply(LevelsAndFormats);
BENCHMARK(BM_BlendTransitionFrame)->UseManualTime()->Iterations(2)->Repetitions(3)->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// Keeps the medians and prints them as a table.
class TTableReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& Runs) override {
    for (const Run& R : Runs) {
      if (R.aggregate_name != "median") continue;
      TRow& Row = Rows[ReadableName(R.run_name.str())];
      Row.Ms = R.GetAdjustedRealTime();
      if (auto It = R.counters.find("bound_ms"); It != R.counters.end()) Row.BoundMs = It->second;
      if (auto It = R.counters.find("ratio"); It != R.counters.end()) Row.Ratio = It->second;
    }
    ConsoleReporter::ReportRuns(Runs);
  }
  void PrintTable() const {
    std::printf("\n%dx%d, medians of the repetitions; ratio = time / bound, timed back to back\n", FrameWidth,
                FrameHeight);
    std::printf("%-32s %10s %-22s %10s %8s\n", "case", "ms", "bound", "bound ms", "ratio");
    for (const auto& [Name, Row] : Rows) {
      const char* Bound = Name.rfind("BlendFrame", 0) == 0       ? "3-stream pass"
                          : Name.rfind("TintBitmap", 0) == 0     ? "frame memcpy"
                          : Name.rfind("BlendTransition", 0) == 0 ? "3-stream + memcpy"
                                                                  : "";
      if (*Bound)
        std::printf("%-32s %10.3f %-22s %10.3f %8.2f\n", Name.c_str(), Row.Ms, Bound, Row.BoundMs, Row.Ratio);
      else
        std::printf("%-32s %10.3f\n", Name.c_str(), Row.Ms);
    }
  }

private:
  struct TRow {
    double Ms = 0, BoundMs = 0, Ratio = 0;
  };

  static std::string ReadableName(std::string Name) {
    for (const char* Cut : {"/min_time", "/iterations", "/repeats", "/manual_time"})
      Name = Name.substr(0, Name.find(Cut));
    const std::pair<const char*, const char*> Words[] = {{"BM_", ""},          {"level:0", "scalar"},
                                                         {"level:1", "SSE2"},  {"level:2", "AVX2"},
                                                         {"pf:5", "pf16bit"},  {"pf:7", "pf32bit"}};
    for (const auto& [From, To] : Words)
      for (std::size_t At; (At = Name.find(From)) != std::string::npos;) Name.replace(At, std::strlen(From), To);
    return Name;
  }

  std::map<std::string, TRow> Rows;
};

}  // namespace

int main(int Argc, char** Argv) {
  // The effect's run needs an application object (device format, palettes): the offscreen one.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication App(Argc, Argv);
  benchmark::Initialize(&Argc, Argv);
  std::printf("pf:%d = pf32bit, pf:%d = pf16bit; level 0 scalar, 1 SSE2, 2 AVX2 (processor: %s)\n", pf32bit,
              pf16bit, SimdLevelName(SupportedSimdLevel()));
  TTableReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  Reporter.PrintTable();
  benchmark::Shutdown();
  return 0;
}
