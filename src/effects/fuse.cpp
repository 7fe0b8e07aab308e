#include "effects/fuse.h"

#include <algorithm>

#include "gdi/canvas.h"
#include "gdi/random.h"
#include "pixel/blend_work.h"
#include "pixel/mask_work.h"

namespace vte {

namespace {

// The step that adds each pixel of the spiral (style 8), from the centre outwards: [y][x].
constexpr int Spiral[8][8] = {{64, 37, 38, 39, 40, 41, 42, 43}, {63, 36, 17, 18, 19, 20, 21, 44},
                              {62, 35, 16, 5, 6, 7, 22, 45},     {61, 34, 15, 4, 1, 8, 23, 46},
                              {60, 33, 14, 3, 2, 9, 24, 47},     {59, 32, 13, 12, 11, 10, 25, 48},
                              {58, 31, 30, 29, 28, 27, 26, 49},  {57, 56, 55, 54, 53, 52, 51, 50}};

void Line(TCanvas& Canvas, int X0, int Y0, int X1, int Y1) {
  Canvas.MoveTo(X0, Y0);
  Canvas.LineTo(X1, Y1);
}

}  // namespace

TFuseTransition::TFuseTransition(QObject* Owner) : TTimedTransitionEffect(Owner) {}

void TFuseTransition::SetStyle(int Value) {
  if (Value >= 0 && Value <= StyleCount) FStyle = Value;
}

int TFuseTransition::StyleToUse() {
  int S = FStyle;
  if (S == 0) {
    if (FRandomStyle == 0) FRandomStyle = Random(StyleCount) + 1;
    S = FRandomStyle;
  }
  if (ReversedToUse() && S >= 2) S = S % 2 == 0 ? S + 1 : S - 1;
  return S;
}

int TFuseTransition::StyleFrames(int Style) { return Style == 1 || Style == 8 || Style == 9 ? 64 : 8; }

void TFuseTransition::ApplyPatternStep(TBitmap& Pattern, int Style, int K) {
  const int N = StyleFrames(Style);
  if (K < 1 || K > N) return;
  // The odd styles from 3 on play the style before them backwards.
  if (Style >= 3 && Style % 2 == 1) return ApplyPatternStep(Pattern, Style - 1, N - K + 1);
  TCanvas& C = Pattern.Canvas();
  C.Pen().Color = clBlack;
  switch (Style) {
    case 1:
      SetDitherCell(Pattern, K);
      break;
    case 2:
      Line(C, 0, K - 1, 8, K - 1);
      break;
    case 4:
      Line(C, K - 1, 0, K - 1, 8);
      break;
    case 6:
      if (K == 1) {
        C.SetPixel(0, 0, clBlack);
      } else {
        const int M = K - 1;
        C.MoveTo(M, 0);
        C.LineTo(M, M);
        C.LineTo(-1, M);
      }
      break;
    case 8:
      for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
          if (Spiral[Y][X] == K) C.SetPixel(X, Y, clBlack);
      break;
    case 10:
      Line(C, K - 8, 0, K, 8);
      Line(C, K, 0, K + 8, 8);
      break;
    case 12:
      Line(C, K + 7, 0, K - 1, 8);
      Line(C, K - 1, 0, K - 9, 8);
      break;
    default:
      break;
  }
}

void TFuseTransition::Assign(const TTransitionEffect& Source) {
  TTimedTransitionEffect::Assign(Source);
  if (const auto* Other = qobject_cast<const TFuseTransition*>(&Source)) SetStyle(Other->FStyle);
}

void TFuseTransition::Initialize(TTETransitionData& Data, int& Frames) {
  TTimedTransitionEffect::Initialize(Data, Frames);
  Randomize();
  FPattern = std::make_unique<TBitmap>(8, 8, pf1bit);
  FPattern->SetMonochrome(true);
  FRunStyle = StyleToUse();
  Frames = StyleFrames(FRunStyle);
  // A frame only adds new pixels to what the frame before showed, so where the render target holds
  // the looks' pixels as they are (it shows the old look to begin with) the pixels are put there
  // straight away: no work bitmap to fill and to copy from a frame.
  FOnTarget = Data.CanWorkInRenderTarget();
  if (!FOnTarget && Data.WorkBitmap != Data.SrcBmp)
    Data.WorkBitmap->Canvas().BitBlt(0, 0, Data.Width, Data.Height, Data.SrcBmp->Canvas(), 0, 0, SRCCOPY);
}

// The pattern as it grows: only the pixels this frame's steps turn black take the new image (those
// black before already show it), through the pattern of just those pixels tiled over the picture.
// Rows whose pattern row gained nothing are not touched, and the screen is told only of the rows
// that changed.
void TFuseTransition::ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                                   int LastExecutedFrame) {
  TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
  std::uint8_t Before[8];
  for (int R = 0; R < 8; ++R) Before[R] = FPattern->ScanLine(R)[0];
  for (int K = LastExecutedFrame + 1; K <= CurrentFrame; ++K) ApplyPatternStep(*FPattern, FRunStyle, K);

  std::uint8_t Keep[8];  // white where the pixel stays as it is
  int GainedRows = 0;
  for (int R = 0; R < 8; ++R) {
    Keep[R] = static_cast<std::uint8_t>(~(Before[R] & ~FPattern->ScanLine(R)[0]));
    GainedRows += Keep[R] != 0xFF;
  }
  TBitmap& New = *Data.DstBmp;
  const int W = Data.Width, H = Data.Height;
  ComposeThroughPattern(FrameOf(Data).ScanLine(0), New.ScanLine(0), Keep, Data.PixelFormat, New.ScanlineBytes(), W, H);

  UpdateRect = TRect{};
  if (GainedRows == 8 || GainedRows == 0) {
    UpdateRect = Rect(0, 0, W, H);
    return;
  }
  // Runs of changed rows, each one rectangle.
  for (int Y = 0; Y < H;) {
    if (Keep[Y & 7] == 0xFF) {
      ++Y;
      continue;
    }
    int End = Y + 1;
    while (End < H && Keep[End & 7] != 0xFF) ++End;
    const TRect Run = Rect(0, Y, W, End);
    DirtyRects->Add(Run);
    UnionRect(UpdateRect, UpdateRect, Run);
    Y = End;
  }
}

void TFuseTransition::Finalize(TTETransitionData& Data) {
  FPattern.reset();
  FOnTarget = false;
  if (PassesToUse() == 1 || !TwoPassesCapable() || SecondPass()) FRandomStyle = 0;
  TTimedTransitionEffect::Finalize(Data);
}

}  // namespace vte
