#include "engine/transition_effect.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMetaClassInfo>
#include <QMouseEvent>
#include <QWindow>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

#include "engine/errors.h"
#include "engine/render_window.h"
#include "engine/transition_list.h"
#include "render/control_render.h"
#include "render/refresh_markers.h"
#include "render/device.h"

namespace vte {

bool TransitionActive = false;

namespace {

// While a transition runs, user input does not reach the widgets. Left-button presses on the
// render window and Escape presses are kept as abort requests; everything else is dropped.
class TRunInputFilter : public QObject {
public:
  explicit TRunInputFilter(QWidget* RenderWindow) : FRenderWindow(RenderWindow) {
    qApp->installEventFilter(this);
  }
  ~TRunInputFilter() override { qApp->removeEventFilter(this); }

  bool TakeClick() { return std::exchange(FClicked, false); }
  bool TakeEscape() { return std::exchange(FEscape, false); }

protected:
  bool eventFilter(QObject* Receiver, QEvent* Event) override {
    switch (Event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton && IsRenderWindow(Receiver))
          FClicked = true;
        return true;
      case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape) FEscape = true;
        return true;
      case QEvent::MouseButtonRelease:
      case QEvent::MouseMove:
      case QEvent::KeyRelease:
      case QEvent::Wheel:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
        return true;
      default:
        return false;
    }
  }

private:
  bool IsRenderWindow(QObject* Receiver) const {
    if (!FRenderWindow) return false;
    return Receiver == FRenderWindow.data() || Receiver == static_cast<QObject*>(FRenderWindow->windowHandle());
  }

  QPointer<QWidget> FRenderWindow;
  bool FClicked = false;
  bool FEscape = false;
};

// The filter of the run in progress, if any (one transition runs at a time).
TRunInputFilter* RunFilter = nullptr;

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

}  // namespace

TTransitionEffect::TTransitionEffect(QObject* Owner)
    : QObject(Owner), FPass2Options(new TTEPass2OptionsType(this)) {
  FPass2Options->setObjectName(QStringLiteral("Pass2Options"));
}

TTransitionEffect::~TTransitionEffect() {
  SetTransitionList(nullptr);
  UnPrepare();
}

void TTransitionEffect::SetEnabled(bool V) {
  FEnabled = V;
  if (!V) UnPrepare();
}

void TTransitionEffect::SetDirection(TTEEffectDirection V) {
  if (InDirections(FAllowedDirections, V)) FDirection = V;
}

TPixelFormat TTransitionEffect::GetPixelFormat() const { return DevicePixelFormat(); }

QString TTransitionEffect::Description(const QMetaObject* Class) {
  // The first class up the chain that names itself; otherwise the class's own name.
  for (const QMetaObject* M = Class; M; M = M->superClass()) {
    const int I = M->indexOfClassInfo("Description");
    if (I >= M->classInfoOffset()) return QString::fromUtf8(M->classInfo(I).value());
  }
  QString Name = QString::fromUtf8(Class->className());
  return Name.mid(Name.lastIndexOf(QLatin1Char(':')) + 1);
}

QString TTransitionEffect::EditorClassName(const QMetaObject* Class) {
  const int I = Class->indexOfClassInfo("EditorClassName");
  return I >= 0 ? QString::fromUtf8(Class->classInfo(I).value()) : QString();
}

TTEEffectDirection TTransitionEffect::DirectionToUse() const {
  return ReversedToUse() ? ReversedDirection() : FDirection;
}

bool TTransitionEffect::ReversedToUse() const {
  const bool FirstOfTwo = FPass2Options->Reversed() && PassesToUse() == 2 && TwoPassesCapable() && !FSecondPass;
  return FirstOfTwo ? !FReversed : FReversed;
}

int TTransitionEffect::PassesToUse() const {
  switch (FPassSetting) {
    case teOnePass: return 1;
    case teTwoPasses: return 2;
    case tePaletteDependent: return IsPaletteDevice() ? 2 : 1;
  }
  return 1;
}

void TTransitionEffect::Assign(const TTransitionEffect& Source) {
  if (&Source == this) return;
  FMilliseconds = Source.FMilliseconds;
  FPass2Options->Assign(*Source.FPass2Options);
  FPassSetting = Source.FPassSetting;
  ForceRendering = Source.ForceRendering;
  PreferRendering = Source.PreferRendering;
  ForceScreenCopy = Source.ForceScreenCopy;
  ClientCoordinates = Source.ClientCoordinates;
  SetEnabled(Source.FEnabled);
  FFlickerFreeWhenDisabled = Source.FFlickerFreeWhenDisabled;
  SetDirection(Source.FDirection);
  FReversed = Source.FReversed;
  FAbortOnClick = Source.FAbortOnClick;
  FAbortOnEscape = Source.FAbortOnEscape;
}

