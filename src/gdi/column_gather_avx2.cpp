// AVX2 block runners of the column gather. Four-byte pixels: each window is 32 bytes (eight
// pixels) permuted by 32-bit lanes (vpermd uses the low three bits of a lane index). Other sizes:
// each window is 16 bytes, repeated in both halves of the register because the byte shuffle works
// within 128-bit halves, and shuffled by bytes (vpshufb uses the low four bits). The window of a
// lane is in the index bits above those: a blend on each bit joins the permuted windows.
#include "gdi/simd_avx2.h"

#include "gdi/column_gather.h"

namespace vte::simd_avx2 {

namespace {

using column_gather_detail::TGatherBlock;
using column_gather_detail::TSpanBlock;

inline __m256 PixelWindow(const std::uint8_t* At, __m256i Index) {
  const __m256i W = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(At));
  return _mm256_castsi256_ps(_mm256_permutevar8x32_epi32(W, Index));
}

// Eight four-byte pixels from K windows, window w at WindowAt(w); lane index 8 * window + pixel.
template <int K, class TWindowAt>
inline __m256 JoinPixelWindows(__m256i Index, TWindowAt WindowAt) {
  __m256 R = PixelWindow(WindowAt(0), Index);
  if constexpr (K >= 2) {
    // blendv takes the top bit of each lane: index bit 3 picks the odd window of a pair, bit 4
    // the second pair.
    const __m256 Odd = _mm256_castsi256_ps(_mm256_slli_epi32(Index, 28));
    R = _mm256_blendv_ps(R, PixelWindow(WindowAt(1), Index), Odd);
    if constexpr (K >= 3) {
      __m256 Second = PixelWindow(WindowAt(2), Index);
      if constexpr (K == 4) Second = _mm256_blendv_ps(Second, PixelWindow(WindowAt(3), Index), Odd);
      R = _mm256_blendv_ps(R, Second, _mm256_castsi256_ps(_mm256_slli_epi32(Index, 27)));
    }
  }
  return R;
}

// Eight four-byte pixels a block, from its own windows.
template <int K>
void Lanes(std::uint8_t* Out, const std::uint8_t* Row, const TGatherBlock* Blocks, int Count) {
  for (int I = 0; I < Count; ++I) {
    const TGatherBlock& B = Blocks[I];
    const __m256i Index = _mm256_load_si256(reinterpret_cast<const __m256i*>(B.Index));
    const __m256 R = JoinPixelWindows<K>(Index, [&](int W) { return Row + B.Src[W]; });
    _mm256_storeu_ps(reinterpret_cast<float*>(Out + B.Out), R);
  }
}

// Eight four-byte pixels a block from K adjacent windows; the lane indices are bytes, widened
// on the way in.
template <int K>
void Spans(std::uint8_t* Out, const std::uint8_t* Row, const TSpanBlock* Blocks, int Count) {
#pragma GCC unroll 2
  for (int I = 0; I < Count; ++I) {
    const TSpanBlock& B = Blocks[I];
    const __m256i Index = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(B.Index)));
    const std::uint8_t* At = Row + B.Src;
    const __m256 R = JoinPixelWindows<K>(Index, [At](int W) { return At + 32 * W; });
    _mm256_storeu_ps(reinterpret_cast<float*>(Out + 32 * I), R);
  }
}

inline __m256i ByteWindow(const std::uint8_t* At, __m256i Index) {
  const __m128i W = _mm_loadu_si128(reinterpret_cast<const __m128i*>(At));
  return _mm256_shuffle_epi8(_mm256_broadcastsi128_si256(W), Index);
}

// Thirty-two bytes a block; byte index 16 * window + byte.
template <int K>
void Bytes(std::uint8_t* Out, const std::uint8_t* Row, const TGatherBlock* Blocks, int Count) {
  for (int I = 0; I < Count; ++I) {
    const TGatherBlock& B = Blocks[I];
    const __m256i Index = _mm256_load_si256(reinterpret_cast<const __m256i*>(B.Index));
    __m256i R = ByteWindow(Row + B.Src[0], Index);
    if constexpr (K >= 2) {
      // blendv_epi8 takes the top bit of each byte: a 16-bit shift by three brings bit 4 of every
      // byte there (bits crossing into the next byte land below its bit 7), by two bit 5.
      const __m256i Odd = _mm256_slli_epi16(Index, 3);
      R = _mm256_blendv_epi8(R, ByteWindow(Row + B.Src[1], Index), Odd);
      if constexpr (K >= 3) {
        __m256i Second = ByteWindow(Row + B.Src[2], Index);
        if constexpr (K == 4) Second = _mm256_blendv_epi8(Second, ByteWindow(Row + B.Src[3], Index), Odd);
        R = _mm256_blendv_epi8(R, Second, _mm256_slli_epi16(Index, 2));
      }
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Out + B.Out), R);
  }
}

}  // namespace

const column_gather_detail::TBlockKernels ColumnGatherBlocks{{nullptr, Lanes<1>, Lanes<2>, Lanes<3>, Lanes<4>},
                                                             {nullptr, Bytes<1>, Bytes<2>, Bytes<3>, Bytes<4>},
                                                             {nullptr, Spans<1>, Spans<2>, Spans<3>, Spans<4>}};

}  // namespace vte::simd_avx2
