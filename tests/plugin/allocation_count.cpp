// Replaces the global operator new and delete of the test program (which exports them, so that
// the plugin loaded into it calls them too) to count the allocations of the thread that asks,
// which plays the host's audio thread.
#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/plugin/lv2_test_host.h"

namespace {

thread_local bool counting = false;
std::atomic<std::size_t> allocations{0};

// Null when there is no memory.
void* Counted(std::size_t size) noexcept {
  if (counting) allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size == 0 ? 1 : size);
}

void* Allocate(std::size_t size) {
  void* memory = Counted(size);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

}  // namespace

// Every form that the standard library pairs with these deletes (the aligned forms keep their
// own pairs).
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Counted(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Counted(size); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace allocation_count {

void Start() {
  allocations.store(0);
  counting = true;
}

std::size_t Stop() {
  counting = false;
  return allocations.load();
}

TPause::TPause() : was_(counting) { counting = false; }
TPause::~TPause() { counting = was_; }

}  // namespace allocation_count
