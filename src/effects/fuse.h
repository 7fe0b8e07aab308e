#pragma once
// The new image fuses into the old one through an 8x8 pattern tiled over the area from its
// corner: at first the pattern lets nothing through, every frame adds pixels to it (by Style: an
// ordered dither, rows, columns, a growing square, a spiral, diagonal stripes) and the new image
// shows through the pattern's black pixels, until all 64 let it through. Styles 2..13 come in
// pairs (2 and 3, 4 and 5, ...), each the other's steps in the opposite order; Reversed plays the
// partner. Style 0 draws one of the 13 per run (both passes of a two-pass run keep it).
#include <cstdint>
#include <memory>

#include "engine/timed_transition.h"

namespace vte {

class TFuseTransition : public TTimedTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "Fuse")
  Q_CLASSINFO("EditorClassName", "TFuseTransitionEditor")
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
  Q_PROPERTY(int Style READ Style WRITE SetStyle)

public:
  static constexpr int StyleCount = 13;

  Q_INVOKABLE explicit TFuseTransition(QObject* Owner = nullptr);

  int Style() const { return FStyle; }
  void SetStyle(int Value);  // 0..StyleCount; other values are ignored
  // The style a run plays: Style, or the random one drawn for the run, swapped with its partner
  // when ReversedToUse holds.
  int StyleToUse();

  // Steps of a style: 64 for 1, 8 and 9, else 8.
  static int StyleFrames(int Style);
  // Blackens on Pattern (monochrome 8x8) the pixels step K (1..StyleFrames) of Style adds.
  static void ApplyPatternStep(TBitmap& Pattern, int Style, int K);

  void Assign(const TTransitionEffect& Source) override;

  bool RenderWhenClipped() const override { return false; }
  bool NeedWorkBitmap() const override { return true; }
  bool WorkOnOldImage() const override { return true; }

  void Initialize(TTETransitionData& Data, int& Frames) override;
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override;
  void Finalize(TTETransitionData& Data) override;
  bool DrawsOnRenderTarget() const override { return FOnTarget; }

private:
  TBitmap& FrameOf(TTETransitionData& Data) const {
    return FOnTarget ? *Data.RenderCanvas->Bitmap() : *Data.WorkBitmap;
  }

  int FStyle = 1;
  int FRandomStyle = 0;  // drawn for the current run when Style is 0
  // Per run.
  int FRunStyle = 1;
  std::unique_ptr<TBitmap> FPattern;
  bool FOnTarget = false;  // frames drawn straight onto the render target
};

}  // namespace vte
