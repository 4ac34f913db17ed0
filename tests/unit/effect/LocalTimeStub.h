// A hand-set local time: this test program defines platform::LocalTime itself.
#pragma once

#include <ctime>

namespace local_time_stub {

// What every later conversion answers, whatever the calendar time.
void Set(const std::tm& local);

}  // namespace local_time_stub
