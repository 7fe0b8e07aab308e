// libFuzzer entry: picture files (our BMP reader and writer, Qt's decoders behind our checks).
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  vte::fuzz::Picture(Data, Size);
  return 0;
}
