#include "platform/FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>

namespace morv {

// The library initialises once and atomically, from whichever thread is first.
FontConfigWarmUp::FontConfigWarmUp() : thread_([] { FcInit(); }) {}

}  // namespace morv
