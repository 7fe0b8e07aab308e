#pragma once
// The base of every transition effect and its run sequence:
//   Prepare(Control, Rect)  covers the area with a render window that keeps showing the old look
//                           and captures that look;
//   (the application changes the widgets)
//   Execute()               captures the new look, runs the effect's animation in one or two
//                           passes inside the render window, then uncovers the area;
//   UnPrepare()             frees the bitmaps and the render window (always, in a clean-up).
// Subclasses supply the animation through DoExecute and the capability queries below.
//
// Class-level facts are class info: "Description" (the display name; the class name when no class
// in the chain declares one) and "EditorClassName" (the editor form's class).
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "engine/chrono.h"
#include "engine/dirty_rects.h"
#include "engine/effect_types.h"
#include "engine/pass2_options.h"
#include "engine/run_record.h"
#include "engine/transition_data.h"
#include "engine/version.h"
#include "gdi/bitmap.h"

class QWidget;

namespace vte {

class TTransitionList;
class TTERenderWindow;
class TTransitionEffect;

using TTENotifyEvent = std::function<void(TTransitionEffect* Sender)>;
using TTEAbortQueryEvent = std::function<void(QObject* Sender, TTransitionEffect* Transition, bool& Abort)>;

// True from a successful Prepare until UnPrepare: one transition at a time in the program.
extern bool TransitionActive;

class TTransitionEffect : public QObject {
  Q_OBJECT
  Q_CLASSINFO("EditorClassName", "TTransitionEffectEditor")
  Q_PROPERTY(bool AbortOnClick READ AbortOnClick WRITE SetAbortOnClick)
  Q_PROPERTY(bool AbortOnEscape READ AbortOnEscape WRITE SetAbortOnEscape)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(bool FlickerFreeWhenDisabled READ FlickerFreeWhenDisabled WRITE SetFlickerFreeWhenDisabled)
  Q_PROPERTY(vte::TTEPass2OptionsType* Pass2Options READ Pass2Options WRITE SetPass2Options)
  Q_PROPERTY(vte::engine_types::TTEPassSettingType PassSetting READ PassSetting WRITE SetPassSetting)
  Q_PROPERTY(QString Version READ Version WRITE SetVersion)

public:
  explicit TTransitionEffect(QObject* Owner = nullptr);
  ~TTransitionEffect() override;

  // --- published ---
  bool AbortOnClick() const { return FAbortOnClick; }
  void SetAbortOnClick(bool V) { FAbortOnClick = V; }
  bool AbortOnEscape() const { return FAbortOnEscape; }
  void SetAbortOnEscape(bool V) { FAbortOnEscape = V; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool V);  // False also unprepares
  bool FlickerFreeWhenDisabled() const { return FFlickerFreeWhenDisabled; }
  void SetFlickerFreeWhenDisabled(bool V) { FFlickerFreeWhenDisabled = V; }
  TTEPass2OptionsType* Pass2Options() const { return FPass2Options; }
  void SetPass2Options(TTEPass2OptionsType* V) { if (V) FPass2Options->Assign(*V); }
  TTEPassSettingType PassSetting() const { return FPassSetting; }
  void SetPassSetting(TTEPassSettingType V) { FPassSetting = V; }
  QString Version() const { return VersionText(); }
  void SetVersion(const QString&) {}

  // Declared here, published by the subclasses that use them.
  TTEEffectDirection Direction() const { return FDirection; }
  void SetDirection(TTEEffectDirection V);  // ignored unless V is in AllowedDirections
  bool Reversed() const { return FReversed; }
  void SetReversed(bool V) { FReversed = V; }
  int Milliseconds() const { return FMilliseconds; }
  void SetMilliseconds(int V) { FMilliseconds = V; }

