#include "effects/waterfall.h"

#include <algorithm>

#include "gdi/canvas.h"
#include "gdi/random.h"

namespace vte {

namespace {

bool Vertical(TTEEffectDirection D) { return D == tedDown || D == tedUp; }
// Lines run from the far edge.
bool FromFarEdge(TTEEffectDirection D) { return D == tedLeft || D == tedUp; }

}  // namespace

TWaterfallTransition::TWaterfallTransition(QObject* Owner) : TMaskedTransition(Owner) {
  SetAllowedDirections(DirectionSet(tedRight, tedLeft, tedDown, tedUp));
  InitDirection(tedDown);
}

int TWaterfallTransition::LineLength(const TTETransitionData& Data) const {
  return Vertical(FRunDirection) ? Data.Height : Data.Width;
}

int TWaterfallTransition::CalcShapeFrames(const TTETransitionData& Data) { return LineLength(Data) * 80 / 100; }

void TWaterfallTransition::Initialize(TTETransitionData& Data, int& Frames) {
  // The shape frames depend on the direction: fixed before the base counts them.
  FRunDirection = DirectionToUse();
  TMaskedTransition::Initialize(Data, Frames);
  FProgress.assign(static_cast<std::size_t>(Vertical(FRunDirection) ? Data.Width : Data.Height), 0);
  FAdvanced.clear();
  FAdvanced.reserve(FProgress.size());
}

void TWaterfallTransition::Finalize(TTETransitionData& Data) {
  FProgress.clear();
  FProgress.shrink_to_fit();
  FAdvanced = {};
  FrameEnabled = true;
  TMaskedTransition::Finalize(Data);
}

void TWaterfallTransition::ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                                        int LastExecutedFrame) {
  FrameEnabled = true;
  TMaskedTransition::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
  // Once every line has arrived there is nothing left to show until the final image.
  FrameEnabled = FMoved;
}

void TWaterfallTransition::PaintMask(TBitmap& Mask, int /*Cur*/, int Step, int /*TotalFrames*/, int /*Prev*/,
                                     const TTETransitionData& Data, bool Draw, bool /*Final*/) {
  const int W = Data.Width, H = Data.Height, Length = LineLength(Data);
  const bool Far = FromFarEdge(FRunDirection), ByColumns = Vertical(FRunDirection);
  // Along the line: the first pixel this frame paints and one past the last.
  int MinPos = Length, MaxPos = 0;
  FAdvanced.clear();
  for (std::size_t I = 0; I < FProgress.size(); ++I) {
    const int R = Random(4);
    if (R == 0) continue;
    const int F = FProgress[I];
    if (F >= Length) continue;  // arrived
    const int E = std::min(F + Step * R, Length);
    FProgress[I] = E;
    MinPos = std::min(MinPos, F);
    MaxPos = std::max(MaxPos, E);
    // Pixels F..E - 1 of the line, counted from its starting edge.
    const int A = Far ? Length - E : F, B = Far ? Length - F : E;
    const int Line = static_cast<int>(I);
    FAdvanced.push_back(ByColumns ? Rect(Line, A, Line + 1, B) : Rect(A, Line, B, Line + 1));
  }
  if (Draw) Mask.Canvas().FillRects(FAdvanced);
  FMoved = MaxPos > 0;
  if (!FMoved) {
    // Nothing to compose: the whole area, all of it unchanged.
    UpdateRect = UnchangedRect = Rect(0, 0, W, H);
    return;
  }
  const int A = Far ? Length - MaxPos : MinPos, B = Far ? Length - MinPos : MaxPos;
  UpdateRect = ByColumns ? Rect(0, A, W, B) : Rect(A, 0, B, H);
  UnchangedRect = TRect{};
}

void TWaterfallTransition::RevealSpans(const TNewSpans& Spans, int /*Cur*/, int /*Step*/, int /*Prev*/,
                                       const TTETransitionData& /*Data*/) {
  for (const TRect& R : FAdvanced) Spans.Rect(R);
}

}  // namespace vte
