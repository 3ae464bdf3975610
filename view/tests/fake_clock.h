// A clock for tests: reads whatever time it was set to, and counts readings.
#pragma once

#include "clock.h"

namespace trotix::testing {

class FakeClock final : public Clock {
 public:
  float SecondsSinceMidnight() override {
    ++readings;
    return now;
  }
  float now = 36000.0f;
  int readings = 0;
};

}  // namespace trotix::testing