// --- list membership ---

void TTransitionEffect::SetTransitionList(TTransitionList* List) {
  if (List == FTransitionList) return;
  if (FTransitionList) FTransitionList->Remove(this);
  if (List) List->Add(this);
}

int TTransitionEffect::Index() const { return FTransitionList ? FTransitionList->IndexOf(this) : -1; }

void TTransitionEffect::SetIndex(int Value) {
  if (FTransitionList) FTransitionList->Move(this, Value);
}

// --- Prepare ---

bool TTransitionEffect::FindControlToCover(QWidget*& Control, TRect& Rect) {
  // Moving up converts the rectangle into the parent's client coordinates.
  auto MoveUp = [&] {
    const TPoint Offset = FClientCoordinatesInUse ? GetClientOffset(Control) : TPoint{};
    OffsetRect(Rect, Control->x() + Offset.X, Control->y() + Offset.Y);
    FClientCoordinatesInUse = true;
    Control = Control->parentWidget();
  };
  for (bool First = true;; First = false) {
    if (!First) {
      if (!Control->parentWidget()) return false;
      MoveUp();
      // A tab page is never covered itself: from the page stack go on to its tab widget.
      if (qobject_cast<QStackedWidget*>(Control) && qobject_cast<QTabWidget*>(Control->parentWidget())) MoveUp();
    }
    if (Control->isVisible()) return true;
    if (!Control->parentWidget()) return false;
  }
}

bool TTransitionEffect::Prepare(QWidget* Control, const TRect& Rect) {
  if (FPrepared) UnPrepare();
  if (FRenderWindowReady) ReleaseRenderWindow();
  if (!CanRun() || TransitionActive || !Control) return false;
  FClientCoordinatesInUse = ClientCoordinates;

  TRect R = Rect;
  if (!FindControlToCover(Control, R)) return false;

  const TPoint O = GetClientOffset(Control);
  if (!FClientCoordinatesInUse && R.Left >= O.X && R.Top >= O.Y &&
      ControlClientWidth(Control) >= R.Right - O.X && ControlClientHeight(Control) >= R.Bottom - O.Y) {
    OffsetRect(R, -O.X, -O.Y);
    FClientCoordinatesInUse = true;
  }
  const TPoint TopLeft = ControlClientToScreen(Control, R.TopLeft());
  const TPoint BottomRight = ControlClientToScreen(Control, R.BottomRight());
  FScreenRect = vte::Rect(TopLeft.X, TopLeft.Y, BottomRight.X, BottomRight.Y);
  if (!FClientCoordinatesInUse) OffsetRect(FScreenRect, -O.X, -O.Y);

  // What is about to be painted should be on the screen before the screen is copied.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QCoreApplication::sendPostedEvents(Control->window(), QEvent::UpdateRequest);

  QWidget* Parent = FClientCoordinatesInUse ? Control : Control->parentWidget();
  TRect Bounds = FScreenRect;
  if (Parent) {
    const QPoint P = Parent->mapFromGlobal(QPoint(FScreenRect.Left, FScreenRect.Top));
    Bounds = vte::Bounds(P.x(), P.y(), FScreenRect.Width(), FScreenRect.Height());
  }
  FControl = Control;
  {
    const TPoint C = ControlScreenToClient(Control, FScreenRect.TopLeft());
    FControlRect = vte::Bounds(C.X, C.Y, FScreenRect.Width(), FScreenRect.Height());
    if (!FClientCoordinatesInUse) OffsetRect(FControlRect, O.X, O.Y);
  }

  FPrepared = true;
  TransitionActive = true;
  try {
    // The old look is taken before the window covers the area: the window shows it from then on.
    std::unique_ptr<TBitmap> OldLook = CaptureOldLook();
    CreateRenderWindow(Parent, Bounds);
    FRenderWindow->Canvas().BitBlt(0, 0, Bounds.Width(), Bounds.Height(), OldLook->Canvas(), 0, 0, SRCCOPY);
    FRenderWindow->show();
    if (!Parent) FRenderWindow->raise();
    FRenderWindowReady = true;
    if (FEnabled && NeedSrcImage() && !(ResolvePixelFormat(GetPixelFormat()) == pf8bit && PassesToUse() == 1))
      FOldBitmap = std::move(OldLook);
  } catch (...) {
    UnPrepare();
    throw;
  }
  return FPrepared;
}

