#include "container/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPaintEvent>
#include <QScreen>

#include "container/background_options.h"
#include "container/control_frames.h"

namespace vte {

TForm::TForm(QObject* Owner) : QWidget(qobject_cast<QWidget*>(Owner), Qt::Window) {
  // An owner that is no widget still ends the form's life: a widget's parent must be a widget.
  if (Owner && !qobject_cast<QWidget*>(Owner)) connect(Owner, &QObject::destroyed, this, [this] { delete this; });
  setAutoFillBackground(true);
  SetColor(FColor);
  ApplyWindowFlags();
  connect(qApp, &QApplication::focusChanged, this, &TForm::FocusChanged);
}

TForm::~TForm() {
  FDestroying = true;
  // The widgets inside give up the focus while QWidget takes them apart, when this is no TForm
  // any more: the focus handler must not hear of it.
  disconnect(qApp, &QApplication::focusChanged, this, &TForm::FocusChanged);
  // No exception may leave a destructor: a failing OnDestroy handler is ignored here.
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
    }
  }
}

void TForm::AfterConstruction() {
  if (FCreated) return;
  FCreated = true;
  Loaded();
  if (OnCreate) OnCreate(this);
}

// --- properties ---

void TForm::SetBorderStyle(TFormBorderStyle V) {
  FBorderStyle = V;
  ApplyWindowFlags();
}

void TForm::SetBorderIcons(TBorderIcons V) {
  FBorderIcons = V;
  ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle V) {
  FFormStyle = V;
  ApplyWindowFlags();
}

bool TForm::FixedBorder() const {
  return isWindow() && (FBorderStyle == bsSingle || FBorderStyle == bsDialog || FBorderStyle == bsToolWindow);
}

void TForm::SetClientWidth(int V) {
  if (FixedBorder()) setFixedSize(V, height());
  else resize(V, height());
}

void TForm::SetClientHeight(int V) {
  if (FixedBorder()) setFixedSize(width(), V);
  else resize(width(), V);
}

void TForm::ApplyWindowFlags() {
  // Flags mean something only for a window; a hosted form keeps its settings for its container.
  if (!isWindow() || FApplyingFlags) return;
  FApplyingFlags = true;
  const bool WasVisible = isVisible();
  Qt::WindowFlags F = Qt::Window;
  switch (FBorderStyle) {
    case bsNone: F |= Qt::FramelessWindowHint; break;
    case bsDialog: F = Qt::Dialog; break;
    case bsToolWindow:
    case bsSizeToolWin: F = Qt::Tool; break;
    default: break;
  }
  // Without a border there is no title bar to carry icons (Qt would bring the frame back).
  if (FBorderStyle != bsNone) {
    F |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (FBorderIcons.testFlag(biSystemMenu)) F |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (FBorderIcons.testFlag(biMinimize) && FBorderStyle != bsDialog) F |= Qt::WindowMinimizeButtonHint;
    if (FBorderIcons.testFlag(biMaximize) && FBorderStyle != bsDialog) F |= Qt::WindowMaximizeButtonHint;
    if (FBorderIcons.testFlag(biHelp)) F |= Qt::WindowContextHelpButtonHint;
  }
  if (FFormStyle == fsStayOnTop) F |= Qt::WindowStaysOnTopHint;
  setWindowFlags(F);
  // Fixed borders keep the size the form has; sizeable ones let the user change it.
  if (FixedBorder()) {
    setFixedSize(size());
  } else {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  // Changing the flags hides a window: it comes back as it was.
  if (WasVisible) show();
  FApplyingFlags = false;
}

TWindowState TForm::WindowState() const {
  const Qt::WindowStates S = windowState();
  if (S & Qt::WindowMinimized) return wsMinimized;
  if (S & (Qt::WindowMaximized | Qt::WindowFullScreen)) return wsMaximized;
  return wsNormal;
}

void TForm::SetWindowState(TWindowState V) {
  Qt::WindowStates S = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (V == wsMinimized) S |= Qt::WindowMinimized;
  if (V == wsMaximized) S |= Qt::WindowMaximized;
  setWindowState(S);
}

void TForm::SetColor(TColor V) {
  FColor = V;
  SetControlColor(this, V);
  update();
}

QWidget* TForm::ActiveControl() const {
  if (FActiveControl) return FActiveControl;
  QWidget* F = focusWidget();
  return F && F != this ? F : nullptr;
}

void TForm::SetActiveControl(QWidget* Control) {
  if (Control && !isAncestorOf(Control)) return;
  FActiveControl = Control;
  if (Control) Control->setFocus();
}

void TForm::SetMenu(QMenuBar* Menu) {
  if (FMenu == Menu) return;
  if (FMenu) FMenu->hide();
  FMenu = Menu;
  if (FMenu) {
    FMenu->setParent(this);
    FMenu->setGeometry(0, 0, width(), FMenu->sizeHint().height());
    FMenu->setVisible(isWindow());
  }
}

// --- closing ---

bool TForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  return CanClose;
}

