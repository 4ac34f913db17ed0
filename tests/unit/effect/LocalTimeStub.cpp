#include "LocalTimeStub.h"

#include "platform/Platform.h"

namespace {

std::tm& Answer() {
  static std::tm answer = [] {
    std::tm noon{};
    noon.tm_year = 126;
    noon.tm_mon = 11;
    noon.tm_mday = 11;
    noon.tm_hour = 12;
    return noon;
  }();
  return answer;
}

}  // namespace

void local_time_stub::Set(const std::tm& local) {
  Answer() = local;
}

bool platform::LocalTime(std::time_t, std::tm* out) {
  *out = Answer();
  return true;
}
