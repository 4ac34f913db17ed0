// The operating-system services the plugin needs; one implementation file per system.
#pragma once

#include <cstdint>
#include <ctime>

namespace platform {

using ProcAddress = void (*)();

// Address of an OpenGL or window-system entry point for the context current on the calling
// thread, or null when that context does not provide the name.
ProcAddress LookupEntryPoint(const char* name);

// The monotonic high-resolution counter, in ticks, and its ticks per second.
int64_t CounterTicks();
int64_t CounterFrequency();

// Local broken-down time of a calendar time (time zone and daylight saving applied), through
// the system's reentrant conversion. False when the conversion failed.
bool LocalTime(std::time_t calendarTime, std::tm* out);

}  // namespace platform
