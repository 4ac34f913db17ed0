// The instance's high-resolution clock.
#pragma once

#include <cstdint>

struct FrameClock {
  double ticksPerMs = 0.0;  // counter ticks per millisecond
  int64_t startCount = 0;   // counter value at the last start

  void start();
  // Milliseconds since the last start; only meaningful after a start.
  double elapsedMs() const;
};
