#pragma once
// The wipe: the new look is uncovered behind an edge that sweeps across the area. Four straight
// directions move a straight edge from one side to the other; the four diagonal ones grow a
// rectangle from a corner; tedIn closes a frame from all sides towards the centre and tedOut grows
// a rectangle from the centre. A straight edge can be softened by a band BandWidth pixels wide
// that runs ahead of it, where old and new pixels are mixed at random through a monochrome mask
// (black lets the new image through), the share of new pixels falling from the edge to the far
// side of the band.
#include <memory>

#include "engine/timed_transition.h"

namespace vte {

class TWipeTransition : public TTimedTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "Wipe")
  Q_CLASSINFO("EditorClassName", "TWipeTransitionEditor")
  Q_PROPERTY(int BandWidth READ BandWidth WRITE SetBandWidth)
  Q_PROPERTY(vte::engine_types::TTEEffectDirection Direction READ Direction WRITE SetDirection)
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
  Q_INVOKABLE explicit TWipeTransition(QObject* Owner = nullptr);
  ~TWipeTransition() override;

  // The stored width while the effective direction is straight; 0 for every other direction.
  int BandWidth() const;
  // A negative width would make a run mix a band that the capability queries deny; it is stored
  // as 0 (no band).
  void SetBandWidth(int Value) { FBandWidth = Value < 0 ? 0 : Value; }

  void Assign(const TTransitionEffect& Source) override;

  bool NeedSrcImage() const override { return BandWidth() > 0; }
  bool NeedWorkBitmap() const override { return BandWidth() > 0; }
  bool RenderWhenClipped() const override { return false; }

  void Initialize(TTETransitionData& Data, int& Frames) override;
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override;
  void Finalize(TTETransitionData& Data) override;
  bool DrawsOnRenderTarget() const override { return FDirectBand; }

  // The band mask kept from the last run that used one (null before), and the direction it was
  // built for.
  const TBitmap* BandMask() const { return FMask.get(); }
  TTEEffectDirection MaskDirection() const { return FMaskDirection; }

private:
  void BuildMask(TTEEffectDirection Direction, int MaskWidth, int MaskHeight, int BW);
  void DrawBandFrame(TTETransitionData& Data);
  void DrawPieces(TTETransitionData& Data, const TRect* Pieces, int Count);

  int FBandWidth = 50;
  std::unique_ptr<TBitmap> FMask;
  TTEEffectDirection FMaskDirection = tedRight;
  // Per run, only while a band is in use: mixed straight onto the render target, or through the
  // two band buffers into the work bitmap.
  bool FDirectBand = false;
  std::unique_ptr<TBitmap> FOldSide;
  std::unique_ptr<TBitmap> FNewSide;

  TRect FRevealed;  // straight: this frame's strip; else the uncovered (tedIn: still covered) part
  TRect FBand;
  int FMaskOffsetX = 0;
  int FMaskOffsetY = 0;
};

}  // namespace vte
