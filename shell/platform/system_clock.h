// The time of day from the system, for the race clock and the winner's time.
#pragma once

#include <cstdint>

#include "clock.h"

namespace trotix {

class SystemClock final : public Clock {
 public:
  float SecondsSinceMidnight() override;
};

// A seed for the random source from the system clock, in nanoseconds, so
// that two starts never share a field.
std::uint64_t ClockSeed();

}  // namespace trotix
