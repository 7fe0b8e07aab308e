#pragma once
// The transition samples: six sample pages in a container, stepped through with every stored
// transition in turn. Next shows the following page through the next transition, Back runs the
// current transition backwards, and the index button's popup menu jumps to the first transition
// of each class.
#include "container/embedded_form.h"

class QMenu;
class QPushButton;
class QToolButton;

namespace vte {
class TEffectsPanel;
class TFormContainer;
class TTransitionList;
}  // namespace vte

namespace vte::demo {

class TFormTransitionSamples : public TFCEmbeddedForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFormTransitionSamples(QObject* Owner = nullptr);

  // Position in TransitionList of the transition shown last (-1: none yet).
  int SampleIndex() const { return FSampleIndex; }

  // The handlers, callable as the controls call them.
  void BitBtnNextClick();
  void BitBtnBackClick();
  void SpeedButtonIndexClick();
  // A popup item: jumps to the run of transitions that starts at Tag.
  void PopupItemClick(int Tag);

  TFormContainer* FormContainer;
  TEffectsPanel* EffectsPanel1;
  QToolButton* SpeedButtonIndex;
  QPushButton* BitBtnBack;
  QPushButton* BitBtnNext;
  QMenu* PopupMenu;
  TTransitionList* TransitionList;

protected:
  // The sample pages, their pictures and the masks are loaded once the page is built; a missing
  // file stops the page's creation with the file's error.
  void Loaded() override;

private:
  // Runs the transition at SampleIndex (backwards for Back) while the next sample page comes in.
  void ShowSample(bool Back);
  void LoadMasks(const QString& FileName, const char* First, const char* Second, const char* Third);
  void BuildPopupMenu();
  void UpdateButtons(int Position);

  int FSampleIndex = -1;
};

}  // namespace vte::demo
