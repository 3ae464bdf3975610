// The time of day, handed in so the race code never reads a wall clock itself.
#pragma once

namespace trotix {

inline constexpr float kSecondsPerDay = 86400.0f;

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since midnight, single precision.
  virtual float SecondsSinceMidnight() = 0;
};

// Seconds from `start` to `now`, both readings of the time-of-day clock. A
// race that runs across midnight sees the second reading wrap to 0, so a
// negative difference gains a whole day instead of showing a negative time.
float ElapsedSeconds(float start, float now);

}  // namespace trotix
