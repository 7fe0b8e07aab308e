// BitBlt, PatBlt and FillRect against a per-pixel oracle: every result pixel is computed from
// ReadPixel/WritePixel and the generic RopBits on the converted brush and source values, and the
// whole bitmap memory (row padding and the X byte of pf32bit included) must match.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

#include "gdi/bitmap.h"
#include "gdi/canvas.h"
#include "gdi/rop_kernels.h"
#include "support/bitmap_support.h"
#include "support/simd_support.h"

namespace vte {
namespace {

using test::FillNoise;
using test::BlitConvertValue;
using test::RandomPalette;
using test::Raw;
using test::AllFormats;
using test::Mod;
using test::SameMemory;

struct TOracleBrush {
  TColor Color = clWhite;
  const TBitmap* Pattern = nullptr;
  TPoint Origin;
};

std::uint32_t BrushValue(const TOracleBrush& B, const TBitmap& Dest, int X, int Y) {
  if (!B.Pattern) return EncodePixel(Dest.PixelFormat(), Dest.Palette(), ColorToQRgb(B.Color));
  const int Px = Mod(X - B.Origin.X, 8) % B.Pattern->Width();
  const int Py = Mod(Y - B.Origin.Y, 8) % B.Pattern->Height();
  return BlitConvertValue(*B.Pattern, ReadPixel(B.Pattern->ScanLine(Py), Px, B.Pattern->PixelFormat()),
                      Dest);
}

// The expected blit of device rectangle R: source pixel of (x, y) is (x, y) + Offset; pixels
// outside Dest, outside Source, or refused by Drawable keep their values.
void OracleBlit(TBitmap& Dest, const TRect& R, const TBitmap* Source, TPoint Offset,
                const TOracleBrush& Brush, std::uint8_t Code,
                const std::function<bool(int, int)>& Drawable = {}) {
  const TPixelFormat F = Dest.PixelFormat();
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) {
      if (X < 0 || Y < 0 || X >= Dest.Width() || Y >= Dest.Height()) continue;
      if (Drawable && !Drawable(X, Y)) continue;
      std::uint32_t S = 0;
      if (Source) {
        const int Sx = X + Offset.X, Sy = Y + Offset.Y;
        if (Sx < 0 || Sy < 0 || Sx >= Source->Width() || Sy >= Source->Height()) continue;
        S = BlitConvertValue(*Source, ReadPixel(Source->ScanLine(Sy), Sx, Source->PixelFormat()), Dest);
      }
      const std::uint32_t D = ReadPixel(Dest.ScanLine(Y), X, F);
      WritePixel(Dest.ScanLine(Y), X, F, RopBits<std::uint32_t>(Code, BrushValue(Brush, Dest, X, Y), S, D));
    }
}

void SetBrush(TCanvas& C, const TOracleBrush& B) {
  C.Brush().Color = B.Color;
  C.Brush().Bitmap = B.Pattern;
  C.SetBrushOrigin(B.Origin);
}

// --- the kernels against the scalar reference ---

TEST(BlitRopKernel, EveryCodeMatchesScalarReferenceAtEveryLengthOnEveryLevel) {
  // The kernels of every SIMD level, lengths across several vector widths, bytes past the run
  // unchanged.
  std::mt19937 Rng(7);
  std::uint8_t D[96], S[96], P[96], Expected[96];
  test::ForEachSimdLevel([&](TSimdLevel) {
    for (int Code = 0; Code < 256; ++Code)
      for (int N = 0; N <= 80; ++N) {
        for (int I = 0; I < 96; ++I) {
          D[I] = static_cast<std::uint8_t>(Rng());
          S[I] = static_cast<std::uint8_t>(Rng());
          P[I] = static_cast<std::uint8_t>(Rng());
        }
        std::memcpy(Expected, D, sizeof D);
        for (int I = 0; I < N; ++I) Expected[I] = RopBits<std::uint8_t>(static_cast<std::uint8_t>(Code), P[I], S[I], D[I]);
        RopRowKernel(static_cast<std::uint8_t>(Code))(D, S, P, static_cast<std::size_t>(N));
        ASSERT_EQ(0, std::memcmp(D, Expected, sizeof D)) << "code " << Code << " length " << N;
      }
  });
}

TEST(BlitRopKernel, SpanKeepsBitsOutsideTheEdgeMasks) {
  std::mt19937 Rng(11);
  test::ForEachSimdLevel([&](TSimdLevel) {
    for (int Code : {0x00, 0xCC, 0x66, 0xAC, 0xFF, 0x1B})
      for (int N = 1; N <= 20; ++N)
        for (int Phase = 0; Phase < 8; ++Phase)
          for (int End = 1; End <= 8; ++End) {
            std::uint8_t D[24], S[24], P[24];
            for (int I = 0; I < 24; ++I) {
              D[I] = static_cast<std::uint8_t>(Rng());
              S[I] = static_cast<std::uint8_t>(Rng());
              P[I] = static_cast<std::uint8_t>(Rng());
            }
            const std::uint8_t Head = static_cast<std::uint8_t>(0xFF >> Phase);
            const std::uint8_t Tail = static_cast<std::uint8_t>(0xFF << (8 - End));
            std::uint8_t Expected[24];
            for (int I = 0; I < 24; ++I) {
              std::uint8_t M = I < N ? 0xFF : 0;
              if (I == 0) M &= Head;
              if (I == N - 1) M &= Tail;
              const std::uint8_t R = RopBits<std::uint8_t>(static_cast<std::uint8_t>(Code), P[I], S[I], D[I]);
              Expected[I] = static_cast<std::uint8_t>((R & M) | (D[I] & ~M));
            }
            RopSpan(static_cast<std::uint8_t>(Code), D, S, P, static_cast<std::size_t>(N), Head, Tail);
            ASSERT_EQ(0, std::memcmp(D, Expected, 24)) << Code << " " << N << " " << Phase << " " << End;
          }
  });
}

// Whole-byte copies move short spans without a library call; the spans of a blit within one
// bitmap may overlap in either direction.
TEST(BlitRopKernel, CopySpanOfWholeBytesIsAMoveAtEveryShortLengthAndOverlap) {
  std::mt19937 Rng(5);
  for (int N = 1; N <= 40; ++N)
    for (int Shift = -9; Shift <= 9; ++Shift) {
      std::uint8_t Got[64], Want[64];
      for (std::uint8_t& B : Got) B = static_cast<std::uint8_t>(Rng());
      std::memcpy(Want, Got, sizeof Got);
      std::memmove(Want + 12 + Shift, Want + 12, static_cast<std::size_t>(N));
      CopySpan(Got + 12 + Shift, Got + 12, static_cast<std::size_t>(N), 0xFF, 0xFF);
      ASSERT_EQ(0, std::memcmp(Got, Want, sizeof Got)) << N << " " << Shift;
    }
}

// --- all codes, all formats ---

TEST(BlitOracle, EveryCodeOnEveryFormatWithSolidAndPatternBrushes) {
  for (TPixelFormat F : AllFormats) {
    TBitmap Src(64, 20, F), Dst(64, 20, F), Pat(8, 8, F);
    FillNoise(Src, 1);
    FillNoise(Dst, 2);
    FillNoise(Pat, 3);
    const TOracleBrush Brushes[] = {{RGB(0x35, 0xA7, 0x5C), nullptr, {0, 0}},
                                    {clWhite, &Pat, {3, 5}},
                                    {clWhite, &Pat, {-2, 11}}};
    for (const TOracleBrush& B : Brushes)
      for (int Code = 0; Code < 256; ++Code) {
        const std::uint8_t C = static_cast<std::uint8_t>(Code);
        TBitmap Out(Dst), Expected(Dst);
        SetBrush(Out.Canvas(), B);
        // Two rectangles at odd offsets: one whose source starts at another bit position within
        // its byte (1- and 4-bit), one at the same position.
        Out.Canvas().BitBlt(5, 2, 37, 7, Src.Canvas(), 10, 6, RopFromCode(C));
        Out.Canvas().BitBlt(3, 11, 41, 6, Src.Canvas(), 11, 1, RopFromCode(C));
        OracleBlit(Expected, Bounds(5, 2, 37, 7), &Src, {5, 4}, B, C);
        OracleBlit(Expected, Bounds(3, 11, 41, 6), &Src, {8, -10}, B, C);
        ASSERT_TRUE(SameMemory(Out, Expected))
            << "format pf" << F << " code 0x" << std::hex << Code << std::dec << " brush origin ("
            << B.Origin.X << "," << B.Origin.Y << ")" << (B.Pattern ? " pattern" : " solid");
      }
  }
}

TEST(BlitOracle, PatBltEveryCodeWithoutSource) {
  for (TPixelFormat F : AllFormats) {
    TBitmap Dst(40, 12, F), Pat(8, 8, F);
    FillNoise(Dst, 5);
    FillNoise(Pat, 6);
    const TOracleBrush B{clWhite, &Pat, {-3, 2}};
    for (int Code = 0; Code < 256; ++Code) {
      const std::uint8_t C = static_cast<std::uint8_t>(Code);
      TBitmap Out(Dst), Expected(Dst);
      SetBrush(Out.Canvas(), B);
      Out.Canvas().PatBlt(3, 1, 29, 9, RopFromCode(C));
      if (!RopUsesSource(C)) OracleBlit(Expected, Bounds(3, 1, 29, 9), nullptr, {}, B, C);
      ASSERT_TRUE(SameMemory(Out, Expected)) << "format pf" << F << " code 0x" << std::hex << Code;
    }
  }
}

// --- widths, edges and guard bytes ---

TEST(BlitWidths, EveryWidthTo257LeavesEverythingOutsideTheRectangle) {
  const std::uint32_t Rops[] = {SRCCOPY, PATCOPY, SRCAND, SRCPAINT, SRCINVERT, NOTSRCCOPY,
                                DSna,    PSDPxax, 0x001B0000, DSTINVERT};
  // At every SIMD level: the runs of all widths go through the raster-operation kernels.
  test::ForEachSimdLevel([&](TSimdLevel) {
    for (TPixelFormat F : AllFormats) {
      // 299 pixels: every format has row padding.
      TBitmap Src(300, 5, F), Dst(299, 5, F), Pat(8, 8, F);
      FillNoise(Src, 21);
      FillNoise(Dst, 22);
      FillNoise(Pat, 23);
      for (std::uint32_t Rop : Rops)
        for (int W = 1; W <= 257; ++W) {
          const int X = (W * 3) % 13, Sx = (W * 5) % 17;
          const TOracleBrush B = (W & 1) ? TOracleBrush{RGB(0xC1, 0x22, 0x7E), nullptr, {}}
                                         : TOracleBrush{clWhite, &Pat, {W % 8, 1}};
          TBitmap Out(Dst), Expected(Dst);
          SetBrush(Out.Canvas(), B);
          Out.Canvas().BitBlt(X, 2, W, 2, Src.Canvas(), Sx, 1, Rop);
          OracleBlit(Expected, Bounds(X, 2, W, 2), &Src, {Sx - X, -1}, B, RopCode(Rop));
          ASSERT_TRUE(SameMemory(Out, Expected))
              << "format pf" << F << " rop 0x" << std::hex << Rop << std::dec << " width " << W;
        }
    }
  });
}

TEST(BlitWidths, FillRectEveryWidthAndBsClearDrawsNothing) {
  for (TPixelFormat F : AllFormats) {
    TBitmap Dst(299, 4, F), Pat(8, 8, pf1bit);
    Pat.SetMonochrome(true);
    FillNoise(Dst, 31);
    FillNoise(Pat, 32);
    for (int W = 1; W <= 257; ++W) {
      const TOracleBrush B = (W % 3) ? TOracleBrush{RGB(9, 200, 77), nullptr, {}}
                                     : TOracleBrush{clWhite, &Pat, {-W, W}};
      TBitmap Out(Dst), Expected(Dst);
      SetBrush(Out.Canvas(), B);
      Out.Canvas().FillRect(Bounds(W % 11, 1, W, 2));
      OracleBlit(Expected, Bounds(W % 11, 1, W, 2), nullptr, {}, B, RopCode(PATCOPY));
      ASSERT_TRUE(SameMemory(Out, Expected)) << "format pf" << F << " width " << W;
    }
    TBitmap Out(Dst);
    Out.Canvas().Brush().Style = bsClear;
    Out.Canvas().FillRect(Rect(0, 0, 299, 4));
    EXPECT_TRUE(SameMemory(Out, Dst));
  }
}

TEST(BlitFill, ShapeSpansUsePenAndPatternBrushLikeFillRect) {
  // Rectangle fills through the canvas's span fill: the inside in the brush, the border in the pen.
  for (TPixelFormat F : {pf1bit, pf4bit, pf16bit, pf24bit}) {
    TBitmap Dst(40, 24, F), Pat(8, 8, pf24bit);
    FillNoise(Dst, 35);
    FillNoise(Pat, 36);
    TBitmap Expected(Dst);
    TCanvas& C = Dst.Canvas();
    const TOracleBrush B{clWhite, &Pat, {-3, 6}};
    SetBrush(C, B);
    C.Pen().Color = RGB(0x80, 0x10, 0xF0);
    C.SetWindowOrigin({2, -1});               // device = logical + (-2, 1)
    C.ExcludeClipRect(Rect(12, 6, 18, 30));   // device (10, 7) - (16, 31)
    C.Rectangle(Rect(5, 2, 35, 20));          // device (3, 3) - (33, 21)
    auto Drawable = [](int X, int Y) { return !(X >= 10 && X < 16 && Y >= 7); };
    OracleBlit(Expected, Rect(4, 4, 32, 20), nullptr, {}, B, RopCode(PATCOPY), Drawable);
    const TOracleBrush Pen{RGB(0x80, 0x10, 0xF0), nullptr, {}};
    for (const TRect& Edge : {Rect(3, 3, 33, 4), Rect(3, 20, 33, 21), Rect(3, 4, 4, 20), Rect(32, 4, 33, 20)})
      OracleBlit(Expected, Edge, nullptr, {}, Pen, RopCode(PATCOPY), Drawable);
    ASSERT_TRUE(SameMemory(Dst, Expected)) << "pf" << F;
  }
}

// --- blits within one bitmap ---

TEST(BlitOverlap, SelfBlitEqualsBlitFromACopyInEveryDirection) {
  const TPoint Moves[] = {{3, 0}, {-3, 0}, {0, 2}, {0, -2}, {5, 3}, {-5, 3}, {5, -3}, {-5, -3}, {9, 1}, {-1, -9}};
  for (TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit})
    for (std::uint32_t Rop : {SRCCOPY, SRCINVERT})
      for (const TPoint M : Moves) {
        TBitmap Bmp(50, 30, F);
        FillNoise(Bmp, 41);
        TBitmap Original(Bmp), Expected(Bmp);
        Expected.Canvas().BitBlt(10 + M.X, 10 + M.Y, 27, 13, Original.Canvas(), 10, 10, Rop);
        Bmp.Canvas().BitBlt(10 + M.X, 10 + M.Y, 27, 13, Bmp.Canvas(), 10, 10, Rop);
        ASSERT_TRUE(SameMemory(Bmp, Expected))
            << "format pf" << F << " rop 0x" << std::hex << Rop << std::dec << " move (" << M.X
            << "," << M.Y << ")";
      }
}

