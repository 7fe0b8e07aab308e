#include "container/background_options.h"

#include <QEvent>
#include <QList>
#include <QMetaProperty>
#include <QVariant>
#include <algorithm>

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
      // Shown, so that it lays itself out and counts as visible, but kept off the screen
      // altogether: a window region of one pixel would still show that pixel, and several
      // platforms (offscreen, some Wayland compositors) ignore window masks.
      Form->setAttribute(Qt::WA_DontShowOnScreen);
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
  if (FOwnerControl != Control) {
    if (FOwnerControl) FOwnerControl->removeEventFilter(this);
    if (Control) Control->installEventFilter(this);
    FOwnerControl = Control;
  }
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

bool TFCBackgroundOptions::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == FOwnerControl) {
    switch (Event->type()) {
      case QEvent::ParentChange: AttachTo(FOwnerControl); break;
      // Inherited pictures, forms and glass are laid from another control's corner.
      case QEvent::Move:
      case QEvent::Resize:
        if (IsActive()) PositionChanged();
        break;
      default: break;
    }
  }
  return QObject::eventFilter(Watched, Event);
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

void TFCBackgroundOptions::Changed() {
  if (!FOwnerControl) return;
  // Only a palette picture in use asks the screen for its colours.
  const TPalette Palette = IsActive() && FPictureInUse ? PictureSource().GetPalette() : TPalette();
  if (Palette.empty())
    FOwnerControl->setProperty("vtePalette", QVariant());
  else
    FOwnerControl->setProperty("vtePalette", QVariant::fromValue(QList<QRgb>(Palette.begin(), Palette.end())));
  Invalidate();
}

TPalette TFCBackgroundOptions::GetPalette() const {
  if (FPicture.Empty()) return {};
  const TBitmap& B = const_cast<TPicture&>(FPicture).Bitmap();
  return B.PixelFormat() == pf8bit || B.PixelFormat() == pf4bit || B.PixelFormat() == pf1bit ? B.Palette() : TPalette();
}

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
