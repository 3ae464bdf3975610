// The program's one random source. Field setup and the motion model say how
// many numbers they draw and in which order, so tests script the draws.
#pragma once

#include <cstdint>
#include <memory>

namespace trotix {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Starts the sequence afresh from `seed`; the program seeds once, from
  // the clock, so that every start differs.
  virtual void Seed(std::uint64_t seed) = 0;
  // A uniformly distributed single-precision number r, 0 <= r < 1.
  virtual float Next() = 0;
  // An independent source that draws, from here on, what this one would:
  // the race card looks ahead at the next field on a copy, so that no draw
  // of the game's own sequence is spent or moved.
  virtual std::unique_ptr<RandomSource> Copy() const = 0;
};

// PCG32 (O'Neill's permuted congruential generator): small, fast and
// reproducible, so one seed replays one race exactly.
class Pcg32Random final : public RandomSource {
 public:
  explicit Pcg32Random(std::uint64_t seed = 0x853c49e6748fea9bULL) { Seed(seed); }
  void Seed(std::uint64_t seed) override;
  // Inline, so that a race run on this generator itself (the simulator's)
  // draws without a call.
  float Next() override {
    // 24 random bits fill a float's mantissa exactly: the result is a multiple
    // of 2^-24 below 1. Narrowing a double or a 32-bit fraction could round up
    // to exactly 1.0, which would break every "r < 1" the race relies on.
    return static_cast<float>(NextBits() >> 8) * 0x1.0p-24f;
  }
  std::unique_ptr<RandomSource> Copy() const override { return std::make_unique<Pcg32Random>(*this); }
  std::uint32_t NextBits() {
    const std::uint64_t old = state_;
    state_ = old * kMultiplier + kIncrement;
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
    const auto rot = static_cast<std::uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
  }

 private:
  static constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;
  static constexpr std::uint64_t kIncrement = 1442695040888963407ULL;
  std::uint64_t state_ = 0;
};

}  // namespace trotix
