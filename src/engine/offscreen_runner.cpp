#include "engine/offscreen_runner.h"

#include <stdexcept>

#include "engine/transition_effect.h"

namespace vte {

// Drives a transition's passes with a bitmap as the screen. It stands in for Prepare and Execute:
// it hands the effect its looks as if they had been captured, and takes them back afterwards.
class TTEOffscreenRun {
public:
  static void Run(TTransitionEffect& E, const TBitmap& OldLook, const TBitmap& NewLook, TBitmap& Screen,
                  const std::function<void(const TOffscreenFrame&)>& OnFrame, const TBitmap* Pass2Look) {
    if (OldLook.Width() != NewLook.Width() || OldLook.Height() != NewLook.Height())
      throw std::invalid_argument("RunOffscreen: the old and the new look differ in size");
    const int W = OldLook.Width(), H = OldLook.Height();
    Screen = TBitmap(W, H, pfDevice);
    Copy(OldLook, Screen);

    std::vector<TRect> Changed;
    int Pass = 1, Frame = 0;
    auto FrameDone = [&](bool Final) {
      const int ThisPass = E.FSecondPass ? 2 : 1;
      if (ThisPass != Pass) {
        Pass = ThisPass;
        Frame = 0;
      }
      ++Frame;
      if (OnFrame) OnFrame(TOffscreenFrame{Pass, Frame, Final, Changed, Screen});
      Changed.clear();
    };
    E.AttachRenderTarget(TTERenderTarget{&Screen.Canvas(), [&](const TRect& R) { Changed.push_back(R); }, FrameDone});

    struct TCleanUp {
      TTransitionEffect& E;
      ~TCleanUp() {
        E.FOldBitmap.reset();
        E.FPass2Bitmap.reset();
        E.FNewBitmap.reset();
        E.FSecondPass = false;
        E.FrameBitmap = nullptr;
        E.AttachRenderTarget({});
      }
    } CleanUp{E};

    E.FAborted = false;
    E.FSecondPass = false;
    E.UpdateRect = E.UnchangedRect = TRect{};
    E.FControlRect = Rect(0, 0, W, H);
    if (E.NeedSrcImage()) E.FOldBitmap = Look(E, OldLook);
    if (E.FEnabled && E.PassesToUse() == 2) {
      if (Pass2Look) {
        E.FPass2Bitmap = Look(E, *Pass2Look);
      } else {
        TBitmap Solid(W, H, pf32bit);
        const TColor C = E.FPass2Options->SolidColor();
        Solid.Canvas().Brush().Color = C == clNone ? clBtnFace : C;
        Solid.Canvas().FillRect(Rect(0, 0, W, H));
        E.FPass2Bitmap = Look(E, Solid);
      }
    }
    E.RunPasses([&]() -> std::unique_ptr<TBitmap> { return E.NeedDstImage() ? Look(E, NewLook) : nullptr; });
  }

private:
  static void Copy(const TBitmap& From, TBitmap& To) {
    To.Canvas().BitBlt(0, 0, From.Width(), From.Height(), const_cast<TBitmap&>(From).Canvas(), 0, 0, SRCCOPY);
  }

  // A look as the effect's captures would give it: its pixel format, its bitmap width.
  static std::unique_ptr<TBitmap> Look(const TTransitionEffect& E, const TBitmap& Source) {
    auto B = std::make_unique<TBitmap>(E.GetBitmapsWidth(Source.Width()), Source.Height(), E.GetPixelFormat());
    Copy(Source, *B);
    return B;
  }
};

void RunOffscreen(TTransitionEffect& Effect, const TBitmap& OldLook, const TBitmap& NewLook, TBitmap& Screen,
                  const std::function<void(const TOffscreenFrame&)>& OnFrame, const TBitmap* Pass2Look) {
  TTEOffscreenRun::Run(Effect, OldLook, NewLook, Screen, OnFrame, Pass2Look);
}

}  // namespace vte