TEST(BlitOverlap, SelfBlitThroughAClipRegionOfSeveralPieces) {
  for (TPixelFormat F : {pf4bit, pf32bit})
    for (const TPoint M : {TPoint{4, 3}, TPoint{-4, -3}, TPoint{6, -2}}) {
      TBitmap Bmp(48, 32, F);
      FillNoise(Bmp, 43);
      TBitmap Original(Bmp), Expected(Bmp);
      for (TCanvas* C : {&Bmp.Canvas(), &Expected.Canvas()}) C->ExcludeClipRect(Rect(14, 12, 22, 18));
      Expected.Canvas().BitBlt(6 + M.X, 6 + M.Y, 30, 20, Original.Canvas(), 6, 6, SRCCOPY);
      Bmp.Canvas().BitBlt(6 + M.X, 6 + M.Y, 30, 20, Bmp.Canvas(), 6, 6, SRCCOPY);
      ASSERT_TRUE(SameMemory(Bmp, Expected)) << "format pf" << F << " move (" << M.X << "," << M.Y << ")";
    }
}

// --- format rules ---

TEST(BlitFormats, MonoSourceGivesBlackAndAllOnes) {
  TBitmap Mono(19, 3, pf1bit);
  ASSERT_TRUE(Mono.Monochrome());
  FillNoise(Mono, 51);
  struct TCase { TPixelFormat F; std::uint32_t Zero, One; };
  // 8-bit: the default palette has black at 0 and white at 255; 4-bit: black 0, white 15.
  const TCase Cases[] = {{pf4bit, 0, 15},       {pf8bit, 0, 255},           {pf15bit, 0, 0x7FFF},
                         {pf16bit, 0, 0xFFFF},  {pf24bit, 0, 0xFFFFFF},     {pf32bit, 0, 0xFFFFFFFF}};
  for (const TCase& C : Cases) {
    TBitmap Dst(19, 3, C.F);
    FillNoise(Dst, 52);
    Dst.Canvas().BitBlt(0, 0, 19, 3, Mono.Canvas(), 0, 0, SRCCOPY);
    for (int Y = 0; Y < 3; ++Y)
      for (int X = 0; X < 19; ++X)
        ASSERT_EQ(ReadPixel(Dst.ScanLine(Y), X, C.F), ReadPixel(Mono.ScanLine(Y), X, pf1bit) ? C.One : C.Zero)
            << "pf" << C.F << " (" << X << "," << Y << ")";
  }
  // A 1-bit destination with another palette takes its entries nearest to black and white.
  TBitmap Odd(19, 3, pf1bit);
  Odd.SetPalette({qRgb(250, 250, 250), qRgb(10, 0, 0)});
  Odd.Canvas().BitBlt(0, 0, 19, 3, Mono.Canvas(), 0, 0, SRCCOPY);
  for (int X = 0; X < 19; ++X)
    ASSERT_EQ(ReadPixel(Odd.ScanLine(1), X, pf1bit), ReadPixel(Mono.ScanLine(1), X, pf1bit) ? 0u : 1u);
}