  // --- public, not stored ---
  bool ClientCoordinates = true;
  bool ForceScreenCopy = false;
  bool ForceRendering = false;
  bool PreferRendering = false;
  // A mask for the render window, given to it when Execute starts.
  std::optional<QRegion> RenderWindowRegion;
  bool Prepared() const { return FPrepared; }
  bool Aborted() const { return FAborted; }
  TTEEffectDirections AllowedDirections() const { return FAllowedDirections; }
  // The prepared or running run: its looks, target, covered control and area, pass, and where
  // the old look came from (decided once, when the run is set up).
  const TTERunRecord& Run() const { return FRun; }
  // Where the old look of a run covering ScreenRect of Control comes from (no control: a run
  // without a window, whose old look counts as a screen copy unless rendering is forced).
  TTEOldLookOrigin ChooseOldLookOrigin(const QWidget* Control, const TRect& ScreenRect) const;

  // --- events (Sender is this transition) ---
  TTEAbortQueryEvent OnAbortQuery;
  TTENotifyEvent OnBeforeTransition;
  TTENotifyEvent OnStartTransition;
  TTENotifyEvent OnEndTransition;
  TTENotifyEvent OnAfterTransition;

  // --- run ---
  bool Prepare(QWidget* Control, const TRect& Rect);
  void PreparePass2Image();
  void Execute();
  // Frees the looks and the render window. Called during a run (from a handler, or through
  // SetEnabled(false) or Prepare), the release waits for the end of the run.
  void UnPrepare();
  // Runs the passes on a record built without a window (the offscreen runner): OldLook and
  // NewLook hand over the looks, as captures would, and are called only when the run needs them
  // (also an effect that draws no new look needs it while motion is reduced); the record holds an
  // intermediate look only for a run of two passes. The record is cleared after.
  using TLookProvider = std::function<std::unique_ptr<TBitmap>()>;
  void RunDetached(TTERunRecord Record, const TLookProvider& OldLook, const TLookProvider& NewLook);

  TTEEffectDirection DirectionToUse() const;
  bool ReversedToUse() const;
  int PassesToUse() const;
  void CheckAbort(bool Throttled);
  void UpdateScreen(bool Full);

  // Copies the settings (not the events, the name, the list or the region).
  virtual void Assign(const TTransitionEffect& Source);

  // --- list membership ---
  TTransitionList* TransitionList() const { return FTransitionList; }
  void SetTransitionList(TTransitionList* List);
  int Index() const;
  void SetIndex(int Value);

  // --- class-level facts ---
  static QString Description(const QMetaObject* Class);
  static QString EditorClassName(const QMetaObject* Class);
  QString Description() const { return Description(metaObject()); }
  QString EditorClassName() const { return EditorClassName(metaObject()); }

  // --- what an effect needs (overridden by the effects) ---
  virtual TTEEffectDirection ReversedDirection() const { return OppositeDirection(FDirection); }
  virtual void DoExecute(TTETransitionData& Data) = 0;
  virtual int GetBitmapsWidth(int Width) const { return Width; }
  virtual TPixelFormat GetPixelFormat() const;  // the device format
  virtual bool NeedDstImage() const { return true; }
  virtual bool NeedSrcImage() const { return true; }
  virtual bool RenderWhenClipped() const { return true; }
  virtual bool NeedWorkBitmap() const { return false; }
  virtual bool WorkOnOldImage() const { return false; }
  virtual bool TwoPassesCapable() const { return true; }

  // --- frame state, shared by the frame loop and the effects ---
  bool FrameEnabled = true;
  TBitmap* FrameBitmap = nullptr;  // the work bitmap being shown (only during the frame loop)
  TRect UpdateRect;                // (0,0,0,0): the whole bitmap
  TRect UnchangedRect;             // a part inside UpdateRect left out of the copy
  TRect PrevUpdateRect;
  TRect PrevUnchangedRect;
  std::unique_ptr<TFCDirtyRects> DirtyRects;

  // Where frames are shown during a run (the render window's surface or an offscreen bitmap):
  // the run record's target. Prepare sets it to the render window, the offscreen runner to its
  // bitmap; tests that drive DoExecute directly attach their own.
  const TTERenderTarget& RenderTarget() const { return FRun.Target; }
  void AttachRenderTarget(TTERenderTarget Target) { FRun.Target = std::move(Target); }
  // Shows the final image: DstBmp whole onto the render target.
  void ShowFinalImage(TTETransitionData& Data);

