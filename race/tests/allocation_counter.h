// Counts every call of the global operator new in the test binary that
// includes this header, which replaces it. Include it in one source file of
// a binary of its own: the replacement is program-wide.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

namespace trotix::testing {
inline std::atomic<long> g_allocations{0};
}  // namespace trotix::testing

void* operator new(std::size_t size) {
  ++trotix::testing::g_allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
