#include "editors/block_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "editors/click_label.h"
#include "editors/editor_helpers.h"
#include "editors/up_down.h"
#include "effects/block.h"

namespace vte {

namespace {
constexpr int SelectorWidth = 104, SizeLeft = 110;
}  // namespace

TBlockTransitionEditor::TBlockTransitionEditor(QObject* Owner) : TMaskedTransitionEditor(Owner) {
  const int CheckRow = FirstOwnRow + 3, WidthRow = FirstOwnRow + 4, HeightRow = FirstOwnRow + 5;
  std::tie(LabelPuzzle, CheckBoxPuzzle) = AddCheckRow(QStringLiteral("Pu&zzle"), CheckRow);
  // The dual box shares the row: its label right of the puzzle box, itself at the row's end.
  std::tie(LabelDual, CheckBoxDual) = AddCheckRow(QStringLiteral("&Dual"), CheckRow, ControlLeft + 80);
  LabelDual->setGeometry(ControlLeft + 22, RowTop(CheckRow), 54, ControlHeight);

  const auto AddSelector = [this](int Row, const char* SizeItem, const char* CountItem) {
    auto* Selector = new QComboBox(this);
    // Wider than a label: the longer caption with the drop-down arrow; the edits move aside.
    Selector->setGeometry(2, RowTop(Row), SelectorWidth, ControlHeight);
    AddSorted(Selector, QString::fromLatin1(CountItem), 1);
    AddSorted(Selector, QString::fromLatin1(SizeItem), 0);
    return Selector;
  };
  ComboBoxBlockWidthSel = AddSelector(WidthRow, BlockWidthItem, ColsItem);
  std::tie(EditBlockWidth, UpDownBlockWidth) = AddNumber(WidthRow, 0, 30000, 1, false, EditWidth, SizeLeft);
  std::tie(EditCols, UpDownCols) = AddNumber(WidthRow, 0, 30000, 1, false, EditWidth, SizeLeft);
  ComboBoxBlockHeightSel = AddSelector(HeightRow, BlockHeightItem, RowsItem);
  std::tie(EditBlockHeight, UpDownBlockHeight) = AddNumber(HeightRow, 0, 30000, 1, false, EditWidth, SizeLeft);
  std::tie(EditRows, UpDownRows) = AddNumber(HeightRow, 0, 30000, 1, false, EditWidth, SizeLeft);
  EditCols->hide();
  UpDownCols->hide();
  EditRows->hide();
  UpDownRows->hide();
  Select(ComboBoxBlockWidthSel, BlockWidthItem);
  Select(ComboBoxBlockHeightSel, BlockHeightItem);

  connect(ComboBoxBlockWidthSel, &QComboBox::currentIndexChanged, this, [this] {
    ShowSelected(ComboBoxBlockWidthSel, ColsItem, EditBlockWidth, UpDownBlockWidth, EditCols, UpDownCols);
  });
  connect(ComboBoxBlockHeightSel, &QComboBox::currentIndexChanged, this, [this] {
    ShowSelected(ComboBoxBlockHeightSel, RowsItem, EditBlockHeight, UpDownBlockHeight, EditRows, UpDownRows);
  });

  NameControls({
      {LabelPuzzle, "LabelPuzzle"}, {CheckBoxPuzzle, "CheckBoxPuzzle"}, {LabelDual, "LabelDual"},
      {CheckBoxDual, "CheckBoxDual"}, {ComboBoxBlockWidthSel, "ComboBoxBlockWidthSel"},
      {EditBlockWidth, "EditBlockWidth"}, {UpDownBlockWidth, "UpDownBlockWidth"}, {EditCols, "EditCols"},
      {UpDownCols, "UpDownCols"}, {ComboBoxBlockHeightSel, "ComboBoxBlockHeightSel"},
      {EditBlockHeight, "EditBlockHeight"}, {UpDownBlockHeight, "UpDownBlockHeight"}, {EditRows, "EditRows"},
      {UpDownRows, "UpDownRows"}});
}

TBlockTransition* TBlockTransitionEditor::Block() const { return qobject_cast<TBlockTransition*>(Transition()); }

bool TBlockTransitionEditor::Selected(const QComboBox* Selector, const char* Item) {
  return Selector->currentText() == QLatin1String(Item);
}

void TBlockTransitionEditor::Select(QComboBox* Selector, const char* Item) {
  Selector->setCurrentIndex(Selector->findText(QLatin1String(Item)));
}

void TBlockTransitionEditor::ShowSelected(QComboBox* Selector, const char* CountItem, QWidget* SizeEdit,
                                          QWidget* SizeUpDown, QWidget* CountEdit, QWidget* CountUpDown) {
  const bool Count = Selected(Selector, CountItem);
  SizeEdit->setVisible(!Count);
  SizeUpDown->setVisible(!Count);
  CountEdit->setVisible(Count);
  CountUpDown->setVisible(Count);
}

void TBlockTransitionEditor::SetupEditor(TTransitionEffect* Transition) {
  TMaskedTransitionEditor::SetupEditor(Transition);
  TBlockTransition* T = Block();
  if (!T) return;
  Select(ComboBoxBlockWidthSel, T->Cols() > 0 ? ColsItem : BlockWidthItem);
  Select(ComboBoxBlockHeightSel, T->Rows() > 0 ? RowsItem : BlockHeightItem);
}

void TBlockTransitionEditor::LoadValues() {
  TMaskedTransitionEditor::LoadValues();
  TBlockTransition* T = Block();
  if (!T) return;
  CheckBoxPuzzle->setChecked(T->Puzzle());
  CheckBoxDual->setChecked(T->Dual());
  UpDownBlockWidth->SetPosition(T->BlockWidth());
  UpDownCols->SetPosition(T->Cols());
  UpDownBlockHeight->SetPosition(T->BlockHeight());
  UpDownRows->SetPosition(T->Rows());
}

void TBlockTransitionEditor::StoreValues() {
  TMaskedTransitionEditor::StoreValues();
  TBlockTransition* T = Block();
  if (!T) return;
  T->SetPuzzle(CheckBoxPuzzle->isChecked());
  T->SetDual(CheckBoxDual->isChecked());
  if (Selected(ComboBoxBlockWidthSel, ColsItem))
    T->SetCols(UpDownCols->Position());
  else
    T->SetBlockWidth(UpDownBlockWidth->Position());
  if (Selected(ComboBoxBlockHeightSel, RowsItem))
    T->SetRows(UpDownRows->Position());
  else
    T->SetBlockHeight(UpDownBlockHeight->Position());
}

}  // namespace vte
