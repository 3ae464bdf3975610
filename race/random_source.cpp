#include "random_source.h"

namespace trotix {

void Pcg32Random::Seed(std::uint64_t seed) {
  state_ = 0;
  NextBits();
  state_ += seed;
  NextBits();
}

}  // namespace trotix
