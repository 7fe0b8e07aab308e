#pragma once
// The editor page of what every transition shares: the passes and the second-pass options, the
// duration and the direction. It is a borderless form that the transition editor creates by class
// name inside its form container, and the base of every page of a particular effect: such a page
// adds its controls below the shared ones and extends the three operations, calling the base
// first.
//
// The editor calls SetupEditor, then LoadValues on a page it has just created, and StoreValues
// before a preview, before a change of class and when the user confirms. The page changes the
// transition only in StoreValues and when the user picks a solid colour.
//
// The second-pass options live on a panel that the "..." button opens over the dimmed page (a
// blend dims it, a slide grows the panel from its centre) and its close button closes the
// opposite way.
#include <QPointer>
#include <functional>
#include <utility>
#include <vector>

#include "container/form.h"

class QCheckBox;
class QColorDialog;
class QComboBox;
class QLineEdit;
class QToolButton;

namespace vte {

class TClickLabel;
class TEffectsGroupBox;
class TEffectsPanel;
class TFormTransitions;
class TTransitionEffect;
class TUpDown;

class TTransitionEffectEditor : public TForm {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TTransitionEffectEditor(QObject* Owner = nullptr);
  ~TTransitionEffectEditor() override;

  // Binds the page to Transition (not owned) and adapts the controls to its class.
  virtual void SetupEditor(TTransitionEffect* Transition);
  // The transition's values into the controls.
  virtual void LoadValues();
  // The controls' values into the transition.
  virtual void StoreValues();

  TTransitionEffect* Transition() const { return FTransition; }

  // The handlers, callable as the controls call them.
  // Leaving the duration edit: its text becomes the up-down's position (clamped); text that is no
  // integer raises EConvertError and the focus goes back into the edit.
  void EditMillisecondsExit();
  // The colour dialog, preset with the second pass's solid colour; a confirmed colour is stored in
  // the transition at once.
  void ChooseSolidColor();
  void OpenPass2Panel();
  void ClosePass2Panel();
  bool Pass2PanelOpen() const { return FDimPanel != nullptr; }

  // Where the second-pass panel rests while closed, and how far it moves when it opens.
  static constexpr int Pass2PanelLeft = 266, Pass2PanelShift = 200;

  // --- the controls ---
  TClickLabel* LabelPassSetting;
  QComboBox* ComboBoxPasses;
  TClickLabel* LabelPass2Options;
  QToolButton* SpeedButtonPass2;
  TClickLabel* LabelMilliseconds;
  QLineEdit* EditMilliseconds;
  TUpDown* UpDownMilliseconds;
  TClickLabel* LabelDirection;
  QComboBox* ComboBoxDirection;
  TClickLabel* LabelEasing;
  QComboBox* ComboBoxEasing;
  TEffectsGroupBox* EffectsGroupBoxPass2;
  QCheckBox* CheckBoxDistributedTime;
  TClickLabel* LabelDistributedTime;
  QCheckBox* CheckBox2PReversed;
  TClickLabel* Label2PReversed;
  QCheckBox* CheckBoxUseSolidColor;
  TClickLabel* LabelUseSolidColor;
  QToolButton* SpeedButtonSolidColor;
  TClickLabel* LabelSolidColor;
  QToolButton* SpeedButtonClosePanel;
  QColorDialog* ColorDialog;
  TFormTransitions* FormTransitions;

  // The rows of the page: shared controls take the first five, a page's own begin at
  // FirstOwnRow; each row is RowHeight apart. PageHeight holds FirstOwnRow + 6 rows.
  static constexpr int FirstRowTop = 10, RowHeight = 27, FirstOwnRow = 5, PageHeight = 319;
  static int RowTop(int Row) { return FirstRowTop + Row * RowHeight; }

  // Whether Class publishes a property of that name (case-insensitive) holding an integer, or an
  // enumeration.
  static bool PublishesInteger(const QMetaObject* Class, const char* Name);
  static bool PublishesEnumeration(const QMetaObject* Class, const char* Name);

protected:
  // Building blocks for the pages, laid out on the page's rows.
  // A label right-aligned in the label column; its accelerator focuses Buddy.
  TClickLabel* AddLabel(const QString& Caption, int Row, QWidget* Buddy);
  // An edit and its up-down in the control column.
  std::pair<QLineEdit*, TUpDown*> AddNumber(int Row, int Min, int Max, int Increment, bool ReadOnly,
                                            int Width = EditWidth, int Left = ControlLeft);
  // A label in the label column and its check box in the control column; a click on the label
  // toggles the box.
  std::pair<TClickLabel*, QCheckBox*> AddCheckRow(const QString& Caption, int Row, int Left = ControlLeft);
  // A check box with its caption as a label at the right of it, at X in the row; a click on the
  // label toggles the box.
  std::pair<QCheckBox*, TClickLabel*> AddCheck(QWidget* Parent, const QString& Caption, int X, int Top);
  // The up-down's position from its edit's text; text that is no integer raises EConvertError
  // and puts the focus back into the edit.
  void ConvertEditText(TUpDown* UpDown);
  // Calls Handler when Edit loses the focus; what it raises is shown as the application shows
  // errors, once the focus is back in the edit.
  void CallOnExit(QLineEdit* Edit, std::function<void()> Handler);
  // The index of the item with that value, or -1.
  static int IndexOfValue(const QComboBox* ComboBox, int Value);

  static constexpr int LabelLeft = 0, LabelWidth = 93, ControlLeft = 96, ControlWidth = 120,
                       EditWidth = 54, ControlHeight = 22, UpDownWidth = 17;

  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  void BuildPass2Panel();
  // The widget and rectangle the blend of the whole page covers.
  std::pair<QWidget*, QRect> PageArea() const;
  void ShowSolidColor();

  TTransitionEffect* FTransition = nullptr;
  QPointer<QWidget> FActiveBeforePass2;
  TEffectsPanel* FDimPanel = nullptr;  // owned (as a child) while the panel is open
  std::vector<std::pair<QLineEdit*, std::function<void()>>> FExitHandlers;
};

}  // namespace vte
