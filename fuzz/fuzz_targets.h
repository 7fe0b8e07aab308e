#pragma once
// What the fuzz targets check, as plain functions: libFuzzer's entry points call them (make fuzz),
// and the test suite replays the seed corpora through them with the ordinary compiler.
#include <cstddef>
#include <cstdint>

namespace vte::fuzz {

// A stored transition list read from Data: it loads or raises std::runtime_error, never anything
// else; a list that loads is written and read again to the same text.
void TransitionList(const std::uint8_t* Data, std::size_t Size);
// A picture file read from Data: it loads or raises std::runtime_error; a picture that loads is
// written as BMP by our writer and read again to the same pixels.
void Picture(const std::uint8_t* Data, std::size_t Size);

// The application object both need (fonts, image plugins), made once on the offscreen platform.
void EnsureApplication();

}  // namespace vte::fuzz
