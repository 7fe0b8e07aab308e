#pragma once
// A picture that can draw itself on a canvas: the bitmap, and whatever a TPicture holds.
#include "gdi/color.h"
#include "gdi/geometry.h"

namespace vte {

class TCanvas;

class TGraphic {
public:
  virtual ~TGraphic() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const = 0;

  // Drawn with Transparent set, pixels of TransparentColor leave the canvas as it was.
  // clDefault as the transparent colour means the colour of the bottom-left pixel.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor Value) { FTransparentColor = Value; }

  // Draws the graphic stretched onto Rect (logical coordinates of Canvas).
  virtual void DrawOn(TCanvas& Canvas, const TRect& Rect) const = 0;

protected:
  TGraphic() = default;
  TGraphic(const TGraphic&) = default;
  TGraphic& operator=(const TGraphic&) = default;

private:
  bool FTransparent = false;
  TColor FTransparentColor = clDefault;
};

}  // namespace vte
