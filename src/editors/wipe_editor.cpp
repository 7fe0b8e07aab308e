#include "editors/wipe_editor.h"

#include <QLineEdit>

#include "editors/click_label.h"
#include "editors/editor_helpers.h"
#include "editors/up_down.h"
#include "effects/wipe.h"

namespace vte {

TWipeTransitionEditor::TWipeTransitionEditor(QObject* Owner) : TTransitionEffectEditor(Owner) {
  std::tie(EditBandWidth, UpDownBandWidth) = AddNumber(FirstOwnRow, 0, 30000, 10, false);
  LabelBandWidth = AddLabel(QStringLiteral("&Band width"), FirstOwnRow, EditBandWidth);
  CallOnExit(EditBandWidth, [this] { EditBandWidthExit(); });
  NameControls({{LabelBandWidth, "LabelBandWidth"}, {EditBandWidth, "EditBandWidth"}, {UpDownBandWidth, "UpDownBandWidth"}});
}

TWipeTransition* TWipeTransitionEditor::Wipe() const { return qobject_cast<TWipeTransition*>(Transition()); }

void TWipeTransitionEditor::LoadValues() {
  TTransitionEffectEditor::LoadValues();
  // As the getter reads it: a diagonal or in/out wipe has no band and reads 0.
  if (TWipeTransition* T = Wipe()) UpDownBandWidth->SetPosition(T->BandWidth());
}

void TWipeTransitionEditor::StoreValues() {
  TTransitionEffectEditor::StoreValues();
  if (TWipeTransition* T = Wipe()) T->SetBandWidth(UpDownBandWidth->Position());
}

void TWipeTransitionEditor::EditBandWidthExit() { ConvertEditText(UpDownBandWidth); }

}  // namespace vte
