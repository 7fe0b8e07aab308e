// libFuzzer entry: stored transition lists.
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  vte::fuzz::TransitionList(Data, Size);
  return 0;
}
