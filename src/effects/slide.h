#pragma once
// The slide: one image slides over the other. By default the new image slides in against
// Direction's opposite side and covers the still old image; with SlideOut the old image slides
// away in Direction and uncovers the new one in place. Either moving image can be elastic instead:
// the new one stretched (ElasticDst), the old one squeezed (ElasticSrc) into the area it holds.
// Straight and diagonal directions move the images, tedIn squeezes the old image to the centre,
// tedOut stretches the new one from the centre. When the old look came from the screen, rigid
// moves scroll the screen's pixels and draw only what enters; the picture is the same either way.
#include "engine/timed_transition.h"

namespace vte {

class TSlideTransition : public TTimedTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "Slide")
  Q_CLASSINFO("EditorClassName", "TSlideTransitionEditor")
  Q_PROPERTY(vte::engine_types::TTEEffectDirection Direction READ Direction WRITE SetDirection)
  Q_PROPERTY(bool ElasticDst READ ElasticDst WRITE SetElasticDst)
  Q_PROPERTY(bool ElasticSrc READ ElasticSrc WRITE SetElasticSrc)
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
  Q_PROPERTY(bool SlideOut READ SlideOut WRITE SetSlideOut)

public:
  Q_INVOKABLE explicit TSlideTransition(QObject* Owner = nullptr);

  bool ElasticDst() const { return FElasticDst; }
  void SetElasticDst(bool V) { FElasticDst = V; }
  bool ElasticSrc() const { return FElasticSrc; }
  void SetElasticSrc(bool V) { FElasticSrc = V; }
  bool SlideOut() const { return FSlideOut; }
  void SetSlideOut(bool V) { FSlideOut = V; }

  void Assign(const TTransitionEffect& Source) override;
  bool NeedSrcImage() const override { return true; }
  // The way of the run in progress or the last one: true draws the moving image from its bitmap.
  bool DrawFromBitmaps() const { return FDrawFromBitmaps; }

  void Initialize(TTETransitionData& Data, int& Frames) override;
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override;
  void Finalize(TTETransitionData& Data) override;

private:
  enum TMode { smSlideIn, smSlideOut, smIn, smOut };

  // Where the images lie at one frame of a straight or diagonal run. The new image lies at
  // NewOffset (screen = image + offset) and shows in Entry; the old one, when it moves, lies at
  // OldOffset and shows in Remaining, the rest of the area.
  struct TPlace {
    TPoint NewOffset, OldOffset;
    TRect Entry, Remaining;
  };
  TPlace PlaceAt(int Frame, int TotalFrames) const;
  // The centre rectangle of tedIn and tedOut at a frame.
  TRect CentreAt(int Frame, int TotalFrames) const;
  void SlideInFrame(TTETransitionData& Data, const TPlace& Prev, const TPlace& Now);
  void SlideOutFrame(TTETransitionData& Data, const TPlace& Prev, const TPlace& Now);

  bool FElasticDst = false;
  bool FElasticSrc = false;
  bool FSlideOut = false;

  // Per run, set by Initialize.
  TMode FMode = smSlideIn;
  bool FStretchNew = false;   // the new image is stretched into its area
  bool FSqueezeOld = false;   // the old image is squeezed into its area
  TTEEffectDirection FRunDirection = tedDown;
  TRect FFull;
  bool FDrawFromBitmaps = false;
  int FSavedStretchMode = 0;
};

}  // namespace vte
