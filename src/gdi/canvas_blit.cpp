// The canvas's raster operations: logical coordinates become device ones (each canvas with its
// own window origin), the destination is cut to the bitmap, the clip region and the part whose
// source lies inside the source bitmap, and the blit engine draws the pieces.
#include <vector>

#include "gdi/bitmap.h"
#include "gdi/blit_engine.h"
#include "gdi/canvas.h"

namespace vte {

namespace {

// The pieces of the current operation; kept so that a warmed-up canvas does not allocate.
std::vector<TRect>& Pieces() {
  thread_local std::vector<TRect> V;
  V.clear();
  return V;
}

TStretchMap& StretchMap() {
  thread_local TStretchMap M;
  return M;
}

// A negative extent counts back from the origin.
void Normalize(int& X, int& Extent) {
  if (Extent < 0) {
    X += Extent;
    Extent = -Extent;
  }
}

}  // namespace

void TCanvas::FillRect(const TRect& R) {
  if (FState.Brush.Style == bsClear || R.IsEmpty()) return;
  PatBlt(R.Left, R.Top, R.Width(), R.Height(), PATCOPY);
}

void TCanvas::FillRects(std::span<const TRect> Rects) {
  thread_local std::vector<TRect> Device;
  Device.clear();
  for (TRect R : Rects) {
    OffsetRect(R, -FState.WindowOrigin.X, -FState.WindowOrigin.Y);
    if (!R.IsEmpty()) Device.push_back(R);
  }
  FillSpans(Device, false);
}

void TCanvas::PatBlt(int X, int Y, int Width, int Height, std::uint32_t Rop) {
  const std::uint8_t Code = RopCode(Rop);
  if (RopUsesSource(Code)) return;  // there is no source to combine
  Normalize(X, Width);
  Normalize(Y, Height);
  const TPoint D = ToDevice(X, Y);
  std::vector<TRect>& V = Pieces();
  ForEachClipRect(Bounds(D.X, D.Y, Width, Height), [&](const TRect& P) { V.push_back(P); });
  const TBlitBrush Brush{FState.Brush.Color, FState.Brush.Bitmap, FState.BrushOrigin};
  TBlitEngine::ForThisThread().PatternBlt(TBlitSurface::Of(*FBitmap), V, Brush, Code);
}

void TCanvas::BitBlt(int X, int Y, int Width, int Height, TCanvas& Source, int XSrc, int YSrc,
                     std::uint32_t Rop) {
  const std::uint8_t Code = RopCode(Rop);
  if (!RopUsesSource(Code)) {
    // The source does not take part, so it does not limit the area either.
    PatBlt(X, Y, Width, Height, Rop);
    return;
  }
  if (Width < 0) {
    X += Width;
    XSrc += Width;
    Width = -Width;
  }
  if (Height < 0) {
    Y += Height;
    YSrc += Height;
    Height = -Height;
  }
  const TPoint D = ToDevice(X, Y);
  const TPoint S = Source.ToDevice(XSrc, YSrc);
  const TPoint Offset{S.X - D.X, S.Y - D.Y};
  TBitmap& SourceBitmap = *Source.Bitmap();
  // The source bitmap in destination device coordinates.
  const TRect SourceArea =
      Bounds(-Offset.X, -Offset.Y, SourceBitmap.Width(), SourceBitmap.Height());
  std::vector<TRect>& V = Pieces();
  ForEachClipRect(Bounds(D.X, D.Y, Width, Height), [&](const TRect& P) {
    TRect Q;
    if (IntersectRect(Q, P, SourceArea)) V.push_back(Q);
  });
  const TBlitBrush Brush{FState.Brush.Color, FState.Brush.Bitmap, FState.BrushOrigin};
  TBlitEngine::ForThisThread().BitBlt(TBlitSurface::Of(*FBitmap), V,
                                      TBlitSurface::Of(SourceBitmap), Offset, Brush, Code);
}

void TCanvas::CopyRects(std::span<const TRect> Rects, TCanvas& Source) {
  const TPoint D = ToDevice(0, 0), S = Source.ToDevice(0, 0);
  const TPoint Offset{S.X - D.X, S.Y - D.Y};
  TBitmap& SourceBitmap = *Source.Bitmap();
  const TRect SourceArea = Bounds(-Offset.X, -Offset.Y, SourceBitmap.Width(), SourceBitmap.Height());
  std::vector<TRect>& V = Pieces();
  for (TRect R : Rects) {
    OffsetRect(R, D.X, D.Y);
    ForEachClipRect(R, [&](const TRect& P) {
      TRect Q;
      if (IntersectRect(Q, P, SourceArea)) V.push_back(Q);
    });
  }
  const TBlitBrush Brush{FState.Brush.Color, FState.Brush.Bitmap, FState.BrushOrigin};
  TBlitEngine::ForThisThread().BitBlt(TBlitSurface::Of(*FBitmap), V, TBlitSurface::Of(SourceBitmap), Offset, Brush,
                                      RopCode(SRCCOPY));
}

void TCanvas::StretchBlt(int X, int Y, int Width, int Height, TCanvas& Source, int XSrc, int YSrc,
                         int WidthSrc, int HeightSrc, std::uint32_t Rop) {
  if (Width == 0 || Height == 0 || WidthSrc == 0 || HeightSrc == 0) return;
  // A negative destination extent mirrors too: flip it onto the source side.
  if (Width < 0) {
    X += Width;
    Width = -Width;
    XSrc += WidthSrc;
    WidthSrc = -WidthSrc;
  }
  if (Height < 0) {
    Y += Height;
    Height = -Height;
    YSrc += HeightSrc;
    HeightSrc = -HeightSrc;
  }
  if (WidthSrc == Width && HeightSrc == Height) {
    BitBlt(X, Y, Width, Height, Source, XSrc, YSrc, Rop);
    return;
  }
  const std::uint8_t Code = RopCode(Rop);
  if (!RopUsesSource(Code)) {
    PatBlt(X, Y, Width, Height, Rop);
    return;
  }
  const TPoint D = ToDevice(X, Y);
  const TPoint S = Source.ToDevice(XSrc, YSrc);
  TBitmap& SourceBitmap = *Source.Bitmap();
  TStretchMap& Map = StretchMap();
  const TRect Drawn = Map.Build(Bounds(D.X, D.Y, Width, Height), DeviceBounds(), S.X, S.Y,
                                WidthSrc, HeightSrc,
                                Rect(0, 0, SourceBitmap.Width(), SourceBitmap.Height()));
  if (Drawn.IsEmpty()) return;
  std::vector<TRect>& V = Pieces();
  ForEachClipRect(Drawn, [&](const TRect& P) { V.push_back(P); });
  const TBlitBrush Brush{FState.Brush.Color, FState.Brush.Bitmap, FState.BrushOrigin};
  TBlitEngine::ForThisThread().StretchBlt(TBlitSurface::Of(*FBitmap), V,
                                          TBlitSurface::Of(SourceBitmap), Map, Brush, Code);
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect) {
  StretchBlt(Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Source, SourceRect.Left,
             SourceRect.Top, SourceRect.Width(), SourceRect.Height(), FState.CopyMode);
}

void TCanvas::ScrollDC(int Dx, int Dy, const TRect& Scroll, const TRect& Clip) {
  // Pixels that may change: inside Clip and reached by a pixel of Scroll.
  TRect Area, Moved = Scroll;
  OffsetRect(Moved, Dx, Dy);
  if (!IntersectRect(Area, Scroll, Clip) || !IntersectRect(Area, Area, Moved)) return;
  OffsetRect(Area, -FState.WindowOrigin.X, -FState.WindowOrigin.Y);
  // Only pixels whose source lies inside the bitmap move.
  TRect Reached = DeviceBounds();
  OffsetRect(Reached, Dx, Dy);
  std::vector<TRect>& V = Pieces();
  ForEachClipRect(Area, [&](const TRect& P) {
    TRect Q;
    if (IntersectRect(Q, P, Reached)) V.push_back(Q);
  });
  const TBlitSurface Surface = TBlitSurface::Of(*FBitmap);
  TBlitEngine::ForThisThread().BitBlt(Surface, V, Surface, {-Dx, -Dy}, TBlitBrush{},
                                      RopCode(SRCCOPY));
}

}  // namespace vte
