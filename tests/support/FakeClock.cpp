#include "FakeClock.h"

#include <cmath>

#include "platform/Platform.h"

namespace {

int64_t ticks = 0;
int64_t frequency = fake_clock::kDefaultFrequency;
int64_t reads = 0;

}  // namespace

namespace fake_clock {

void Reset() {
  ticks = 0;
  frequency = kDefaultFrequency;
  reads = 0;
}

void SetTicks(int64_t value) {
  ticks = value;
}
void Advance(int64_t delta) {
  ticks += delta;
}
void AdvanceSeconds(double seconds) {
  ticks += static_cast<int64_t>(std::llround(seconds * static_cast<double>(frequency)));
}
void SetFrequency(int64_t ticksPerSecond) {
  frequency = ticksPerSecond;
}
int64_t Reads() {
  return reads;
}

}  // namespace fake_clock

namespace platform {

int64_t CounterTicks() {
  ++reads;
  return ticks;
}

int64_t CounterFrequency() {
  return frequency;
}

}  // namespace platform
