#include "effects/masked_transition.h"

#include <algorithm>
#include <utility>

#include "gdi/canvas.h"
#include "gdi/random.h"
#include "pixel/mask_work.h"
#include "render/device.h"

namespace vte {

namespace {

constexpr int MaxSmoothingLevel = 6;
// Grey levels a pixel darkens per frame, by smoothing level; the other figures follow from it.
constexpr int LevelSteps[MaxSmoothingLevel + 1] = {0, 31, 16, 8, 4, 3, 2};

// The palette-relative grey: the exact level on the grey palette of an 8-bit mask.
TColor Grey(int Level) { return 0x02000000 | (Level << 16) | (Level << 8) | Level; }

}  // namespace

TMaskedTransition::TMaskedTransition(QObject* Owner) : TTimedTransitionEffect(Owner) {}

TMaskedTransition::~TMaskedTransition() = default;

void TMaskedTransition::SetStyle(int Value) {
  if (Value == FStyle || Value < 0 || Value > FStyleCount) return;
  FStyle = Value;
  SetSubStyle(Value == 0 ? 0 : 1);
}

void TMaskedTransition::SetSubStyle(int Value) {
  if (Value == FSubStyle || Value < 0 || Value > GetSubStyleCount(FStyle)) return;
  FSubStyle = Value;
}

void TMaskedTransition::SetSmoothingLevel(int Value) {
  if (Value >= 0 && Value <= MaxSmoothingLevel) FSmoothingLevel = Value;
}

int TMaskedTransition::StyleToUse() const {
  if (FStyle != 0) return FStyle;
  if (FRandomStyle == 0) FRandomStyle = Random(FStyleCount) + 1;
  return FRandomStyle;
}

int TMaskedTransition::SubStyleToUse() const {
  int S = FSubStyle;
  if (S == 0) {
    // The style first: its substyle count bounds the draw.
    const int Style = StyleToUse();
    if (FRandomSubStyle == 0) FRandomSubStyle = Random(GetSubStyleCount(Style)) + 1;
    S = FRandomSubStyle;
  }
  return ReversedToUse() ? GetReversedSubStyle(StyleToUse(), S) : S;
}

bool TMaskedTransition::SmoothingActive() const {
  return FSmoothingLevel > 0 && DeviceShowsSmoothEdges();
}

TMaskedTransition::TLevels TMaskedTransition::Levels(int SmoothingLevel) {
  TLevels L;
  if (SmoothingLevel < 1 || SmoothingLevel > MaxSmoothingLevel) return L;
  L.LevelStep = LevelSteps[SmoothingLevel];
  L.LevelCount = 255 / L.LevelStep;
  // The levels in use, centred in 1..254 so that neither the old (255) nor the new image (0) is
  // one of them.
  const int Span = (L.LevelCount - 1) * L.LevelStep;
  L.TopLevel = 254 - (254 - Span) / 2;
  L.BottomLevel = L.TopLevel - Span;
  return L;
}

void TMaskedTransition::Assign(const TTransitionEffect& Source) {
  TTimedTransitionEffect::Assign(Source);
  if (const auto* Other = qobject_cast<const TMaskedTransition*>(&Source)) {
    SetStyle(Other->FStyle);
    SetSubStyle(Other->FSubStyle);
    SetSmoothingLevel(Other->FSmoothingLevel);
  }
}

// The 1-bit routines walk the mask 32 bits at a time, the 8-bit ones 8 bytes.
int TMaskedTransition::GetBitmapsWidth(int Width) const { return RoundUpTo(Width, SmoothingActive() ? 8 : 32); }

TPixelFormat TMaskedTransition::GetPixelFormat() const { return SmoothingActive() ? pf32bit : DevicePixelFormat(); }

std::unique_ptr<TBitmap> TMaskedTransition::NewMask(const TTETransitionData& Data, bool Smooth) const {
  auto M = std::make_unique<TBitmap>();
  if (Smooth) {
    const TPalette Greys = GreyPalette();
    SetupBitmap(*M, &Greys, GetBitmapsWidth(Data.Width), Data.Height, pf8bit);
  } else {
    SetupBitmap(*M, nullptr, GetBitmapsWidth(Data.Width), Data.Height, pf1bit);
  }
  TCanvas& C = M->Canvas();
  C.Brush().Color = Smooth ? Grey(255) : clWhite;
  C.FillRect(Rect(0, 0, Data.Width, Data.Height));
  // Shapes are painted black on a 1-bit mask; the smoothed path sets its levels per shape.
  C.Pen().Color = C.Brush().Color = Smooth ? Grey(255) : clBlack;
  return M;
}

void TMaskedTransition::Initialize(TTETransitionData& Data, int& Frames) {
  TTimedTransitionEffect::Initialize(Data, Frames);
  FSmooth = SmoothingActive();
  FShapeFrames = Frames = CalcShapeFrames(Data);
  if (FSmooth) {
    FLevelsBySpans = !MaskIsInverted() && RevealsBySpans();
    FLevels = Levels(FSmoothingLevel);
    Frames += FLevels.ExtraFrames();
    FSmoothMask = NewMask(Data, true);
    if (SmoothWithTwoMasks()) FSmoothMask2 = NewMask(Data, true);
    // The previous frame's rectangles must stay until this frame has aged them.
    else DirtyRects->AutoClear = false;
  } else {
    const int Bits = PixelFormatStorageBits(Data.PixelFormat);
    FBySpans = Bits >= 8 && RevealsBySpans();
    // PaintMask gets the mask even when it does not draw on it.
    FMask = NewMask(Data, false);
    if (MaskIsCumulative() && !FBySpans) FAccumMask = NewMask(Data, false);
  }
  // The render target shows the old image when the pass begins: frames composed there need no
  // copy to the screen, which for thin shapes costs as much as their composing.
  FOnTarget = Data.CanWorkInRenderTarget();
  if (!FOnTarget && Data.WorkBitmap != Data.SrcBmp)
    Data.WorkBitmap->Canvas().BitBlt(0, 0, Data.Width, Data.Height, Data.SrcBmp->Canvas(), 0, 0, SRCCOPY);
}

void TMaskedTransition::Finalize(TTETransitionData& Data) {
  FMask.reset();
  FAccumMask.reset();
  FSmoothMask.reset();
  FSmoothMask2.reset();
  FOnTarget = FBySpans = FLevelsBySpans = false;
  // A two-pass run shows the same random shape in both passes; the next run draws anew.
  if (PassesToUse() == 1 || !TwoPassesCapable() || SecondPass()) FRandomStyle = FRandomSubStyle = 0;
  TTimedTransitionEffect::Finalize(Data);
}

void TMaskedTransition::ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                                     int LastExecutedFrame) {
  TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
  if (FSmooth) SmoothFrame(Data, CurrentFrame, Step, LastExecutedFrame);
  else if (FBySpans && FrameEnabled) RevealFrame(Data, CurrentFrame, Step, LastExecutedFrame, TotalFrames);
  else ApplyMask(Data, CurrentFrame, Step, LastExecutedFrame, TotalFrames, *FMask, FAccumMask.get(), false, true, true);
}

