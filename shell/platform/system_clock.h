// The time of day from the system, for the race clock and the winner's time:
// the wall clock read once, then moved by the steady clock, so a clock set
// back or forward during a race changes no race time (steady_day_clock.h).
#pragma once

#include <cstdint>

#include "steady_day_clock.h"

namespace trotix {

class SystemClock final : public SteadyDayClock {
 public:
  SystemClock();
};

// A seed for the random source from the system clock, in nanoseconds, so
// that two starts never share a field.
std::uint64_t ClockSeed();

}  // namespace trotix
