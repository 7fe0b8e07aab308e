#include "container/background_options.h"

// The painting side of the background options: where the picture lies, tiles, glass, what lies
// below a transparent control, the background form, and the entry point owners paint through.
//
// The rectangles here are logical (client or content coordinates); the canvases hold device
// pixels at the paint scale (render/device_scale.h), so every rectangle is scaled where it meets a
// canvas, and a picture is drawn at its logical size.
#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>
#include <memory>
#include <vector>

#include "gdi/canvas.h"
#include "pixel/blend_work.h"
#include "render/canvas_state_guard.h"
#include "render/control_paint.h"
#include "render/control_render.h"
#include "render/device.h"
#include "render/device_scale.h"

namespace vte {

// --- the picture ---

namespace {

// The scroll position along one axis (0 without that scroll bar) and, through Extent, the size of
// the whole scrollable area along it.
int ScrollPosition(const QWidget* Control, Qt::Orientation Kind, int& Extent) {
  const QScrollBar* Bar = ShownScrollBar(Control, Kind);
  if (!Bar) return 0;
  Extent = Bar->maximum() + Bar->pageStep();
  return Bar->value();
}

TPoint ScrollOffset(const QWidget* Control) {
  int Unused = 0;
  return {ScrollPosition(Control, Qt::Horizontal, Unused), ScrollPosition(Control, Qt::Vertical, Unused)};
}

// A control's whole scrollable client area (its client area when it does not scroll), and how
// far it is scrolled.
struct TScrolledArea {
  int Width, Height;
  TPoint Scroll;
};

TScrolledArea ScrolledArea(const QWidget* Control) {
  TScrolledArea A{ControlClientWidth(Control), ControlClientHeight(Control), {}};
  A.Scroll.X = ScrollPosition(Control, Qt::Horizontal, A.Width);
  A.Scroll.Y = ScrollPosition(Control, Qt::Vertical, A.Height);
  return A;
}

void FillWith(TCanvas& Canvas, const TRect& Rect, TColor Color) {
  TCanvasStateGuard Guard(Canvas);
  Canvas.Brush().Style = bsSolid;
  Canvas.Brush().Bitmap = nullptr;
  Canvas.Brush().Color = Color;
  Canvas.FillRect(Scaled(Rect));
}

// Canvas's logical point From lands where its logical point To lay before (both logical).
void MoveOrigin(TCanvas& Canvas, TPoint From, TPoint To) {
  const TPoint O = Canvas.WindowOrigin(), F = Scaled(From), T = Scaled(To);
  Canvas.SetWindowOrigin({O.X + F.X - T.X, O.Y + F.Y - T.Y});
}

// Graphic at its own size at (X, Y): on a canvas of device pixels, stretched to its logical size.
void DrawAt(TCanvas& Canvas, int X, int Y, const TGraphic& Graphic) {
  if (PaintScale() == 1)
    Canvas.Draw(X, Y, Graphic);
  else
    Canvas.StretchDraw(Scaled(Bounds(X, Y, Graphic.Width(), Graphic.Height())), Graphic);
}

// Bitmaps of their own for the paintings in progress, one per nesting level (a transparent
// control's painting paints what lies below, which may paint through options again). Kept between
// paintings: a repaint of the same size allocates nothing.
std::vector<std::unique_ptr<TBitmap>> GOwnBitmaps;
std::size_t GOwnDepth = 0;

}  // namespace

TRect TFCBackgroundOptions::GetPictureRect(const QWidget* Painted) const {
  const QWidget* Owner = FOwnerControl;
  const int PW = FPicture.Width(), PH = FPicture.Height();
  if (!Owner || PW <= 0 || PH <= 0) return TRect{};
  const TScrolledArea Area = ScrolledArea(Owner);
  const int W = Area.Width, H = Area.Height;
  TRect R;
  switch (FPictureMode) {
    case fcpmCenter:
      R = Bounds((W - PW) / 2, (H - PH) / 2, PW, PH);
      break;
    case fcpmCenterStretch: {
      // Compared as real numbers: the wider of the two shapes decides which side fits.
      const bool AreaWider = static_cast<double>(W) / H > static_cast<double>(PW) / PH;
      const int SW = AreaWider ? PW * H / PH : W, SH = AreaWider ? H : W * PH / PW;
      R = Bounds((W - SW) / 2, (H - SH) / 2, SW, SH);
      break;
    }
    default:
      R = Rect(0, 0, W, H);
      break;
  }
  if (Painted && Painted != Owner) {
    const TPoint Screen = ControlClientToScreen(Owner, R.TopLeft());
    const TPoint At = ControlScreenToClient(Painted, Screen);
    OffsetRect(R, At.X - R.Left - Area.Scroll.X, At.Y - R.Top - Area.Scroll.Y);
    const TPoint Scroll = ScrollOffset(Painted);
    OffsetRect(R, Scroll.X, Scroll.Y);
  }
  return R;
}

void DrawTiles(TCanvas& Canvas, const TGraphic& Graphic, int W, int H, const TRect& PicRect, const TRect& Rect) {
  if (W <= 0 || H <= 0 || Rect.IsEmpty()) return;
  // The first tile at or before Rect's corner on the grid that starts at PicRect's corner (a
  // remainder of the same sign as its dividend: the grid reaches left and up of PicRect too).
  const int X0 = Rect.Left - (Rect.Left - PicRect.Left) % W - ((Rect.Left - PicRect.Left) % W < 0 ? W : 0);
  const int Y0 = Rect.Top - (Rect.Top - PicRect.Top) % H - ((Rect.Top - PicRect.Top) % H < 0 ? H : 0);
  for (int X = X0; X < Rect.Right; X += W)
    for (int Y = Y0; Y < Rect.Bottom; Y += H) DrawAt(Canvas, X, Y, Graphic);
}

void TFCBackgroundOptions::DrawPicture(TCanvas& Canvas, const TRect& Rect, const QWidget* Painted) const {
  const TFCBackgroundOptions& Source = PictureSource();
  if (Source.FPicture.Empty()) return;
  const TRect PicRect = Source.GetPictureRect(Painted);
  TRect Meet;
  if (!IntersectRect(Meet, PicRect, Rect)) return;
  // The graphic carries the transparency setting, as the picture's owner chose it.
  TBitmap& Graphic = const_cast<TPicture&>(Source.FPicture).Bitmap();
  Graphic.SetTransparent(Source.FPictureTranspColor != clNone);
  if (Source.FPictureTranspColor != clNone) Graphic.SetTransparentColor(Source.FPictureTranspColor);
  switch (Source.FPictureMode) {
    case fcpmCenter: DrawAt(Canvas, PicRect.Left, PicRect.Top, Graphic); break;
    case fcpmCenterStretch:
    case fcpmStretch: Canvas.StretchDraw(Scaled(PicRect), Graphic); break;
    case fcpmTile: DrawTiles(Canvas, Graphic, Graphic.Width(), Graphic.Height(), PicRect, Rect); break;
  }
}

// --- the glass ---

void TFCBackgroundOptions::DrawGlass(TBitmap& Bitmap, const TRect& Rect, const QWidget* Painted, TPoint Origin) const {
  const TFCBackgroundOptions& Source = GlassSource();
  if (Bitmap.PixelFormat() != pf8bit) {
    TintBitmap(Bitmap, nullptr, Bitmap.PixelFormat(), Source.FGlassTranslucency, Rect, Source.FGlassColor);
    return;
  }
  // 64 dither steps for 256 translucencies, rounded halves to even as the screen's depth asks.
  const int Level = static_cast<int>(std::nearbyint(Source.FGlassTranslucency * 63.0 / 255.0));
  TBitmap Pattern(8, 8, pf1bit);
  Pattern.Canvas().Brush().Color = clWhite;
  Pattern.Canvas().FillRect(vte::Rect(0, 0, 8, 8));
  // The pattern starts at the form's corner: where that lies in the bitmap's device space.
  const QPoint InForm = Painted ? Painted->mapTo(Painted->window(), QPoint(0, 0)) : QPoint();
  TCanvas& Canvas = Bitmap.Canvas();
  const TPoint Saved = Canvas.BrushOrigin();
  struct TRestore {
    TCanvas& Canvas;
    TPoint Origin;
    ~TRestore() { Canvas.SetBrushOrigin(Origin); }
  } Restore{Canvas, Saved};
  Canvas.SetBrushOrigin(TPoint{Origin.X - InForm.x(), Origin.Y - InForm.y()});
  TintBitmap(Bitmap, &Pattern, pf8bit, Level, Rect, Source.FGlassColor);
}

// --- what lies below, the background form ---

bool TFCBackgroundOptions::NeedsBackground(const TFCBackgroundOptions& PictureOptions, const TRect& Rect) {
  const QWidget* Control = FOwnerControl;
  if (!Control || Control->isWindow() || !Control->parentWidget() || !IsActive() || FOpaqueInUse ||
      FBkgrndFormInUse)
    return false;
  // An opaque picture over all of it hides whatever lies below.
  return !(FPictureInUse && PictureOptions.FPictureTranspColor == clNone &&
           RectContains(PictureOptions.GetPictureRect(Control), Rect));
}

void TFCBackgroundOptions::PaintBelow(TCanvas& Canvas, const TRect& Rect, const TRect& ContentRect) {
  QWidget* Control = FOwnerControl;
  QWidget* Parent = Control->parentWidget();
  const TPoint At = ControlScreenToClient(Parent, ControlClientToScreen(Control, Rect.TopLeft()));
  TCanvasStateGuard Guard(Canvas);
  Canvas.IntersectClipRect(Scaled(ContentRect));
  MoveOrigin(Canvas, At, ContentRect.TopLeft());
  // The parent and the siblings below this control; this control and those above it stay out.
  // Rendering marks nothing for repainting on Qt, so the control is left as valid as it was.
  RenderWindowTree(Parent, Control, Parent, false, true, Scaled(Bounds(At.X, At.Y, Rect.Width(), Rect.Height())), Canvas);
}

void TFCBackgroundOptions::PaintBkgrndForm(TCanvas& Canvas, const TRect& Rect, const TRect& ContentRect) {
  const TFCBackgroundOptions& Source = BkgrndFormSource();
  TForm* Form = Source.FBkgrndForm;
  const QWidget* Owner = Source.FOwnerControl;
  if (!Form || !Owner) return;
  // The form lies over the owner's whole scrollable client area, so that each control painting it
  // shows its own part of one form.
  const TScrolledArea Area = ScrolledArea(Owner);
  const TPoint Corner = ControlClientToScreen(Owner, {-Area.Scroll.X, -Area.Scroll.Y});
  const QRect FormBounds(Corner.X, Corner.Y, Area.Width, Area.Height);
  if (Form->geometry() != FormBounds) {
    Form->setGeometry(FormBounds);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  }
  const TPoint Screen = ControlClientToScreen(FOwnerControl, Rect.TopLeft());
  const TPoint At{Screen.X - Corner.X, Screen.Y - Corner.Y};
  TCanvasStateGuard Guard(Canvas);
  Canvas.IntersectClipRect(Scaled(ContentRect));
  MoveOrigin(Canvas, At, ContentRect.TopLeft());
  RenderWindowTree(Form, nullptr, Form, false, true, Scaled(Bounds(At.X, At.Y, Rect.Width(), Rect.Height())), Canvas);
}

// --- painting ---

void TFCBackgroundOptions::PaintContent(TCanvas& Canvas, const TRect& Rect, const TRect& ContentRect, bool OwnBitmap) {
  QWidget* Control = FOwnerControl;
  const TFCBackgroundOptions& Glass = GlassSource();
  if (FGlassInUse && Glass.FGlassTranslucency == 0) {
    FillWith(Canvas, ContentRect, Glass.FGlassColor);
    return;
  }
  const TFCBackgroundOptions& Pictures = PictureSource();
  if (NeedsBackground(Pictures, ContentRect))
    PaintBelow(Canvas, Rect, ContentRect);
  else if (FBkgrndFormInUse)
    PaintBkgrndForm(Canvas, Rect, ContentRect);
  else
    // Under a picture the colour of the control the picture belongs to, so that an inherited
    // picture with gaps looks the same in every control it spans.
    FillWith(Canvas, ContentRect, ControlColor(FPictureInUse && Pictures.FOwnerControl ? Pictures.FOwnerControl.data() : Control));
  if (FPictureInUse) DrawPicture(Canvas, ContentRect, Control);
  if (!FGlassInUse) return;
  TBitmap& Bitmap = *Canvas.Bitmap();
  const TPoint Scroll = Scaled(ScrollOffset(Control));
  const TPoint Origin = Canvas.ToDevice(Scroll.X, Scroll.Y);
  if (OwnBitmap) {
    DrawGlass(Bitmap, vte::Rect(0, 0, Bitmap.Width(), Bitmap.Height()), Control, Origin);
    return;
  }
  // In somebody else's bitmap only the pixels the painting may touch are tinted.
  const TRect Content = Scaled(ContentRect);
  const TPoint TopLeft = Canvas.ToDevice(Content.Left, Content.Top);
  const QRegion Area = Canvas.ClipRegion().intersected(QRect(TopLeft.X, TopLeft.Y, Content.Width(), Content.Height()));
  for (const QRect& R : Area) DrawGlass(Bitmap, Bounds(R.x(), R.y(), R.width(), R.height()), Control, Origin);
}

void TFCBackgroundOptions::Paint(QPainter& Painter, const TRect& Area) {
  QWidget* Control = FOwnerControl;
  if (!Control) return;
  const TRect Rect = Area.IsEmpty() ? ControlClientRect(Control) : Area;
  if (!IsActive()) {
    Painter.fillRect(QRect(Rect.Left, Rect.Top, Rect.Width(), Rect.Height()), QColor(ColorToQRgb(ControlColor(Control))));
    return;
  }
  const TPoint Scroll = ScrollOffset(Control);
  TRect ContentRect = Rect;
  OffsetRect(ContentRect, Scroll.X, Scroll.Y);

  // A capture painting this control in place: the painting goes straight into the capture.
  if (TCanvas* Capture = CaptureCanvasOf(ClientWidget(Control)); Capture && Capture->Bitmap() == CurrentRenderBitmap()) {
    TCanvasStateGuard Guard(*Capture);
    MoveOrigin(*Capture, ContentRect.TopLeft(), Rect.TopLeft());
    Capture->IntersectClipRect(Scaled(ContentRect));
    PaintContent(*Capture, Rect, ContentRect, false);
    return;
  }

  // A bitmap of the device pixels the painter paints (the screen's, or a capture's), shown 1:1.
  const double Ratio = Painter.device() ? Painter.device()->devicePixelRatio() : 1;
  const TPaintScaleScope Scale(Ratio);
  if (GOwnDepth == GOwnBitmaps.size()) GOwnBitmaps.push_back(std::make_unique<TBitmap>());
  TBitmap& Own = *GOwnBitmaps[GOwnDepth];
  SetupBitmap(Own, nullptr, Scaled(Rect.Width()), Scaled(Rect.Height()), DevicePixelFormat());
  TCanvas& Canvas = Own.Canvas();
  struct TOwnScope {
    TCanvas& Canvas;
    TBitmap* Previous;
    TOwnScope(TBitmap& Own) : Canvas(Own.Canvas()), Previous(ExchangeCurrentRenderBitmap(&Own)) {
      ++GOwnDepth;
      Canvas.Lock();
    }
    ~TOwnScope() {
      Canvas.SelectClipRect(nullptr);
      Canvas.SetWindowOrigin({0, 0});
      Canvas.Unlock();
      ExchangeCurrentRenderBitmap(Previous);
      --GOwnDepth;
    }
  } Scope(Own);
  Canvas.SetWindowOrigin(Scaled(ContentRect.TopLeft()));
  PaintContent(Canvas, Rect, ContentRect, true);
  QImage View = Own.View();
  View.setDevicePixelRatio(Ratio);
  Painter.drawImage(QPoint(Rect.Left, Rect.Top), View);
}

}  // namespace vte
