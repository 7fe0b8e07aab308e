#include "render/device.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <stdexcept>

#include "gdi/canvas.h"
#include "gdi/pixel_format.h"
#include "gdi/raster_op.h"
#include "render/device_scale.h"

namespace vte {

namespace {

// The two caches the whole program reads. They are filled once at start-up; a change of the
// screen's depth while the program runs is not noticed (only the test hook refreshes them).
int GScreenBits = 32;
TPixelFormat GDeviceFormat = pf32bit;
bool GCachesReady = false;
int GForcedBits = 0;  // 0: the real screen

bool HaveGuiApplication() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// What the screen reports now, or the depth a test forces.
int ReadScreenDepth() {
  if (GForcedBits != 0) return GForcedBits;
  if (!HaveGuiApplication()) return 32;
  const QScreen* Screen = QGuiApplication::primaryScreen();
  if (!Screen) return 32;
  const int Depth = Screen->depth();
  // Qt keeps 24-bit screens in 32-bit pixels too, so both get 32-bit bitmaps.
  return (Depth == 24 || Depth == 32) ? 32 : Depth;
}

void EnsureCaches() {
  if (!GCachesReady) InitializeDeviceCaches();
}

void InstallResolver() {
  SetDevicePixelFormatResolver([] { return DevicePixelFormat(); });
}

// Bitmaps made with pfDevice before anything of this layer ran must still get the screen's
// format: the resolver is installed as soon as this file is part of the program.
[[maybe_unused]] const bool GResolverInstalled = (InstallResolver(), true);

// The format of a bitmap that holds pixels the way a screen of this depth does.
TPixelFormat FormatOfDepth(int Bits) {
  switch (Bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 15: return pf15bit;
    case 16: return pf16bit;
    case 24: return pf24bit;
    default: return pf32bit;
  }
}

TRect ToTRect(const QRect& R) { return Bounds(R.x(), R.y(), R.width(), R.height()); }

QString ShortClassName(const QObject* Object) {
  const QString Name = QString::fromLatin1(Object->metaObject()->className());
  const qsizetype Colon = Name.lastIndexOf(QLatin1Char(':'));
  return Colon < 0 ? Name : Name.mid(Colon + 1);
}

const QLatin1String RenderWindowClass("TTERenderWindow");

bool AnySubWindowMaximized(const QMdiArea* Area) {
  const QList<QMdiSubWindow*> Windows = Area->subWindowList(QMdiArea::CreationOrder);
  return std::any_of(Windows.begin(), Windows.end(),
                     [](const QMdiSubWindow* W) { return W->isMaximized(); });
}

// Whether Owner is a window that Window belongs to (its parent window, that one's, ...).
bool IsOwnerWindow(const QWidget* Owner, const QWidget* Window) {
  for (const QWidget* P = Window->parentWidget(); P; P = P->parentWidget()) {
    P = P->window();
    if (P == Owner) return true;
  }
  return false;
}

bool CarriesPalette(const QWidget* Widget) {
  const QVariant Value = Widget->property("vtePalette");
  return Value.isValid() && !Value.value<QList<QRgb>>().isEmpty();
}

struct TCanvasLock {
  explicit TCanvasLock(TCanvas& C) : Canvas(C) { Canvas.Lock(); }
  ~TCanvasLock() { Canvas.Unlock(); }
  TCanvasLock(const TCanvasLock&) = delete;
  TCanvasLock& operator=(const TCanvasLock&) = delete;
  TCanvas& Canvas;
};

}  // namespace

// --- bitmaps ---------------------------------------------------------------------------------

void SetupBitmap(TBitmap& Bitmap, const TPalette* Palette, int Width, int Height, TPixelFormat PixelFormat) {
  Bitmap.SetPixelFormat(PixelFormat);
  if (PixelFormat == pf1bit) Bitmap.SetMonochrome(true);
  if (PixelFormat == pf8bit) Bitmap.SetPalette(Palette ? *Palette : CopySystemPalette());
  Bitmap.SetWidth(Width);
  Bitmap.SetHeight(Height);
}

// Qt has no system palette; the device layer's 8-bit default (colour cube plus greys, black first
// and white last) stands for it, so that screen copies and new 8-bit bitmaps agree.
TPalette CopySystemPalette() { return DefaultPalette(pf8bit); }

// --- coordinates -----------------------------------------------------------------------------

TPoint GetClientOffset(const QWidget* Control) {
  if (!Control) return {};
  const TPoint Origin = ControlClientOrigin(Control);
  const TRect Window = ControlWindowRect(Control);
  return {Origin.X - Window.Left, Origin.Y - Window.Top};
}

QWidget* ClientWidget(const QWidget* Control) {
  if (const auto* Area = qobject_cast<const QAbstractScrollArea*>(Control))
    if (QWidget* Viewport = Area->viewport()) return Viewport;
  return const_cast<QWidget*>(Control);
}

TPoint ControlClientOrigin(const QWidget* Control) { return ControlClientToScreen(Control, {0, 0}); }

TPoint ControlScreenToClient(const QWidget* Control, TPoint P) {
  if (!Control) return P;
  const QPoint Q = ClientWidget(Control)->mapFromGlobal(QPoint(P.X, P.Y));
  return {Q.x(), Q.y()};
}

TPoint ControlClientToScreen(const QWidget* Control, TPoint P) {
  if (!Control) return P;
  const QPoint Q = ClientWidget(Control)->mapToGlobal(QPoint(P.X, P.Y));
  return {Q.x(), Q.y()};
}

TRect ControlClientRect(const QWidget* Control) {
  return Rect(0, 0, ControlClientWidth(Control), ControlClientHeight(Control));
}

int ControlClientHeight(const QWidget* Control) { return Control ? ClientWidget(Control)->height() : 0; }

int ControlClientWidth(const QWidget* Control) { return Control ? ClientWidget(Control)->width() : 0; }

TRect ControlWindowRect(const QWidget* Control) {
  if (!Control) return {};
  if (Control->isWindow()) return ToTRect(Control->frameGeometry());
  const QPoint TopLeft = Control->mapToGlobal(QPoint(0, 0));
  return Bounds(TopLeft.x(), TopLeft.y(), Control->width(), Control->height());
}

// --- the screen's format ---------------------------------------------------------------------

void InitializeDeviceCaches() {
  GCachesReady = true;  // before the refresh: the refresh reads the caches it fills
  InstallResolver();
  ScreenBitsPerPixel(true);
  DevicePixelFormat(true);
  // Before the application object exists there is no screen to ask: try again on the next use.
  if (!HaveGuiApplication() && GForcedBits == 0) GCachesReady = false;
}

int ScreenBitsPerPixel(bool Refresh) {
  if (Refresh)
    GScreenBits = ReadScreenDepth();
  else
    EnsureCaches();
  return GScreenBits;
}

void ForceScreenBitsPerPixel(int Bits) {
  GForcedBits = Bits;
  InitializeDeviceCaches();
}

TPixelFormat DetectHighColorFormat() {
  // Green levels 0..255 are written into a pixel of the kind the screen keeps and read back;
  // a 5-6-5 pixel shows 64 different greens, a 5-5-5 one 32.
  TBitmap Probe(10, 10, FormatOfDepth(ScreenBitsPerPixel()));
  if (Probe.PixelFormat() == pf8bit) Probe.SetPalette(CopySystemPalette());
  TCanvas& Canvas = Probe.Canvas();
  int PreviousGreen = 255;
  int Changes = 0;
  for (int G = 0; G <= 255; ++G) {
    Canvas.SetPixel(1, 1, RGB(0, G, 0));
    const int Green = GetGValue(Canvas.Pixel(1, 1));
    if (Green != PreviousGreen) ++Changes;
    PreviousGreen = Green;
  }
  return Changes > 32 ? pf16bit : pf15bit;
}

TPixelFormat DevicePixelFormat(bool Refresh) {
  switch (ScreenBitsPerPixel(Refresh)) {
    case 1: GDeviceFormat = pf1bit; break;
    case 4: GDeviceFormat = pf4bit; break;
    case 8: GDeviceFormat = pf8bit; break;
    case 15: GDeviceFormat = pf15bit; break;
    case 16:
      // Counting greens takes a bitmap and 256 pixel round trips: only on a refresh.
      if (Refresh) GDeviceFormat = DetectHighColorFormat();
      break;
    case 32: GDeviceFormat = pf32bit; break;
    default: GDeviceFormat = pf24bit; break;
  }
  return GDeviceFormat;
}

int PixelFormatBits(TPixelFormat PixelFormat) {
  if (PixelFormat == pfCustom) return PixelFormatBits(DevicePixelFormat());
  return PixelFormatStorageBits(PixelFormat);
}

int BitmapScanlineBytes(const TBitmap& Bitmap, TPixelFormat PixelFormat, int Alignment) {
  if (PixelFormat == pfDevice || PixelFormat == pfCustom) return 0;
  if (Alignment < 1) Alignment = 8;
  const long long Bits = static_cast<long long>(Bitmap.Width()) * PixelFormatBits(PixelFormat) + Alignment - 1;
  return static_cast<int>(Bits / Alignment * Alignment / 8);
}

bool IsPaletteDevice(bool Refresh) { return ScreenBitsPerPixel(Refresh) == 8; }

bool DeviceShowsSmoothEdges() {
  const TPixelFormat Device = DevicePixelFormat();
  return Device >= pf15bit && Device <= pf32bit;
}

bool IsHighColorDevice(bool Refresh) { return ScreenBitsPerPixel(Refresh) > 8; }

// --- MDI -------------------------------------------------------------------------------------

bool IsMaximizedMDIChild(const QWidget* Control) {
  const auto* Sub = qobject_cast<const QMdiSubWindow*>(Control);
  if (!Sub) return false;
  const QMdiArea* Area = Sub->mdiArea();
  if (!Area) return false;
  return Sub->isMaximized() || AnySubWindowMaximized(Area);
}

bool IsMDIClientWithMaximizedChild(const QWidget* Window) {
  if (!Window) return false;
  const auto* Area = qobject_cast<const QMdiArea*>(Window);
  if (!Area) {
    // The viewport is the part of the area that shows the subwindows.
    const auto* Parent = qobject_cast<const QMdiArea*>(Window->parentWidget());
    if (Parent && Parent->viewport() == Window) Area = Parent;
  }
  return Area && AnySubWindowMaximized(Area);
}

bool IsMDIFormWithMaximizedChild(const QWidget* Control) {
  if (!Control || !Control->isWindow()) return false;
  const QList<QMdiArea*> Areas = Control->findChildren<QMdiArea*>();
  return std::any_of(Areas.begin(), Areas.end(), [Control](const QMdiArea* Area) {
    return Area->window() == Control && AnySubWindowMaximized(Area);
  });
}

// --- screen copies and solid bitmaps ---------------------------------------------------------

std::unique_ptr<TBitmap> CaptureScreenRect(const TRect& ScreenRect, TPixelFormat PixelFormat) {
  const int Width = std::max(0, ScreenRect.Width()), Height = std::max(0, ScreenRect.Height());
  auto Result = std::make_unique<TBitmap>();
  if (Width == 0 || Height == 0) {
    SetupBitmap(*Result, nullptr, Width, Height, PixelFormat);
    return Result;
  }

  QScreen* Screen = nullptr;
  if (HaveGuiApplication()) {
    Screen = QGuiApplication::screenAt(QPoint(ScreenRect.Left, ScreenRect.Top));
    if (!Screen) Screen = QGuiApplication::primaryScreen();
  }
  if (!Screen) throw std::runtime_error("CaptureScreenRect: there is no screen to copy from");
  // The copy keeps the screen's device pixels: scaled to the logical size it would lose exactly
  // the sharpness the transition must keep.
  const double Ratio = Screen->devicePixelRatio();
  const int DeviceWidth = ToDevicePixels(Width, Ratio), DeviceHeight = ToDevicePixels(Height, Ratio);
  SetupBitmap(*Result, nullptr, DeviceWidth, DeviceHeight, PixelFormat);
  // The platforms take the (logical) rectangle relative to the screen they grab.
  const QRect Geometry = Screen->geometry();
  const QPixmap Shot =
      Screen->grabWindow(0, ScreenRect.Left - Geometry.left(), ScreenRect.Top - Geometry.top(), Width, Height);
  if (Shot.isNull()) throw std::runtime_error("CaptureScreenRect: the screen cannot be copied");
  QImage Image = Shot.toImage();
  // A platform that copies the screen in logical pixels: the best left is its picture scaled up
  // (whoever can paint instead does, see ScreenCopiesDevicePixels).
  if (Image.width() < DeviceWidth - 1 || Image.height() < DeviceHeight - 1)
    Image = Image.scaled(DeviceWidth, DeviceHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  TBitmap Copy = TBitmap::FromQImage(Image);

  // The platform rounds the device rectangle its own way: a pixel more or less at the far edges
  // is taken from what it gave, or left as the new bitmap's.
  TCanvasLock Lock(Result->Canvas());
  Result->Canvas().BitBlt(0, 0, std::min(DeviceWidth, Copy.Width()), std::min(DeviceHeight, Copy.Height()),
                          Copy.Canvas(), 0, 0, SRCCOPY);
  return Result;
}

bool ScreenCanBeCopied() {
  static int Known = -1;
  if (Known < 0) {
    if (!HaveGuiApplication()) return false;
    QScreen* Screen = QGuiApplication::primaryScreen();
    Known = Screen && !Screen->grabWindow(0, 0, 0, 1, 1).isNull();
  }
  return Known == 1;
}

bool ScreenCopiesDevicePixels() {
  static int Known = -1;
  if (Known < 0) {
    if (!HaveGuiApplication()) return true;
    QScreen* Screen = QGuiApplication::primaryScreen();
    if (!Screen || Screen->devicePixelRatio() == 1) return true;
    const QPixmap Shot = Screen->grabWindow(0, 0, 0, 4, 4);
    Known = !Shot.isNull() && Shot.width() >= ToDevicePixels(4, Screen->devicePixelRatio());
  }
  return Known == 1;
}

std::unique_ptr<TBitmap> CreateSolidBitmap(const QWidget* Control, int Width, int Height,
                                           TPixelFormat PixelFormat, const TPalette* Palette, TColor Color) {
  auto Result = std::make_unique<TBitmap>();
  SetupBitmap(*Result, Palette, Width, Height, PixelFormat);
  TCanvas& Canvas = Result->Canvas();
  Canvas.Brush().Color = Color == clNone ? ControlColor(Control) : Color;
  TCanvasLock Lock(Canvas);
  Canvas.FillRect(Rect(0, 0, Width + 1, Height + 1));
  return Result;
}

TColor ControlColor(const QWidget* Control) {
  if (!Control) return ColorToRGB(clBtnFace);
  return QRgbToColor(Control->palette().color(Control->backgroundRole()).rgb());
}

// --- what the screen shows -------------------------------------------------------------------

const QScrollBar* ShownScrollBar(const QWidget* Control, Qt::Orientation Kind) {
  const auto* Area = qobject_cast<const QAbstractScrollArea*>(Control);
  if (!Area) return nullptr;
  const bool Horizontal = Kind == Qt::Horizontal;
  const QScrollBar* Bar = Horizontal ? Area->horizontalScrollBar() : Area->verticalScrollBar();
  if (!Bar) return nullptr;
  const Qt::ScrollBarPolicy Policy =
      Horizontal ? Area->horizontalScrollBarPolicy() : Area->verticalScrollBarPolicy();
  // The area hides a bar by hiding its container, so visibility is asked relative to the area.
  if (Policy != Qt::ScrollBarAlwaysOn && !Bar->isVisibleTo(Area)) return nullptr;
  return Bar->minimum() == 0 && Bar->maximum() == 0 ? nullptr : Bar;
}

bool HasScrollBar(const QWidget* Control, Qt::Orientation Kind) { return ShownScrollBar(Control, Kind); }

bool IsRectObscured(const QWidget* Control, const TRect& ScreenRect) {
  if (!Control) return false;
  const QScreen* Screen = HaveGuiApplication() ? QGuiApplication::primaryScreen() : nullptr;
  if (!Screen) return true;  // nothing shows at all
  const TRect ScreenBounds = ToTRect(Screen->geometry());
  TRect Union;
  UnionRect(Union, ScreenRect, ScreenBounds);
  if (Union != ScreenBounds) return true;

  TRect Overlap;
  // Every level of the parent chain: the rectangle must lie in the client area, and no shown
  // sibling may overlap it (whether it lies above or below, its painting may reach the area).
  const QWidget* Current = Control;
  while (!Current->isWindow() && Current->parentWidget()) {
    const QWidget* Parent = Current->parentWidget();
    for (const QObject* Child : Parent->children()) {
      const auto* Sibling = qobject_cast<const QWidget*>(Child);
      if (!Sibling || Sibling->isWindow()) continue;
      if (Sibling == Current) {
        const TPoint A = ControlClientToScreen(Current, {0, 0});
        const TPoint B = ControlClientToScreen(Current, {ControlClientWidth(Current), ControlClientHeight(Current)});
        if (!RectContains(Rect(A.X, A.Y, B.X, B.Y), ScreenRect)) return true;
      } else if (Sibling->isVisible() && ShortClassName(Sibling) != RenderWindowClass) {
        const QPoint TopLeft = Parent->mapToGlobal(Sibling->geometry().topLeft());
        if (IntersectRect(Overlap, Bounds(TopLeft.x(), TopLeft.y(), Sibling->width(), Sibling->height()), ScreenRect))
          return true;
      }
    }
    Current = Parent;
  }

  // Other top-level windows. Qt does not tell the stacking order of top-level windows, so the
  // rule is: the windows the control's window belongs to (its parent window, that one's, ...) are
  // below it, as window managers keep a window above the window it belongs to; every other
  // visible, not minimised window of the program (dialogs, tool windows, menus, tool tips,
  // windows owned by the control's window) may be above it and counts when it overlaps. Taking a
  // window below for one above only costs the slower painting way.
  const QWidget* Own = Control->window();
  const QWidgetList Windows = QApplication::topLevelWidgets();
  for (const QWidget* Window : Windows) {
    if (Window == Own || IsOwnerWindow(Window, Own)) continue;
    if (!Window->isVisible() || Window->isMinimized()) continue;
    if (ShortClassName(Window).compare(RenderWindowClass, Qt::CaseInsensitive) == 0) continue;
    if (IntersectRect(Overlap, ControlWindowRect(Window), ScreenRect)) return true;
  }
  return false;
}

bool RealizeControlPalettes(const QWidget* Control, bool ForceBackground) {
  if (!Control || !IsPaletteDevice()) return false;
  bool Result = false;
  if (CarriesPalette(Control)) {
    // Qt drives no hardware palette, so realising changes nothing on the screen; the walk still
    // tells the caller whether the area shows palette pictures. The first palette found would be
    // realised in the foreground unless the caller forces the background; all later ones go to
    // the background.
    ForceBackground = true;
    Result = true;
  }
  // Children from the top of the stacking order down; "shown" is the widget's own flag, so that
  // a tree that is not on the screen yet is walked like one that is.
  const QObjectList& Children = Control->children();
  for (auto It = Children.rbegin(); It != Children.rend(); ++It) {
    const auto* Child = qobject_cast<const QWidget*>(*It);
    if (!Child || Child->isWindow() || Child->isHidden()) continue;
    if (RealizeControlPalettes(Child, ForceBackground)) {
      ForceBackground = true;
      Result = true;
    }
  }
  return Result;
}

bool HasWindowRegion(const QWidget* Window) { return Window && !Window->mask().isEmpty(); }

bool WindowMasksShapeTheScreen() {
  return HaveGuiApplication() && QGuiApplication::platformName() == QLatin1String("xcb");
}

QRegion OffWindowRegion() { return QRegion(-1, -1, 1, 1); }

}  // namespace vte