TEST(BlitFormats, ColourToMonoIsOneOnlyForWhite) {
  TBitmap Mono(4, 1, pf1bit);
  auto Check = [&](TPixelFormat F, std::initializer_list<std::uint32_t> Values, std::initializer_list<int> Bits) {
    TBitmap Src(4, 1, F);
    int X = 0;
    for (std::uint32_t V : Values) WritePixel(Src.ScanLine(0), X++, F, V);
    Mono.Canvas().BitBlt(0, 0, 4, 1, Src.Canvas(), 0, 0, SRCCOPY);
    X = 0;
    for (int B : Bits) {
      EXPECT_EQ(ReadPixel(Mono.ScanLine(0), X, pf1bit), static_cast<std::uint32_t>(B)) << "pf" << F << " pixel " << X;
      ++X;
    }
  };
  // The X byte of pf32bit and the top bit of pf15bit are not part of the colour.
  Check(pf32bit, {0x00FFFFFF, 0xFFFFFFFF, 0xFFFEFFFF, 0xFF000000}, {1, 1, 0, 0});
  Check(pf24bit, {0xFFFFFF, 0xFFFFFE, 0x7F7F7F, 0}, {1, 0, 0, 0});
  Check(pf16bit, {0xFFFF, 0xFFDF, 0x0000, 0xFFFF}, {1, 0, 0, 1});
  Check(pf15bit, {0x7FFF, 0xFFFF, 0x7FFE, 0x8000}, {1, 1, 0, 0});
  // Default 8-bit palette: 255 is white, 0 black, 215 a light grey.
  Check(pf8bit, {255, 0, 215, 255}, {1, 0, 0, 1});
  Check(pf4bit, {15, 7, 8, 0}, {1, 0, 0, 0});
}

