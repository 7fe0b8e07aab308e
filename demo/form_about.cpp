#include "form_about.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRegion>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <stdexcept>

#include "container/form_transitions.h"
#include "container/image.h"
#include "effects/bitmap_mask.h"
#include "engine/transition_list.h"
#include "engine/transition_run.h"
#include "engine/version.h"
#include "page_registry.h"
#include "program_files.h"
#include "render/device.h"

namespace vte::demo {

namespace {
constexpr int AboutWidth = 420, AboutHeight = 320;
}

TFormAbout::TFormAbout(QObject* Owner) : TForm(Owner) {
  setObjectName(QStringLiteral("FormAbout"));
  SetCaption(QStringLiteral("Product information"));
  SetBorderStyle(bsNone);
  SetPosition(poScreenCenter);
  SetColor(clWhite);
  SetClientWidth(AboutWidth);
  SetClientHeight(AboutHeight);

  Image = new TImage(this);
  Image->setObjectName(QStringLiteral("Image"));
  Image->setGeometry(0, 0, AboutWidth, AboutHeight);
  Image->SetStretch(true);
  Image->setCursor(Qt::PointingHandCursor);
  Image->OnClick = [this](QObject*) { Dismiss(); };

  LabelVersion = new QLabel(QStringLiteral("Version number"), this);
  LabelVersion->setObjectName(QStringLiteral("LabelVersion"));
  // Above the box, on the light margin of the ellipse: the box's own lettering stays clear.
  LabelVersion->setGeometry(120, 13, 180, 24);
  LabelVersion->setAlignment(Qt::AlignCenter);
  QFont Font(QStringLiteral("Arial"));
  Font.setPixelSize(18);
  Font.setBold(true);
  LabelVersion->setFont(Font);
  LabelVersion->setStyleSheet(QStringLiteral("color: #1c2f66;"));
  LabelVersion->setVisible(false);
  LabelVersion->installEventFilter(this);

  TransitionList = new TTransitionList(this);
  TransitionList->setObjectName(QStringLiteral("TransitionList"));
  TransitionList->LoadFromFile(QStringLiteral(":/demo/about.json"));
  Transition = TransitionList->findChild<TBmpMaskTransition*>(QStringLiteral("Transition"));
  TransitionVersion = TransitionList->findChild<TTransitionEffect*>(QStringLiteral("TransitionVersion"));
  Transition->OnStartTransition = [this](TTransitionEffect*) { PlayChime(); };
  Transition->OnAfterTransition = [this](TTransitionEffect*) { Appeared(); };

  FormTransitions = new TFormTransitions(this);
  FormTransitions->setObjectName(QStringLiteral("FormTransitions"));
  FormTransitions->SetShowTransition(Transition);
  FormTransitions->SetDestroyTransitions(false);

  Timer = new QTimer(this);
  Timer->setObjectName(QStringLiteral("Timer"));
  Timer->setInterval(5000);
  Timer->setSingleShot(true);
  connect(Timer, &QTimer::timeout, this, [this] { Dismiss(); });

  OnCreate = [this](TForm*) { Created(); };
}

void TFormAbout::Created() {
  LabelVersion->setText(VersionText());
  setMask(QRegion(0, 0, width(), height(), QRegion::Ellipse));
  LoadProgramPicture(Image->Picture(), QStringLiteral("Box.jpg"));
  const TBitmap Mask = TBmpMaskTransition::LoadMaskFromFile(ProgramFile(QStringLiteral("twirl.bmp")));
  Transition->SetMask(&Mask);
  const QString Sound = ProgramFile(QStringLiteral("welcome.wav"));
  if (!QFile::exists(Sound)) throw std::runtime_error(QStringLiteral("Cannot open file '%1': No such file").arg(Sound).toStdString());
  if (!IsHighColorDevice())
    QMessageBox::information(nullptr, Caption(),
                             QStringLiteral("This demo has to be viewed under true\ncolor or high color video mode"));
}

void TFormAbout::PlayChime() {
  // Played, never waited for: without an audio device the effect stays "playing" for good.
  if (!FChime) {
    FChime = new QSoundEffect(this);
    FChime->setSource(QUrl::fromLocalFile(ProgramFile(QStringLiteral("welcome.wav"))));
  }
  FChime->play();
}

bool TFormAbout::event(QEvent* Event) {
  const bool Result = TForm::event(Event);
  // The show transition has run by the end of the show, or could not run here (a platform that
  // cannot copy the screen): then the rest follows the plain show.
  if (Event->type() == QEvent::ShowToParent && !FAppeared && isVisible()) {
    PlayChime();
    Appeared();
  }
  return Result;
}

void TFormAbout::Appeared() {
  if (std::exchange(FAppeared, true)) return;
  const QRect R = LabelVersion->geometry();
  TransitionVersion->PreferRendering = true;
  ChangeWithTransition(TransitionVersion, LabelVersion->parentWidget(), Bounds(R.x(), R.y(), R.width(), R.height() + 50),
                       [this] { LabelVersion->setVisible(true); });
  Timer->start();
}

bool TFormAbout::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == LabelVersion && Event->type() == QEvent::MouseButtonRelease) Dismiss();
  return TForm::eventFilter(Watched, Event);
}

void TFormAbout::Dismiss() {
  Timer->stop();
  Close();
}

VTE_DEMO_PAGE(TFormAbout)

}  // namespace vte::demo
