#include <time.h>

#include "platform/Platform.h"

namespace platform {

bool LocalTime(std::time_t calendarTime, std::tm* out) {
  if (out == nullptr) return false;
  return localtime_s(out, &calendarTime) == 0;
}

}  // namespace platform
