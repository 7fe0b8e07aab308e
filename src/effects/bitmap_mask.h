#pragma once
// Any grey picture as a transition pattern: the mask (8 bits a pixel, levels 0..255) is stretched
// over the area, and pixels change from the old to the new image in order of falling level, those
// under 255 first (frame 1) and those under 0 last (with the final image): a pixel of level v
// changes in frame 256 - v. Reversed uses 255 - v instead. With SmoothingLevel 1..5 on a screen
// of more than 8 bits a pixel fades over 8, 16, 32, 64 or 128 frames from its frame on, as a
// linear mix (pixel/mask_work.h, ComposeGraded), so a soft mask gives a soft edge.
#include <QString>
#include <memory>

#include "engine/timed_transition.h"

namespace vte {

class TBmpMaskTransition : public TTimedTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "Bitmap mask")
  Q_CLASSINFO("EditorClassName", "TBmpMaskTransitionEditor")
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
  Q_PROPERTY(int SmoothingLevel READ SmoothingLevel WRITE SetSmoothingLevel)

public:
  Q_INVOKABLE explicit TBmpMaskTransition(QObject* Owner = nullptr);
  ~TBmpMaskTransition() override;

  // The transition's own copy of the pattern (empty at first).
  const TBitmap& Mask() const { return *FMask; }
  // Copies Value (null or empty: the mask becomes empty). A picture that is not 8 bits a pixel
  // raises ETransitionEffectError "Transition mask should have 8 bits per pixel" and leaves the
  // mask as it was.
  void SetMask(const TBitmap* Value);
  // Any picture Qt reads, as an 8-bit grey mask: an 8-bit picture with a grey palette stays byte
  // for byte, any other becomes the grey level of each pixel's colour. Unreadable files raise
  // std::runtime_error naming the file.
  static TBitmap LoadMaskFromFile(const QString& FileName);

  int SmoothingLevel() const { return FSmoothingLevel; }
  void SetSmoothingLevel(int Value);  // 0..5; other values are ignored
  // Frames a pixel takes to fade at a level: 0, 8, 16, 32, 64, 128 for levels 0..5.
  static int FadeLength(int Level);
  // Smoothing is in force: a level above 0 and a screen of more than 8 bits.
  bool SmoothingActive() const;

  void Assign(const TTransitionEffect& Source) override;

  int GetBitmapsWidth(int Width) const override;
  TPixelFormat GetPixelFormat() const override;
  bool RenderWhenClipped() const override { return false; }
  bool NeedWorkBitmap() const override { return true; }
  bool WorkOnOldImage() const override { return !SmoothingActive(); }

  void Initialize(TTETransitionData& Data, int& Frames) override;
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override;
  void Finalize(TTETransitionData& Data) override;
  bool DrawsOnRenderTarget() const override { return FOnTarget; }

private:
  std::unique_ptr<TBitmap> FMask;
  int FSmoothingLevel = 0;
  // Per run: the mask stretched over the work bitmap, and the fade length in force (0: none).
  std::unique_ptr<TBitmap> FStretched;
  int FRunFade = 0;
  bool FOnTarget = false;  // frames drawn straight onto the render target
};

}  // namespace vte