bool TForm::DoClose() {
  if (!CloseQuery()) return false;
  TCloseAction Action = caHide;
  if (OnClose) OnClose(this, Action);
  switch (Action) {
    case caNone: return false;
    case caMinimize: SetWindowState(wsMinimized); return false;
    case caFree: hide(); Release(); return true;
    default: hide(); return true;
  }
}

void TForm::Close() {
  if (FClosing) return;
  FClosing = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } Reset{FClosing};
  DoClose();
}

void TForm::closeEvent(QCloseEvent* Event) {
  // The window system's close button runs the same protocol; the form hides or goes itself.
  Event->ignore();
  Close();
}

// --- events ---

void TForm::PlaceAtFirstShow() {
  if (!isWindow()) return;
  QWidget* Over = nullptr;
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter: break;
    case poMainFormCenter: Over = QApplication::activeWindow(); break;
    case poOwnerFormCenter: Over = parentWidget() ? parentWidget()->window() : nullptr; break;
    default: return;
  }
  const QRect Area = Over ? Over->frameGeometry() : (screen() ? screen()->availableGeometry() : QRect());
  if (Area.isEmpty()) return;
  QRect Frame = frameGeometry();
  Frame.moveCenter(Area.center());
  move(Frame.topLeft());
}

void TForm::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  if (Event->spontaneous()) return;
  if (!FShownOnce) {
    FShownOnce = true;
    PlaceAtFirstShow();
    if (FActiveControl) FActiveControl->setFocus();
  }
  if (OnShow) OnShow(this);
}

void TForm::hideEvent(QHideEvent* Event) {
  QWidget::hideEvent(Event);
  if (!Event->spontaneous() && OnHide) OnHide(this);
}

void TForm::paintEvent(QPaintEvent* Event) {
  QWidget::paintEvent(Event);
  // Options that answer for the form (its own, or those of a component on it) paint its surface.
  TFCBackgroundOptions* Options = FindBackgroundOptions(this);
  if (Options && Options->OwnerControl() != this) Options = nullptr;
  if (!Options && !OnPaint) return;
  QPainter Painter(this);
  if (Options) {
    const QRect R = Event->rect();
    Options->Paint(Painter, Bounds(R.x(), R.y(), R.width(), R.height()));
  }
  if (OnPaint) OnPaint(this, Painter);
}

void TForm::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  if (FMenu) FMenu->setGeometry(0, 0, width(), FMenu->sizeHint().height());
}

void TForm::changeEvent(QEvent* Event) {
  QWidget::changeEvent(Event);
  if (Event->type() == QEvent::ActivationChange) {
    if (isActiveWindow()) {
      if (OnActivate) OnActivate(this);
    } else if (OnDeactivate) {
      OnDeactivate(this);
    }
  } else if (Event->type() == QEvent::ParentChange) {
    ApplyWindowFlags();
    if (FMenu) FMenu->setVisible(isWindow());
  }
}

void TForm::FocusChanged(QWidget* Old, QWidget* Now) {
  const bool WasIn = Old && (Old == this || isAncestorOf(Old));
  const bool IsIn = Now && (Now == this || isAncestorOf(Now));
  if (IsIn && Now != this) FActiveControl = Now;
  if (IsIn && !WasIn) {
    if (OnEnter) OnEnter(this);
  } else if (WasIn && !IsIn && OnExit) {
    OnExit(this);
  }
  // Key preview: the form sees the keys of its controls first.
  if (Now && IsIn) Now->installEventFilter(this);
  if (Old && WasIn && Old != Now) Old->removeEventFilter(this);
}

bool TForm::eventFilter(QObject* Watched, QEvent* Event) {
  if (FKeyPreview && OnKeyDown && Event->type() == QEvent::KeyPress && Watched != this) {
    auto* Key = static_cast<QKeyEvent*>(Event);
    int Code = Key->key();
    OnKeyDown(this, Code, Key->modifiers());
    if (Code == 0) return true;
  }
  return QWidget::eventFilter(Watched, Event);
}

TForm* CreateForm(const QMetaObject* FormClass, QObject* Owner) {
  if (!FormClass || !FormClass->inherits(&TForm::staticMetaObject)) return nullptr;
  QObject* Object = FormClass->newInstance(Q_ARG(QObject*, Owner));
  auto* Form = qobject_cast<TForm*>(Object);
  if (!Form) {
    delete Object;
    return nullptr;
  }
  try {
    Form->AfterConstruction();
  } catch (...) {
    delete Form;
    throw;
  }
  return Form;
}

}  // namespace vte
