// A random source for tests: hands out the numbers it was given, in order,
// and counts every draw.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <vector>

#include "random_source.h"

namespace trotix::testing {

class ScriptedRandom final : public RandomSource {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<float> draws) : draws_(draws) {}

  void Push(float r) { draws_.push_back(r); }
  void Seed(std::uint64_t) override { ++seed_calls; }
  float Next() override {
    if (next_ >= draws_.size()) {
      if (repeat_last && !draws_.empty()) {
        ++count;
        return draws_.back();
      }
      throw std::logic_error("ScriptedRandom ran out of draws");
    }
    ++count;
    return draws_[next_++];
  }
  // The copy goes on from the same place and counts its own draws.
  std::unique_ptr<RandomSource> Copy() const override {
    auto copy = std::make_unique<ScriptedRandom>(*this);
    copy->count = 0;
    return copy;
  }

  std::size_t count = 0;
  int seed_calls = 0;
  bool repeat_last = false;

 private:
  std::vector<float> draws_;
  std::size_t next_ = 0;
};

}  // namespace trotix::testing
