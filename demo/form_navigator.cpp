#include "form_navigator.h"

#include <QDesktopServices>
#include <QFile>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <optional>
#include <stdexcept>

#include "app/application.h"
#include "container/effects_panel.h"
#include "container/form_container.h"
#include "container/image.h"
#include "editors/editor_helpers.h"
#include "engine/transition_effect.h"
#include "engine/transition_list.h"
#include "engine/transition_run.h"
#include "form_bkgrnd.h"
#include "page_registry.h"
#include "pages/form_bkgrnd_editor.h"
#include "program_files.h"

namespace vte::demo {

namespace {

// What a click on an entry does.
enum TEntryKind { ekPageWithGlass, ekPage, ekWizard, ekSite };

struct TEntryInfo {
  const char* Name;
  int Top;
  const char* Caption;
  TColor FontColor;
  TEntryKind Kind;
  const char* Page;
};

constexpr TColor SalesColor = 16777088;  // a light cyan that reads on the menu's glass

// The captions' leading blanks indent the entries under their headings.
const TEntryInfo MenuEntries[] = {
    {"LabelIntro", 4, " Introduction", clWindow, ekPageWithGlass, "TFormIntro"},
    {"LabelComponents", 28, " Components", clWindow, ekPageWithGlass, "TFormComponents"},
    {"LabelFormContainer", 52, " FormContainer", clWhite, ekPageWithGlass, "TFormContainerIntro"},
    {"LabelLRU", 76, "     LRU forms", clWindow, ekPageWithGlass, "TFormLRU"},
    {"LabelPower", 100, "     Power", clWindow, ekPage, "TFormPower"},
    {"LabelTransitionEffects", 124, " Transition effects", clWindow, ekPageWithGlass, "TFormTransitionEffects"},
    {"LabelTransitionSamples", 148, "     Transition samples", clWhite, ekPage, "TFormTransitionSamples"},
    {"LabelTransitionEditor", 172, "     Transitions editor", clWindow, ekPageWithGlass, "TFormTransitionEditor"},
    {"LabelCustomTransitions", 196, "     Custom transitions", clWindow, ekPageWithGlass, "TFormCustomTransitions"},
    {"LabelSimpleWipe", 220, "         Simple wipe", clWindow, ekPage, "TFormSimpleWipe"},
    {"LabelShake", 244, "         Shake", clWindow, ekPage, "TFormShake"},
    {"LabelBkOptions", 268, " Background options", clWindow, ekPageWithGlass, "TFormBkOptions"},
    {"LabelBkgrndSamples", 292, "     Background samples", clWindow, ekPageWithGlass, "TFormBkgrndEditor"},
    {"LabelV3", 316, " What's new in version 3", clWindow, ekWizard, "TFormNew"},
    {"LabelPrices", 340, " Versions and prices", clWindow, ekPageWithGlass, "TFormPrices"},
    {"LabelBuyNow", 364, " Buy it now", SalesColor, ekSite, nullptr},
    {"LabelWeb", 388, " www.vantorel.example", SalesColor, ekSite, nullptr},
    {"LabelContact", 474, "Contact", clWindow, ekPageWithGlass, "TFormContact"},
};

const TEntryInfo* InfoOf(const QObject* Entry) {
  for (const TEntryInfo& Info : MenuEntries)
    if (Entry->objectName() == QLatin1String(Info.Name)) return &Info;
  return nullptr;
}

struct TStyleInfo {
  const char* File;  // null: the shaded style
  int Translucency;
  std::optional<TColor> Glass;  // none: the page glass colour stays
};

const TStyleInfo Styles[] = {
    {"gradient.jpg", 255, std::nullopt},   {"stone.jpg", 191, 0x0280FFFF}, {"Strokes.jpg", 191, 0x02FFFF80},
    {"wall.jpg", 128, 0x00FFFFFF},         {"wood.jpg", 204, 0x020080FF},  {nullptr, 25, 0x02E2C6D3},
};

constexpr TColor V3Lime = 0x00FF00;

void SetFontColor(QWidget* Control, TColor Color) {
  QPalette P = Control->palette();
  P.setColor(QPalette::WindowText, QColor(ColorToQRgb(Color)));
  Control->setPalette(P);
}

TColor FontColor(const QWidget* Control) { return QRgbToColor(Control->palette().color(QPalette::WindowText).rgb()); }

// The page transition runs backwards for one change, whatever happens in it.
struct TReversedFor {
  TTransitionEffect* Transition;
  explicit TReversedFor(TTransitionEffect* T) : Transition(T) {
    if (Transition) Transition->SetReversed(true);
  }
  ~TReversedFor() {
    if (Transition) Transition->SetReversed(false);
  }
};

}  // namespace

TFormNavigator::TFormNavigator(QObject* Owner) : TFCEmbeddedForm(Owner) {
  setObjectName(QStringLiteral("FormNavigator"));
  SetClientWidth(700);
  SetClientHeight(493);
  SetColor(clWhite);
  SetAlignment(fcfaTopLeft);

  FormContainerNavigator = new TFormContainer(this);
  FormContainerNavigator->setObjectName(QStringLiteral("FormContainerNavigator"));
  FormContainerNavigator->setGeometry(199, 0, 501, 493);
  FormContainerNavigator->SetAutoScroll(true);
  FormContainerNavigator->SetFlickerFree(false);
  FormContainerNavigator->SetLRUFormCapacity(50);
  FormContainerNavigator->SetSaveLRUDestroyedForms(true);
  FormContainerNavigator->SetColor(clWhite);
  FormContainerNavigator->BackgroundOptions()->SetParentBkgrndForm(true);
  FormContainerNavigator->BackgroundOptions()->SetParentPicture(true);

  EffectsPanelNavigator = new TEffectsPanel(this);
  EffectsPanelNavigator->setObjectName(QStringLiteral("EffectsPanelNavigator"));
  EffectsPanelNavigator->setGeometry(0, 0, 199, 493);
  EffectsPanelNavigator->SetBevelOuter(bvNone);
  EffectsPanelNavigator->SetColor(clWhite);  // the form's colour
  TFCBackgroundOptions* PanelOptions = EffectsPanelNavigator->BackgroundOptions();
  PanelOptions->SetParentBkgrndForm(true);
  PanelOptions->SetParentPicture(true);
  PanelOptions->SetGlassColor(43199831);
  PanelOptions->SetGlassTranslucency(128);
  EffectsPanelNavigator->setVisible(false);

  ImageContact = new TImage(EffectsPanelNavigator);
  ImageContact->setObjectName(QStringLiteral("ImageContact"));
  ImageContact->move(72, 415);
  ImageContact->SetAutoSize(true);

  BuildMenu();

  TransitionList = new TTransitionList(this);
  TransitionList->setObjectName(QStringLiteral("TransitionList"));
  TransitionList->LoadFromFile(QStringLiteral(":/demo/navigator.json"));
  AuxTransition = TransitionList->findChild<TTransitionEffect*>(QStringLiteral("AuxTransition"));
  NavigatorTransition = TransitionList->findChild<TTransitionEffect*>(QStringLiteral("NavigatorTransition"));
  MenuTransition = TransitionList->findChild<TTransitionEffect*>(QStringLiteral("MenuTransition"));
  PageTransition = AuxTransition;

  TimerV3 = new QTimer(this);
  TimerV3->setObjectName(QStringLiteral("TimerV3"));
  TimerV3->setInterval(1000);
  connect(TimerV3, &QTimer::timeout, this, [this] { BlinkV3(); });

  OnCreate = [this](TForm*) {
    // The contact picture is decoration: without it the menu still works, and the user hears why
    // it is missing.
    try {
      LoadProgramPicture(ImageContact->Picture(), QStringLiteral("Contact.jpg"));
    } catch (const std::exception& Error) {
      ShowApplicationError(Error.what());
    }
  };
  OnShow = [this](TForm*) { NavigatorShown(); };
  OnHide = [this](TForm*) { TimerV3->stop(); };
}

TFormNavigator::~TFormNavigator() = default;

TFormBkgrnd* TFormNavigator::BackgroundForm() const { return FBackgroundForm; }

void TFormNavigator::BuildMenu() {
  // Arial of 16 pixels, bold; where Arial and its metric twin are missing the condensed face keeps
  // the captions about as wide, and the size gives way until the widest caption fits.
  QFont Font;
  Font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans Condensed")});
  Font.setBold(true);
  for (int Size = 16; Size >= 11; --Size) {
    Font.setPixelSize(Size);
    const QFontMetrics Metrics(Font);
    int Widest = 0;
    for (const TEntryInfo& Info : MenuEntries) Widest = std::max(Widest, Metrics.horizontalAdvance(QLatin1String(Info.Caption)));
    if (Widest <= 195) break;
  }
  for (const TEntryInfo& Info : MenuEntries) {
    auto* Entry = new TEffectsPanel(EffectsPanelNavigator);
    Entry->setObjectName(QLatin1String(Info.Name));
    Entry->setGeometry(0, Info.Top, 199, 19);
    Entry->setCursor(Qt::PointingHandCursor);
    Entry->SetBevelOuter(bvNone);
    Entry->SetCaption(QLatin1String(Info.Caption));
    Entry->SetAlignment(QLatin1String(Info.Name) == QLatin1String("LabelContact") ? taCenter : taLeftJustify);
    Entry->setFont(Font);
    SetFontColor(Entry, Info.FontColor);
    InheritBackground(Entry->BackgroundOptions());
    Entry->OnMouseEnter = [this](QObject* Sender) { EntryEntered(static_cast<TEffectsPanel*>(Sender)); };
    Entry->OnMouseLeave = [this](QObject* Sender) { EntryLeft(static_cast<TEffectsPanel*>(Sender)); };
    Entry->installEventFilter(this);
    Entries.push_back(Entry);
  }
  // ImageContact lies between the web address and the contact entry; keep it under the entries.
  ImageContact->lower();
  LabelV3 = EffectsPanelNavigator->findChild<TEffectsPanel*>(QStringLiteral("LabelV3"));

  TEffectsPanel* Intro = Entries.front();
  TakeLook(FNormal, Intro);
  TakeLook(FSaved, Intro);
  TakeLook(FSelected, Intro);
  FSelected.Options->SetGlassColor(0xFFFFFF);
  FSelected.Options->SetGlassTranslucency(45);
  FSelected.FontColor = clBlack;
  FSelected.Font.setItalic(true);
  TakeLook(FHover, Intro);
  FHover.Options->SetGlassColor(0x00FFFF);
  FHover.Options->SetGlassTranslucency(45);
  FHover.FontColor = 0x800000;
}

void TFormNavigator::GiveLook(TEffectsPanel* Entry, const TLook& Look) {
  Entry->BackgroundOptions()->Assign(*Look.Options);
  Entry->setFont(Look.Font);
  SetFontColor(Entry, Look.FontColor);
}

void TFormNavigator::GiveNormalLook(TEffectsPanel* Entry) const {
  GiveLook(Entry, FNormal);
  // Entries keep the font colour they are stored with.
  if (const TEntryInfo* Info = InfoOf(Entry)) SetFontColor(Entry, Info->FontColor);
}

void TFormNavigator::CopyLook(TLook& Look, const TLook& Source) {
  Look.Options->Assign(*Source.Options);
  Look.Font = Source.Font;
  Look.FontColor = Source.FontColor;
}

void TFormNavigator::TakeLook(TLook& Look, TEffectsPanel* Entry) {
  Look.Options->Assign(*Entry->BackgroundOptions());
  Look.Font = Entry->font();
  Look.FontColor = FontColor(Entry);
}

bool TFormNavigator::HostedByMainForm() const {
  const TFormContainer* Host = FormContainer();
  return Host && Host->objectName() == QLatin1String("MainFormContainer");
}

TFormNavigator* TFormNavigator::HostOf(QWidget* Widget) {
  for (QWidget* W = Widget ? Widget->parentWidget() : nullptr; W; W = W->parentWidget())
    if (auto* Navigator = qobject_cast<TFormNavigator*>(W)) return Navigator;
  return nullptr;
}

// --- showing ---

void TFormNavigator::NavigatorShown() {
  // The shaded style is the navigator's first look; later shows (back from the wizard) keep the
  // style the user chose meanwhile.
  if (!std::exchange(FShownOnce, true)) {
    try {
      ApplyBackgroundStyle(bgShaded);
    } catch (const std::exception& Error) {
      ShowApplicationError(Error.what());
    }
  }
  // In the main form the menu sweeps in once the main form's own transition has ended.
  if (!HostedByMainForm()) EffectsPanelNavigator->setVisible(true);
  TimerV3->start();
}

void TFormNavigator::RevealMenu() {
  ChangeWithTransition(NavigatorTransition, EffectsPanelNavigator->parentWidget(),
                       Bounds(EffectsPanelNavigator->x(), EffectsPanelNavigator->y(), EffectsPanelNavigator->width(),
                              EffectsPanelNavigator->height()),
                       [this] { EffectsPanelNavigator->setVisible(true); });
}

// --- entries ---

bool TFormNavigator::eventFilter(QObject* Watched, QEvent* Event) {
  if (Event->type() == QEvent::MouseButtonRelease) {
    auto* Entry = qobject_cast<TEffectsPanel*>(Watched);
    auto* Mouse = static_cast<QMouseEvent*>(Event);
    if (Entry && Mouse->button() == Qt::LeftButton && Entry->rect().contains(Mouse->position().toPoint())) {
      // What goes wrong reaches the user as every error of the program does; the click is done.
      TApplication::DeliverGuarded([&] { return EntryClicked(Entry), true; }, ShowApplicationError);
      return true;
    }
  }
  return TFCEmbeddedForm::eventFilter(Watched, Event);
}

void TFormNavigator::EntryClicked(TEffectsPanel* Entry) {
  const TEntryInfo* Info = InfoOf(Entry);
  if (!Info) return;
  switch (Info->Kind) {
    case ekWizard: OpenWizard(); return;
    case ekSite: OpenSite(); return;
    default: break;
  }
  OpenEntryPage(Entry, QLatin1String(Info->Page), Info->Kind == ekPageWithGlass);
}

void TFormNavigator::OpenEntryPage(TEffectsPanel* Entry, const QString& PageClassName, bool WithGlass) {
  QPointer<TEffectsPanel> Previous = FSelectedEntry;
  if (!SelectMenuEntry(Entry)) return;
  try {
    OpenPage(PageClassName, WithGlass);
  } catch (...) {
    // The page before is still shown: so is its entry.
    if (Entry->underMouse()) GiveLook(Entry, FHover);
    else GiveNormalLook(Entry);
    Entry->repaint();
    FSelectedEntry = Previous;
    if (Previous) {
      GiveLook(Previous, FSelected);
      Previous->repaint();
    }
    throw;
  }
}

bool TFormNavigator::SelectMenuEntry(TEffectsPanel* Entry) {
  if (TForm* Shown = FormContainerNavigator->ActiveForm(); Shown && !Shown->CloseQuery()) return false;
  if (Entry == FSelectedEntry) {
    // Clicked again: it blends back to the look of an entry under the mouse, and the page goes.
    ChangeWithTransition(MenuTransition, Entry, [&] {
      // Leaving it later gives it the look of an entry that is not selected.
      CopyLook(FSaved, FNormal);
      FSaved.FontColor = InfoOf(Entry)->FontColor;
      GiveLook(Entry, FHover);
      FSelectedEntry = nullptr;
    });
    const TReversedFor Backwards(PageTransition);
    FormContainerNavigator->ShowForm(nullptr, true, fcfaDefault, nullptr, PageTransition);
    return false;
  }
  if (TEffectsPanel* Old = FSelectedEntry) {
    GiveNormalLook(Old);
    Old->repaint();
  }
  FSelectedEntry = Entry;
  ChangeWithTransition(MenuTransition, Entry, [&] { GiveLook(Entry, FSelected); });
  return true;
}

void TFormNavigator::OpenPage(const QString& PageClassName, bool WithGlass) {
  const TWaitCursor Wait;
  const QMetaObject* Class = PageClass(PageClassName);
  if (!Class) throw std::runtime_error(QStringLiteral("The page %1 is not part of this program").arg(PageClassName).toStdString());
  TForm* Page = FormContainerNavigator->CreateForm(Class);
  if (WithGlass) {
    if (TFCBackgroundOptions* Options = FindBackgroundOptions(Page)) {
      Options->SetGlassColor(PageGlassColor);
      Options->SetGlassTranslucency(PageGlassTranslucency);
    }
  }
  FormContainerNavigator->ShowForm(Page, true, fcfaDefault, nullptr, PageTransition);
}

void TFormNavigator::OpenWizard() {
  const TWaitCursor Wait;
  TFormContainer* Host = FormContainer();
  if (!Host) throw std::runtime_error("The navigator is not hosted in a form container");
  const QMetaObject* Class = PageClass(QStringLiteral("TFormNew"));
  if (!Class) throw std::runtime_error("The page TFormNew is not part of this program");
  TForm* Wizard = Host->CreateForm(Class);
  auto* Transition = Wizard->findChild<TTransitionEffect*>(QStringLiteral("Transition1"));
  // The navigator stays, hidden, so that the wizard's "Main menu" comes back to it.
  Host->ShowForm(Wizard, false, fcfaDefault, nullptr, Transition);
}

void TFormNavigator::OpenSite() {
  const QString Page = ProgramFile(QStringLiteral("site/index.html"));
  if (!QFile::exists(Page)) throw std::runtime_error(QStringLiteral("File not found: %1").arg(Page).toStdString());
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(Page)))
    throw std::runtime_error(QStringLiteral("No browser could open %1").arg(Page).toStdString());
}

