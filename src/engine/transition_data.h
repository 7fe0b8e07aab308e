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
