#include "AllocationCounter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

// glibc's own allocator under its exported internal names: the replacements forward to it.
extern "C" {
void* __libc_malloc(size_t size);
void __libc_free(void* block);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
}

namespace {

std::atomic<uint64_t> allocations{0};

void Note() {
  allocations.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

namespace allocation_counter {

uint64_t Count() {
  return allocations.load(std::memory_order_relaxed);
}

}  // namespace allocation_counter

// The C library's entry points, replaced for the whole program (shared libraries included).
extern "C" {

void* malloc(size_t size) noexcept {
  Note();
  return __libc_malloc(size);
}

void free(void* block) noexcept {
  __libc_free(block);
}

void* calloc(size_t count, size_t size) noexcept {
  Note();
  return __libc_calloc(count, size);
}

void* realloc(void* block, size_t size) noexcept {
  Note();
  return __libc_realloc(block, size);
}

void* memalign(size_t alignment, size_t size) noexcept {
  Note();
  return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) noexcept {
  Note();
  return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size) noexcept {
  Note();
  void* block = __libc_memalign(alignment, size);
  if (block == nullptr) return 12;  // ENOMEM
  *out = block;
  return 0;
}

}  // extern "C"

// operator new goes through the counted malloc, so each object counts once.
void* operator new(size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}
void* operator new[](size_t size) {
  return operator new(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete[](void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, size_t) noexcept {
  std::free(block);
}
void operator delete[](void* block, size_t) noexcept {
  std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  std::free(block);
}
