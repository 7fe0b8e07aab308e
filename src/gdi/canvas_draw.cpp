#include "gdi/bitmap.h"
#include "gdi/canvas.h"

namespace vte {

void TCanvas::Draw(int X, int Y, const TGraphic& Graphic) {
  if (Graphic.Empty()) return;
  Graphic.DrawOn(*this, Bounds(X, Y, Graphic.Width(), Graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& R, const TGraphic& Graphic) {
  if (Graphic.Empty() || R.IsEmpty()) return;
  Graphic.DrawOn(*this, R);
}

void TBitmap::DrawOn(TCanvas& Target, const TRect& R) const {
  // Reading through the source canvas does not change the bitmap; its canvas is only a view.
  TCanvas& Source = const_cast<TBitmap*>(this)->Canvas();
  const TPoint SrcOrg = Source.WindowOrigin();
  if (!Transparent()) {
    Target.StretchBlt(R.Left, R.Top, R.Width(), R.Height(), Source, SrcOrg.X, SrcOrg.Y, Width(), Height(), SRCCOPY);
    return;
  }
  // Transparent: the picture is first brought to the target's size and format, then only its
  // pixels that differ from the transparent colour are copied, through the target's clip region.
  TColor Key = TransparentColor();
  if (Key == clDefault) Key = PixelColor(0, Height() - 1);
  Key = ColorToRGB(Key);
  TBitmap Stretched(R.Width(), R.Height(), PixelFormat());
  Stretched.SetPalette(Palette());
  Stretched.Canvas().StretchBlt(0, 0, R.Width(), R.Height(), Source, SrcOrg.X, SrcOrg.Y, Width(), Height(), SRCCOPY);
  TBitmap& Dst = *Target.Bitmap();
  const TPixelFormat F = Dst.PixelFormat();
  const TPoint DevTopLeft = Target.ToDevice(R.Left, R.Top);
  Target.ForEachClipRect(Bounds(DevTopLeft.X, DevTopLeft.Y, R.Width(), R.Height()), [&](const TRect& Piece) {
    for (int Y = Piece.Top; Y < Piece.Bottom; ++Y) {
      const std::uint8_t* S = Stretched.ScanLine(Y - DevTopLeft.Y);
      std::uint8_t* D = Dst.ScanLine(Y);
      for (int X = Piece.Left; X < Piece.Right; ++X) {
        const QRgb C = DecodePixel(Stretched.PixelFormat(), Stretched.Palette(),
                                   ReadPixel(S, X - DevTopLeft.X, Stretched.PixelFormat()));
        if (static_cast<TColor>(QRgbToColor(C)) == Key) continue;
        WritePixel(D, X, F, EncodePixel(F, Dst.Palette(), C));
      }
    }
  });
}

}  // namespace vte