template <class F> void TMaskedTransition::ForEachRegion(F&& Work) const {
  if (DirtyRects->Count() >= 2) {
    for (int I = 0; I < DirtyRects->Count(); ++I) Work(TRect{}, DirtyRects->Rects(I));
  } else {
    Work(UnchangedRect, UpdateRect);
  }
}

void TMaskedTransition::ApplyMask(TTETransitionData& Data, int CurrentFrame, int Step, int PrevFrame,
                                  int TotalFrames, TBitmap& Mask, TBitmap* AccumMask, bool PaintOnly, bool Draw,
                                  bool Final) {
  const TRect Whole = Rect(0, 0, Data.Width, Data.Height);
  if (!FrameEnabled) {
    // The subclass paints straight on the screen.
    PaintMask(Mask, CurrentFrame, Step, TotalFrames, PrevFrame, Data, Draw, Final);
  } else {
    UpdateRect = Whole;
    UnchangedRect = TRect{};
    PaintMask(Mask, CurrentFrame, Step, TotalFrames, PrevFrame, Data, Draw, Final);
    // Covers of several shapes (hands about one pivot) may overlap, and a difference or an ageing
    // worked twice over a pixel undoes or doubles itself.
    if (Final && DirtyRects->Count() >= 2) DirtyRects->Separate(WorkAlign());
    ClipFrameRects(Whole);
    if (!PaintOnly) {
      const int W = Data.Width, H = Data.Height, Stride = Mask.ScanlineBytes();
      if (MaskIsInverted()) InvertMaskBits(Mask.ScanLine(0), static_cast<std::size_t>(Stride) * H / 4);
      if (AccumMask)
        ForEachRegion([&](const TRect& Inner, const TRect& Outer) {
          MaskDifference(Mask.ScanLine(0), AccumMask->ScanLine(0), Stride, Inner, Outer, W, H);
        });
      TBitmap& Work = FrameWork(Data);
      ForEachRegion([&](const TRect& Inner, const TRect& Outer) {
        ComposeThroughMask(Work.ScanLine(0), Data.DstBmp->ScanLine(0), Mask.ScanLine(0), Inner, Outer,
                           Data.PixelFormat, Stride, Work.ScanlineBytes(), W, H);
      });
    }
  }
  if (!PaintOnly && ClearMaskAfterFrame()) {
    TCanvas& C = Mask.Canvas();
    const TColor Shapes = C.Brush().Color;
    C.Brush().Color = clWhite;
    if (DirtyRects->Count() >= 2) C.FillRects(DirtyRects->All());
    else C.FillRect(UpdateRect);
    C.Brush().Color = Shapes;
  }
}

