#pragma once
// A sheet rolled up or unrolled. Rolling: the old image is rolled up from one side; a band (the
// roll) travels across the area, the new image comes into view behind it, and the band shows the
// part already rolled up, mirrored, as the back of the sheet; it grows from nothing to Size
// pixels over the first frames. Unrolling: the new image is unrolled over the old one; the band
// shows, mirrored, the part of the new image still on the roll, and narrows to nothing at the far
// side. Reversed runs the other way and swaps the two modes.
//
// With Use3D the band is lit like a cylinder (see pixel/roll_shade.h); the run then works in 32
// bits per pixel on bitmaps whose width is a multiple of 8. Without it the band is drawn flat.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/timed_transition.h"

namespace vte {

class TRollTransition : public TTimedTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "Roll")
  Q_CLASSINFO("EditorClassName", "TRollTransitionEditor")
  Q_PROPERTY(vte::engine_types::TTEEffectDirection Direction READ Direction WRITE SetDirection)
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
  Q_PROPERTY(int Size READ Size WRITE SetSize)
  Q_PROPERTY(bool Unroll READ Unroll WRITE SetUnroll)
  Q_PROPERTY(bool Use3D READ Use3D WRITE SetUse3D)

public:
  Q_INVOKABLE explicit TRollTransition(QObject* Owner = nullptr);
  ~TRollTransition() override;

  int Size() const { return FSize; }
  // A negative width has no meaning (it would turn the band copies into mirrored ones): it is
  // stored as 0.
  void SetSize(int Value) { FSize = Value < 0 ? 0 : Value; }
  bool Unroll() const { return FUnroll; }
  void SetUnroll(bool Value) { FUnroll = Value; }
  bool Use3D() const { return FUse3D; }
  void SetUse3D(bool Value) { FUse3D = Value; }

  void Assign(const TTransitionEffect& Source) override;

  bool NeedWorkBitmap() const override { return true; }
  int GetBitmapsWidth(int Width) const override;
  TPixelFormat GetPixelFormat() const override;

  void Initialize(TTETransitionData& Data, int& Frames) override;
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override;
  void Finalize(TTETransitionData& Data) override;
  bool DrawsOnRenderTarget() const override { return FOnTarget; }

  // Unrolling is in effect when Unroll differs from ReversedToUse.
  bool Unrolling() const { return FUnroll != ReversedToUse(); }

private:
  TCanvas& FrameCanvas(TTETransitionData& Data) const { return FOnTarget ? *Data.RenderCanvas : Data.Canvas(); }
  void ShadeBand(TTETransitionData& Data, int BandWidth, TPoint Source);

  int FSize = 60;
  bool FUse3D = true;
  bool FUnroll = true;

  // Per run (per pass).
  TTEEffectDirection FRunDirection = tedDown;
  bool FUnrollingRun = false;
  int FRunSize = 0;
  TRect A;  // the part of the new image copied in the current frame
  TRect B;  // where the roll band lies in the current frame
  std::unique_ptr<TBitmap> FRollBitmap;  // the image on the roll, mirrored
  bool FOnTarget = false;                // frames drawn straight onto the render target
  bool FShading = false;
  std::vector<std::uint32_t> FShadeTable;  // Size + 2 entries, see BuildRollShadeTable
  int FShadeCount = 0;                     // the band width the table was built for; 0: none yet
};

}  // namespace vte
