#include "engine/offscreen_runner.h"

#include <stdexcept>

#include "engine/transition_effect.h"

namespace vte {

namespace {

void Copy(const TBitmap& From, TBitmap& To) {
  To.Canvas().BitBlt(0, 0, From.Width(), From.Height(), const_cast<TBitmap&>(From).Canvas(), 0, 0, SRCCOPY);
}

// A look as the effect's captures would give it: its pixel format, its bitmap width.
std::unique_ptr<TBitmap> Look(const TTransitionEffect& E, const TBitmap& Source) {
  auto B = std::make_unique<TBitmap>(E.GetBitmapsWidth(Source.Width()), Source.Height(), E.GetPixelFormat());
  Copy(Source, *B);
  return B;
}

}  // namespace

// The run record stands in for Prepare: the looks as if they had been captured, a bitmap as the
// screen, and the old look counted as a screen copy (painted only when rendering is forced).
void RunOffscreen(TTransitionEffect& E, const TBitmap& OldLook, const TBitmap& NewLook, TBitmap& Screen,
                  const std::function<void(const TOffscreenFrame&)>& OnFrame, const TBitmap* Pass2Look) {
  if (OldLook.Width() != NewLook.Width() || OldLook.Height() != NewLook.Height())
    throw std::invalid_argument("RunOffscreen: the old and the new look differ in size");
  const int W = OldLook.Width(), H = OldLook.Height();
  Screen = TBitmap(W, H, pfDevice);
  Copy(OldLook, Screen);

  std::vector<TRect> Changed;
  int Pass = 1, Frame = 0;
  auto FrameDone = [&](bool Final) {
    const int ThisPass = E.SecondPass() ? 2 : 1;
    if (ThisPass != Pass) {
      Pass = ThisPass;
      Frame = 0;
    }
    ++Frame;
    if (OnFrame) OnFrame(TOffscreenFrame{Pass, Frame, Final, Changed, Screen});
    Changed.clear();
  };

  TTERunRecord Record;
  Record.Target = TTERenderTarget{&Screen.Canvas(), [&](const TRect& R) { Changed.push_back(R); }, FrameDone};
  Record.ControlRect = Record.ScreenRect = Rect(0, 0, W, H);
  Record.OldLookOrigin = E.ChooseOldLookOrigin(nullptr, Record.ScreenRect);
  if (E.Enabled() && E.PassesToUse() == 2) {
    if (Pass2Look) {
      Record.Pass2Bitmap = Look(E, *Pass2Look);
    } else {
      TBitmap Solid(W, H, pf32bit);
      const TColor C = E.Pass2Options()->SolidColor();
      Solid.Canvas().Brush().Color = C == clNone ? clBtnFace : C;
      Solid.Canvas().FillRect(Rect(0, 0, W, H));
      Record.Pass2Bitmap = Look(E, Solid);
    }
  }
  E.RunDetached(
      std::move(Record), [&] { return Look(E, OldLook); }, [&] { return Look(E, NewLook); });
}

}  // namespace vte
