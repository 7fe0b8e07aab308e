#include "pages/custom_transition_page.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "container/form_container.h"
#include "editors/editor_helpers.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "pages/form_custom_transition_exec.h"

namespace vte::demo {

namespace {

// The source files one after the other, each under a line naming it.
QString SourceText(const QStringList& Sources) {
  QString Text;
  for (const QString& Name : Sources) {
    QFile File(Name);
    if (!File.open(QIODevice::ReadOnly))
      throw std::runtime_error(QStringLiteral("Cannot open file '%1': %2").arg(Name, File.errorString()).toStdString());
    if (!Text.isEmpty()) Text += QLatin1Char('\n');
    Text += QStringLiteral("// ---- %1 ----\n").arg(Name.section(QLatin1Char('/'), -1));
    Text += QString::fromUtf8(File.readAll());
  }
  return Text;
}

// Releases a prepared transition however the scope is left.
struct TUnPrepareAtEnd {
  TTransitionEffect* Transition;
  ~TUnPrepareAtEnd() { Transition->UnPrepare(); }
};

}  // namespace

TCustomTransitionPage::TCustomTransitionPage(QObject* Owner, std::unique_ptr<TTransitionEffect> Custom,
                                             const QString& StoredList, const QStringList& Sources,
                                             bool ReverseLeavingExecute)
    : TFCEmbeddedForm(Owner), FCustomTransition(std::move(Custom)), FReverseLeavingExecute(ReverseLeavingExecute) {
  SetClientWidth(501);
  SetClientHeight(493);
  InheritBackground(BackgroundOptions());

  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  PageControl->setGeometry(8, 8, 485, 477);

  TabSheetCode = new QWidget;
  TabSheetCode->setObjectName(QStringLiteral("TabSheetCode"));
  MemoCode = new QPlainTextEdit(TabSheetCode);
  MemoCode->setObjectName(QStringLiteral("MemoCode"));
  MemoCode->setReadOnly(true);
  MemoCode->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont Mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  Mono.setPixelSize(12);
  MemoCode->setFont(Mono);
  MemoCode->setPlainText(SourceText(Sources));
  auto* CodeLayout = new QVBoxLayout(TabSheetCode);
  CodeLayout->setContentsMargins(4, 4, 4, 4);
  CodeLayout->addWidget(MemoCode);
  PageControl->addTab(TabSheetCode, QStringLiteral("Source code"));

  TabSheetExecute = new QWidget;
  TabSheetExecute->setObjectName(QStringLiteral("TabSheetExecute"));
  FormContainer = new TFormContainer(TabSheetExecute);
  FormContainer->setObjectName(QStringLiteral("FormContainer"));
  auto* ExecuteLayout = new QVBoxLayout(TabSheetExecute);
  ExecuteLayout->setContentsMargins(0, 0, 0, 0);
  ExecuteLayout->addWidget(FormContainer);
  PageControl->addTab(TabSheetExecute, QStringLiteral("Execute"));

  TransitionList = new TTransitionList(this);
  TransitionList->setObjectName(QStringLiteral("TransitionList"));
  TransitionList->LoadFromFile(StoredList);
  Transition = TransitionList->findChild<TTransitionEffect*>(QStringLiteral("Transition"));

  PageControl->tabBar()->installEventFilter(this);
  PageControl->installEventFilter(this);
  connect(PageControl, &QTabWidget::currentChanged, this, [this] { TabChanged(); });
}

// The editor hosted on the Execute tab goes with the page, before the transition it points to.
TCustomTransitionPage::~TCustomTransitionPage() {
  delete PageControl;
}

void TCustomTransitionPage::Loaded() {
  TFCEmbeddedForm::Loaded();
  auto* Exec = static_cast<TFormCustomTransitionExec*>(
      FormContainer->CreateForm(&TFormCustomTransitionExec::staticMetaObject));
  Exec->SetCustomTransition(FCustomTransition.get());
  FormContainer->ShowForm(Exec, false);
}

bool TCustomTransitionPage::MayChangeTab(QObject* Watched, QEvent* Event) const {
  QTabBar* Bar = PageControl->tabBar();
  switch (Event->type()) {
    case QEvent::MouseButtonPress: {
      if (Watched != Bar) return false;
      auto* Mouse = static_cast<QMouseEvent*>(Event);
      const int At = Bar->tabAt(Mouse->position().toPoint());
      return Mouse->button() == Qt::LeftButton && At >= 0 && At != Bar->currentIndex();
    }
    case QEvent::Wheel:
      return Watched == Bar;
    case QEvent::KeyPress:
      return Watched == Bar || (static_cast<QKeyEvent*>(Event)->modifiers() & Qt::ControlModifier);
    default:
      return false;
  }
}

bool TCustomTransitionPage::eventFilter(QObject* Watched, QEvent* Event) {
  if (FPassingOn || !MayChangeTab(Watched, Event)) return TFCEmbeddedForm::eventFilter(Watched, Event);
  PrepareTabChange();
  // Released however the event ends: after a change of tab the run has released it already, and
  // an event that changed nothing leaves nothing to show.
  const TUnPrepareAtEnd Release{Transition};
  const QScopedValueRollback<bool> PassingOn(FPassingOn, true);
  QCoreApplication::sendEvent(Watched, Event);
  // Delivered, and passed on to the parents if nobody took it: it must not travel up again.
  Event->accept();
  return true;
}

// Over the shown sheet, in the coordinates of the page control's parent.
void TCustomTransitionPage::PrepareTabChange() {
  QWidget* Sheet = PageControl->currentWidget();
  QWidget* Parent = PageControl->parentWidget();
  if (!Sheet || !Parent) return;
  if (FReverseLeavingExecute) Transition->SetReversed(Sheet == TabSheetExecute);
  const QPoint TopLeft = Parent->mapFromGlobal(Sheet->mapToGlobal(QPoint(0, 0)));
  const QPoint BottomRight = Parent->mapFromGlobal(Sheet->mapToGlobal(QPoint(Sheet->width(), Sheet->height())));
  Transition->Prepare(Parent, Rect(TopLeft.x(), TopLeft.y(), BottomRight.x(), BottomRight.y()));
}

void TCustomTransitionPage::TabChanged() {
  if (!Transition->Prepared()) return;
  const TWaitCursor Wait;
  const TUnPrepareAtEnd Release{Transition};
  Transition->Execute();
}

}  // namespace vte::demo
