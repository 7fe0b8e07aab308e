#include "editors/transition_effect_editor.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>
#include <optional>

#include "app/application.h"
#include "container/effects_group_box.h"
#include "container/effects_panel.h"
#include "container/form_transitions.h"
#include "editors/click_label.h"
#include "editors/editor_helpers.h"
#include "editors/up_down.h"
#include "effects/slide.h"
#include "engine/blend_transition.h"
#include "engine/easing.h"
#include "engine/transition_effect.h"
#include "engine/transition_run.h"
#include "render/device.h"

namespace vte {

namespace {

TRect ToTRect(const QRect& R) { return Rect(R.left(), R.top(), R.left() + R.width(), R.top() + R.height()); }

// The published property of that name, in any case ("Substyle" finds SubStyle).
std::optional<QMetaProperty> FindProperty(const QMetaObject* Class, const char* Name) {
  if (!Class) return std::nullopt;
  const QLatin1String Wanted(Name);
  for (int I = 0; I < Class->propertyCount(); ++I) {
    const QMetaProperty P = Class->property(I);
    if (QLatin1String(P.name()).compare(Wanted, Qt::CaseInsensitive) == 0) return P;
  }
  return std::nullopt;
}

// The pass settings in the order of TTEPassSettingType.
const char* const PassCaptions[] = {"1 pass", "2 passes", "Palette dependent"};

}  // namespace

TTransitionEffectEditor::TTransitionEffectEditor(QObject* Owner) : TForm(Owner) {
  setObjectName(QStringLiteral("TransitionEffectEditor"));
  SetBorderStyle(bsNone);
  SetClientWidth(224);
  SetClientHeight(PageHeight);
  setFont(EditorFont());

  ComboBoxPasses = new QComboBox(this);
  for (const char* Caption : PassCaptions) ComboBoxPasses->addItem(QString::fromLatin1(Caption));
  ComboBoxPasses->setGeometry(ControlLeft, RowTop(0), ControlWidth, ControlHeight);
  LabelPassSetting = AddLabel(QStringLiteral("P&asses"), 0, ComboBoxPasses);

  SpeedButtonPass2 = new QToolButton(this);
  SpeedButtonPass2->setText(QStringLiteral("..."));
  SpeedButtonPass2->setGeometry(ControlLeft, RowTop(1), 24, ControlHeight);
  connect(SpeedButtonPass2, &QToolButton::clicked, this, [this] { OpenPass2Panel(); });
  LabelPass2Options = AddLabel(QStringLiteral("2nd pass"), 1, nullptr);

  std::tie(EditMilliseconds, UpDownMilliseconds) = AddNumber(2, 0, 30000, 100, false);
  LabelMilliseconds = AddLabel(QStringLiteral("&Milliseconds"), 2, EditMilliseconds);
  CallOnExit(EditMilliseconds, [this] { EditMillisecondsExit(); });

  ComboBoxDirection = new QComboBox(this);
  ComboBoxDirection->setMaxVisibleItems(10);
  ComboBoxDirection->setGeometry(ControlLeft, RowTop(3), ControlWidth, ControlHeight);
  LabelDirection = AddLabel(QStringLiteral("&Direction"), 3, ComboBoxDirection);

  // The curves a stored list can name, in Qt's order (linear first).
  ComboBoxEasing = new QComboBox(this);
  ComboBoxEasing->setMaxVisibleItems(12);
  for (int T = QEasingCurve::Linear; T < QEasingCurve::NCurveTypes; ++T)
    if (const QString Name = EasingTypeName(QEasingCurve::Type(T)); !Name.isEmpty()) ComboBoxEasing->addItem(Name, T);
  ComboBoxEasing->setGeometry(ControlLeft, RowTop(4), ControlWidth, ControlHeight);
  LabelEasing = AddLabel(QStringLiteral("Easin&g"), 4, ComboBoxEasing);

  BuildPass2Panel();

  ColorDialog = new QColorDialog(this);
  ColorDialog->setObjectName(QStringLiteral("ColorDialog"));
  // Qt's own dialog everywhere: the same dialog on every desktop, and one tests can drive.
  ColorDialog->setOption(QColorDialog::DontUseNativeDialog);

  FormTransitions = new TFormTransitions(this);
  InheritBackground(FormTransitions->BackgroundOptions());

  // Names as the stored form has them, so that tests and hosts find the controls.
  NameControls({
      {LabelPassSetting, "LabelPassSetting"}, {ComboBoxPasses, "ComboBoxPasses"},
      {LabelPass2Options, "LabelPass2Options"}, {SpeedButtonPass2, "SpeedButtonPass2"},
      {LabelMilliseconds, "LabelMilliseconds"}, {EditMilliseconds, "EditMilliseconds"},
      {UpDownMilliseconds, "UpDownMilliseconds"}, {LabelDirection, "LabelDirection"},
      {ComboBoxDirection, "ComboBoxDirection"}, {LabelEasing, "LabelEasing"}, {ComboBoxEasing, "ComboBoxEasing"},
      {FormTransitions, "FormTransitions"}});
}

TTransitionEffectEditor::~TTransitionEffectEditor() = default;

void TTransitionEffectEditor::BuildPass2Panel() {
  EffectsGroupBoxPass2 = new TEffectsGroupBox(this);
  EffectsGroupBoxPass2->setObjectName(QStringLiteral("EffectsGroupBoxPass2"));
  EffectsGroupBoxPass2->setTitle(QStringLiteral("&2nd pass options"));
  EffectsGroupBoxPass2->setGeometry(Pass2PanelLeft, 64, 155, 113);
  TFCBackgroundOptions* Glass = EffectsGroupBoxPass2->BackgroundOptions();
  Glass->SetOpaque(false);
  Glass->SetGlassColor(clBtnFace);
  Glass->SetGlassTranslucency(38);
  EffectsGroupBoxPass2->hide();

  std::tie(CheckBoxDistributedTime, LabelDistributedTime) =
      AddCheck(EffectsGroupBoxPass2, QStringLiteral("Distributed time"), 10, 22);
  std::tie(CheckBox2PReversed, Label2PReversed) = AddCheck(EffectsGroupBoxPass2, QStringLiteral("Reversed"), 10, 44);
  std::tie(CheckBoxUseSolidColor, LabelUseSolidColor) =
      AddCheck(EffectsGroupBoxPass2, QStringLiteral("Use solid color"), 10, 66);

  SpeedButtonSolidColor = new QToolButton(EffectsGroupBoxPass2);
  SpeedButtonSolidColor->setGeometry(8, 86, 20, 20);
  connect(SpeedButtonSolidColor, &QToolButton::clicked, this, [this] { ChooseSolidColor(); });
  LabelSolidColor = new TClickLabel(QStringLiteral("Solid color"), EffectsGroupBoxPass2);
  LabelSolidColor->setGeometry(32, 86, 110, 20);
  LabelSolidColor->OnClick = [this] { ChooseSolidColor(); };

  SpeedButtonClosePanel = new QToolButton(EffectsGroupBoxPass2);
  SpeedButtonClosePanel->setText(QStringLiteral("x"));
  SpeedButtonClosePanel->setToolTip(QStringLiteral("Close"));
  SpeedButtonClosePanel->setGeometry(155 - 22, 2, 18, 16);
  connect(SpeedButtonClosePanel, &QToolButton::clicked, this, [this] { ClosePass2Panel(); });

  NameControls({
      {CheckBoxDistributedTime, "CheckBoxDistributedTime"}, {LabelDistributedTime, "LabelDistributedTime"},
      {CheckBox2PReversed, "CheckBox2PReversed"}, {Label2PReversed, "Label2PReversed"},
      {CheckBoxUseSolidColor, "CheckBoxUseSolidColor"}, {LabelUseSolidColor, "LabelUseSolidColor"},
      {SpeedButtonSolidColor, "SpeedButtonSolidColor"}, {LabelSolidColor, "LabelSolidColor"},
      {SpeedButtonClosePanel, "SpeedButtonClosePanel"}});
}

TClickLabel* TTransitionEffectEditor::AddLabel(const QString& Caption, int Row, QWidget* Buddy) {
  auto* Label = new TClickLabel(Caption, this);
  Label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Label->setGeometry(LabelLeft, RowTop(Row), LabelWidth, ControlHeight);
  if (Buddy) Label->setBuddy(Buddy);
  return Label;
}

std::pair<QLineEdit*, TUpDown*> TTransitionEffectEditor::AddNumber(int Row, int Min, int Max, int Increment,
                                                                  bool ReadOnly, int Width, int Left) {
  auto* Edit = new QLineEdit(this);
  Edit->setGeometry(Left, RowTop(Row), Width, ControlHeight);
  Edit->setReadOnly(ReadOnly);
  auto* UpDown = new TUpDown(this);
  UpDown->setGeometry(Left + Width, RowTop(Row), UpDownWidth, ControlHeight);
  UpDown->SetMin(Min);
  UpDown->SetMax(Max);
  UpDown->SetIncrement(Increment);
  UpDown->SetAssociate(Edit);
  return {Edit, UpDown};
}

std::pair<QCheckBox*, TClickLabel*> TTransitionEffectEditor::AddCheck(QWidget* Parent, const QString& Caption,
                                                                     int X, int Top) {
  auto* Box = new QCheckBox(Parent);
  Box->setGeometry(X, Top, 18, 18);
  auto* Label = new TClickLabel(Caption, Parent);
  Label->setGeometry(X + 20, Top, Parent == this ? 70 : 120, 18);
  Label->setBuddy(Box);
  Label->OnClick = [Box] {
    if (Box->isEnabled()) Box->click();
  };
  return {Box, Label};
}

std::pair<TClickLabel*, QCheckBox*> TTransitionEffectEditor::AddCheckRow(const QString& Caption, int Row,
                                                                        int Left) {
  auto* Box = new QCheckBox(this);
  Box->setGeometry(Left, RowTop(Row) + 2, 18, 18);
  TClickLabel* Label = AddLabel(Caption, Row, Box);
  Label->OnClick = [Box] {
    if (Box->isEnabled()) Box->click();
  };
  return {Label, Box};
}

void TTransitionEffectEditor::CallOnExit(QLineEdit* Edit, std::function<void()> Handler) {
  Edit->installEventFilter(this);
  FExitHandlers.emplace_back(Edit, std::move(Handler));
}

bool TTransitionEffectEditor::eventFilter(QObject* Watched, QEvent* Event) {
  // Leaving the edit for another control counts; the window losing the focus (to a message box,
  // a popup) does not, or the message about a bad text would bring itself back.
  const auto Reason = Event->type() == QEvent::FocusOut ? static_cast<QFocusEvent*>(Event)->reason() : Qt::OtherFocusReason;
  if (Event->type() == QEvent::FocusOut && Reason != Qt::ActiveWindowFocusReason && Reason != Qt::PopupFocusReason) {
    for (auto& [Edit, Handler] : FExitHandlers) {
      if (Edit != Watched) continue;
      // Nothing may leave an event handler: the error is shown once the focus change is done.
      try {
        Handler();
      } catch (const std::exception& Error) {
        const std::string Message = Error.what();
        QTimer::singleShot(0, this, [Message] { ShowApplicationError(Message); });
      }
    }
  }
  return TForm::eventFilter(Watched, Event);
}

int TTransitionEffectEditor::IndexOfValue(const QComboBox* ComboBox, int Value) {
  return ComboBox->findData(Value);
}

bool TTransitionEffectEditor::PublishesInteger(const QMetaObject* Class, const char* Name) {
  const auto P = FindProperty(Class, Name);
  return P && !P->isEnumType() && P->metaType().id() == QMetaType::Int;
}

bool TTransitionEffectEditor::PublishesEnumeration(const QMetaObject* Class, const char* Name) {
  const auto P = FindProperty(Class, Name);
  return P && P->isEnumType();
}

void TTransitionEffectEditor::SetupEditor(TTransitionEffect* Transition) {
  FTransition = Transition;
  const QMetaObject* Class = Transition->metaObject();
  const bool HasSecondPass = Transition->NeedDstImage();
  for (QWidget* W : {static_cast<QWidget*>(LabelPassSetting), static_cast<QWidget*>(ComboBoxPasses),
                     static_cast<QWidget*>(LabelPass2Options), static_cast<QWidget*>(SpeedButtonPass2)})
    W->setEnabled(HasSecondPass);

  const bool HasMilliseconds = PublishesInteger(Class, "Milliseconds");
  for (QWidget* W : {static_cast<QWidget*>(LabelMilliseconds), static_cast<QWidget*>(EditMilliseconds),
                     static_cast<QWidget*>(UpDownMilliseconds)})
    W->setVisible(HasMilliseconds);

  const bool HasDirection = PublishesEnumeration(Class, "Direction");
  LabelDirection->setVisible(HasDirection);
  ComboBoxDirection->setVisible(HasDirection);
  ComboBoxDirection->clear();
  for (int D = tedRight; D <= tedOut; ++D)
    if (InDirections(Transition->AllowedDirections(), TTEEffectDirection(D)))
      AddSorted(ComboBoxDirection, GetDirectionName(TTEEffectDirection(D)), D);
  if (HasDirection) ComboBoxDirection->setCurrentIndex(IndexOfValue(ComboBoxDirection, Transition->Direction()));
  const auto Easing = FindProperty(Class, "Easing");
  const bool HasEasing = Easing && Easing->metaType().id() == QMetaType::QEasingCurve;
  LabelEasing->setVisible(HasEasing);
  ComboBoxEasing->setVisible(HasEasing);
  ShowSolidColor();
}

void TTransitionEffectEditor::LoadValues() {
  ComboBoxPasses->setCurrentIndex(FTransition->PassSetting());
  const TTEPass2OptionsType* Options = FTransition->Pass2Options();
  CheckBoxDistributedTime->setChecked(Options->DistributedTime());
  CheckBox2PReversed->setChecked(Options->Reversed());
  CheckBoxUseSolidColor->setChecked(Options->UseSolidColor());
  UpDownMilliseconds->SetPosition(FTransition->Milliseconds());
  if (!ComboBoxEasing->isHidden())
    ComboBoxEasing->setCurrentIndex(
        IndexOfValue(ComboBoxEasing, FTransition->property("Easing").value<QEasingCurve>().type()));
}

void TTransitionEffectEditor::StoreValues() {
  FTransition->SetPassSetting(TTEPassSettingType(ComboBoxPasses->currentIndex()));
  TTEPass2OptionsType* Options = FTransition->Pass2Options();
  Options->SetDistributedTime(CheckBoxDistributedTime->isChecked());
  Options->SetReversed(CheckBox2PReversed->isChecked());
  Options->SetUseSolidColor(CheckBoxUseSolidColor->isChecked());
  FTransition->SetMilliseconds(UpDownMilliseconds->Position());
  if (!ComboBoxDirection->isHidden() && ComboBoxDirection->currentIndex() >= 0)
    FTransition->SetDirection(TTEEffectDirection(ComboBoxDirection->currentData().toInt()));
  // A curve of the chosen type stays as it is (its own amplitude or period, set in code).
  if (!ComboBoxEasing->isHidden() && ComboBoxEasing->currentIndex() >= 0) {
    const auto Type = QEasingCurve::Type(ComboBoxEasing->currentData().toInt());
    if (FTransition->property("Easing").value<QEasingCurve>().type() != Type)
      FTransition->setProperty("Easing", QVariant::fromValue(QEasingCurve(Type)));
  }
}

void TTransitionEffectEditor::EditMillisecondsExit() { ConvertEditText(UpDownMilliseconds); }

void TTransitionEffectEditor::ConvertEditText(TUpDown* UpDown) {
  try {
    UpDown->PositionFromText();
  } catch (const EConvertError&) {
    // The user stays in the field to put the text right.
    if (QLineEdit* Edit = UpDown->Associate()) Edit->setFocus(Qt::OtherFocusReason);
    throw;
  }
}

void TTransitionEffectEditor::ChooseSolidColor() {
  if (!FTransition) return;
  TTEPass2OptionsType* Options = FTransition->Pass2Options();
  // clNone stands for the control's own colour, which a second pass paints as the face colour.
  const TColor Shown = Options->SolidColor() == clNone ? clBtnFace : Options->SolidColor();
  ColorDialog->setCurrentColor(QColor::fromRgb(ColorToQRgb(Shown)));
  if (ColorDialog->exec() != QDialog::Accepted) return;
  Options->SetSolidColor(QRgbToColor(ColorDialog->currentColor().rgb()));
  ShowSolidColor();
}

void TTransitionEffectEditor::ShowSolidColor() {
  if (!FTransition) return;
  const TColor Color = FTransition->Pass2Options()->SolidColor();
  QPixmap Swatch(12, 12);
  Swatch.fill(QColor::fromRgb(ColorToQRgb(Color == clNone ? clBtnFace : Color)));
  QPainter(&Swatch).drawRect(0, 0, 11, 11);
  SpeedButtonSolidColor->setIcon(QIcon(Swatch));
}

std::pair<QWidget*, QRect> TTransitionEffectEditor::PageArea() const {
  if (QWidget* Host = parentWidget()) return {Host, geometry()};
  return {const_cast<TTransitionEffectEditor*>(this), rect()};
}

void TTransitionEffectEditor::OpenPass2Panel() {
  if (FDimPanel) return;
  FActiveBeforePass2 = QApplication::focusWidget();
  TWaitCursor Wait;

  TBlendTransition Blend;
  Blend.SetMilliseconds(500);
  const auto [Host, Area] = PageArea();
  ChangeWithTransition(&Blend, Host, ToTRect(Area), [this] {
    FDimPanel = new TEffectsPanel(this);
    FDimPanel->setObjectName(QStringLiteral("DimPanel"));
    FDimPanel->setGeometry(rect());
    FDimPanel->SetBevelOuter(bvNone);
    FDimPanel->SetBevelInner(bvNone);
    FDimPanel->SetColor(Color());
    FDimPanel->SetBackgroundOptions(EffectsGroupBoxPass2->BackgroundOptions());
    // Glass on a palette screen would dither the page into noise: plain there.
    if (ScreenBitsPerPixel() > 8) {
      FDimPanel->BackgroundOptions()->SetGlassTranslucency(38);
    } else {
      FDimPanel->BackgroundOptions()->SetGlassTranslucency(0);
      EffectsGroupBoxPass2->BackgroundOptions()->SetGlassTranslucency(0);
    }
    FDimPanel->show();
  });

  TSlideTransition Slide;
  Slide.SetMilliseconds(500);
  Slide.SetDirection(tedOut);
  EffectsGroupBoxPass2->show();
  EffectsGroupBoxPass2->raise();
  const QRect Target = EffectsGroupBoxPass2->geometry().translated(-Pass2PanelShift, 0);
  ChangeWithTransition(&Slide, this, ToTRect(Target), [this, Target] {
    EffectsGroupBoxPass2->move(Target.topLeft());
    CheckBoxDistributedTime->setFocus(Qt::OtherFocusReason);
  });
}

void TTransitionEffectEditor::ClosePass2Panel() {
  if (!FDimPanel) return;
  TWaitCursor Wait;

  TSlideTransition Slide;
  Slide.SetMilliseconds(500);
  Slide.SetDirection(tedIn);
  ChangeWithTransition(&Slide, this, ToTRect(EffectsGroupBoxPass2->geometry()), [this] {
    EffectsGroupBoxPass2->hide();
    EffectsGroupBoxPass2->move(Pass2PanelLeft, EffectsGroupBoxPass2->y());
  });

  TBlendTransition Blend;
  Blend.SetMilliseconds(500);
  ChangeWithTransition(&Blend, this, ToTRect(rect()), [this] {
    delete FDimPanel;
    FDimPanel = nullptr;
    if (FActiveBeforePass2) FActiveBeforePass2->setFocus(Qt::OtherFocusReason);
  });
}

}  // namespace vte
