#include "render/control_paint.h"

#include <QImage>
#include <QMetaObject>
#include <QPixmap>
#include <QWidget>
#include <cmath>
#include <memory>
#include <utility>

#include "gdi/canvas.h"
#include "render/canvas_painter.h"
#include "render/canvas_state_guard.h"
#include "render/control_render.h"
#include "render/device.h"
#include "render/device_scale.h"
#include "render/paint_exception_trap.h"
#include "render/render_modes.h"
#include "render/window_facts.h"

namespace vte {

namespace {

QWidget* GCaptureRoot = nullptr;

// The widget being rendered into a canvas it paints in place, innermost first.
struct TCapturePainting {
  const QWidget* Control;
  TCanvas* Canvas;
};
TCapturePainting GCapturePainting{nullptr, nullptr};

// The widget painted alone into the canvas, its (0,0) at the canvas's logical (0,0).
void RenderWidget(QWidget* Control, TCanvas& Target, bool WindowBackground) {
  QPointF Exact;
  const bool Known = PaintScale() != 1 && ExactCapturePosition(Control, Target, Exact);
  TCanvasPainter Painter(Target, Scaled(WindowClientBounds(Control)), Known ? &Exact : nullptr);
  if (Painter.IsEmpty()) return;
  // What may be painted, in the widget's own (logical) coordinates.
  const QRegion& Source = Painter.PainterClip();
  TPaintExceptionTrap Trap(Control);
  // A widget that lies between device pixels paints what it paints through a bitmap of its own as
  // it does on the screen: into that bitmap, drawn at its place between the pixels.
  const bool Between = Known && (Exact.x() != std::round(Exact.x()) || Exact.y() != std::round(Exact.y()));
  const bool InPlace = TCanvasPainter::PaintsInPlace(Target.Bitmap()->PixelFormat()) && !Between;
  struct TScope {
    TCapturePainting Previous;
    TScope(TCapturePainting Now) : Previous(std::exchange(GCapturePainting, Now)) {}
    ~TScope() { GCapturePainting = Previous; }
  } Scope({InPlace ? Control : nullptr, InPlace ? &Target : nullptr});
  // render() places the top-left of the source region's bounding box at the target offset.
  Control->render(&Painter.Painter(), Source.boundingRect().topLeft(), Source,
                  WindowBackground ? QWidget::DrawWindowBackground : QWidget::RenderFlags());
  Trap.Rethrow();
  Painter.Finish();
}

bool PaintsWindowBackground(const QWidget* Control) {
  return Control->isWindow() || !GCaptureRoot || GCaptureRoot == Control;
}

void CopyFromScreen(const QRect& ScreenRect, TCanvas& Target) {
  if (ScreenRect.isEmpty()) return;
  const std::unique_ptr<TBitmap> Copy = CaptureScreenRect(
      Bounds(ScreenRect.x(), ScreenRect.y(), ScreenRect.width(), ScreenRect.height()), pf32bit);
  Target.BitBlt(0, 0, Copy->Width(), Copy->Height(), Copy->Canvas(), 0, 0, SRCCOPY);
}

}  // namespace

QWidget* SetCaptureRoot(QWidget* Root) { return std::exchange(GCaptureRoot, Root); }

TCanvas* CaptureCanvasOf(const QWidget* Control) {
  return Control && GCapturePainting.Control == Control ? GCapturePainting.Canvas : nullptr;
}

void PrintClient(QWidget* Control, TCanvas& Target) {
  RenderWidget(Control, Target, PaintsWindowBackground(Control));
}

void SendEraseAndPaint(QWidget* Control, TCanvas& Target) {
  RenderWidget(Control, Target, PaintsWindowBackground(Control));
}

void PaintAsCopy(QWidget* Control, TCanvas& Target) {
  if (Control) RenderWidget(Control, Target, false);
}

void PrintNonClient(QWidget* Control, TCanvas& Target) {
  if (Control && Control->isWindow()) DrawOwnBorder(Control, Target);
}

void DrawOwnBorder(QWidget* Control, TCanvas& Target) {
  if (!Control) return;
  TCanvasStateGuard Guard(Target);
  const TRect Window = Scaled(WindowBounds(Control));
  const TPoint Offset = WindowClientOffset(Control);
  TRect Client = WindowClientBounds(Control);
  OffsetRect(Client, Offset.X, Offset.Y);
  Target.ExcludeClipRect(Scaled(Client));
  Target.Brush().Style = bsSolid;
  Target.Brush().Bitmap = nullptr;
  Target.Brush().Color = ControlColor(Control);
  Target.FillRect(Window);
  Target.Brush().Color = QRgbToColor(Control->palette().color(QPalette::Dark).rgb());
  Target.FrameRect(Window);
}

void OleDrawControl(QWidget* Control, TCanvas& Target) {
  QImage Picture;
  // Framebuffer widgets of later Qt versions publish the grab; otherwise grab() reaches it too
  // (Qt draws a render-to-texture widget's framebuffer when it is rendered off the screen).
  if (Control->metaObject()->indexOfMethod("grabFramebuffer()") >= 0)
    QMetaObject::invokeMethod(Control, "grabFramebuffer", Qt::DirectConnection, Q_RETURN_ARG(QImage, Picture));
  if (Picture.isNull()) Picture = Control->grab().toImage();
  TCanvasPainter Painter(Target, Scaled(WindowClientBounds(Control)));
  if (Painter.IsEmpty()) return;
  Painter.Painter().drawImage(QRect(0, 0, Control->width(), Control->height()), Picture);
  Painter.Finish();
}

void PaintClientIntercepted(QWidget* Control, TCanvas& Target) {
  if (!Control->isVisible()) {
    SendEraseAndPaint(Control, Target);
    return;
  }
  CopyFromScreen(QRect(Control->mapToGlobal(QPoint(0, 0)), Control->size()), Target);
}

void PaintNonClientIntercepted(QWidget* Control, TCanvas& Target) {
  if (Control->isWindow() && Control->isVisible()) CopyFromScreen(Control->frameGeometry(), Target);
}

void PaintClient(QWidget* Control, const TTERegControl& Entry, std::uint32_t Flags, TCanvas& Target) {
  TCanvasStateGuard Guard(Target);
  if (Flags & rfClientPrint)
    PrintClient(Control, Target);
  else if (Flags & rfClientPaintMessages)
    SendEraseAndPaint(Control, Target);
  else if (Flags & rfClientCustom) {
    if (Entry.ClientProc) Entry.ClientProc(Control, Target);
  } else if (Flags & rfClientHookedPaint)
    PaintClientIntercepted(Control, Target);
  else if (Flags & rfClientOleDraw)
    OleDrawControl(Control, Target);
}

void PaintNonClient(QWidget* Control, const TTERegControl& Entry, std::uint32_t Flags, TCanvas& Target) {
  TCanvasStateGuard Guard(Target);
  // The print of a frame has no second stage on Qt: there is no frame-paint message to send.
  if (Flags & (rfNCPrint | rfNCPrintAndNCPaint))
    PrintNonClient(Control, Target);
  else if (Flags & rfNCCustom) {
    if (Control && Entry.NonClientProc) Entry.NonClientProc(Control, Target);
  } else if (Flags & rfNCPrintAndHookedNCPaint) {
    PrintNonClient(Control, Target);
    PaintNonClientIntercepted(Control, Target);
  } else if (Flags & rfPaintCopyMask) {
    // The paint event paints the client area: it goes where the client area lies in the window.
    const TPoint Offset = Scaled(WindowClientOffset(Control)), Origin = Target.WindowOrigin();
    Target.SetWindowOrigin({Origin.X - Offset.X, Origin.Y - Offset.Y});
    PaintAsCopy(Control, Target);
  }
  else
    DrawOwnBorder(Control, Target);
}

}  // namespace vte
