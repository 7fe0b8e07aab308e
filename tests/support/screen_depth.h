#pragma once
// Makes the device layer report a screen depth while the object lives, so that runs take that
// device format (8, 15, 16, 24 or 32 bits); the real screen's depth is back afterwards.
#include <array>

#include "render/device.h"

namespace vte::test {

class TScreenDepth {
public:
  explicit TScreenDepth(int Bits) { ForceScreenBitsPerPixel(Bits); }
  ~TScreenDepth() { ForceScreenBitsPerPixel(0); }
  TScreenDepth(const TScreenDepth&) = delete;
  TScreenDepth& operator=(const TScreenDepth&) = delete;
};

// Every depth a screen can have here.
inline constexpr std::array<int, 5> ScreenDepths = {8, 15, 16, 24, 32};

}  // namespace vte::test
