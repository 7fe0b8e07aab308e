#pragma once
// The page every step of the "What's new" wizard is built on: a title and a short text at the top,
// EffectsPanel1 below them, the page's stored transitions, and a background picture. The wizard
// shows a page with its PageTransition (the first stored transition) and then lets it play its
// demonstration: a sequence of the page's other transitions, each of which covers EffectsPanel1
// (or a control inside it) while it appears or disappears.
#include <QString>
#include <functional>
#include <initializer_list>

#include "container/embedded_form.h"

class QLabel;

namespace vte {
class TEffectsPanel;
class TTransitionEffect;
class TTransitionList;
}  // namespace vte

namespace vte::demo {

class TTemplateForm : public TFCEmbeddedForm {
  Q_OBJECT

 public:
  // The wizard's page area.
  static constexpr int PageWidth = 700;
  static constexpr int PageHeight = 444;

  Q_INVOKABLE explicit TTemplateForm(QObject* Owner = nullptr);

  // The full path of the page's background picture ("VEff.jpg" in the program's folder).
  virtual QString GetPictureFileName() const;
  // The animation the page plays once it is shown; none here.
  virtual void PlayDemo() {}
  // The transition that shows the page: the first of its stored list (null when it has none).
  TTransitionEffect* PageTransition() const { return FPageTransition; }

  TTransitionList* TransitionList;
  TEffectsPanel* PanelText;
  QLabel* LabelTitle;
  QLabel* LabelText;
  TEffectsPanel* EffectsPanel1;

 protected:
  // The page's title and the text that says what it shows.
  void SetPageText(const QString& Title, const QString& Text);
  // The stored list ":/demo/<Stored>.json" becomes the page's transitions.
  void LoadStoredTransitions(const QString& Stored);
  // The stored transition at Index (from 0).
  TTransitionEffect* Transitions(int Index) const;

  // One item of a demonstration: Transition covers Target's bounds in its parent while Change
  // alters the controls, runs, and is released, with the hourglass shown meanwhile. Without a
  // place to run (the page is hidden, another transition runs) the change is simply made.
  void PlayStep(TTransitionEffect* Transition, QWidget* Target, const std::function<void()>& Change);
  // Transition covers EffectsPanel1 while the panel appears or disappears.
  void TogglePanel(TTransitionEffect* Transition);
  // TogglePanel with the stored transitions at these indexes, in order.
  void PlaySequence(std::initializer_list<int> Indexes);

  // The form's controls are complete: the page transition is chosen and the background picture
  // is loaded (a missing picture raises the file error naming it, which ends the page's creation).
  void Loaded() override;

 private:
  TTransitionEffect* FPageTransition = nullptr;
};

}  // namespace vte::demo
