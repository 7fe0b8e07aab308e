#pragma once
// The demonstration's navigator: a menu of entries on the left, over a glass panel, and a form
// container on the right in which every entry opens its page through the page transition. An
// entry lights up under the mouse, keeps a look of its own while its page is shown, and going back
// to it a second time empties the page area with the page transition run backwards. The
// navigator also carries the six background styles the whole window can take.
#include <QFont>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

#include "container/effects_panel.h"
#include "container/embedded_form.h"
#include "gdi/color.h"

class QTimer;

namespace vte {
class TFormContainer;
class TImage;
class TTransitionEffect;
class TTransitionList;
}  // namespace vte

namespace vte::demo {

class TFormBkgrnd;
class TFormBkgrndEditor;

class TFormNavigator : public TFCEmbeddedForm {
  Q_OBJECT

public:
  enum TBackgroundStyle { bgGradient, bgStone, bgStrokes, bgWall, bgWood, bgShaded };
  Q_ENUM(TBackgroundStyle)

  Q_INVOKABLE explicit TFormNavigator(QObject* Owner = nullptr);
  ~TFormNavigator() override;

  // --- stored controls ---
  TFormContainer* FormContainerNavigator;
  TEffectsPanel* EffectsPanelNavigator;  // the menu panel: hidden until revealed
  TImage* ImageContact;
  TTransitionList* TransitionList;
  TTransitionEffect* AuxTransition;
  TTransitionEffect* NavigatorTransition;
  TTransitionEffect* MenuTransition;
  QTimer* TimerV3;
  // The menu entries from top to bottom.
  std::vector<TEffectsPanel*> Entries;
  TEffectsPanel* LabelV3;

  // --- state other pages drive ---
  // Shows every page; the transition editor page may replace it by a transition of another class
  // (through this reference), and every later page then uses the new one.
  TTransitionEffect* PageTransition = nullptr;
  // The glass the pages marked for it get, set by the background styles.
  TColor PageGlassColor = PaletteRGB(0xD3, 0xC6, 0xE2);
  int PageGlassTranslucency = 25;
  // The background form of the shaded style, or null.
  TFormBkgrnd* BackgroundForm() const;
  TEffectsPanel* SelectedEntry() const { return FSelectedEntry; }

  // The selection animation of a click on Entry: true when its page is to be opened. A second
  // click on the selected entry deselects it and empties the page area (false); a shown page that
  // refuses to close keeps everything as it is (false).
  bool SelectMenuEntry(TEffectsPanel* Entry);
  // Creates a page of the registered class PageClass in the page area and shows it through the
  // page transition, with the page glass when WithGlass. A class that is not part of the program
  // or a page that fails to build raises the error; the shown page stays and the cursor is put
  // back.
  void OpenPage(const QString& PageClass, bool WithGlass);
  // A click on Entry that opens PageClass: the selection, then the page. When the page cannot be
  // opened the menu shows the selection of the page still shown, and the error goes on.
  void OpenEntryPage(TEffectsPanel* Entry, const QString& PageClass, bool WithGlass);
  // The menu panel appears through the navigator transition.
  void RevealMenu();
  // One of the six styles over the whole navigator (its pictures read from the program's
  // folder; a missing one raises the file error and changes nothing). With Editor (the background
  // samples page), the editor's controls show the style's settings.
  void ApplyBackgroundStyle(TBackgroundStyle Style, TFormBkgrndEditor* Editor = nullptr);

  // The navigator hosting Widget (Widget's first ancestor that is one), or null.
  static TFormNavigator* HostOf(QWidget* Widget);

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  // What a menu entry looks like: its panel options and its font with the font's colour.
  struct TLook {
    std::unique_ptr<TFCBackgroundOptions> Options = std::make_unique<TFCBackgroundOptions>();
    QFont Font;
    TColor FontColor = clWindow;
  };

  void BuildMenu();
  void NavigatorShown();
  void EntryClicked(TEffectsPanel* Entry);
  void OpenWizard();
  void OpenSite();
  void EntryEntered(TEffectsPanel* Entry);
  void EntryLeft(TEffectsPanel* Entry);
  void BlinkV3();
  static void GiveLook(TEffectsPanel* Entry, const TLook& Look);
  static void TakeLook(TLook& Look, TEffectsPanel* Entry);
  static void CopyLook(TLook& Look, const TLook& Source);
  void GiveNormalLook(TEffectsPanel* Entry) const;
  bool HostedByMainForm() const;

  TLook FNormal, FSelected, FHover, FSaved;
  QPointer<TEffectsPanel> FSelectedEntry;
  QPointer<TFormBkgrnd> FBackgroundForm;
  bool FShownOnce = false;
};

}  // namespace vte::demo