TEST(BlitFormats, CrossFormatThroughRgb) {
  const std::pair<TPixelFormat, TPixelFormat> Pairs[] = {
      {pf24bit, pf16bit}, {pf32bit, pf8bit}, {pf32bit, pf15bit}, {pf16bit, pf32bit},
      {pf8bit, pf4bit},   {pf4bit, pf24bit}, {pf15bit, pf8bit},  {pf1bit, pf32bit}};
  for (const auto& [SF, DF] : Pairs)
    for (std::uint32_t Rop : {SRCCOPY, SRCINVERT, PSDPxax}) {
      TBitmap Src(33, 7, SF), Dst(35, 9, DF), Pat(8, 8, pf24bit);
      if (SF == pf1bit) Src.SetPalette({qRgb(200, 10, 10), qRgb(10, 200, 10)});  // not mono
      FillNoise(Src, 61);
      FillNoise(Dst, 62);
      FillNoise(Pat, 63);
      const TOracleBrush B{clWhite, &Pat, {1, 2}};
      TBitmap Expected(Dst);
      SetBrush(Dst.Canvas(), B);
      Dst.Canvas().BitBlt(1, 1, 31, 7, Src.Canvas(), 2, 0, Rop);
      OracleBlit(Expected, Bounds(1, 1, 31, 7), &Src, {1, -1}, B, RopCode(Rop));
      ASSERT_TRUE(SameMemory(Dst, Expected)) << "pf" << SF << " -> pf" << DF << " rop 0x" << std::hex << Rop;
    }
}

