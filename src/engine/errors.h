#pragma once
// The exceptions of the library. EAbort is the silent one: an event handler cancelled a change, or
// an effect had no frames to show; the application's event boundary swallows it without a word.
#include <stdexcept>
#include <string>

namespace vte {

class EAbort : public std::runtime_error {
public:
  EAbort() : std::runtime_error("Operation aborted") {}
  using std::runtime_error::runtime_error;
};

// Errors of the transition effects (for instance an unusable mask picture).
class ETransitionEffectError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

}  // namespace vte
