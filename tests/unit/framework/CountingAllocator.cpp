#include "CountingAllocator.h"

#include <cstdlib>
#include <new>

namespace {

// Only the few blocks the code under test makes are tracked, so a small table does.
constexpr size_t kCapacity = 4096;
void* tracked[kCapacity];
size_t trackedCount = 0;
bool failing = false;
size_t successesLeft = 0;
bool injected = false;

void* Allocate(size_t size) {
  return std::malloc(size == 0 ? 1 : size);
}

void* AllocateTracked(size_t size) noexcept {
  if (failing) {
    if (successesLeft == 0) {
      injected = true;
      return nullptr;
    }
    --successesLeft;
  }
  void* block = Allocate(size);
  if (block != nullptr) {
    if (trackedCount == kCapacity) std::abort();  // a test made far more blocks than expected
    tracked[trackedCount++] = block;
  }
  return block;
}

void Release(void* block) noexcept {
  if (block == nullptr) return;
  for (size_t i = 0; i < trackedCount; ++i) {
    if (tracked[i] == block) {
      tracked[i] = tracked[--trackedCount];
      break;
    }
  }
  std::free(block);
}

}  // namespace

namespace counting_allocator {

size_t LiveBlocks() {
  return trackedCount;
}

void FailAfter(size_t successes) {
  failing = true;
  successesLeft = successes;
  injected = false;
}

void StopFailing() {
  failing = false;
}

bool InjectedFailure() {
  return injected;
}

}  // namespace counting_allocator

void* operator new(size_t size) {
  void* block = Allocate(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}
void* operator new[](size_t size) {
  return operator new(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return AllocateTracked(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return AllocateTracked(size);
}
void operator delete(void* block) noexcept {
  Release(block);
}
void operator delete[](void* block) noexcept {
  Release(block);
}
void operator delete(void* block, size_t) noexcept {
  Release(block);
}
void operator delete[](void* block, size_t) noexcept {
  Release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  Release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  Release(block);
}