TEST(BlitFormats, KnownConversions) {
  // pf24 (R=0x12, G=0x34, B=0x56) -> 5-6-5: (2 << 11) | (13 << 5) | 10.
  TBitmap Src(1, 1, pf24bit), D16(1, 1, pf16bit), D8(1, 1, pf8bit), D32(1, 1, pf32bit);
  WritePixel(Src.ScanLine(0), 0, pf24bit, 0x123456);
  D16.Canvas().BitBlt(0, 0, 1, 1, Src.Canvas(), 0, 0, SRCCOPY);
  EXPECT_EQ(ReadPixel(D16.ScanLine(0), 0, pf16bit), 0x11AAu);
  // (48, 96, 200) -> cube entry (1, 2, 4) of the default 8-bit palette: 36 + 12 + 4.
  WritePixel(D32.ScanLine(0), 0, pf32bit, 0x003060C8);
  D8.Canvas().BitBlt(0, 0, 1, 1, D32.Canvas(), 0, 0, SRCCOPY);
  EXPECT_EQ(ReadPixel(D8.ScanLine(0), 0, pf8bit), 52u);
  // Same 8-bit format but another palette: through RGB. Grey 102 is cube entry (2, 2, 2).
  TBitmap Grey(1, 1, pf8bit);
  Grey.SetPalette(GreyPalette());
  WritePixel(Grey.ScanLine(0), 0, pf8bit, 102);
  D8.Canvas().BitBlt(0, 0, 1, 1, Grey.Canvas(), 0, 0, SRCCOPY);
  EXPECT_EQ(ReadPixel(D8.ScanLine(0), 0, pf8bit), 2u * 36 + 2 * 6 + 2);
  // Same format and palette: raw bits, pf32bit's X byte included.
  WritePixel(D32.ScanLine(0), 0, pf32bit, 0x5A102030);
  TBitmap Copy(1, 1, pf32bit);
  Copy.Canvas().BitBlt(0, 0, 1, 1, D32.Canvas(), 0, 0, SRCCOPY);
  EXPECT_EQ(ReadPixel(Copy.ScanLine(0), 0, pf32bit), 0x5A102030u);
}

