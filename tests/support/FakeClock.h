// A counter that tests set by hand. Test programs link the `fake_clock` target before
// `platform`, so platform::CounterTicks and CounterFrequency answer from here.
#pragma once

#include <cstdint>

namespace fake_clock {

// 10 MHz, a frequency other than the POSIX clock's, so code that assumes one is caught.
constexpr int64_t kDefaultFrequency = 10000000;

// Ticks 0 and the default frequency.
void Reset();
void SetTicks(int64_t ticks);
void Advance(int64_t ticks);
// Moves the counter on by a number of seconds at the current frequency.
void AdvanceSeconds(double seconds);
void SetFrequency(int64_t ticksPerSecond);
// How often the code under test read the counter since Reset.
int64_t Reads();

}  // namespace fake_clock