void TMaskedTransition::ClipFrameRects(const TRect& Whole) {
  // Shapes wholly outside the picture (a hand along its edge) change nothing: an empty rectangle
  // at its corner then, for the all-zero one stands for the whole picture on the screen's copy.
  if (!IntersectRect(UpdateRect, UpdateRect, Whole))
    UpdateRect = Rect(Whole.Right, Whole.Bottom, Whole.Right, Whole.Bottom);
  IntersectRect(UnchangedRect, UnchangedRect, UpdateRect);
}

void TMaskedTransition::RevealFrame(TTETransitionData& Data, int CurrentFrame, int Step, int PrevFrame,
                                    int TotalFrames) {
  const TRect Whole = Rect(0, 0, Data.Width, Data.Height);
  UpdateRect = Whole;
  UnchangedRect = TRect{};
  PaintMask(*FMask, CurrentFrame, Step, TotalFrames, PrevFrame, Data, false, true);
  ClipFrameRects(Whole);
  TBitmap& Work = FrameWork(Data);
  const TNewSpans Spans{Work.ScanLine(0), Data.DstBmp->ScanLine(0), Work.ScanlineBytes(),
                        PixelFormatStorageBits(Data.PixelFormat) / 8, Data.Width, Data.Height};
  RevealSpans(Spans, CurrentFrame, Step, PrevFrame, Data);
}

void TMaskedTransition::PaintLevel(TTETransitionData& Data, int Level, int Frame, int Count) {
  if (Frame < 1 || Frame > FShapeFrames) return;
  if (FLevelsBySpans) {
    TNewSpans Spans{FSmoothMask->ScanLine(0), nullptr, FSmoothMask->ScanlineBytes(), 1, Data.Width, Data.Height};
    Spans.Fill = Level;
    RevealSpans(Spans, Frame, Count, Frame - Count, Data);
    return;
  }
  TCanvas& C = FSmoothMask->Canvas();
  C.Pen().Color = C.Brush().Color = Grey(Level);
  ApplyMask(Data, Frame, Count, Frame - Count, FShapeFrames, *FSmoothMask, nullptr, true, true, false);
}

