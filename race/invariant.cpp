#include "invariant.h"

#include <cstdio>
#include <cstdlib>

namespace trotix {

void FailInvariant(const char* what, const char* file, int line) {
  std::fprintf(stderr, "Trotix: %s (%s:%d)\n", what, file, line);
  std::fflush(stderr);
  std::abort();
}

}  // namespace trotix