  bool SecondPass() const { return FRun.Pass == 2; }
  int AbortCheckInterval = 300;

protected:
  // Subclass constructors replace the allowed set and set their own default direction.
  void SetAllowedDirections(TTEEffectDirections Set) { FAllowedDirections = Set; }
  void InitDirection(TTEEffectDirection D) { FDirection = D; }

  TTEChrono AbortChrono;

private:
  friend class TTransitionList;

  void ReleaseRenderWindow();
  // Execute after OnBeforeTransition and before OnAfterTransition.
  void ExecutePrepared();
  bool CanRun() const { return FEnabled || FFlickerFreeWhenDisabled; }
  bool FindControlToCover(QWidget*& Control, TRect& Rect);
  // The run's area in device pixels (width, height).
  TPoint RunDeviceSize() const;
  // Area (logical) widened for a look of the effect's bitmap width, and a look cut to that width.
  TRect LookArea(TRect Area) const;
  std::unique_ptr<TBitmap> FitLook(std::unique_ptr<TBitmap> Look) const;
  std::unique_ptr<TBitmap> PaintControl();
  std::unique_ptr<TBitmap> CaptureScreen();
  void CreateRenderWindow(QWidget* Parent, const TRect& Bounds);
  // Puts the render window at its place among its siblings: directly above the covered control,
  // or on top of the control it lies in.
  void StackRenderWindow();
  void CopyToTarget(const TBitmap& Bitmap);
  // The animation of a prepared run: one or two passes from the old look (and the intermediate one) to the
  // new look that NewLook paints; the cut instead while motion is reduced (engine/reduced_motion.h).
  void RunPasses(const TLookProvider& NewLook);
  // The new look when the effect draws it, else none.
  std::unique_ptr<TBitmap> TakeNewLook(const TLookProvider& NewLook) const;
  // The new look in one copy, between the start and end events, with no frame before it.
  void RunCut(const TLookProvider& NewLook);
  void PrepareWorkBitmap(TBitmap*& Work, std::unique_ptr<TBitmap>& OwnedWork);
  void RunPass(TBitmap* Src, TBitmap* Dst, TBitmap* Work, bool Animate, bool FireStart);

  bool FAbortOnClick = false;
  bool FAbortOnEscape = false;
  bool FEnabled = true;
  bool FFlickerFreeWhenDisabled = false;
  TTEPass2OptionsType* FPass2Options;  // owned (child object)
  TTEPassSettingType FPassSetting = teOnePass;
  TTEEffectDirection FDirection = tedNone;
  bool FReversed = false;
  int FMilliseconds = 0;
  TTEEffectDirections FAllowedDirections = DirectionSet(tedNone);

  bool FPrepared = false;
  bool FAborted = false;
  bool FRunning = false;  // between the start and the clean-up of a run
  TTransitionList* FTransitionList = nullptr;

  TTERunRecord FRun;  // between Prepare and UnPrepare, or during a detached run
  QPointer<TTERenderWindow> FRenderWindow;  // owned while prepared
  bool FRenderWindowReady = false;
};

// The trivial effect: the new look in one copy.
class TFlickerFreeTransition : public TTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("Description", "Flicker free cut")

public:
  Q_INVOKABLE explicit TFlickerFreeTransition(QObject* Owner = nullptr) : TTransitionEffect(Owner) {}
  void DoExecute(TTETransitionData& Data) override;
  bool NeedSrcImage() const override { return false; }
  TPixelFormat GetPixelFormat() const override { return pfDevice; }
};

// The program's flicker-free transition (FlickerFreeWhenDisabled set); created on first use and
// freed with the application object (or at exit without one).
TFlickerFreeTransition* GlobalFlickerFree();
// A flicker-free cut for one change made without a transition of its own: it runs when the
// program's flicker-free transition says a disabled cut still runs.
std::unique_ptr<TFlickerFreeTransition> MakeTemporaryFlickerFree();

}  // namespace vte
