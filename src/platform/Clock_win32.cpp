#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "platform/Platform.h"

namespace platform {

int64_t CounterTicks() {
  LARGE_INTEGER ticks{};
  QueryPerformanceCounter(&ticks);
  return static_cast<int64_t>(ticks.QuadPart);
}

int64_t CounterFrequency() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return static_cast<int64_t>(frequency.QuadPart);
}

}  // namespace platform