void TFormNavigator::EntryEntered(TEffectsPanel* Entry) {
  if (Entry == LabelV3) TimerV3->stop();
  if (Entry == FSelectedEntry) return;
  TakeLook(FSaved, Entry);
  GiveLook(Entry, FHover);
  Entry->repaint();
}

void TFormNavigator::EntryLeft(TEffectsPanel* Entry) {
  if (Entry == LabelV3 && isVisible()) TimerV3->start();
  if (Entry == FSelectedEntry) return;
  GiveLook(Entry, FSaved);
  Entry->repaint();
}

void TFormNavigator::BlinkV3() {
  // The hovered or selected entry keeps the look it has.
  if (LabelV3->underMouse() || LabelV3 == FSelectedEntry) return;
  SetFontColor(LabelV3, FontColor(LabelV3) == clWhite ? V3Lime : clWhite);
  LabelV3->update();
}

// --- background styles ---

void TFormNavigator::ApplyBackgroundStyle(TBackgroundStyle Style, TFormBkgrndEditor* Editor) {
  const TStyleInfo& Info = Styles[Style];
  TFCBackgroundOptions* Options = BackgroundOptions();
  if (Info.File) {
    // Read first: a missing picture changes nothing.
    TPicture Picture;
    LoadProgramPicture(Picture, QLatin1String(Info.File));
    FBackgroundForm = nullptr;
    Options->SetBkgrndForm(nullptr);
    PageGlassTranslucency = Info.Translucency;
    if (Info.Glass) PageGlassColor = *Info.Glass;
    Options->SetPictureMode(fcpmTile);
    Options->SetPicture(Picture);
    if (Editor) Editor->ShowStyle(ProgramFile(QLatin1String(Info.File)), fcpmTile, PageGlassTranslucency, Info.Glass);
    return;
  }
  // The background form reads its picture as it is made: check it can before the style changes.
  TFormBkgrnd::CheckPicture();
  Options->SetBkgrndForm(&TFormBkgrnd::staticMetaObject);
  FBackgroundForm = qobject_cast<TFormBkgrnd*>(FormContainerNavigator->BackgroundOptions()->BkgrndFormSource().BkgrndForm());
  if (FBackgroundForm) FBackgroundForm->Navigator = this;
  PageGlassTranslucency = Info.Translucency;
  PageGlassColor = *Info.Glass;
  Options->Picture().Clear();
  if (Editor) Editor->ShowStyle(QString(), Options->PictureMode(), PageGlassTranslucency, PageGlassColor);
}

VTE_DEMO_PAGE(TFormNavigator)

}  // namespace vte::demo
