#include <time.h>

#include "platform/Platform.h"

namespace platform {

// Nanoseconds of the monotonic clock.
int64_t CounterTicks() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + static_cast<int64_t>(now.tv_nsec);
}

int64_t CounterFrequency() {
  return 1000000000;
}

}  // namespace platform
