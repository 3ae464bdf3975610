// The time of day from the system, for the race clock and the winner's time.
#pragma once

#include "clock.h"

namespace trotix {

class SystemClock final : public Clock {
 public:
  float SecondsSinceMidnight() override;
};

}  // namespace trotix
