#include "container/form_container.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QMetaMethod>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "container/control_frames.h"
#include "container/embedded_form.h"
#include "engine/errors.h"
#include "engine/transition_effect.h"
#include "engine/version.h"
#include "render/device.h"

namespace vte {

namespace {

QString ShortName(const QMetaObject* Class) {
  const QString Name = QString::fromLatin1(Class->className());
  return Name.mid(Name.lastIndexOf(QLatin1Char(':')) + 1);
}

// A published method of Form by name alone (its parameters are the form's business).
QMetaMethod PublishedMethod(const QObject* Form, const char* Name) {
  const QMetaObject* M = Form->metaObject();
  for (int I = M->methodCount() - 1; I >= 0; --I)
    if (M->method(I).name() == Name) return M->method(I);
  return {};
}

void FocusFirstChild(QWidget* Form) {
  for (QWidget* W = Form->nextInFocusChain(); W && W != Form; W = W->nextInFocusChain())
    if (Form->isAncestorOf(W) && W->isVisibleTo(Form) && W->isEnabled() && (W->focusPolicy() & Qt::TabFocus)) {
      W->setFocus(Qt::TabFocusReason);
      return;
    }
}

// Top-level forms whose OnDestroy closes the containers inside them first.
std::vector<TForm*> GHookedForms;

}  // namespace

// CreateForm and the change of page run one at a time, and Locked is cleared on every way out.
class TFormContainer::TLock {
public:
  explicit TLock(TFormContainer& C) : FContainer(C) {
    if (C.FLocked) throw EFormContainerError("FomContainer is locked");
    C.FLocked = true;
  }
  ~TLock() { FContainer.FLocked = false; }

private:
  TFormContainer& FContainer;
};

TFormContainer::TFormContainer(QWidget* Parent)
    : QScrollArea(Parent), FOptions(new TFCBackgroundOptions(this)), FClient(new QWidget) {
  setFrameShape(QFrame::NoFrame);
  // Not a tab stop: the focus belongs to the hosted form's controls.
  setFocusPolicy(Qt::NoFocus);
  setWidgetResizable(false);
  setWidget(FClient);
  // The viewport paints the container's surface; the widget holding the forms lets it show.
  FClient->setAutoFillBackground(false);
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  SetAutoScroll(false);
  resize(185, 41);
  FOptions->AttachTo(this);
  for (QScrollBar* Bar : {horizontalScrollBar(), verticalScrollBar()})
    connect(Bar, &QScrollBar::valueChanged, this, [this] {
      if (FOptions && FOptions->IsActive()) FOptions->PositionChanged();
    });
}

TFormContainer::~TFormContainer() {
  FDestroying = true;
  delete std::exchange(FOptions, nullptr);
  CloseNestedContainers(this);
  for (TFCFormData* R : FForms)
    if (R->Form) R->Form->hide();
  FForms.clear();
  FHistory.clear();
  FAllFormData.clear();
}

// --- properties ---

void TFormContainer::SetAutoScroll(bool V) {
  FAutoScroll = V;
  const Qt::ScrollBarPolicy Policy = V ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  setHorizontalScrollBarPolicy(Policy);
  setVerticalScrollBarPolicy(Policy);
  UpdateClientSize();
}

void TFormContainer::SetBackgroundOptions(TFCBackgroundOptions* V) {
  if (V && FOptions) FOptions->Assign(*V);
}

void TFormContainer::SetBorderStyle(TFormBorderStyle V) {
  FBorderStyle = V == bsNone ? bsNone : bsSingle;
  setFrameShape(FBorderStyle == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
  setFrameShadow(QFrame::Sunken);
}

TColor TFormContainer::Color() const { return ControlColor(this); }

void TFormContainer::SetColor(TColor V) {
  SetControlColor(this, V);
  viewport()->update();
}

void TFormContainer::SetLRUFormCapacity(int V) {
  if (V == FLRUFormCapacity) return;
  FLRUFormCapacity = V;
  while (HistoryCount() > std::max(V, 0)) DeleteHistoryEntry(1);
  if (static_cast<int>(FHistory.capacity()) > V) FHistory.shrink_to_fit();
}

QString TFormContainer::Version() const { return VersionText(); }

TForm* TFormContainer::Forms(int Index) const {
  return Index >= 1 && Index <= FormCount() ? FForms[Index - 1]->Form.data() : nullptr;
}

const TFCFormData* TFormContainer::History(int Index) const {
  return Index >= 1 && Index <= HistoryCount() ? FHistory[Index - 1] : nullptr;
}

TFCFormData* TFormContainer::RecordOf(const TForm* Form) const {
  for (TFCFormData* R : FForms)
    if (R->Form == Form) return R;
  return nullptr;
}

TFCFormData& TFormContainer::KnownRecord(const TForm* Form) const {
  if (TFCFormData* R = RecordOf(Form)) return *R;
  throw EFormContainerError(QStringLiteral("Form '%1' unknown").arg(Form->objectName()).toStdString());
}

void TFormContainer::FreeIfUnreferenced(TFCFormData* Record) {
  if (std::find(FForms.begin(), FForms.end(), Record) != FForms.end() ||
      std::find(FHistory.begin(), FHistory.end(), Record) != FHistory.end())
    return;
  std::erase_if(FAllFormData, [Record](const std::unique_ptr<TFCFormData>& R) { return R.get() == Record; });
}

TForm* TFormContainer::ParentForm() const { return qobject_cast<TForm*>(window()); }

// --- creating ---

TForm* TFormContainer::CreateForm(const QMetaObject* FormClass) {
  TLock Lock(*this);
  TForm* Form = vte::CreateForm(FormClass, this);
  if (!Form)
    throw EFormContainerError(
        QStringLiteral("'%1' is not a form class").arg(FormClass ? ShortName(FormClass) : QString()).toStdString());
  const QString Name = ShortName(FormClass);
  auto Check = [&](bool Holds, const char* Message) {
    if (Holds) return;
    delete Form;
    throw EFormContainerError(QString::fromLatin1(Message).arg(Name).toStdString());
  };
  Check(Form->BorderStyle() == bsNone, "'BorderStyle' property of '%1' must be 'bsNone'");
  Check(Form->FormStyle() == fsNormal, "'FormStyle' property of '%1' must be 'fsNormal'");
  Check(Form->WindowState() == wsNormal, "'WindowState' property of '%1' must be 'wsNormal'");
  Check(Form->isHidden(), "'Visible' property of '%1' must be 'False' at design time");

  Form->setParent(FClient);  // a child widget now, hidden until shown
  // Hidden on purpose: a child not hidden by a call of its own appears with its parent, and a
  // container not on the screen yet would show every form created in it.
  Form->hide();
  Form->raise();
  TFCFormData* Record = nullptr;
  if (FNavigateIndex != 0) {
    Record = FHistory[FNavigateIndex - 1];
    Record->AttachForm(Form);
    if (const QMetaMethod Restore = PublishedMethod(Form, "FCGetExtraData"); Restore.isValid())
      Restore.invoke(Form, Qt::DirectConnection, Q_ARG(vte::TFCExtraData*, Record->ExtraData.get()));
  } else {
    auto New = std::make_unique<TFCFormData>();
    New->FormClass = FormClass;
    New->Position = Form->Position();
    New->BorderIcons = Form->BorderIcons();
    Form->SetPosition(poDesigned);
    New->AttachForm(Form);
    Record = New.get();
    FAllFormData.push_back(std::move(New));
  }
  FForms.push_back(Record);
  if (OnFormCreate) OnFormCreate(this, Form);
  return Form;
}

// --- showing ---

void TFormContainer::ShowForm(TForm* Form, bool DestroyCurrent, TFCFormAlign Align, TFCBackgroundOptions* Options,
                              TTransitionEffect* Transition) {
  bool Dying = FDestroying;
  for (QWidget* Up = parentWidget(); Up && !Dying; Up = Up->parentWidget()) {
    if (auto* F = qobject_cast<TForm*>(Up)) Dying = F->Destroying();
    if (auto* C = qobject_cast<TFormContainer*>(Up)) Dying = C->FDestroying;
  }
  std::unique_ptr<TTransitionEffect> Owned;
  TTransitionEffect* Effect = nullptr;
  if (!Dying) {
    if (Form) KnownRecord(Form).Align = Align;
    if (Transition) {
      Effect = Transition;
    } else if (FFlickerFree) {
      Owned = MakeTemporaryFlickerFree();
      Effect = Owned.get();
    }
  }
  struct TUnPrepare {
    TTransitionEffect* Effect;
    ~TUnPrepare() {
      if (Effect) Effect->UnPrepare();
    }
  } UnPrepare{Effect};
  bool Prepared = false;
  if (Effect) {
    // With scroll bars the whole control changes; otherwise only what its client area shows.
    if (FAutoScroll && parentWidget()) {
      const QRect B = geometry();
      Prepared = Effect->Prepare(parentWidget(), Bounds(B.x(), B.y(), B.width(), B.height()));
    } else {
      Prepared = Effect->Prepare(this, ControlClientRect(this));
    }
  }

  bool CanChange = true;
  if (OnFormChange) OnFormChange(this, FActiveForm, Form, CanChange);
  if (!CanChange) throw EAbort();

  QWidget* Remembered = QApplication::focusWidget();
  if (Prepared && Effect->PassesToUse() == 2) {
    // The intermediate look is the empty container.
    SetActiveForm(nullptr, DestroyCurrent);
    Effect->PreparePass2Image();
    SetActiveForm(Form, false);
  } else {
    SetActiveForm(Form, DestroyCurrent);
  }
  if (Options && Options != FOptions && FOptions) FOptions->Assign(*Options);
  if (FActiveForm) FocusAfterChange(FActiveForm, Remembered);
  if (Prepared && Form == FActiveForm) Effect->Execute();
}

void TFormContainer::FocusAfterChange(TForm* Form, QWidget* Remembered) {
  QWidget* Now = QApplication::focusWidget();
  // A control that keeps the focus through the change keeps it.
  if (Now && Now != Form && (Now->focusPolicy() & Qt::TabFocus) &&
      (!Remembered || Remembered == Now || Form->isAncestorOf(Now)))
    return;
  QWidget* Active = Form->ActiveControl();
  if (isVisible()) {
    if (Active)
      Active->setFocus(Qt::OtherFocusReason);
    else
      FocusFirstChild(Form);
    return;
  }
  TForm* Parent = ParentForm();
  if (Active && Active->isEnabled() && Active->focusPolicy() != Qt::NoFocus) {
    if (Parent) Parent->SetActiveControl(Active);
  } else if (Parent && Parent->isVisible()) {
    FocusFirstChild(Form);
  }
}

void TFormContainer::SetActiveForm(TForm* NewForm, bool Destroy) {
  TLock Lock(*this);
  if (NewForm == FActiveForm) return;
  if (TForm* Old = FActiveForm) LeaveForm(Old, Destroy);
  if (HistoryCount() > FLRUFormCapacity) DeleteHistoryEntry(1);
  FHistoryIndex = 0;
  FActiveForm = NewForm;
  if (!NewForm) return;
  TFCFormData& Record = KnownRecord(NewForm);
  if (FNavigateIndex != 0) FHistoryIndex = FNavigateIndex;
  if (!Record.Shown) {
    Record.Shown = true;
    if (Record.OnShow) Record.OnShow(NewForm);
  }
  PlaceActiveForm();
  NewForm->setVisible(true);
  MergeMenu(NewForm, true);
  MergeActions(NewForm, true);
  HookParentFormDestroy();
}

void TFormContainer::LeaveForm(TForm* Old, bool Destroy) {
  TFCFormData& Record = KnownRecord(Old);
  MergeActions(Old, false);
  if (Old->OnClose) {
    // The form hears how it leaves; what it answers does not change that.
    TCloseAction Action = Destroy ? caFree : caHide;
    Old->OnClose(Old, Action);
  }
  if (Destroy) {
    if (OnFormDestroy) OnFormDestroy(this, Old);
    CloseNestedContainers(Old);
  }
  Old->setVisible(false);
  if (Record.Shown) {
    Record.Shown = false;
    if (Record.OnHide) Record.OnHide(Old);
  }
  // A hidden form's menu leaves the parent form's bar too, or the next form's would pile on it.
  MergeMenu(Old, false);
  UpdateHistoryOnLeave(&Record, Old, Destroy);
  if (!Destroy) return;
  std::erase(FForms, &Record);
  if (!FDestroying && ParentForm() && FSaveLRUDestroyedForms) SaveExtraData(Record, Old);
  FreeIfUnreferenced(&Record);
  if (FSafeFormDestroy)
    Old->Release();
  else
    delete Old;
}

void TFormContainer::UpdateHistoryOnLeave(TFCFormData* Record, TForm* Old, bool Destroyed) {
  const int C = FHistoryIndex, N = HistoryCount(), V = FNavigateIndex;
  const bool LeavingTheMiddle = V == 0 && C != 0 && C != N;
  if (Destroyed && !FSaveLRUDestroyedForms) {
    // The form goes for good: so do its entries, and the entries after it when it was in the middle.
    if (LeavingTheMiddle)
      for (int I = N; I >= C; --I) DeleteHistoryEntry(I);
    for (int I = HistoryCount(); I >= 1; --I)
      if (FHistory[I - 1]->Form == Old) DeleteHistoryEntry(I);
    return;
  }
  if (LeavingTheMiddle) {
    for (int I = N; I > C; --I) DeleteHistoryEntry(I);
  } else if (C == 0) {
    FHistory.push_back(Record);
  }
}

bool TFormContainer::DeleteHistoryEntry(int Index) {
  if (Index < 1 || Index > HistoryCount()) return false;
  TFCFormData* Record = FHistory[Index - 1];
  FHistory.erase(FHistory.begin() + (Index - 1));
  FreeIfUnreferenced(Record);
  if (FHistoryIndex >= Index) --FHistoryIndex;
  if (FNavigateIndex >= Index) --FNavigateIndex;
  return true;
}

void TFormContainer::SaveExtraData(TFCFormData& Record, TForm* Form) {
  Record.Form = nullptr;
  const QMetaMethod ClassOf = PublishedMethod(Form, "FCGetExtraDataClass");
  const QMetaMethod Save = PublishedMethod(Form, "FCSetExtraData");
  if (!ClassOf.isValid() || !Save.isValid()) return;
  if (!Record.ExtraData) {
    const QMetaObject* Class = nullptr;
    ClassOf.invoke(Form, Qt::DirectConnection, Q_RETURN_ARG(const QMetaObject*, Class));
    if (!Class) return;
    QObject* Made = Class->newInstance();
    Record.ExtraData.reset(qobject_cast<TFCExtraData*>(Made));
    if (!Record.ExtraData) {
      delete Made;
      return;
    }
  }
  Save.invoke(Form, Qt::DirectConnection, Q_ARG(vte::TFCExtraData*, Record.ExtraData.get()));
}

bool TFormContainer::ShowHistoryForm(int Index, bool DestroyCurrent, TFCFormAlign Align,
                                     TFCBackgroundOptions* Options, TTransitionEffect* Transition) {
  if (Index < 1 || Index > HistoryCount() || Index == FHistoryIndex) return false;
  FNavigateIndex = Index;
  struct TEndNavigation {
    int& Index;
    ~TEndNavigation() { Index = 0; }
  } End{FNavigateIndex};
  TFCFormData* Entry = FHistory[Index - 1];
  if (!Entry->Form) CreateForm(Entry->FormClass);
  ShowForm(Entry->Form, DestroyCurrent, Align, Options, Transition);
  return true;
}

bool TFormContainer::CanGoBack() const { return HistoryCount() >= 1 && FHistoryIndex != 1; }

bool TFormContainer::GoBack(bool DestroyCurrent, TTransitionEffect* Transition, TFCFormAlign Align,
                            TFCBackgroundOptions* Options) {
  if (!CanGoBack()) return false;
  return ShowHistoryForm(FHistoryIndex != 0 ? FHistoryIndex - 1 : HistoryCount(), DestroyCurrent, Align, Options,
                         Transition);
}

// --- placing ---

void TFormContainer::PlaceActiveForm() {
  TForm* Form = FActiveForm;
  if (!Form) return;
  const TFCFormData& Record = KnownRecord(Form);
  TFCFormAlign Kind = Record.Align;
  if (Kind == fcfaDefault) {
    if (auto* Embedded = qobject_cast<TFCEmbeddedForm*>(Form)) {
      // An embedded form asking for the default keeps its own bounds.
      Kind = Embedded->Alignment() == fcfaDefault ? fcfaNone : Embedded->Alignment();
    } else if (Record.BorderIcons.testFlag(biMaximize)) {
      Kind = fcfaClient;
    } else {
      switch (Record.Position) {
        case poDesigned: Kind = fcfaNone; break;
        case poScreenCenter:
        case poDesktopCenter:
        case poOwnerFormCenter: Kind = fcfaCenter; break;
        case poMainFormCenter: Kind = fcfaMainFormCenter; break;
        default: Kind = fcfaTopLeft; break;
      }
    }
  }
  const QRect Own = Form->geometry();
  const int CW = viewport()->width(), CH = viewport()->height();
  QRect B = Own;
  switch (Kind) {
    case fcfaCenter: B.moveTo(std::max(0, (CW - Own.width()) / 2), std::max(0, (CH - Own.height()) / 2)); break;
    case fcfaClient: B = QRect(0, 0, CW, CH); break;
    case fcfaTopLeft: B.moveTo(0, 0); break;
    case fcfaMainFormCenter:
      if (QWidget* Parent = ParentForm()) {
        const QPoint Centre = Parent->mapToGlobal(QPoint((Parent->width() - Own.width()) / 2,
                                                          (Parent->height() - Own.height()) / 2));
        B.moveTo(FClient->mapFromGlobal(Centre));
      }
      break;
    default: break;
  }
  // Along a scrolling axis the form keeps its own place and size.
  if (HasScrollBar(this, Qt::Horizontal)) {
    B.moveLeft(Own.left());
    B.setWidth(Own.width());
  }
  if (HasScrollBar(this, Qt::Vertical)) {
    B.moveTop(Own.top());
    B.setHeight(Own.height());
  }
  if (B != Own) Form->setGeometry(B);
  UpdateClientSize();
}

void TFormContainer::UpdateClientSize() {
  QSize S = viewport()->size();
  if (FAutoScroll && FActiveForm) S = S.expandedTo(QSize(FActiveForm->geometry().right() + 1, FActiveForm->geometry().bottom() + 1));
  if (FClient->size() != S) FClient->resize(S);
}

void TFormContainer::resizeEvent(QResizeEvent* Event) {
  QScrollArea::resizeEvent(Event);
  UpdateClientSize();
  // A container shown for the first time gets its size before its children are visible: the
  // form it shows is placed then too.
  if (FActiveForm && !FActiveForm->isHidden()) PlaceActiveForm();
}

bool TFormContainer::viewportEvent(QEvent* Event) {
  if (Event->type() != QEvent::Paint || !FOptions) return QScrollArea::viewportEvent(Event);
  QPainter Painter(viewport());
  const QRect R = static_cast<QPaintEvent*>(Event)->rect();
  FOptions->Paint(Painter, Bounds(R.x(), R.y(), R.width(), R.height()));
  return true;
}

// --- the parent form ---

void TFormContainer::MergeMenu(TForm* Form, bool Merge) {
  TForm* Parent = ParentForm();
  QMenuBar* Own = Form->Menu();
  if (!Parent || Parent == Form || !Own || !Parent->Menu() || !Own->property("AutoMerge").toBool()) return;
  for (QAction* A : Own->actions()) {
    if (Merge)
      Parent->Menu()->addAction(A);
    else
      Parent->Menu()->removeAction(A);
  }
}

void TFormContainer::MergeActions(TForm* Form, bool Merge) {
  TForm* Parent = ParentForm();
  if (!Parent || Parent == Form) return;
  for (QAction* A : Form->actions()) {
    if (Merge)
      Parent->addAction(A);
    else
      Parent->removeAction(A);
  }
}

void TFormContainer::HookParentFormDestroy() {
  TForm* Parent = ParentForm();
  if (!Parent || std::find(GHookedForms.begin(), GHookedForms.end(), Parent) != GHookedForms.end()) return;
  GHookedForms.push_back(Parent);
  // The hosted forms hear that they are hidden while the parent form still stands.
  Parent->OnDestroy = [Previous = std::move(Parent->OnDestroy)](TForm* Sender) {
    CloseNestedContainers(Sender);
    std::erase(GHookedForms, Sender);
    if (Previous) Previous(Sender);
  };
}

void TFormContainer::CloseNestedContainers(QWidget* Control) {
  const QObjectList Children = Control->children();
  for (auto It = Children.rbegin(); It != Children.rend(); ++It)
    if ((*It)->isWidgetType()) CloseNestedContainers(static_cast<QWidget*>(*It));
  if (auto* Container = qobject_cast<TFormContainer*>(Control); Container && Container->FormCount() > 0)
    Container->ShowForm(nullptr, false);
}

}  // namespace vte
