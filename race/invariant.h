// Invariants that hold in every build, the player's included. An assert
// vanishes from a release build and lets the program run on into undefined
// behaviour; a broken invariant here ends the program with one line on
// standard error instead.
#pragma once

namespace trotix {

[[noreturn]] void FailInvariant(const char* what, const char* file, int line);

}  // namespace trotix

#define TROTIX_CHECK(condition, what) \
  ((condition) ? static_cast<void>(0) : ::trotix::FailInvariant((what), __FILE__, __LINE__))