TEST(BlitFormats, MonoPatternSelectsSourceWhereZeroDestinationWhereOne) {
  TBitmap Pat(8, 8, pf1bit), Src(30, 20, pf32bit), Dst(30, 20, pf32bit);
  FillNoise(Pat, 71);
  FillNoise(Src, 72);
  FillNoise(Dst, 73);
  const TBitmap Before(Dst);
  Dst.Canvas().Brush().Bitmap = &Pat;
  Dst.Canvas().SetBrushOrigin({-2, 11});
  Dst.Canvas().BitBlt(1, 2, 27, 17, Src.Canvas(), 3, 1, PSDPxax);
  for (int Y = 2; Y < 19; ++Y)
    for (int X = 1; X < 28; ++X) {
      const bool One = ReadPixel(Pat.ScanLine(Mod(Y - 11, 8)), Mod(X + 2, 8), pf1bit);
      const std::uint32_t Want = One ? ReadPixel(Before.ScanLine(Y), X, pf32bit)
                                     : ReadPixel(Src.ScanLine(Y - 1), X + 2, pf32bit);
      ASSERT_EQ(ReadPixel(Dst.ScanLine(Y), X, pf32bit), Want) << X << "," << Y;
    }
}

// --- coordinates and clipping ---

TEST(BlitClip, WindowOriginsOfBothCanvasesShiftTheRectangles) {
  for (TPixelFormat F : {pf1bit, pf4bit, pf24bit}) {
    TBitmap Src(40, 30, F), A(40, 30, F);
    FillNoise(Src, 81);
    FillNoise(A, 82);
    const TBitmap Before(A);
    TBitmap B(A);
    A.Canvas().BitBlt(7 - 5, 4 + 2, 20, 15, Src.Canvas(), 9 + 3, 2 - 4, SRCINVERT);
    B.Canvas().SetWindowOrigin({5, -2});
    Src.Canvas().SetWindowOrigin({-3, 4});
    B.Canvas().BitBlt(7, 4, 20, 15, Src.Canvas(), 9, 2, SRCINVERT);
    Src.Canvas().SetWindowOrigin({0, 0});
    ASSERT_TRUE(SameMemory(A, B)) << "pf" << F;
    ASSERT_FALSE(SameMemory(A, Before));
  }
}

