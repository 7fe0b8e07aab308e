#pragma once
// The alpha blend: every frame shows a weighted mix of the old and the new look, the new look's
// weight growing with the frame number. Deep screens mix per channel (pixel/blend_work); palette
// screens cannot show mixed colours, so an 8x8 ordered-dither pattern lets a growing share of the
// new look's pixels through instead, straight into the old image.
#include <memory>

#include "engine/timed_transition.h"

namespace vte {

class TBlendTransition : public TTimedTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "Alpha blend")

public:
  Q_INVOKABLE explicit TBlendTransition(QObject* Owner = nullptr);
  ~TBlendTransition() override;

  TPixelFormat GetPixelFormat() const override;
  bool RenderWhenClipped() const override { return false; }
  bool NeedWorkBitmap() const override { return true; }
  // Palette screens blend the old image in place: it is the work bitmap.
  bool WorkOnOldImage() const override;

  void Initialize(TTETransitionData& Data, int& Frames) override;
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override;
  void Finalize(TTETransitionData& Data) override;
  bool DrawsOnRenderTarget() const override { return FOnTarget; }

  // The dither pattern of a run on a palette screen (between Initialize and Finalize), else null.
  TBitmap* Pattern() const { return FPattern.get(); }
  // Percentage of the 32-bit words the old and the new image have in common (deep screens; set by
  // Initialize). From 10 on, the frames skip equal words.
  int Similarity() const { return FSimilarity; }

private:
  std::unique_ptr<TBitmap> FPattern;
  int FSimilarity = 0;
  bool FOnTarget = false;
};

}  // namespace vte
