#pragma once
// A timed effect for run-sequence tests: a fixed number of frames, each handing its number to
// OnFrame (where a test delivers input or changes state mid-run), drawing the new look's rows
// proportionally so the frames are real.
#include <functional>

#include "engine/timed_transition.h"
#include "gdi/raster_op.h"

namespace vte::test {

class THookEffect : public TTimedTransitionEffect {
public:
  explicit THookEffect(int Frames = 20) : FFrames(Frames) { AbortCheckInterval = 0; }

  void Initialize(TTETransitionData& Data, int& Frames) override {
    TTimedTransitionEffect::Initialize(Data, Frames);
    Frames = FFrames;
  }
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override {
    TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
    ++FramesDrawn;
    PreparedDuringRun = PreparedDuringRun && Prepared() && RenderTarget().Canvas;
    const int Rows = Data.Height * CurrentFrame / TotalFrames;
    Data.Canvas().BitBlt(0, 0, Data.Width, Rows, Data.DstBmp->Canvas(), 0, 0, SRCCOPY);
    UpdateRect = Rect(0, 0, Data.Width, Rows);
    if (OnFrame) OnFrame(CurrentFrame);
  }

  std::function<void(int Frame)> OnFrame;
  int FramesDrawn = 0;
  bool PreparedDuringRun = true;

private:
  int FFrames;
};

}  // namespace vte::test