TEST(BlitClip, SourceOutsideItsBitmapIsNotDrawn) {
  for (TPixelFormat F : {pf4bit, pf32bit}) {
    TBitmap Src(20, 12, F), Dst(40, 30, F);
    FillNoise(Src, 91);
    FillNoise(Dst, 92);
    TBitmap Expected(Dst);
    // Reaches past the source's left, top, right and bottom.
    Dst.Canvas().BitBlt(5, 4, 30, 22, Src.Canvas(), -3, -2, NOTSRCCOPY);
    OracleBlit(Expected, Bounds(5, 4, 30, 22), &Src, {-8, -6}, {}, RopCode(NOTSRCCOPY));
    ASSERT_TRUE(SameMemory(Dst, Expected)) << "pf" << F;
    // A destination reaching past its own bitmap is cut too.
    TBitmap Expected2(Dst);
    Dst.Canvas().BitBlt(-4, 25, 30, 20, Src.Canvas(), 0, 0, SRCCOPY);
    OracleBlit(Expected2, Bounds(-4, 25, 30, 20), &Src, {4, -25}, {}, RopCode(SRCCOPY));
    ASSERT_TRUE(SameMemory(Dst, Expected2)) << "pf" << F;
  }
}

TEST(BlitClip, SmallCopiesMatchTheOracleOnEveryFormatAndEdge) {
  // Copies of a few pixels (an effect's blocks and strips) on every format, also where they reach
  // past either bitmap or a window origin moves them.
  std::mt19937 Rng(17);
  for (TPixelFormat F : AllFormats) {
    TBitmap Src(23, 17, F), Dst(29, 13, F);
    FillNoise(Src, 5);
    for (int Case = 0; Case < 60; ++Case) {
      FillNoise(Dst, 6 + Case);
      TBitmap Expected(Dst);
      const int W = 1 + static_cast<int>(Rng() % 16), H = 1 + static_cast<int>(Rng() % 16);
      const int X = static_cast<int>(Rng() % 36) - 6, Y = static_cast<int>(Rng() % 22) - 6;
      const int Sx = static_cast<int>(Rng() % 30) - 6, Sy = static_cast<int>(Rng() % 24) - 6;
      const TPoint Origin{Case % 3 == 0 ? 2 : 0, Case % 5 == 0 ? -1 : 0};
      Dst.Canvas().SetWindowOrigin(Origin);
      Dst.Canvas().BitBlt(X, Y, W, H, Src.Canvas(), Sx, Sy, SRCCOPY);
      Dst.Canvas().SetWindowOrigin({0, 0});
      OracleBlit(Expected, Bounds(X - Origin.X, Y - Origin.Y, W, H), &Src, {Sx - X + Origin.X, Sy - Y + Origin.Y}, {},
                 RopCode(SRCCOPY));
      ASSERT_TRUE(SameMemory(Dst, Expected)) << "pf" << F << " case " << Case;
    }
  }
}

