// Time as the page's scripted clock keeps it: whole milliseconds, read in
// seconds, starting at 10:00 in the morning.
#pragma once

#include "clock.h"

namespace trotix::testing {

inline constexpr double kScriptedStartMilliseconds = 36'000'000.0;  // 10:00 in the morning

class ScriptedClock final : public Clock {
 public:
  float SecondsSinceMidnight() override { return static_cast<float>(ms / 1000.0); }
  double ms = kScriptedStartMilliseconds;
};

}  // namespace trotix::testing