void TMaskedTransition::SmoothFrame(TTETransitionData& Data, int Cur, int Step, int Prev) {
  const bool Two = SmoothWithTwoMasks(), Inverted = MaskIsInverted();
  const int LS = FLevels.LevelStep, Top = FLevels.TopLevel, Bottom = FLevels.BottomLevel;
  if (Two) std::swap(FSmoothMask, FSmoothMask2);  // the second now holds the previous frame's mask

  // How much every level reached before darkens in this frame; the level of the newest shape
  // frame painted (below TopLevel once the shape is complete and only the fade goes on); the
  // level of the oldest painted; the new shape frames already past BottomLevel (Skipped), which
  // are painted as the new image straight away.
  const int Fade = Prev == 0 ? 0 : std::min(Step * LS, Top);
  const int High = Cur > FShapeFrames ? Top - (Cur - FShapeFrames) * LS : Top;
  int Low = High - (Step - 1) * LS, Skipped = 0;
  if (Low < Bottom) {
    Low = Bottom;
    Skipped = Step - (High - Bottom) / LS - 1;
  } else {
    Low = std::min(Low, High);
  }
  const int Last = std::min(Cur + (High - Top) / LS, FShapeFrames);
  const int First = std::max(Prev - FLevels.LevelCount, 0);
  // The shape frame painted at level M in this frame.
  const auto FrameAt = [&](int M) { return Cur + (M - Top) / LS; };

  TBitmap& Mask = *FSmoothMask;
  const int W = Data.Width, H = Data.Height, Stride = Mask.ScanlineBytes();
  if (Fade > 0 && !Two) {
    const auto Age = [&](const TRect& Inner, const TRect& Outer) {
      AgeMask(Mask.ScanLine(0), Stride, W, H, Inner, Outer, false, Fade);
    };
    if (DirtyRects->Count() >= 2)
      for (int I = 0; I < DirtyRects->Count(); ++I) Age(TRect{}, DirtyRects->Rects(I));
    else
      Age(PrevUnchangedRect, PrevUpdateRect);
  }
  DirtyRects->Clear();

  if (Prev < FShapeFrames) {
    if (Two) {
      // Newest (lightest) first, so the older whole shapes land on top with darker levels.
      if (Inverted) PaintLevel(Data, 255, FrameAt(High) + 1, 1);
      for (int M = High; M >= Low; M -= LS) PaintLevel(Data, M, FrameAt(M), 1);
    } else {
      if (Skipped > 0) {
        if (Inverted) {
          TCanvas& C = Mask.Canvas();
          C.Brush().Color = Grey(0);
          C.FillRect(PrevUpdateRect);
        } else {
          PaintLevel(Data, 0, First + Skipped, Skipped);
        }
      }
      for (int M = Low; M <= High; M += LS) PaintLevel(Data, M, FrameAt(M), 1);
    }
  }
  if (!Two && Inverted) PaintLevel(Data, 255, FrameAt(High) + 1, 1);
  else if (Skipped > 0 && !Inverted) PaintLevel(Data, 0, Prev + Skipped, Skipped);

  // The region of this frame: the pixels whose levels changed, those of shape frames First..Last.
  ApplyMask(Data, Last, Last - First, First, FShapeFrames, Mask, nullptr, true, false, true);
  if (Fade > 0 && Two)
    ForEachRegion([&](const TRect& Inner, const TRect& Outer) {
      AgeMaskFrom(Mask.ScanLine(0), FSmoothMask2->ScanLine(0), Stride, W, H, Inner, Outer, false, Fade);
    });
  TBitmap& Work = FrameWork(Data);
  ForEachRegion([&](const TRect& Inner, const TRect& Outer) {
    ComposeSmoothed(Work.ScanLine(0), Data.SrcBmp->ScanLine(0), Data.DstBmp->ScanLine(0), Mask.ScanLine(0), Inner,
                    Outer, W, H, Stride, Work.ScanlineBytes());
  });
}

}  // namespace vte
