#pragma once
// The record of one pass: the size of the area, the look the pass starts from and the one it ends
// on, the work bitmap (if the effect draws off-screen) and the render canvas. It owns none of them.
#include "gdi/bitmap.h"
#include "gdi/canvas.h"

namespace vte {

class TTETransitionData {
public:
  TTETransitionData(int Width, int Height, TBitmap* SrcBmp, TBitmap* DstBmp, TBitmap* WorkBitmap,
                    TCanvas* RenderCanvas, TPixelFormat PixelFormat, bool HighColor)
      : Width(Width), Height(Height), SrcBmp(SrcBmp), DstBmp(DstBmp), WorkBitmap(WorkBitmap),
        RenderCanvas(RenderCanvas), PixelFormat(PixelFormat), HighColor(HighColor) {}

  // The canvas every frame is drawn on: the work bitmap's, else the render canvas.
  TCanvas& Canvas() const { return WorkBitmap ? WorkBitmap->Canvas() : *RenderCanvas; }

  // Whether an effect may draw its frames straight onto the render target instead of into its
  // work bitmap: the target holds the looks' pixels as they are (the same format of whole bytes
  // a pixel and, for palette formats, the same palette), so a pixel copied from a look is a plain
  // copy. True on every screen Qt offers; the one rule every effect goes by.
  bool CanDrawOnRenderTarget() const {
    const TBitmap* Target = RenderCanvas ? RenderCanvas->Bitmap() : nullptr;
    if (!Target || Target->PixelFormat() != PixelFormat || PixelFormatStorageBits(PixelFormat) < 8) return false;
    for (const TBitmap* Look : {SrcBmp, DstBmp}) {
      if (!Look) continue;
      if (Look->PixelFormat() != PixelFormat) return false;
      if (IsPaletteFormat(PixelFormat) && Look->Palette() != Target->Palette()) return false;
    }
    return true;
  }
  // As above, and the target's rows are those of the looks (as long and as many), so that routines
  // that take a look's rows, or its whole memory, can take the target's in place of a work
  // bitmap's. The target shows the look the pass starts from when the pass begins.
  bool CanWorkInRenderTarget() const {
    if (!CanDrawOnRenderTarget()) return false;
    const TBitmap& Target = *RenderCanvas->Bitmap();
    for (const TBitmap* Look : {SrcBmp, DstBmp})
      if (Look && (Look->ScanlineBytes() != Target.ScanlineBytes() || Look->Height() != Target.Height())) return false;
    return true;
  }

  int Width;
  int Height;
  TBitmap* SrcBmp;
  TBitmap* DstBmp;
  TBitmap* WorkBitmap;
  TCanvas* RenderCanvas;
  TPixelFormat PixelFormat;
  bool HighColor;
};

}  // namespace vte
