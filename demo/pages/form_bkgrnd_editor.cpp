#include "form_bkgrnd_editor.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include "app/application.h"
#include "container/effects_panel.h"
#include "container/form_container.h"
#include "editors/editor_helpers.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "engine/transition_run.h"
#include "form_navigator.h"
#include "demo_font.h"
#include "page_registry.h"
#include "reading_panel.h"

namespace vte::demo {

namespace {

QLabel* MakeLabel(QWidget* Parent, const QString& Text, const QRect& Bounds, const QFont& Font) {
  auto* Label = new QLabel(Text, Parent);
  Label->setGeometry(Bounds);
  Label->setFont(Font);
  Label->setWordWrap(true);
  return Label;
}

struct TStyleButton {
  const char* Name;
  const char* Caption;
  TFormNavigator::TBackgroundStyle Style;
  QRect Bounds;
};

const TStyleButton StyleButtons[] = {
    {"ButtonGradient", "Gradient", TFormNavigator::bgGradient, {16, 108, 228, 28}},
    {"ButtonStone", "Stone texture", TFormNavigator::bgStone, {257, 108, 228, 28}},
    {"ButtonStrokes", "Strokes texture", TFormNavigator::bgStrokes, {16, 142, 228, 28}},
    {"ButtonWall", "Wall texture", TFormNavigator::bgWall, {257, 142, 228, 28}},
    {"ButtonWood", "Wood texture", TFormNavigator::bgWood, {16, 176, 228, 28}},
    {"ButtonShaded", "Complex background with form shading", TFormNavigator::bgShaded, {16, 210, 469, 28}},
};

}  // namespace

TFormBkgrndEditor::TFormBkgrndEditor(QObject* Owner) : TFCEmbeddedForm(Owner) {
  setObjectName(QStringLiteral("FormBkgrndEditor"));
  SetClientWidth(501);
  SetClientHeight(493);
  SetColor(clWhite);
  InheritBackground(BackgroundOptions());
  setFont(DemoFont(13));

  // The introduction reads over any style; the rest of the page shows the style as it is.
  TEffectsPanel* Intro = MakeReadingPanel(this, {0, 0, 501, 102}, "EffectsPanelIntro");
  MakeLabel(Intro, QStringLiteral("Background samples"), {16, 10, 469, 24}, DemoFont(18, true));
  MakeLabel(Intro,
            QStringLiteral("Containers, panels and forms paint their surface through background options: a "
                           "picture in one of four placements, the look of a hidden background form, and a "
                           "translucent glass. Try the styles below on this whole window."),
            {16, 38, 469, 60}, DemoFont(13));

  for (const TStyleButton& B : StyleButtons) {
    auto* Button = new QPushButton(QLatin1String(B.Caption), this);
    Button->setObjectName(QLatin1String(B.Name));
    Button->setGeometry(B.Bounds);
    Button->setFont(DemoFont(12));
    Button->setCursor(Qt::PointingHandCursor);
    const TFormNavigator::TBackgroundStyle Style = B.Style;
    connect(Button, &QPushButton::clicked, this, [this, Style] {
      Guarded([&] {
        if (!Navigator) return;
        ChangeWithTransition(Transition, Navigator, [&] { Navigator->ApplyBackgroundStyle(Style, this); });
      });
    });
  }

  MakeLabel(this, QStringLiteral("Settings one by one"), {16, 250, 469, 22}, DemoFont(15, true));
  MakeLabel(this, QStringLiteral("Page glass translucency"), {16, 280, 170, 24}, DemoFont(13));
  UpDownFormTranslucency = new QSpinBox(this);
  UpDownFormTranslucency->setGeometry(196, 280, 80, 24);
  UpDownFormTranslucency->setRange(0, 255);
  MakeLabel(this, QStringLiteral("Page glass colour"), {16, 312, 170, 24}, DemoFont(13));
  ButtonGlassColor = new QPushButton(this);
  ButtonGlassColor->setGeometry(196, 312, 80, 24);
  MakeLabel(this, QStringLiteral("Picture mode"), {16, 344, 170, 24}, DemoFont(13));
  ComboBoxPicMode = new QComboBox(this);
  ComboBoxPicMode->setGeometry(196, 344, 170, 24);
  ComboBoxPicMode->addItems({QStringLiteral("fcpmCenter"), QStringLiteral("fcpmCenterStretch"),
                             QStringLiteral("fcpmStretch"), QStringLiteral("fcpmTile")});
  MakeLabel(this, QStringLiteral("Picture file"), {16, 376, 170, 24}, DemoFont(13));
  EditPicFile = new QLineEdit(this);
  EditPicFile->setGeometry(196, 376, 255, 24);
  SpeedButtonPicFile = new QToolButton(this);
  SpeedButtonPicFile->setGeometry(455, 376, 30, 24);
  SpeedButtonPicFile->setText(QStringLiteral("..."));
  MakeLabel(this,
            QStringLiteral("The glass settings apply to every page the menu opens from now on; the picture "
                           "settings change the whole window at once."),
            {16, 412, 469, 44}, DemoFont(12));
  NameControls({{UpDownFormTranslucency, "UpDownFormTranslucency"},
                {ButtonGlassColor, "ButtonGlassColor"},
                {ComboBoxPicMode, "ComboBoxPicMode"},
                {EditPicFile, "EditPicFile"},
                {SpeedButtonPicFile, "SpeedButtonPicFile"}});

  TransitionList = new TTransitionList(this);
  TransitionList->setObjectName(QStringLiteral("TransitionList"));
  TransitionList->LoadFromFile(QStringLiteral(":/demo/bkgrnd_editor.json"));
  Transition = TransitionList->findChild<TTransitionEffect*>(QStringLiteral("Transition"));
  Transition2 = TransitionList->findChild<TTransitionEffect*>(QStringLiteral("Transition2"));

  connect(UpDownFormTranslucency, &QSpinBox::valueChanged, this,
          [this](int Value) { Guarded([&] { TranslucencyChanged(Value); }); });
  connect(ButtonGlassColor, &QPushButton::clicked, this, [this] { Guarded([&] { ChooseGlassColor(); }); });
  connect(ComboBoxPicMode, &QComboBox::activated, this, [this](int Index) { Guarded([&] { PictureModeChosen(Index); }); });
  connect(SpeedButtonPicFile, &QToolButton::clicked, this, [this] { Guarded([&] { ChoosePictureFile(); }); });
  connect(EditPicFile, &QLineEdit::editingFinished, this, [this] { Guarded([&] { PictureFileEdited(); }); });
  OnShow = [this](TForm*) { PageShown(); };
}

void TFormBkgrndEditor::Guarded(const std::function<void()>& Change) {
  TApplication::DeliverGuarded([&] { return Change(), true; }, ShowApplicationError);
}

void TFormBkgrndEditor::PageShown() {
  Navigator = TFormNavigator::HostOf(this);
  if (!Navigator) return;
  const QSignalBlocker Blocker(UpDownFormTranslucency);
  UpDownFormTranslucency->setValue(BackgroundOptions()->GlassTranslucency());
  ComboBoxPicMode->setCurrentIndex(Navigator->BackgroundOptions()->PictureMode());
  SetButtonColor(Navigator->PageGlassColor);
  FShown = true;
}

void TFormBkgrndEditor::SetButtonColor(TColor Color) {
  FButtonColor = Color;
  const QColor C(ColorToQRgb(Color));
  ButtonGlassColor->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid #808080;").arg(C.name()));
}

void TFormBkgrndEditor::ShowStyle(const QString& PictureFile, int PictureMode, int Translucency,
                                  std::optional<TColor> GlassColor) {
  const QSignalBlocker B1(EditPicFile), B2(ComboBoxPicMode), B3(UpDownFormTranslucency);
  EditPicFile->setText(PictureFile);
  FAppliedFile = PictureFile;
  ComboBoxPicMode->setCurrentIndex(PictureMode);
  UpDownFormTranslucency->setValue(Translucency);
  BackgroundOptions()->SetGlassTranslucency(Translucency);
  if (GlassColor) {
    BackgroundOptions()->SetGlassColor(*GlassColor);
    SetButtonColor(*GlassColor);
  }
}

void TFormBkgrndEditor::TranslucencyChanged(int Value) {
  if (!Navigator || Value == Navigator->PageGlassTranslucency) return;
  ChangeWithTransition(Transition2, this, [&] {
    Navigator->PageGlassTranslucency = Value;
    BackgroundOptions()->SetGlassTranslucency(Value);
  });
}

void TFormBkgrndEditor::ChooseGlassColor() {
  const QColor Chosen = QColorDialog::getColor(QColor(ColorToQRgb(FButtonColor)), this, QStringLiteral("Glass colour"));
  if (!Chosen.isValid() || !Navigator) return;
  const TColor Color = QRgbToColor(Chosen.rgb());
  ChangeWithTransition(Transition2, this, [&] {
    Navigator->PageGlassColor = Color;
    BackgroundOptions()->SetGlassColor(Color);
    SetButtonColor(Color);
  });
}

void TFormBkgrndEditor::PictureModeChosen(int Index) {
  if (!Navigator || Index < 0 || Index == Navigator->BackgroundOptions()->PictureMode()) return;
  ChangeWithTransition(Transition2, Navigator,
                       [&] { Navigator->BackgroundOptions()->SetPictureMode(static_cast<TFCPictureMode>(Index)); });
}

void TFormBkgrndEditor::ChoosePictureFile() {
  const QString File = QFileDialog::getOpenFileName(this, QStringLiteral("Open picture"), EditPicFile->text(),
                                                    QStringLiteral("Pictures (*.jpg *.jpeg *.bmp *.png);;All files (*)"));
  if (File.isEmpty() || !Navigator) return;
  // Read before anything changes: an unreadable file leaves the background as it was.
  TPicture Picture;
  Picture.LoadFromFile(File);
  ChangeWithTransition(Transition2, Navigator, [&] {
    const QSignalBlocker Blocker(EditPicFile);
    EditPicFile->setText(File);
    FAppliedFile = File;
    Navigator->BackgroundOptions()->SetPicture(Picture);
  });
}

void TFormBkgrndEditor::PictureFileEdited() {
  const QString File = EditPicFile->text().trimmed();
  // Leaving the edit unchanged loads nothing again.
  if (!FShown || !Navigator || File.isEmpty() || File == FAppliedFile) return;
  TPicture Picture;
  Picture.LoadFromFile(File);
  FAppliedFile = File;
  ChangeWithTransition(Transition2, Navigator, [&] { Navigator->BackgroundOptions()->SetPicture(Picture); });
}

VTE_DEMO_PAGE(TFormBkgrndEditor)

}  // namespace vte::demo
