#include "effect/FrameClock.h"

#include "platform/Platform.h"

void FrameClock::start() {
  ticksPerMs = static_cast<double>(platform::CounterFrequency()) / 1000.0;
  startCount = platform::CounterTicks();
}

double FrameClock::elapsedMs() const {
  return static_cast<double>(platform::CounterTicks() - startCount) / ticksPerMs;
}
