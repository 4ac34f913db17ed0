// Counts every heap allocation the program makes, through the C library's malloc family and the
// global operator new, so that a benchmark can show how many one operation makes.
#pragma once

#include <cstdint>

namespace allocation_counter {

// Allocations (malloc, calloc, realloc, aligned forms, operator new) since the program started.
uint64_t Count();

}  // namespace allocation_counter
