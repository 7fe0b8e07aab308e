#pragma once
// Runs a test body at every instruction-set level this processor has, that level forced, so that
// each SIMD variant is checked against the plain one on the same machine; the supported level is
// in use again afterwards.
#include <gtest/gtest.h>

#include "gdi/simd_level.h"

namespace vte::test {

template <class F>
void ForEachSimdLevel(F&& Body) {
  for (int L = slScalar; L <= SupportedSimdLevel(); ++L) {
    ForceSimdLevel(static_cast<TSimdLevel>(L));
    SCOPED_TRACE(SimdLevelName(static_cast<TSimdLevel>(L)));
    Body(static_cast<TSimdLevel>(L));
  }
  ResetSimdLevel();
}

}  // namespace vte::test