std::unique_ptr<TBitmap> TTransitionEffect::CaptureOldLook() {
  bool Paint;
  if (ForceScreenCopy) Paint = false;
  else if (ForceRendering) Paint = true;
  else Paint = RenderWhenClipped() && FControl && (PreferRendering || IsRectObscured(FControl, FScreenRect));
  return Paint ? PaintControl() : CaptureScreen();
}

std::unique_ptr<TBitmap> TTransitionEffect::PaintControl() {
  TRect R = FControlRect;
  R.Right = R.Left + GetBitmapsWidth(R.Width());
  return RenderControlToBitmap(FControl, R, FClientCoordinatesInUse, GetPixelFormat(), false);
}

std::unique_ptr<TBitmap> TTransitionEffect::CaptureScreen() {
  TRect R = FScreenRect;
  R.Right = R.Left + GetBitmapsWidth(R.Width());
  return CaptureScreenRect(R, GetPixelFormat());
}

void TTransitionEffect::CreateRenderWindow(QWidget* Parent, const TRect& Bounds) {
  FRenderWindow = new TTERenderWindow(Parent);
  if (Parent && Parent == FControl->parentWidget()) {
    // Directly above the control among its siblings.
    const QObjectList& Siblings = Parent->children();
    const qsizetype At = Siblings.indexOf(FControl.data());
    QWidget* Above = nullptr;
    for (qsizetype I = At + 1; I < Siblings.size() && !Above; ++I)
      if (auto* W = qobject_cast<QWidget*>(Siblings[I]); W && W != FRenderWindow && !W->isWindow()) Above = W;
    if (Above) FRenderWindow->stackUnder(Above);
    else FRenderWindow->raise();
  } else if (Parent) {
    FRenderWindow->raise();
  }
  FRenderWindow->setGeometry(ToQRect(Bounds));
  FRenderWindow->SetSurfaceSize(Bounds.Width(), Bounds.Height());
  TTERenderWindow* Window = FRenderWindow;
  FTarget = TTERenderTarget{&Window->Canvas(), [Window](const TRect& R) { Window->Flush(ToQRect(R)); }, {}};
}

void TTransitionEffect::PreparePass2Image() {
  if (!FEnabled || !FPrepared || !FControl || PassesToUse() != 2) return;
  if (FPass2Options->UseSolidColor()) {
    const TPalette* Palette = FOldBitmap ? &FOldBitmap->Palette() : nullptr;
    FPass2Bitmap = CreateSolidBitmap(FControl, GetBitmapsWidth(FControlRect.Width()), FControlRect.Height(),
                                     GetPixelFormat(), Palette, FPass2Options->SolidColor());
  } else {
    FPass2Bitmap = PaintControl();
  }
}

// --- Execute ---

void TTransitionEffect::Execute() {
  if (RenderWindowRegion && FRenderWindow) {
    FRenderWindow->setMask(*RenderWindowRegion);
    RenderWindowRegion.reset();
  }
  if (OnBeforeTransition) OnBeforeTransition(this);
  struct TAfter {
    TTransitionEffect* Self;
    ~TAfter() {
      if (Self->OnAfterTransition) Self->OnAfterTransition(Self);
    }
  } After{this};

  if (!CanRun()) return;
  if (!FPrepared) {
    ReleaseRenderWindow();
    return;
  }
  struct TCleanUp {
    TTransitionEffect* Self;
    ~TCleanUp() {
      Self->FSecondPass = false;
      Self->UnPrepare();
    }
  } CleanUp{this};

  FAborted = false;
  FSecondPass = false;
  UpdateRect = UnchangedRect = TRect{};
  if (FRenderWindow && FRenderWindow->parentWidget() && !FRenderWindow->isVisible()) return;

  TRunInputFilter Filter(FRenderWindow);
  RunFilter = &Filter;
  struct TFilterGone {
    ~TFilterGone() { RunFilter = nullptr; }
  } FilterGone;

  if (!FEnabled) {
    // The flicker-free cut: the new look in one copy, no animation events.
    FNewBitmap = PaintControl();
    CopyToTarget(*FNewBitmap);
  } else {
    if (!FPass2Bitmap && PassesToUse() == 2) PreparePass2Image();
    RunPasses([this] { return NeedDstImage() ? PaintControl() : nullptr; });
  }

  // Hidden, the window uncovers widgets that already show the new look.
  if (FRenderWindow) FRenderWindow->hide();
  if (FControl) RefreshMarkedWindows(FControl);
}

