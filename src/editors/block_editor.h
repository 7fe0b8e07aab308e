#pragma once
// The page of the block transition: the masked page, plus jigsaw pieces, the dual order, and the
// size of the grid given either in pixels a block or as a number of columns and rows (a selector
// beside each pair says which the edit holds).
#include "editors/masked_editor.h"

class QComboBox;

namespace vte {

class TBlockTransition;

class TBlockTransitionEditor : public TMaskedTransitionEditor {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TBlockTransitionEditor(QObject* Owner = nullptr);

  void SetupEditor(TTransitionEffect* Transition) override;
  void LoadValues() override;
  void StoreValues() override;

  // The captions of the selectors' items.
  static constexpr const char* BlockWidthItem = "Block width";
  static constexpr const char* ColsItem = "Cols";
  static constexpr const char* BlockHeightItem = "Block height";
  static constexpr const char* RowsItem = "Rows";

  TClickLabel* LabelPuzzle;
  QCheckBox* CheckBoxPuzzle;
  TClickLabel* LabelDual;
  QCheckBox* CheckBoxDual;
  QComboBox* ComboBoxBlockWidthSel;
  QLineEdit* EditBlockWidth;
  TUpDown* UpDownBlockWidth;
  QLineEdit* EditCols;
  TUpDown* UpDownCols;
  QComboBox* ComboBoxBlockHeightSel;
  QLineEdit* EditBlockHeight;
  TUpDown* UpDownBlockHeight;
  QLineEdit* EditRows;
  TUpDown* UpDownRows;

private:
  TBlockTransition* Block() const;
  // Shows the pair of controls the selector names and hides the other.
  void ShowSelected(QComboBox* Selector, const char* CountItem, QWidget* SizeEdit, QWidget* SizeUpDown,
                    QWidget* CountEdit, QWidget* CountUpDown);
  void Select(QComboBox* Selector, const char* Item);
  static bool Selected(const QComboBox* Selector, const char* Item);
};

}  // namespace vte
