// The rules every race keeps, checked tick by tick over one seeded race
// from the field's setup to the board. Shared by the property test and the
// 100,000-race soak benchmark, so both hold races to the same rules.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "field_setup.h"
#include "phase_machine.h"
#include "random_source.h"
#include "silent_host.h"

namespace trotix::testing {

// Our generator, counting its draws.
class CountingRandom final : public RandomSource {
 public:
  explicit CountingRandom(std::uint64_t seed) : inner_(seed) {}
  void Seed(std::uint64_t seed) override { inner_.Seed(seed); }
  float Next() override {
    ++count;
    return inner_.Next();
  }
  std::unique_ptr<RandomSource> Copy() const override { return inner_.Copy(); }
  std::size_t count = 0;

 private:
  Pcg32Random inner_;
};

// Runs the race of `seed` to its board. Returns "" if every rule held, or
// what broke first: phases in order, six draws per moving tick and none
// otherwise, a lead that never falls back, effort within 0..100, stamina
// never below 0 nor rising, every moving horse at least 2.222 m further, an
// end in bounded ticks with one board, every horse entered exactly once,
// and the last one's margin 2000.
inline std::string RunAndCheckRace(std::uint64_t seed) {
  CountingRandom random(seed);
  RaceState race;
  SetUpField(race, random, nullptr);
  SilentHost host;

  int ticks = 0;
  while (host.results == 0) {
    if (++ticks >= kTickLimit) return "race did not end";
    // The parts of the state the rules compare (the whole state holds the
    // quinella labels, too dear to copy in every tick of the soak).
    const std::int32_t from = race.Phase;
    const double lead_before = race.LeadPosition;
    const std::array<Horse, kHorseCount> horses_before = race.Horses;
    const std::size_t draws_before = random.count;
    RaceTick(race, random, host);

    // Words for a broken rule; put together only when one broke.
    const auto at = [&] { return " (phase " + std::to_string(from) + ", tick " + std::to_string(ticks) + ")"; };
    if (race.Phase != from && race.Phase != from + 1) return "phase went to " + std::to_string(race.Phase) + at();
    const bool moving = from >= kPhaseStart && from <= kPhaseRunOut;
    if (random.count - draws_before != (moving ? kHorseCount : 0u)) {
      return std::to_string(random.count - draws_before) + " draws" + at();
    }
    if (race.LeadPosition < lead_before) return "the lead fell back" + at();
    for (std::size_t i = 0; i < kHorseCount; ++i) {
      const Horse& h = race.Horses[i];
      const auto horse = [i] { return "horse " + std::to_string(i); };
      if (h.Effort < 0.0 || h.Effort > 100.0) return horse() + " has effort " + std::to_string(h.Effort) + at();
      if (h.StaminaLeft < 0.0) return horse() + " has stamina below 0" + at();
      if (h.StaminaLeft > horses_before[i].StaminaLeft) return horse() + " gained stamina" + at();
      if (moving && h.Position - horses_before[i].Position < 2.222 - 1e-9) return horse() + " moved too little" + at();
    }
  }
  if (race.Phase != kPhaseOver) return "the board came in phase " + std::to_string(race.Phase);
  if (host.results != 1) return std::to_string(host.results) + " boards";
  if (race.FinishCount != 6) return std::to_string(race.FinishCount) + " horses entered";
  std::array<int, kHorseCount> seen{};
  for (const FinishEntry& entry : race.FinishOrder) {
    if (entry.HorseIndex < 0 || entry.HorseIndex >= 6) return "horse index " + std::to_string(entry.HorseIndex);
    ++seen[static_cast<std::size_t>(entry.HorseIndex)];
  }
  for (int count : seen) {
    if (count != 1) return "a horse was entered " + std::to_string(count) + " times";
  }
  if (race.FinishOrder[5].Margin != 2000.0) {
    return "the last horse's margin is " + std::to_string(race.FinishOrder[5].Margin);
  }
  return "";
}

}  // namespace trotix::testing
