#pragma once
// The demonstration's tests read the pictures, masks and chime the build generated beside the
// program.
#include "program_files.h"

namespace vte::demo::test {

inline void UseGeneratedData() { SetProgramFolder(QStringLiteral(VTE_DEMO_DATA_DIR)); }

}  // namespace vte::demo::test
