// The library's editor pages, registered by class name so that a transition's editor class name
// resolves. A new page adds its line here; the registry calls this once, on its first use.
#include "editors/bitmap_mask_editor.h"
#include "editors/block_editor.h"
#include "editors/editor_registry.h"
#include "editors/fuse_editor.h"
#include "editors/masked_editor.h"
#include "editors/roll_editor.h"
#include "editors/slide_editor.h"
#include "editors/transition_effect_editor.h"
#include "editors/wipe_editor.h"

namespace vte {

void RegisterBuiltInEditors() {
  RegisterEditorClass(&TTransitionEffectEditor::staticMetaObject);
  RegisterEditorClass(&TMaskedTransitionEditor::staticMetaObject);
  RegisterEditorClass(&TBlockTransitionEditor::staticMetaObject);
  RegisterEditorClass(&TBmpMaskTransitionEditor::staticMetaObject);
  RegisterEditorClass(&TFuseTransitionEditor::staticMetaObject);
  RegisterEditorClass(&TRollTransitionEditor::staticMetaObject);
  RegisterEditorClass(&TSlideTransitionEditor::staticMetaObject);
  RegisterEditorClass(&TWipeTransitionEditor::staticMetaObject);
}

}  // namespace vte
