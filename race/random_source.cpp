#include "random_source.h"

namespace trotix {

namespace {
constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;
constexpr std::uint64_t kIncrement = 1442695040888963407ULL;
}  // namespace

void Pcg32Random::Seed(std::uint64_t seed) {
  state_ = 0;
  NextBits();
  state_ += seed;
  NextBits();
}

std::uint32_t Pcg32Random::NextBits() {
  const std::uint64_t old = state_;
  state_ = old * kMultiplier + kIncrement;
  const auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
  const auto rot = static_cast<std::uint32_t>(old >> 59u);
  return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

float Pcg32Random::Next() {
  // 24 random bits fill a float's mantissa exactly: the result is a multiple
  // of 2^-24 below 1. Narrowing a double or a 32-bit fraction could round up
  // to exactly 1.0, which would break every "r < 1" the race relies on.
  return static_cast<float>(NextBits() >> 8) * 0x1.0p-24f;
}

}  // namespace trotix
