#include "container/background_options.h"

#include <QMetaProperty>
#include <QScrollBar>
#include <algorithm>

#include <cmath>

#include "gdi/canvas.h"
#include "pixel/blend_work.h"
#include "render/device.h"

namespace vte {

namespace {

// Field := Value; whether that changed it.
template <class T> bool Assigned(T& Field, T Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

}  // namespace

TFCBackgroundOptions::TFCBackgroundOptions(QObject* Owner) : QObject(Owner) {
  // Whoever changes the picture through Picture() reaches the widgets as a setter would.
  FPicture.OnChange = [this](TPicture&) { Propagate(kPicture); };
}

TFCBackgroundOptions::~TFCBackgroundOptions() {
  FPicture.OnChange = nullptr;
  if (FOwnerControl && IsActive()) FOwnerControl->update();
  Leave();
  for (TFCBackgroundOptions* Child : FChildren) Child->FParentOptions = nullptr;
  FChildren.clear();
  FreeBkgrndForm();
}

// --- setters ---

void TFCBackgroundOptions::SetOpaque(bool V) {
  FParentOpaque = false;
  if (Assigned(FOpaque, V)) Propagate(kOpaque);
}

void TFCBackgroundOptions::SetParentOpaque(bool V) {
  if (Assigned(FParentOpaque, V)) Propagate(kOpaque);
}

void TFCBackgroundOptions::SetBkgrndFormVisible(bool V) {
  if (Assigned(FBkgrndFormVisible, V)) Invalidate();
}

void TFCBackgroundOptions::SetParentBkgrndForm(bool V) {
  if (!Assigned(FParentBkgrndForm, V)) return;
  if (V) FreeBkgrndForm();
  Propagate(kBkgrndForm);
}

void TFCBackgroundOptions::SetPicture(const TPicture& V) {
  FParentPicture = false;
  // The picture's own change notice propagates.
  FPicture.Assign(V);
}

void TFCBackgroundOptions::SetParentPicture(bool V) {
  if (!Assigned(FParentPicture, V)) return;
  if (V) {
    auto Notice = std::move(FPicture.OnChange);
    FPicture.Clear();
    FPicture.OnChange = std::move(Notice);
  }
  Propagate(kPicture);
}

void TFCBackgroundOptions::SetPictureMode(TFCPictureMode V) {
  if (Assigned(FPictureMode, V)) Propagate(kPicture);
}

void TFCBackgroundOptions::SetPictureTranspColor(TColor V) {
  if (Assigned(FPictureTranspColor, V)) Propagate(kPicture);
}

void TFCBackgroundOptions::SetPictureVisible(bool V) {
  if (Assigned(FPictureVisible, V)) Invalidate();
}

void TFCBackgroundOptions::SetGlassColor(TColor V) {
  FParentGlass = false;
  FGlassColor = V;
  Propagate(kGlass);
}

void TFCBackgroundOptions::SetGlassTranslucency(int V) {
  FParentGlass = false;
  FGlassTranslucency = std::clamp(V, 0, 255);
  Propagate(kGlass);
}

void TFCBackgroundOptions::SetGlassVisible(bool V) {
  if (Assigned(FGlassVisible, V)) Invalidate();
}

void TFCBackgroundOptions::SetParentGlass(bool V) {
  if (Assigned(FParentGlass, V)) Propagate(kGlass);
}

// --- background form ---

void TFCBackgroundOptions::FreeBkgrndForm() {
  delete FBkgrndForm.data();
  FBkgrndForm = nullptr;
}

void TFCBackgroundOptions::SetBkgrndForm(const QMetaObject* FormClass) {
  FParentBkgrndForm = false;
  FreeBkgrndForm();
  if (FormClass) {
    TForm* Form = CreateForm(FormClass, FOwnerControl.data());
    if (Form) {
      Form->SetBorderStyle(bsNone);
      const QSize Client = FOwnerControl ? FOwnerControl->size() : Form->size();
      Form->setGeometry(-1, -1, Client.width(), Client.height());
      // Shown, so that it lays itself out and paints, but on one pixel only: it never shows.
      Form->setMask(QRegion(0, 0, 1, 1));
      Form->setAttribute(Qt::WA_ShowWithoutActivating);
      Form->show();
      FBkgrndForm = Form;
    }
  }
  Propagate(kBkgrndForm);
}

// --- the tree ---

void TFCBackgroundOptions::Leave() {
  if (!FParentOptions) return;
  auto& Siblings = FParentOptions->FChildren;
  Siblings.erase(std::remove(Siblings.begin(), Siblings.end(), this), Siblings.end());
  FParentOptions = nullptr;
}

void TFCBackgroundOptions::Join(TFCBackgroundOptions* Parent) {
  Leave();
  if (!Parent || Parent == this) return;
  FParentOptions = Parent;
  Parent->FChildren.push_back(this);
}

void TFCBackgroundOptions::GatherChildren(QWidget* Control) {
  for (QObject* Object : Control->children()) {
    auto* Child = qobject_cast<QWidget*>(Object);
    if (!Child) continue;
    if (TFCBackgroundOptions* Options = FindBackgroundOptions(Child); Options && Options != this) Options->Join(this);
    else GatherChildren(Child);
  }
}

void TFCBackgroundOptions::AttachTo(QWidget* Control) {
  Leave();
  FOwnerControl = Control;
  if (!Control) return;
  for (QWidget* Up = Control->parentWidget(); Up; Up = Up->parentWidget()) {
    if (TFCBackgroundOptions* Options = FindBackgroundOptions(Up); Options && Options != this) {
      Join(Options);
      break;
    }
  }
  // Children are gathered anew: what now lies below this control belongs here.
  for (TFCBackgroundOptions* Child : std::vector(FChildren)) Child->Leave();
  GatherChildren(Control);
}

// --- effective values ---

bool TFCBackgroundOptions::EffectiveOpaque() const {
  // Only the direct parent's transparency is inherited: a control shows what lies right below.
  if (FParentOpaque && FParentOptions && FOwnerControl &&
      FParentOptions->FOwnerControl == FOwnerControl->parentWidget())
    return FParentOptions->EffectiveOpaque();
  return FOpaque;
}

const TFCBackgroundOptions& TFCBackgroundOptions::SourceOf(TKind Kind) const {
  const TFCBackgroundOptions* O = this;
  while (O->FollowsParent(Kind) && O->FParentOptions) O = O->FParentOptions;
  return *O;
}

bool TFCBackgroundOptions::IsActive() {
  if (!FOwnerControl) {
    FOpaqueInUse = true;
    FPictureInUse = FGlassInUse = FBkgrndFormInUse = false;
    return false;
  }
  FOpaqueInUse = EffectiveOpaque();
  FGlassInUse = FGlassVisible && GlassSource().FGlassTranslucency != 255;
  const TPicture& P = PictureSource().FPicture;
  FPictureInUse = FPictureVisible && !P.Empty() && P.Width() > 0 && P.Height() > 0;
  FBkgrndFormInUse = FBkgrndFormVisible && BkgrndFormSource().FBkgrndForm;
  return !FOpaqueInUse || FGlassInUse || FBkgrndFormInUse || FPictureInUse;
}

// --- changes ---

bool TFCBackgroundOptions::FollowsParent(TKind Kind) const {
  switch (Kind) {
    case kOpaque: return FParentOpaque;
    case kPicture: return FParentPicture;
    case kBkgrndForm: return FParentBkgrndForm;
    case kGlass: return FParentGlass;
  }
  return false;
}

void TFCBackgroundOptions::Propagate(TKind Kind) {
  for (TFCBackgroundOptions* Child : std::vector(FChildren))
    if (Child->FollowsParent(Kind)) Child->Propagate(Kind);
  Changed();
}

void TFCBackgroundOptions::Changed() { Invalidate(); }

void TFCBackgroundOptions::Invalidate() {
  if (FOwnerControl) FOwnerControl->update();
}

void TFCBackgroundOptions::PositionChanged() {
  Propagate(kPicture);
  Propagate(kBkgrndForm);
  Propagate(kGlass);
}

void TFCBackgroundOptions::Assign(const TFCBackgroundOptions& Source) {
  if (&Source == this) return;
  SetParentOpaque(Source.FParentOpaque);
  if (!FParentOpaque) SetOpaque(Source.FOpaque);
  SetPictureVisible(Source.FPictureVisible);
  SetParentPicture(Source.FParentPicture);
  if (!FParentPicture) {
    SetPicture(Source.FPicture);
    SetPictureMode(Source.FPictureMode);
    SetPictureTranspColor(Source.FPictureTranspColor);
  }
  SetBkgrndFormVisible(Source.FBkgrndFormVisible);
  SetParentBkgrndForm(Source.FParentBkgrndForm);
  if (!FParentBkgrndForm && Source.FBkgrndForm) SetBkgrndForm(Source.FBkgrndForm->metaObject());
  SetGlassVisible(Source.FGlassVisible);
  SetParentGlass(Source.FParentGlass);
  if (!FParentGlass) {
    SetGlassColor(Source.FGlassColor);
    SetGlassTranslucency(Source.FGlassTranslucency);
  }
}

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

}  // namespace

TRect TFCBackgroundOptions::GetPictureRect(const QWidget* Painted) const {
  const QWidget* Owner = FOwnerControl;
  const int PW = FPicture.Width(), PH = FPicture.Height();
  if (!Owner || PW <= 0 || PH <= 0) return TRect{};
  int W = ControlClientWidth(Owner), H = ControlClientHeight(Owner);
  const int ScrollX = ScrollPosition(Owner, Qt::Horizontal, W);
  const int ScrollY = ScrollPosition(Owner, Qt::Vertical, H);
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
    OffsetRect(R, At.X - R.Left - ScrollX, At.Y - R.Top - ScrollY);
    int Unused = 0;
    OffsetRect(R, ScrollPosition(Painted, Qt::Horizontal, Unused), ScrollPosition(Painted, Qt::Vertical, Unused));
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
    for (int Y = Y0; Y < Rect.Bottom; Y += H) Canvas.Draw(X, Y, Graphic);
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
    case fcpmCenter: Canvas.Draw(PicRect.Left, PicRect.Top, Graphic); break;
    case fcpmCenterStretch:
    case fcpmStretch: Canvas.StretchDraw(PicRect, Graphic); break;
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

// --- finding a control's options ---

namespace {

TFCBackgroundOptions* AskForOptions(QObject* Object) {
  const QMetaObject* M = Object->metaObject();
  if (M->indexOfMethod("FCGetBackgroundOptions()") < 0) return nullptr;
  TFCBackgroundOptions* Answer = nullptr;
  QMetaObject::invokeMethod(Object, "FCGetBackgroundOptions", Qt::DirectConnection,
                            Q_RETURN_ARG(vte::TFCBackgroundOptions*, Answer));
  return Answer;
}

}  // namespace

TFCBackgroundOptions* FindBackgroundOptions(QWidget* Control) {
  if (!Control) return nullptr;
  const QMetaObject* M = Control->metaObject();
  if (const int I = M->indexOfProperty("BackgroundOptions"); I >= 0) {
    if (auto* Options = qobject_cast<TFCBackgroundOptions*>(M->property(I).read(Control).value<QObject*>()))
      return Options;
  }
  if (TFCBackgroundOptions* Answer = AskForOptions(Control)) return Answer;
  for (QObject* Child : Control->children())
    if (!Child->isWidgetType())
      if (TFCBackgroundOptions* Answer = AskForOptions(Child)) return Answer;
  return nullptr;
}

}  // namespace vte
