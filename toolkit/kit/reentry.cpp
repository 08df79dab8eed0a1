#include "reentry.h"

namespace roomkit {

bool& actionRunning() {
  static bool running = false;
  return running;
}

}  // namespace roomkit
