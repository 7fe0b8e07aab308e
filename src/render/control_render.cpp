#include "render/control_render.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <algorithm>
#include <utility>

#include "gdi/canvas.h"
#include "render/canvas_state_guard.h"
#include "render/control_paint.h"
#include "render/control_registry.h"
#include "render/device.h"
#include "render/device_scale.h"
#include "render/paint_exception_trap.h"
#include "render/render_modes.h"
#include "render/window_facts.h"

namespace vte {

namespace {

TBitmap* GCurrentRenderBitmap = nullptr;

// Where the capture in progress lies: the bitmap, the top-level window of the tree it paints, and
// where in that window's device pixels the bitmap's pixel (0,0) lies: the capture's corner rounded
// to a device pixel, as Qt places a widget's picture (a render window's among them) on the screen.
struct TCapturePlace {
  const TBitmap* Bitmap = nullptr;
  const QWidget* Root = nullptr;
  QPointF DeviceOrigin;
  double Ratio = 1;
};
TCapturePlace GCapturePlace;

TPoint Shifted(TPoint P, TPoint By) { return {P.X + By.X, P.Y + By.Y}; }

// Paint(Canvas) into a temporary device-format bitmap over Area (logical), copied onto Target.
// The temporary starts as a copy of the target, so that what lies below shows where the painting
// leaves pixels alone.
template <class F> void PaintViaBitmap(TCanvas& Target, const TRect& Area, F&& Paint) {
  if (Area.IsEmpty()) return;
  TBitmap Temp;
  SetupBitmap(Temp, nullptr, Area.Width(), Area.Height(), pfDevice);
  TCanvas& C = Temp.Canvas();
  C.Lock();
  struct TUnlock {
    TCanvas& C;
    ~TUnlock() { C.Unlock(); }
  } Unlock{C};
  C.BitBlt(0, 0, Area.Width(), Area.Height(), Target, Area.Left, Area.Top, SRCCOPY);
  C.SetWindowOrigin(Area.TopLeft());
  Paint(C);
  C.SetWindowOrigin({0, 0});
  Target.BitBlt(Area.Left, Area.Top, Area.Width(), Area.Height(), C, 0, 0, SRCCOPY);
}

// Brush patterns of the painting line up with the window: its own brush origin is its (0,0).
template <class F> void PaintWithBrushOrigin(TCanvas& Target, F&& Paint) {
  TCanvasStateGuard Guard(Target);
  Target.SetBrushOrigin(Target.ToDevice(0, 0));
  Paint(Target);
}

struct TCaptureRootScope {
  QWidget* Previous;
  explicit TCaptureRootScope(QWidget* Root) : Previous(SetCaptureRoot(Root)) {}
  ~TCaptureRootScope() { SetCaptureRoot(Previous); }
};

// Qt lays out a window that has not been shown when it is first rendered, and on the way may
// create its platform window, which gives it a frame. Done before any geometry is read, so that
// the whole capture sees one layout.
void PrepareUnshownWindow(QWidget* Window) {
  if (Window->isVisible()) return;
  QImage Pixel(1, 1, QImage::Format_RGB32);
  TPaintExceptionTrap Trap(Window);
  Window->render(&Pixel, QPoint(), QRegion(0, 0, 1, 1), QWidget::RenderFlags());
  Trap.Rethrow();
}

}  // namespace

TBitmap* CurrentRenderBitmap() { return GCurrentRenderBitmap; }

bool ExactCapturePosition(const QWidget* Control, const TCanvas& Target, QPointF& Position) {
  const TCapturePlace& P = GCapturePlace;
  if (!Control || !P.Root || Target.Bitmap() != P.Bitmap || PaintScale() != P.Ratio) return false;
  if (Control != P.Root && !P.Root->isAncestorOf(Control)) return false;
  Position = QPointF(Control->mapTo(P.Root, QPoint(0, 0))) * P.Ratio - P.DeviceOrigin;
  return true;
}

TBitmap* ExchangeCurrentRenderBitmap(TBitmap* Bitmap) { return std::exchange(GCurrentRenderBitmap, Bitmap); }

std::unique_ptr<TBitmap> RenderControlToBitmap(QWidget* Control, const TRect& Rect, bool ClientCoords,
                                               TPixelFormat PixelFormat, bool UseWindowRegion) {
  if (!Control) return nullptr;
  return RenderWindowToBitmap(Control, nullptr, Control, PixelFormat, UseWindowRegion, ClientCoords, Rect);
}

std::unique_ptr<TBitmap> RenderWindowToBitmap(QWidget* Window, QWidget* StopWindow, QWidget* Control,
                                              TPixelFormat PixelFormat, bool UseWindowRegion,
                                              bool ClientCoords, const TRect& Rect) {
  // Widgets moved or resized since the last event loop pass are laid out before they are painted.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);

  // Widgets are painted at the device pixel ratio they are shown at: the bitmap holds Rect's
  // device pixels, and the capture works in them (device_scale.h).
  const double Ratio = DevicePixelRatioOf(Window);
  const TPaintScaleScope Scale(Ratio);
  const int Width = ToDevicePixels(std::max(0, Rect.Width()), Ratio);
  const int Height = ToDevicePixels(std::max(0, Rect.Height()), Ratio);
  const TPoint Corner = ToDevicePixels(Rect.TopLeft(), Ratio);
  auto Result = std::make_unique<TBitmap>();
  SetupBitmap(*Result, nullptr, Width, Height, PixelFormat);
  // Widgets are painted at full depth and converted once: a capture in any format then shows
  // what the screen would show at that depth, text edges included.
  std::unique_ptr<TBitmap> Deep;
  TBitmap* Painted = Result.get();
  if (Result->PixelFormat() != pf32bit) {
    Deep = std::make_unique<TBitmap>(Width, Height, pf32bit);
    Painted = Deep.get();
  }

  struct TCapture {
    TBitmap* Previous;
    TCanvas& Canvas;
    TCapture(TBitmap* Bitmap) : Previous(std::exchange(GCurrentRenderBitmap, Bitmap)), Canvas(Bitmap->Canvas()) {
      Canvas.Lock();
    }
    ~TCapture() {
      Canvas.SelectClipRect(nullptr);
      Canvas.SetWindowOrigin({0, 0});
      Canvas.Unlock();
      GCurrentRenderBitmap = Previous;
    }
  };
  // Rect's corner in the window's widget coordinates: (window coordinates less the frame).
  TPoint Corner0 = Rect.TopLeft();
  if (ClientCoords && !IsMaximizedMDIChild(Control ? Control : Window)) {
    const TPoint Offset = GetClientOffset(Control ? Control : Window);
    Corner0 = {Corner0.X + Offset.X, Corner0.Y + Offset.Y};
  }
  const TPoint Frame = WindowClientOffset(Window);
  const QWidget* Top = Window->window();
  const QPoint InTop = Window->mapTo(Top, QPoint(Corner0.X - Frame.X, Corner0.Y - Frame.Y));
  struct TPlaceScope {
    TCapturePlace Previous;
    explicit TPlaceScope(TCapturePlace Now) : Previous(std::exchange(GCapturePlace, Now)) {}
    ~TPlaceScope() { GCapturePlace = Previous; }
  } Place({Painted, Top, QPointF(ToDevicePixels(InTop.x(), Ratio), ToDevicePixels(InTop.y(), Ratio)), Ratio});
  {
    TCapture Capture(Painted);
    Capture.Canvas.SetWindowOrigin(Corner);
    Capture.Canvas.SelectClipRegion(QRegion(0, 0, Width, Height));
    RenderWindowTree(Window, StopWindow, Control, UseWindowRegion, ClientCoords,
                     Bounds(Corner.X, Corner.Y, Width, Height), Capture.Canvas);
  }
  if (Deep) ConvertPixels(*Deep, *Result);
  return Result;
}

void RenderWindowTree(QWidget* Window, QWidget* StopWindow, QWidget* Control, bool UseWindowRegion,
                      bool ClientCoords, const TRect& Rect, TCanvas& Target) {
  if (!Window || Window == StopWindow || !IsWindowShowing(Window)) return;
  if (!Control) Control = Window;
  PrepareUnshownWindow(Window);
  const TCaptureRootScope Root(Window);
  TCanvasStateGuard Guard(Target);
  TRect WindowRect = Rect;
  if (ClientCoords && !IsMaximizedMDIChild(Control)) {
    const TPoint Offset = Scaled(GetClientOffset(Control));
    OffsetRect(WindowRect, Offset.X, Offset.Y);
    Target.SetWindowOrigin(Shifted(Target.WindowOrigin(), Offset));
  }
  RenderSingleWindow(Window, StopWindow, UseWindowRegion, false, WindowRect, Target, Control);
}

void RenderSingleWindow(QWidget* Window, QWidget* StopWindow, bool UseWindowRegion, bool MustBeVisible,
                        const TRect& Rect, TCanvas& Target, QWidget* Control) {
  if (!Window) return;
  if (!Control) Control = Window;
  if (IsRenderWindow(Window)) return;
  TTERegControl Entry;
  ResolveControlEntry(Window, Control, Entry);
  if (MustBeVisible && !IsWindowShowing(Window)) return;

  TCanvasStateGuard Guard(Target);
  const TRect WindowRect = Scaled(WindowBounds(Window));
  QRegion Region(0, 0, WindowRect.Width(), WindowRect.Height());
  if (UseWindowRegion && !IsMaximizedMDIChild(Window) && HasWindowRegion(Window)) {
    // The mask is in widget coordinates, which start at the client area.
    const TPoint Offset = WindowClientOffset(Window);
    Region = ToDevicePixels(Window->mask().translated(Offset.X, Offset.Y), PaintScale());
  }
  const TPoint Origin = Target.WindowOrigin();
  Target.SelectClipRegion(Target.ClipRegion().intersected(Region.translated(-Origin.X, -Origin.Y)));
  // Nothing of it, nor of its children, can show.
  if (!Target.ClipRegion().isEmpty() && !Rect.IsEmpty()) PaintWindow(Window, StopWindow, Entry, Rect, Target);
}

void PaintWindow(QWidget* Window, QWidget* StopWindow, const TTERegControl& Entry, const TRect& Rect,
                 TCanvas& Target) {
  std::uint32_t F = Entry.Flags;
  if (F & rfPaintCopyMask) {
    // A focused widget with both areas' modes is painted normally; otherwise by its paint event
    // alone, in the paint-copy way.
    if ((F & rfNCModeMask) && (F & rfClientModeMask) && Window->hasFocus())
      F &= ~rfPaintCopyMask;
    else
      F &= ~rfModeMask;
  }
  const bool WantNC = F & rfPaintNC, WantClient = F & rfPaintClient;
  // One painter for both areas paints the whole window at once.
  const bool WholeByNC = (WantNC && WantClient && Entry.ClientProc && Entry.ClientProc == Entry.NonClientProc) ||
                         (F & rfPaintCopyMask);
  const TPoint Offset = Scaled(WindowClientOffset(Window));
  const TRect Client = Scaled(WindowClientBounds(Window));
  const TPoint Origin = Target.WindowOrigin();

  {
    TCanvasStateGuard ClipGuard(Target);
    Target.SetWindowOrigin({Origin.X - Offset.X, Origin.Y - Offset.Y});
    Target.IntersectClipRect(Client);
    if (WantClient && !WholeByNC) {
      auto Paint = [&](TCanvas& C) { PaintClient(Window, Entry, F, C); };
      if (F & rfClientViaBitmap)
        PaintViaBitmap(Target, Client, Paint);
      else
        PaintWithBrushOrigin(Target, Paint);
    }
    Target.SetWindowOrigin(Origin);
    PaintChildWindows(Window, StopWindow, Rect, Target);
  }

  const TRect WindowRect = Scaled(WindowBounds(Window));
  const bool HasNCArea = WindowRect.Width() != Client.Width() || WindowRect.Height() != Client.Height();
  auto Paint = [&](TCanvas& C) { PaintNonClient(Window, Entry, F, C); };
  if (WholeByNC) {
    if (F & (rfNCViaBitmap | rfClientViaBitmap))
      PaintViaBitmap(Target, WindowRect, Paint);
    else
      PaintWithBrushOrigin(Target, Paint);
  } else if (WantNC && HasNCArea) {
    TCanvasStateGuard ClipGuard(Target);
    Target.ExcludeClipRect(Bounds(Offset.X, Offset.Y, Client.Width(), Client.Height()));
    if (F & rfNCViaBitmap)
      PaintViaBitmap(Target, WindowRect, Paint);
    else
      PaintWithBrushOrigin(Target, Paint);
  }
}

void PaintChildWindows(QWidget* Window, QWidget* StopWindow, const TRect& Rect, TCanvas& Target) {
  const TPoint Offset = WindowClientOffset(Window);
  const QObjectList Children = Window->children();  // a shared copy: painting may add children
  // Of an MDI area with a maximised child only that child shows.
  QWidget* Only = nullptr;
  if (IsMDIClientWithMaximizedChild(Window))
    for (QObject* Child : Children)
      if (QWidget* W = qobject_cast<QWidget*>(Child); W && !W->isWindow() && IsWindowShowing(W)) Only = W;

  const TPoint Origin = Target.WindowOrigin();
  for (QObject* Child : Children) {
    QWidget* W = qobject_cast<QWidget*>(Child);
    if (!W || W->isWindow()) continue;
    if (W == StopWindow) break;
    if ((Only && W != Only) || !IsWindowShowing(W)) continue;
    const QRect G = W->geometry();
    const TRect Placed = Scaled(Bounds(G.x() + Offset.X, G.y() + Offset.Y, G.width(), G.height()));
    const TPoint Position = Placed.TopLeft();
    TRect ChildRect;
    if (!IntersectRect(ChildRect, Placed, Rect)) continue;
    OffsetRect(ChildRect, -Position.X, -Position.Y);
    TCanvasStateGuard Guard(Target);
    Target.SetWindowOrigin({Origin.X - Position.X, Origin.Y - Position.Y});
    RenderSingleWindow(W, StopWindow, true, true, ChildRect, Target);
  }
}

}  // namespace vte