void TTransitionEffect::CopyToTarget(const TBitmap& Bitmap) {
  if (!FTarget.Canvas) return;
  TBitmap& Source = const_cast<TBitmap&>(Bitmap);
  const TRect All = vte::Rect(0, 0, FTarget.Canvas->Bitmap()->Width(), FTarget.Canvas->Bitmap()->Height());
  FTarget.Canvas->BitBlt(0, 0, All.Width(), All.Height(), Source.Canvas(), 0, 0, SRCCOPY);
  if (FTarget.Flush) FTarget.Flush(All);
}

void TTransitionEffect::PrepareWorkBitmap(TBitmap*& Work, std::unique_ptr<TBitmap>& OwnedWork) {
  if (!FOldBitmap && NeedSrcImage()) FOldBitmap = CaptureScreen();
  Work = nullptr;
  if (!NeedWorkBitmap()) return;
  if (NeedSrcImage() && WorkOnOldImage()) {
    Work = FOldBitmap.get();
    return;
  }
  OwnedWork = std::make_unique<TBitmap>();
  SetupBitmap(*OwnedWork, nullptr, GetBitmapsWidth(FControlRect.Width()), FTarget.Canvas->Bitmap()->Height(),
              GetPixelFormat());
  Work = OwnedWork.get();
}

void TTransitionEffect::RunPass(TBitmap* Src, TBitmap* Dst, TBitmap* Work, bool Animate, bool FireStart) {
  const TBitmap& Target = *FTarget.Canvas->Bitmap();
  TTETransitionData Data(Target.Width(), Target.Height(), Src, Dst, Work, FTarget.Canvas, GetPixelFormat(),
                         IsHighColorDevice());
  if (FireStart && OnStartTransition) OnStartTransition(this);
  if (!Animate) return;
  AbortChrono.Start();
  try {
    DoExecute(Data);
  } catch (...) {
    AbortChrono.Reset();
    throw;
  }
  AbortChrono.Reset();
}

void TTransitionEffect::RunPasses(const TLookProvider& NewLook) {
  TBitmap* Work = nullptr;
  std::unique_ptr<TBitmap> OwnedWork;
  if (!FPass2Bitmap) {
    FNewBitmap = NewLook();
    PrepareWorkBitmap(Work, OwnedWork);
    RunPass(FOldBitmap.get(), FNewBitmap.get(), Work, true, true);
    if (OnEndTransition) OnEndTransition(this);
    return;
  }
  const int SavedMilliseconds = FMilliseconds;
  struct TRestore {
    TTransitionEffect* Self;
    int Value;
    ~TRestore() { Self->FMilliseconds = Value; }
  } Restore{this, SavedMilliseconds};
  if (FPass2Options->DistributedTime()) FMilliseconds = FMilliseconds / 2;

  PrepareWorkBitmap(Work, OwnedWork);
  {
    const bool Capable = TwoPassesCapable();
    RunPass(FOldBitmap.get(), FPass2Bitmap.get(), Work, Capable, Capable);
    // The end state of the first pass, also when it was not animated.
    TTETransitionData Data(FTarget.Canvas->Bitmap()->Width(), FTarget.Canvas->Bitmap()->Height(),
                           FOldBitmap.get(), FPass2Bitmap.get(), Work, FTarget.Canvas, GetPixelFormat(),
                           IsHighColorDevice());
    Data.Canvas().BitBlt(0, 0, FPass2Bitmap->Width(), FPass2Bitmap->Height(), FPass2Bitmap->Canvas(), 0, 0, SRCCOPY);
    if (!Work && FTarget.Flush) FTarget.Flush(vte::Rect(0, 0, Data.Width, Data.Height));
  }
  FOldBitmap.reset();
  FSecondPass = true;
  FNewBitmap = NewLook();
  if (OwnedWork) {
    if (IsPaletteDevice()) {
      OwnedWork->SetPixelFormat(pf8bit);
      OwnedWork->SetPalette(FNewBitmap ? FNewBitmap->Palette() : FPass2Bitmap->Palette());
    }
  } else if (NeedWorkBitmap()) {
    // The first work bitmap was the old image, now freed.
    Work = FPass2Bitmap.get();
  }
  if (FNewBitmap && IsPaletteFormat(FPass2Bitmap->PixelFormat())) FPass2Bitmap->SetPalette(FNewBitmap->Palette());
  RunPass(FPass2Bitmap.get(), FNewBitmap.get(), Work, true, !TwoPassesCapable());
  if (OnEndTransition) OnEndTransition(this);
}

