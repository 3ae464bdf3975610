// Seeded draws from the game's own generator, counted, with a hook that runs
// at every draw: tests see how many numbers a step drew and can act in the
// middle of one (a tick poked while a field is being built).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "random_source.h"

namespace trotix::testing {

class HookedRandom final : public RandomSource {
 public:
  void Seed(std::uint64_t seed) override {
    ++seed_calls;
    inner_.Seed(seed);
  }
  float Next() override {
    ++count;
    if (on_draw) on_draw();
    return inner_.Next();
  }
  // A copy neither counts nor runs the hook: it is not the game's draw.
  std::unique_ptr<RandomSource> Copy() const override { return inner_.Copy(); }
  int seed_calls = 0;
  std::size_t count = 0;
  std::function<void()> on_draw;

 private:
  Pcg32Random inner_{7};
};

}  // namespace trotix::testing
