#include "editors/transition_editor.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "container/form_container.h"
#include "container/form_transitions.h"
#include "editors/click_label.h"
#include "editors/editor_helpers.h"
#include "editors/editor_registry.h"
#include "editors/transition_effect_editor.h"
#include "engine/transition_effect.h"
#include "engine/transition_registry.h"
#include "engine/transition_run.h"

namespace vte {

namespace {

// One of the preview's pictures: a big letter on a coloured ground.
QLabel* MakePicture(QWidget* Parent, const QString& Letter, const QColor& Ground, const QColor& Ink) {
  auto* Label = new QLabel(Letter, Parent);
  Label->setGeometry(8, 56, 169, 193);
  Label->setAlignment(Qt::AlignCenter);
  QFont Font(QStringLiteral("Times New Roman"));
  Font.setPixelSize(147);
  Font.setBold(true);
  Label->setFont(Font);
  Label->setAutoFillBackground(true);
  QPalette Palette = Label->palette();
  Palette.setColor(QPalette::Window, Ground);
  Palette.setColor(QPalette::WindowText, Ink);
  Label->setPalette(Palette);
  return Label;
}

}  // namespace

TTransitionEditor::TTransitionEditor(QObject* Owner) : TForm(Owner) {
  setObjectName(QStringLiteral("TransitionEditor"));
  SetBorderStyle(bsNone);
  SetClientWidth(410);
  SetClientHeight(TTransitionEffectEditor::PageHeight);
  setFont(EditorFont());

  ComboBoxTransitions = new QComboBox(this);
  ComboBoxTransitions->setGeometry(8, 24, 170, 22);
  ComboBoxTransitions->setMaxVisibleItems(15);
  connect(ComboBoxTransitions, &QComboBox::activated, this, [this] { ComboBoxTransitionsChange(); });
  LabelTransitions = new TClickLabel(QStringLiteral("&Transition"), this);
  LabelTransitions->setGeometry(8, 6, 170, 16);
  LabelTransitions->setBuddy(ComboBoxTransitions);

  // The text behind the pictures first: it is what a two-pass preview passes through.
  Label1 = new QLabel(QStringLiteral("Fon do"), this);
  Label1->setGeometry(24, 77, 137, 161);
  Label1->setWordWrap(true);
  QFont TextFont(QStringLiteral("Times New Roman"));
  TextFont.setPixelSize(75);
  TextFont.setBold(true);
  TextFont.setItalic(true);
  Label1->setFont(TextFont);
  LabelA = MakePicture(this, QStringLiteral("A"), Qt::yellow, Qt::black);
  LabelB = MakePicture(this, QStringLiteral("B"), Qt::red, Qt::white);
  LabelB->hide();

  Bevel = new QFrame(this);
  Bevel->setFrameShape(QFrame::VLine);
  Bevel->setFrameShadow(QFrame::Raised);
  Bevel->setGeometry(184, 0, 2, TTransitionEffectEditor::PageHeight);

  BitBtnPreview = new QPushButton(QStringLiteral("&Preview"), this);
  BitBtnPreview->setGeometry(52, 258, 81, 25);
  connect(BitBtnPreview, &QPushButton::clicked, this, [this] { BitBtnPreviewClick(); });

  FormContainer = new TFormContainer(this);
  FormContainer->setGeometry(186, 0, 224, TTransitionEffectEditor::PageHeight);
  InheritBackground(FormContainer->BackgroundOptions());
  FormTransitions = new TFormTransitions(this);
  InheritBackground(FormTransitions->BackgroundOptions());

  NameControls({
      {LabelTransitions, "LabelTransitions"}, {ComboBoxTransitions, "ComboBoxTransitions"}, {Label1, "Label1"},
      {LabelA, "LabelA"}, {LabelB, "LabelB"}, {Bevel, "Bevel"}, {BitBtnPreview, "BitBtnPreview"},
      {FormContainer, "FormContainer"}, {FormTransitions, "FormTransitions"}});
}

// The page, which goes with the container after this, only points to the copy: it reads nothing
// of it while it is taken apart.
TTransitionEditor::~TTransitionEditor() = default;

void TTransitionEditor::resizeEvent(QResizeEvent* Event) {
  TForm::resizeEvent(Event);
  // The page column keeps to the right edge.
  FormContainer->setGeometry(width() - FormContainer->width(), 0, FormContainer->width(), height());
}

const QMetaObject* TTransitionEditor::ClassAt(const QComboBox* ComboBox, int Index) {
  if (Index < 0) return nullptr;
  return reinterpret_cast<const QMetaObject*>(ComboBox->itemData(Index).value<quintptr>());
}

void TTransitionEditor::EditTransitionRef(TTransitionEffect*& Transition) { SetUp(&Transition, true); }

void TTransitionEditor::EditTransition(TTransitionEffect* Transition) {
  FOwnReference = Transition;
  SetUp(&FOwnReference, false);
}

void TTransitionEditor::SetUp(TTransitionEffect** Target, bool ClassChangeAllowed) {
  FClassChangeAllowed = ClassChangeAllowed;
  TTransitionEffect* Current = *Target;
  if (!Current) {
    // Nothing to edit: an empty, disabled list and no page.
    ComboBoxTransitions->clear();
    ComboBoxTransitions->setEnabled(false);
    FTarget = nullptr;
    return;
  }
  const auto& Classes = TransitionClasses();
  const bool Registered = std::find(Classes.begin(), Classes.end(), Current->metaObject()) != Classes.end();
  ComboBoxTransitions->setEnabled(Registered && ClassChangeAllowed);
  ComboBoxTransitions->clear();
  const auto Item = [](const QMetaObject* Class) { return QVariant::fromValue(reinterpret_cast<quintptr>(Class)); };
  if (ComboBoxTransitions->isEnabled()) {
    // Only styles whose page can be shown.
    for (const QMetaObject* Class : Classes)
      if (EditorClassOf(Class)) AddSorted(ComboBoxTransitions, TTransitionEffect::Description(Class), Item(Class));
  } else {
    ComboBoxTransitions->addItem(Current->Description(), Item(Current->metaObject()));
  }

  FEdited.reset();
  FTarget = Target;
  const int Index = ComboBoxTransitions->findText(Current->Description(), Qt::MatchExactly | Qt::MatchCaseSensitive);
  ComboBoxTransitions->setCurrentIndex(Index);
  const QMetaObject* Class = Index >= 0 ? ClassAt(ComboBoxTransitions, Index) : Current->metaObject();
  FEdited.reset(qobject_cast<TTransitionEffect*>(Class->newInstance(Q_ARG(QObject*, nullptr))));
  FEdited->Assign(*Current);
  ShowPage(FEdited.get());
}

void TTransitionEditor::ShowPage(TTransitionEffect* Transition) {
  const QMetaObject* PageClass = EditorClassOf(Transition->metaObject());
  if (!PageClass) PageClass = &TTransitionEffectEditor::staticMetaObject;
  auto* NewPage = qobject_cast<TTransitionEffectEditor*>(FormContainer->CreateForm(PageClass));
  if (!NewPage) return;
  NewPage->SetColor(Color());
  NewPage->SetupEditor(Transition);
  NewPage->LoadValues();
  FPage = NewPage;
  FormContainer->ShowForm(NewPage, true);
}

void TTransitionEditor::ComboBoxTransitionsChange() {
  const QMetaObject* Class = ClassAt(ComboBoxTransitions, ComboBoxTransitions->currentIndex());
  if (!Class) return;
  if (FPage) FPage->StoreValues();
  std::unique_ptr<TTransitionEffect> New(qobject_cast<TTransitionEffect*>(Class->newInstance(Q_ARG(QObject*, nullptr))));
  if (!New) return;
  if (FEdited) New->Assign(*FEdited);
  // The old copy lives on until the page that shows it is gone.
  std::unique_ptr<TTransitionEffect> Old = std::move(FEdited);
  FEdited = std::move(New);
  ShowPage(FEdited.get());
}

void TTransitionEditor::BitBtnPreviewClick() {
  if (!FEdited) return;
  TWaitCursor Wait;
  if (FPage) FPage->StoreValues();
  TTransitionEffect* Transition = FEdited.get();
  ChangeWithTransition(Transition, this, Rect(LabelA->x(), LabelA->y(), LabelA->x() + LabelA->width(),
                                              LabelA->y() + LabelA->height()),
                       [this, Transition] {
                         // Without a new image the effect plays over the sample as it is.
                         if (!Transition->NeedDstImage()) return;
                         const bool AVisible = !LabelA->isHidden(), BVisible = !LabelB->isHidden();
                         if (Transition->Prepared() && Transition->PassesToUse() == 2) {
                           // The intermediate picture is the text alone.
                           LabelA->hide();
                           LabelB->hide();
                           Transition->PreparePass2Image();
                         }
                         LabelA->setVisible(!AVisible);
                         LabelB->setVisible(!BVisible);
                       });
}

void TTransitionEditor::ApplyChanges() {
  if (!FTarget || !*FTarget || !FEdited) return;
  TTransitionEffect* Target = *FTarget;
  if (Target->metaObject() == FEdited->metaObject()) {
    if (FPage) FPage->StoreValues();
    Target->Assign(*FEdited);
    return;
  }
  const QString Name = Target->objectName();
  QObject* Owner = Target->parent();
  TTransitionList* List = Target->TransitionList();
  const int Index = Target->Index();
  if (FPage) FPage->StoreValues();
  auto* Replacement =
      qobject_cast<TTransitionEffect*>(FEdited->metaObject()->newInstance(Q_ARG(QObject*, Owner)));
  if (!Replacement) return;
  Replacement->SetTransitionList(List);
  Replacement->OnStartTransition = Target->OnStartTransition;
  Replacement->OnEndTransition = Target->OnEndTransition;
  Replacement->OnBeforeTransition = Target->OnBeforeTransition;
  Replacement->OnAfterTransition = Target->OnAfterTransition;
  Replacement->OnAbortQuery = Target->OnAbortQuery;
  Replacement->Assign(*FEdited);
  if (List) Replacement->SetIndex(Index);
  {
    // Holders of the old transition that hear of its end take the new one meanwhile.
    struct TPublished {
      TPublished(TTransitionEffect* Old, TTransitionEffect* New) {
        TransitionBeingReplaced = Old;
        ReplacementTransition = New;
      }
      ~TPublished() { TransitionBeingReplaced = ReplacementTransition = nullptr; }
    } Published(Target, Replacement);
    delete Target;
  }
  *FTarget = Replacement;
  if (!Name.isEmpty()) Replacement->setObjectName(Name);
}

}  // namespace vte