// --- frames ---

void TTransitionEffect::CheckAbort(bool Throttled) {
  if (FAborted || (!FAbortOnClick && !FAbortOnEscape && !OnAbortQuery)) return;
  if (Throttled && AbortChrono.Milliseconds() <= AbortCheckInterval) return;
  if ((FAbortOnClick || FAbortOnEscape) && RunFilter) {
    // Input waiting in the queue reaches the run's filter, which keeps the abort requests.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (FAbortOnClick && RunFilter && RunFilter->TakeClick()) FAborted = true;
    if (!FAborted && FAbortOnEscape && RunFilter && RunFilter->TakeEscape()) FAborted = true;
  }
  if (!FAborted && OnAbortQuery) OnAbortQuery(this, this, FAborted);
  AbortChrono.Reset();
  AbortChrono.Start();
}

void TTransitionEffect::UpdateScreen(bool Full) {
  // Without a frame bitmap the effect draws straight onto the render target: nothing to copy,
  // but the changed part still has to reach the screen.
  if (FrameEnabled && FTarget.Canvas) {
    TCanvas& Target = *FTarget.Canvas;
    const TBitmap& Whole = FrameBitmap ? *FrameBitmap : *Target.Bitmap();
    TRect Area = vte::Rect(0, 0, Whole.Width(), Whole.Height());
    const bool Exclude = !Full && !UnchangedRect.IsEmpty();
    if (!Full && UpdateRect != TRect{}) Area = UpdateRect;
    if (Exclude) {
      Target.SaveDC();
      Target.ExcludeClipRect(UnchangedRect);
    }
    auto Copy = [&](const TRect& R) {
      if (FrameBitmap) Target.BitBlt(R.Left, R.Top, R.Width(), R.Height(), FrameBitmap->Canvas(), R.Left, R.Top, SRCCOPY);
      if (FTarget.Flush) FTarget.Flush(R);
    };
    if (!Full && DirtyRects && DirtyRects->Count() > 1) {
      for (int I = 0; I < DirtyRects->Count(); ++I) Copy(DirtyRects->Rects(I));
    } else {
      Copy(Area);
    }
    if (Exclude) Target.RestoreDC(-1);
    if (FTarget.FrameDone) FTarget.FrameDone(false);
  }
  PrevUnchangedRect = UnchangedRect;
  PrevUpdateRect = UpdateRect;
  UnchangedRect = UpdateRect = TRect{};
  if (DirtyRects && DirtyRects->AutoClear) DirtyRects->Clear();
}

void TTransitionEffect::ShowFinalImage(TTETransitionData& Data) {
  if (!FTarget.Canvas || !Data.DstBmp) return;
  FTarget.Canvas->BitBlt(0, 0, Data.Width, Data.Height, Data.DstBmp->Canvas(), 0, 0, SRCCOPY);
  if (FTarget.Flush) FTarget.Flush(vte::Rect(0, 0, Data.Width, Data.Height));
  if (FTarget.FrameDone) FTarget.FrameDone(true);
}

// --- UnPrepare ---

void TTransitionEffect::ReleaseRenderWindow() {
  if (FRenderWindow) {
    RenderWindowRegion.reset();
    delete FRenderWindow;
    FRenderWindow = nullptr;
    FTarget = {};
  }
  FRenderWindowReady = false;
  FControl = nullptr;
}

void TTransitionEffect::UnPrepare() {
  if (FPrepared) {
    FOldBitmap.reset();
    FPass2Bitmap.reset();
    FNewBitmap.reset();
    FPrepared = false;
    TransitionActive = false;
  }
  ReleaseRenderWindow();
}

// --- the flicker-free cut ---

void TFlickerFreeTransition::DoExecute(TTETransitionData& Data) {
  Data.Canvas().BitBlt(0, 0, Data.Width, Data.Height, Data.DstBmp->Canvas(), 0, 0, SRCCOPY);
  if (const TTERenderTarget& T = RenderTarget(); T.Flush && &Data.Canvas() == T.Canvas)
    T.Flush(vte::Rect(0, 0, Data.Width, Data.Height));
}

TFlickerFreeTransition* GlobalFlickerFree() {
  static TFlickerFreeTransition* Global = [] {
    auto* T = new TFlickerFreeTransition(nullptr);
    T->SetFlickerFreeWhenDisabled(true);
    return T;
  }();
  return Global;
}

}  // namespace vte
