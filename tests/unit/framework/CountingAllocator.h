// Replaces the global allocation functions of a test program so that a test can see which
// blocks the code under test left behind and make its non-throwing allocations fail.
#pragma once

#include <cstddef>

namespace counting_allocator {

// Blocks made by the non-throwing forms of new that are not yet deleted.
size_t LiveBlocks();

// The next `successes` non-throwing allocations succeed; every later one fails until
// StopFailing.
void FailAfter(size_t successes);
void StopFailing();

// Whether an allocation was made to fail since the last FailAfter.
bool InjectedFailure();

}  // namespace counting_allocator
