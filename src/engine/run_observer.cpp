#include "engine/run_observer.h"

namespace vte {

TRunObserver RunObserver;

}  // namespace vte
