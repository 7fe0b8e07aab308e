#include "engine/transition_effect.h"

#include <QApplication>
#include <QEvent>
#include <QMetaClassInfo>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>

#include "engine/errors.h"
#include "engine/reduced_motion.h"
#include "engine/render_window.h"
#include "engine/run_input_gate.h"
#include "engine/transition_list.h"
#include "render/control_render.h"
#include "render/refresh_markers.h"
#include "render/device.h"
#include "render/device_scale.h"

namespace vte {

bool TransitionActive = false;

namespace {

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
  const bool FirstOfTwo = FPass2Options->Reversed() && PassesToUse() == 2 && TwoPassesCapable() && FRun.Pass != 2;
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

namespace {

// The page stack of a tab widget, or a page in it: parts of the tab widget that a change of tab
// hides, so never covered themselves.
bool IsTabSheetPart(const QWidget* W) {
  for (int Up = 0; Up < 2 && W; ++Up, W = W->parentWidget())
    if (qobject_cast<const QStackedWidget*>(W) && qobject_cast<const QTabWidget*>(W->parentWidget())) return true;
  return false;
}

}  // namespace

bool TTransitionEffect::FindControlToCover(QWidget*& Control, TRect& Rect) {
  // Moving up converts the rectangle into the parent's client coordinates.
  auto MoveUp = [&] {
    const TPoint Offset = FRun.ClientCoordinates ? GetClientOffset(Control) : TPoint{};
    OffsetRect(Rect, Control->x() + Offset.X, Control->y() + Offset.Y);
    FRun.ClientCoordinates = true;
    Control = Control->parentWidget();
  };
  for (bool First = true;; First = false) {
    if (!First) {
      if (!Control->parentWidget()) return false;
      MoveUp();
      // From a tab page (or the page stack) go on to the tab widget: the change may switch tabs.
      while (IsTabSheetPart(Control)) MoveUp();
    }
    if (Control->isVisible()) return true;
    if (!Control->parentWidget()) return false;
  }
}

bool TTransitionEffect::Prepare(QWidget* Control, const TRect& Rect) {
  // The run in progress keeps its looks and window until it ends; nothing new can be prepared.
  if (FRunning) return false;
  if (FPrepared) UnPrepare();
  if (FRenderWindowReady) ReleaseRenderWindow();
  if (!CanRun() || TransitionActive || !Control) return false;
  FRun = TTERunRecord{};
  FRun.ClientCoordinates = ClientCoordinates;

  TRect R = Rect;
  if (!FindControlToCover(Control, R)) return false;

  const TPoint O = GetClientOffset(Control);
  if (!FRun.ClientCoordinates && R.Left >= O.X && R.Top >= O.Y &&
      ControlClientWidth(Control) >= R.Right - O.X && ControlClientHeight(Control) >= R.Bottom - O.Y) {
    OffsetRect(R, -O.X, -O.Y);
    FRun.ClientCoordinates = true;
  }
  const TPoint TopLeft = ControlClientToScreen(Control, R.TopLeft());
  const TPoint BottomRight = ControlClientToScreen(Control, R.BottomRight());
  TRect Screen = vte::Rect(TopLeft.X, TopLeft.Y, BottomRight.X, BottomRight.Y);
  if (!FRun.ClientCoordinates) OffsetRect(Screen, -O.X, -O.Y);
  FRun.ScreenRect = Screen;

  // What is about to be painted should be on the screen before the screen is copied.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QCoreApplication::sendPostedEvents(Control->window(), QEvent::UpdateRequest);

  QWidget* Parent = FRun.ClientCoordinates ? Control : Control->parentWidget();
  TRect Bounds = Screen;
  if (Parent) {
    const QPoint P = Parent->mapFromGlobal(QPoint(Screen.Left, Screen.Top));
    Bounds = vte::Bounds(P.x(), P.y(), Screen.Width(), Screen.Height());
  }
  FRun.Control = Control;
  FRun.Scale = DevicePixelRatioOf(Control);
  {
    const TPoint C = ControlScreenToClient(Control, Screen.TopLeft());
    FRun.ControlRect = vte::Bounds(C.X, C.Y, Screen.Width(), Screen.Height());
    if (!FRun.ClientCoordinates) OffsetRect(FRun.ControlRect, O.X, O.Y);
  }
  FRun.OldLookOrigin = ChooseOldLookOrigin(Control, Screen);

  FPrepared = true;
  TransitionActive = true;
  try {
    // The old look is taken before the window covers the area: the window shows it from then on.
    std::unique_ptr<TBitmap> OldLook = FRun.OldLookPainted() ? PaintControl() : CaptureScreen();
    CreateRenderWindow(Parent, Bounds);
    const TBitmap& Surface = *FRenderWindow->Canvas().Bitmap();
    FRenderWindow->Canvas().BitBlt(0, 0, Surface.Width(), Surface.Height(), OldLook->Canvas(), 0, 0, SRCCOPY);
    FRenderWindow->show();
    if (!Parent) FRenderWindow->raise();
    FRenderWindowReady = true;
    // On 8-bit screens a one-pass run copies the screen again when it starts; a painted look
    // cannot be taken again later and is kept.
    const bool Deferred = !FRun.OldLookPainted() && ResolvePixelFormat(GetPixelFormat()) == pf8bit && PassesToUse() == 1;
    if (FEnabled && NeedSrcImage() && !Deferred) FRun.OldBitmap = std::move(OldLook);
  } catch (...) {
    UnPrepare();
    throw;
  }
  return FPrepared;
}

TTEOldLookOrigin TTransitionEffect::ChooseOldLookOrigin(const QWidget* Control, const TRect& ScreenRect) const {
  TTEOldLookOrigin Origin = TTEOldLookOrigin::Screen;
  if (ForceScreenCopy) Origin = TTEOldLookOrigin::Screen;
  else if (ForceRendering) Origin = TTEOldLookOrigin::Painting;
  else if (RenderWhenClipped() && Control && (PreferRendering || IsRectObscured(Control, ScreenRect)))
    Origin = TTEOldLookOrigin::Painting;
  // Where the platform cannot copy the screen (Wayland, the minimal platform) painting is the
  // only way, whatever was asked for.
  if (Origin == TTEOldLookOrigin::Screen && Control && !ScreenCanBeCopied()) Origin = TTEOldLookOrigin::Painting;
  // A copy in logical pixels, scaled up, would blur the run: painting gives the device pixels.
  if (Origin == TTEOldLookOrigin::Screen && Control && DevicePixelRatioOf(Control) != 1 && !ScreenCopiesDevicePixels())
    Origin = TTEOldLookOrigin::Painting;
  return Origin;
}

TPoint TTransitionEffect::RunDeviceSize() const {
  return {ToDevicePixels(FRun.ControlRect.Width(), FRun.Scale), ToDevicePixels(FRun.ControlRect.Height(), FRun.Scale)};
}

TRect TTransitionEffect::LookArea(TRect Area) const {
  // The effect's bitmap width is a number of device pixels: the logical area grows by enough
  // columns to give them, and the look is cut to exactly that width.
  const int Device = RunDeviceSize().X;
  const int Extra = GetBitmapsWidth(Device) - Device;
  if (Extra > 0) Area.Right += static_cast<int>(std::ceil(Extra / FRun.Scale));
  return Area;
}

std::unique_ptr<TBitmap> TTransitionEffect::FitLook(std::unique_ptr<TBitmap> Look) const {
  const int Width = GetBitmapsWidth(RunDeviceSize().X);
  if (!Look || Look->Width() == Width) return Look;
  auto Fitted = std::make_unique<TBitmap>();
  SetupBitmap(*Fitted, &Look->Palette(), Width, Look->Height(), Look->PixelFormat());
  Fitted->Canvas().BitBlt(0, 0, std::min(Width, Look->Width()), Look->Height(), Look->Canvas(), 0, 0, SRCCOPY);
  return Fitted;
}

std::unique_ptr<TBitmap> TTransitionEffect::PaintControl() {
  return FitLook(RenderControlToBitmap(FRun.Control, LookArea(FRun.ControlRect), FRun.ClientCoordinates,
                                       GetPixelFormat(), false));
}

std::unique_ptr<TBitmap> TTransitionEffect::CaptureScreen() {
  return FitLook(CaptureScreenRect(LookArea(FRun.ScreenRect), GetPixelFormat()));
}

void TTransitionEffect::CreateRenderWindow(QWidget* Parent, const TRect& Bounds) {
  FRenderWindow = new TTERenderWindow(Parent);
  StackRenderWindow();
  FRenderWindow->setGeometry(ToQRect(Bounds));
  const TPoint Device = RunDeviceSize();
  FRenderWindow->SetSurfaceSize(Device.X, Device.Y, FRun.Scale);
  // The window goes with its parent if the application destroys that: the flush must notice.
  QPointer<TTERenderWindow> Window = FRenderWindow;
  FRun.Target = TTERenderTarget{&Window->Canvas(), [Window](const TRect& R) {
                                  if (Window) Window->Flush(ToQRect(R));
                                }, {}};
}

void TTransitionEffect::StackRenderWindow() {
  QWidget* Parent = FRenderWindow->parentWidget();
  QWidget* Control = FRun.Control;
  if (Parent && Parent == Control->parentWidget()) {
    // Directly above the control among its siblings.
    const QObjectList& Siblings = Parent->children();
    const qsizetype At = Siblings.indexOf(Control);
    QWidget* Above = nullptr;
    for (qsizetype I = At + 1; I < Siblings.size() && !Above; ++I)
      if (auto* W = qobject_cast<QWidget*>(Siblings[I]); W && W != FRenderWindow && !W->isWindow()) Above = W;
    if (Above) FRenderWindow->stackUnder(Above);
    else FRenderWindow->raise();
  } else if (Parent) {
    FRenderWindow->raise();
  }
}

void TTransitionEffect::PreparePass2Image() {
  // A run with reduced motion shows no intermediate look: none is made.
  if (!FEnabled || !FPrepared || !FRun.Control || PassesToUse() != 2 || ReducedMotion()) return;
  if (FPass2Options->UseSolidColor()) {
    const TPalette* Palette = FRun.OldBitmap ? &FRun.OldBitmap->Palette() : nullptr;
    const TPoint Device = RunDeviceSize();
    FRun.Pass2Bitmap = CreateSolidBitmap(FRun.Control, GetBitmapsWidth(Device.X), Device.Y, GetPixelFormat(),
                                         Palette, FPass2Options->SolidColor());
  } else {
    FRun.Pass2Bitmap = PaintControl();
  }
}

// --- Execute ---

void TTransitionEffect::Execute() {
  if (RenderWindowRegion && FRenderWindow) {
    FRenderWindow->setMask(*RenderWindowRegion);
    RenderWindowRegion.reset();
  }
  try {
    if (OnBeforeTransition) OnBeforeTransition(this);
  } catch (...) {
    // Nothing ran: the prepared state must not outlive the call.
    UnPrepare();
    throw;
  }
  // Every failure, the handlers' included, reaches the caller once the run is cleaned up and
  // OnAfterTransition has fired; the first one wins.
  std::exception_ptr Failure;
  try {
    ExecutePrepared();
  } catch (...) {
    Failure = std::current_exception();
  }
  try {
    if (OnAfterTransition) OnAfterTransition(this);
  } catch (...) {
    if (!Failure) Failure = std::current_exception();
  }
  if (Failure) std::rethrow_exception(Failure);
}

void TTransitionEffect::ExecutePrepared() {
  if (!CanRun()) return;
  if (!FPrepared) {
    ReleaseRenderWindow();
    return;
  }
  struct TCleanUp {
    TTransitionEffect* Self;
    ~TCleanUp() {
      Self->FRunning = false;
      Self->FRun.Pass = 0;
      Self->UnPrepare();
    }
  } CleanUp{this};
  FRunning = true;

  FAborted = false;
  UpdateRect = UnchangedRect = TRect{};
  // The covered control (and the render window with it) may have been destroyed since Prepare.
  if (!FRun.Control || !FRenderWindow) return;
  if (FRenderWindow->parentWidget() && !FRenderWindow->isVisible()) return;
  // The change may have raised a widget above the window (a stacked widget raises the page it
  // shows): every frame would be hidden below it.
  StackRenderWindow();

  {
    // Input waits for the end of the run; the kept events are handed on when the gate goes,
    // after the render window is hidden, so they reach the widgets now under the pointer.
    TTERunInputGate Gate(FRenderWindow, FAbortOnClick, FAbortOnEscape);
    if (!FEnabled) {
      // The flicker-free cut: the new look in one copy, no animation events.
      FRun.NewBitmap = PaintControl();
      CopyToTarget(*FRun.NewBitmap);
    } else {
      if (!FRun.Pass2Bitmap && PassesToUse() == 2) PreparePass2Image();
      RunPasses([this] { return PaintControl(); });
    }

    // Hidden, the window uncovers widgets that already show the new look.
    if (FRenderWindow) FRenderWindow->hide();
  }
  if (FRun.Control) RefreshMarkedWindows(FRun.Control);
}

void TTransitionEffect::RunDetached(TTERunRecord Record, const TLookProvider& OldLook, const TLookProvider& NewLook) {
  struct TCleanUp {
    TTransitionEffect* Self;
    ~TCleanUp() {
      Self->FRunning = false;
      Self->FRun = TTERunRecord{};
      Self->FrameBitmap = nullptr;
    }
  } CleanUp{this};
  FRun = std::move(Record);
  FRunning = true;
  FAborted = false;
  UpdateRect = UnchangedRect = TRect{};
  // The same looks a prepared run would hold: none the effect does not ask for.
  if (NeedSrcImage() && !ReducedMotion()) FRun.OldBitmap = OldLook();
  RunPasses(NewLook);
}

void TTransitionEffect::CopyToTarget(const TBitmap& Bitmap) {
  const TTERenderTarget& T = FRun.Target;
  if (!T.Canvas) return;
  TBitmap& Source = const_cast<TBitmap&>(Bitmap);
  const TRect All = vte::Rect(0, 0, T.Canvas->Bitmap()->Width(), T.Canvas->Bitmap()->Height());
  T.Canvas->BitBlt(0, 0, All.Width(), All.Height(), Source.Canvas(), 0, 0, SRCCOPY);
  if (T.Flush) T.Flush(All);
}

void TTransitionEffect::PrepareWorkBitmap(TBitmap*& Work, std::unique_ptr<TBitmap>& OwnedWork) {
  if (!FRun.OldBitmap && NeedSrcImage()) FRun.OldBitmap = CaptureScreen();
  Work = nullptr;
  if (!NeedWorkBitmap()) return;
  if (NeedSrcImage() && WorkOnOldImage()) {
    Work = FRun.OldBitmap.get();
    return;
  }
  OwnedWork = std::make_unique<TBitmap>();
  SetupBitmap(*OwnedWork, nullptr, GetBitmapsWidth(FRun.TargetBitmap()->Width()), FRun.TargetBitmap()->Height(),
              GetPixelFormat());
  Work = OwnedWork.get();
}

void TTransitionEffect::RunPass(TBitmap* Src, TBitmap* Dst, TBitmap* Work, bool Animate, bool FireStart) {
  const TBitmap& Target = *FRun.TargetBitmap();
  TTETransitionData Data(Target.Width(), Target.Height(), Src, Dst, Work, FRun.Target.Canvas, GetPixelFormat(),
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

std::unique_ptr<TBitmap> TTransitionEffect::TakeNewLook(const TLookProvider& NewLook) const {
  return NeedDstImage() ? NewLook() : nullptr;
}

void TTransitionEffect::RunCut(const TLookProvider& NewLook) {
  // No intermediate look either: showing it would be the very flash the switch is there to avoid.
  FRun.Pass2Bitmap.reset();
  // Every effect's cut shows the new look, also that of an effect whose animation needs none.
  FRun.NewBitmap = NewLook();
  FRun.Pass = 1;
  if (OnStartTransition) OnStartTransition(this);
  if (TBitmap* Target = FRun.TargetBitmap(); Target && FRun.NewBitmap) {
    TTETransitionData Data(Target->Width(), Target->Height(), nullptr, FRun.NewBitmap.get(), nullptr,
                           FRun.Target.Canvas, GetPixelFormat(), IsHighColorDevice());
    ShowFinalImage(Data);
  }
  if (OnEndTransition) OnEndTransition(this);
}

void TTransitionEffect::RunPasses(const TLookProvider& NewLook) {
  if (ReducedMotion()) {
    RunCut(NewLook);
    return;
  }
  TBitmap* Work = nullptr;
  std::unique_ptr<TBitmap> OwnedWork;
  if (!FRun.Pass2Bitmap) {
    FRun.NewBitmap = TakeNewLook(NewLook);
    PrepareWorkBitmap(Work, OwnedWork);
    FRun.Pass = 1;
    RunPass(FRun.OldBitmap.get(), FRun.NewBitmap.get(), Work, true, true);
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
  TBitmap* Pass2 = FRun.Pass2Bitmap.get();
  {
    FRun.Pass = 1;
    const bool Capable = TwoPassesCapable();
    RunPass(FRun.OldBitmap.get(), Pass2, Work, Capable, Capable);
    // The end state of the first pass, also when it was not animated.
    TTETransitionData Data(FRun.TargetBitmap()->Width(), FRun.TargetBitmap()->Height(), FRun.OldBitmap.get(),
                           Pass2, Work, FRun.Target.Canvas, GetPixelFormat(), IsHighColorDevice());
    Data.Canvas().BitBlt(0, 0, Pass2->Width(), Pass2->Height(), Pass2->Canvas(), 0, 0, SRCCOPY);
    if (!Work && FRun.Target.Flush) FRun.Target.Flush(vte::Rect(0, 0, Data.Width, Data.Height));
  }
  FRun.OldBitmap.reset();
  FRun.Pass = 2;
  FRun.NewBitmap = TakeNewLook(NewLook);
  if (OwnedWork) {
    if (IsPaletteDevice()) {
      OwnedWork->SetPixelFormat(pf8bit);
      OwnedWork->SetPalette(FRun.NewBitmap ? FRun.NewBitmap->Palette() : Pass2->Palette());
    }
  } else if (NeedWorkBitmap()) {
    // The first work bitmap was the old image, now freed.
    Work = Pass2;
  }
  if (FRun.NewBitmap && IsPaletteFormat(Pass2->PixelFormat())) Pass2->SetPalette(FRun.NewBitmap->Palette());
  RunPass(Pass2, FRun.NewBitmap.get(), Work, true, !TwoPassesCapable());
  if (OnEndTransition) OnEndTransition(this);
}

// --- frames ---

void TTransitionEffect::CheckAbort(bool Throttled) {
  if (FAborted || (!FAbortOnClick && !FAbortOnEscape && !OnAbortQuery)) return;
  if (Throttled && AbortChrono.Milliseconds() <= AbortCheckInterval) return;
  if (TTERunInputGate* Gate = TTERunInputGate::Current(); Gate && (FAbortOnClick || FAbortOnEscape)) {
    Gate->Poll();
    if (FAbortOnClick && Gate->TakeClick()) FAborted = true;
    if (!FAborted && FAbortOnEscape && Gate->TakeEscape()) FAborted = true;
  }
  if (!FAborted && OnAbortQuery) OnAbortQuery(this, this, FAborted);
  AbortChrono.Reset();
  AbortChrono.Start();
}

void TTransitionEffect::UpdateScreen(bool Full) {
  // Without a frame bitmap the effect draws straight onto the render target: nothing to copy,
  // but the changed part still has to reach the screen.
  if (const TTERenderTarget& T = FRun.Target; FrameEnabled && T.Canvas) {
    TCanvas& Target = *T.Canvas;
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
      if (T.Flush) T.Flush(R);
    };
    if (!Full && DirtyRects && DirtyRects->Count() > 1) {
      // One blit for all the pieces, then each reported.
      if (FrameBitmap) Target.CopyRects(DirtyRects->All(), FrameBitmap->Canvas());
      if (T.Flush)
        for (int I = 0; I < DirtyRects->Count(); ++I) T.Flush(DirtyRects->Rects(I));
    } else {
      Copy(Area);
    }
    if (Exclude) Target.RestoreDC(-1);
    if (T.FrameDone) T.FrameDone(false);
  }
  PrevUnchangedRect = UnchangedRect;
  PrevUpdateRect = UpdateRect;
  UnchangedRect = UpdateRect = TRect{};
  if (DirtyRects && DirtyRects->AutoClear) DirtyRects->Clear();
}

void TTransitionEffect::ShowFinalImage(TTETransitionData& Data) {
  const TTERenderTarget& T = FRun.Target;
  if (!T.Canvas || !Data.DstBmp) return;
  T.Canvas->BitBlt(0, 0, Data.Width, Data.Height, Data.DstBmp->Canvas(), 0, 0, SRCCOPY);
  if (T.Flush) T.Flush(vte::Rect(0, 0, Data.Width, Data.Height));
  if (T.FrameDone) T.FrameDone(true);
}

// --- UnPrepare ---

void TTransitionEffect::ReleaseRenderWindow() {
  if (FRenderWindow) {
    RenderWindowRegion.reset();
    delete FRenderWindow;
    FRenderWindow = nullptr;
  }
  FRun.Target = {};
  FRenderWindowReady = false;
  FRun.Control = nullptr;
}

void TTransitionEffect::UnPrepare() {
  // The running pass draws from these looks into this window: they go when the run ends, whose
  // clean-up releases everything anyway.
  if (FRunning) return;
  if (FPrepared) {
    FRun.OldBitmap.reset();
    FRun.Pass2Bitmap.reset();
    FRun.NewBitmap.reset();
    FPrepared = false;
    TransitionActive = false;
  }
  ReleaseRenderWindow();
}

// --- the flicker-free cut ---

void TFlickerFreeTransition::DoExecute(TTETransitionData& Data) {
  // Its one copy is the pass's final image: shown, and reported as such, like any effect's end.
  if (&Data.Canvas() == RenderTarget().Canvas) ShowFinalImage(Data);
  else Data.Canvas().BitBlt(0, 0, Data.Width, Data.Height, Data.DstBmp->Canvas(), 0, 0, SRCCOPY);
}

namespace {

TFlickerFreeTransition* TheGlobalFlickerFree = nullptr;

void FreeGlobalFlickerFree() {
  delete TheGlobalFlickerFree;
  TheGlobalFlickerFree = nullptr;
}

}  // namespace

std::unique_ptr<TFlickerFreeTransition> MakeTemporaryFlickerFree() {
  auto Cut = std::make_unique<TFlickerFreeTransition>();
  Cut->SetFlickerFreeWhenDisabled(GlobalFlickerFree()->FlickerFreeWhenDisabled());
  return Cut;
}

TFlickerFreeTransition* GlobalFlickerFree() {
  if (!TheGlobalFlickerFree) {
    TheGlobalFlickerFree = new TFlickerFreeTransition(nullptr);
    TheGlobalFlickerFree->SetFlickerFreeWhenDisabled(true);
    // A QObject must not outlive the application object that its thread data belongs to.
    if (QCoreApplication::instance()) qAddPostRoutine(FreeGlobalFlickerFree);
    else std::atexit(FreeGlobalFlickerFree);
  }
  return TheGlobalFlickerFree;
}

}  // namespace vte