TEST(BlitClip, ClipRegionWithWindowOriginAndSaveRestore) {
  TBitmap Src(50, 40, pf8bit), Dst(50, 40, pf8bit);
  FillNoise(Src, 101);
  FillNoise(Dst, 102);
  TCanvas& C = Dst.Canvas();
  C.SetWindowOrigin({-4, 3});  // device = logical + (4, -3)
  TBitmap Expected(Dst);
  const int Saved = C.SaveDC();
  C.IntersectClipRect(Rect(2, 5, 30, 33));  // device (6, 2) - (34, 30)
  C.ExcludeClipRect(Rect(10, 10, 16, 20));  // device (14, 7) - (20, 17)
  C.BitBlt(0, 3, 40, 34, Src.Canvas(), 1, 1, SRCPAINT);
  OracleBlit(Expected, Bounds(4, 0, 40, 34), &Src, {-3, 1}, {}, RopCode(SRCPAINT), [](int X, int Y) {
    const bool In = X >= 6 && X < 34 && Y >= 2 && Y < 30;
    const bool Out = X >= 14 && X < 20 && Y >= 7 && Y < 17;
    return In && !Out;
  });
  ASSERT_TRUE(SameMemory(Dst, Expected));
  // After RestoreDC the whole rectangle is drawable again.
  ASSERT_TRUE(C.RestoreDC(Saved));
  EXPECT_FALSE(C.HasClipRegion());
  C.BitBlt(0, 3, 40, 34, Src.Canvas(), 1, 1, SRCINVERT);
  OracleBlit(Expected, Bounds(4, 0, 40, 34), &Src, {-3, 1}, {}, RopCode(SRCINVERT));
  ASSERT_TRUE(SameMemory(Dst, Expected));
}

}  // namespace
}  // namespace vte
