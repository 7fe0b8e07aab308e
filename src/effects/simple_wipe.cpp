#include "effects/simple_wipe.h"

#include "gdi/canvas.h"
#include "gdi/raster_op.h"

namespace vte {

TSimpleWipeTransition::TSimpleWipeTransition(QObject* Owner) : TTimedTransitionEffect(Owner) {
  SetAllowedDirections(DirectionSet(tedRight, tedLeft, tedDown, tedUp));
  InitDirection(tedRight);
}

// The strip starts as an empty rectangle on the edge the wipe starts from; each frame moves it
// on by the frame's step. No dirty rectangles: the frames go straight to the render canvas.
void TSimpleWipeTransition::Initialize(TTETransitionData& Data, int& Frames) {
  switch (DirectionToUse()) {
    case tedDown:
      Frames = Data.Height;
      R = Rect(0, 0, Data.Width, 0);
      break;
    case tedUp:
      Frames = Data.Height;
      R = Rect(0, Data.Height, Data.Width, Data.Height);
      break;
    case tedRight:
      Frames = Data.Width;
      R = Rect(1, 0, 0, Data.Height);
      break;
    case tedLeft:
      Frames = Data.Width;
      R = Rect(Data.Width, 0, Data.Width, Data.Height);
      break;
    default:
      break;
  }
}

// Kept free of abort polling on purpose: the example is about drawing, and it stays that short.
void TSimpleWipeTransition::ExecuteFrame(TTETransitionData& Data, int /*CurrentFrame*/, int Step,
                                         int /*TotalFrames*/, int /*LastExecutedFrame*/) {
  switch (DirectionToUse()) {
    case tedDown:
      R.Top = R.Bottom;
      R.Bottom = R.Bottom + Step;
      break;
    case tedUp:
      R.Bottom = R.Top;
      R.Top = R.Top - Step;
      break;
    case tedRight:
      R.Left = R.Right;
      R.Right = R.Right + Step;
      break;
    case tedLeft:
      R.Right = R.Left;
      R.Left = R.Left - Step;
      break;
    default:
      break;
  }
  Data.Canvas().BitBlt(R.Left, R.Top, R.Width(), R.Height(), Data.DstBmp->Canvas(), R.Left, R.Top,
                       SRCCOPY);
  UnionRect(UpdateRect, UpdateRect, R);
}

}  // namespace vte
