#include "steady_day_clock.h"

#include <cmath>
#include <utility>

namespace trotix {

SteadyDayClock::SteadyDayClock(Seconds time_of_day, Seconds monotonic)
    : time_of_day_(std::move(time_of_day)), monotonic_(std::move(monotonic)) {}

float SteadyDayClock::SecondsSinceMidnight() {
  const double now = monotonic_();
  if (!started_) {
    day_start_ = time_of_day_();
    monotonic_start_ = now;
    started_ = true;
  }
  const auto day = static_cast<double>(kSecondsPerDay);
  double seconds = std::fmod(day_start_ + (now - monotonic_start_), day);
  if (seconds < 0.0) seconds += day;
  const auto reading = static_cast<float>(seconds);
  // A moment before midnight may round up to 86400 in single precision:
  // that is the midnight that starts the next day.
  return reading < kSecondsPerDay ? reading : 0.0f;
}

}  // namespace trotix
