// The race clock on a real machine: the time of day, read from the wall
// clock once and from then on moved only by a monotonic clock.
//
// Two readings of the wall clock give a wrong race time whenever the clock
// is set between them: set back an hour (the end of summer time, a
// correction) the second reading looks like the next day, and the race
// clock read 1380 minutes. Here a wall clock set back or forward changes no
// reading; the readings still fold at midnight, so a race run across it
// keeps the midnight rule of ElapsedSeconds.
#pragma once

#include <functional>

#include "clock.h"

namespace trotix {

class SteadyDayClock : public Clock {
 public:
  using Seconds = std::function<double()>;

  // `time_of_day`: the wall clock in seconds since midnight, read once, at
  // the first reading. `monotonic`: seconds from any fixed point, never
  // going back (a steady clock).
  SteadyDayClock(Seconds time_of_day, Seconds monotonic);

  float SecondsSinceMidnight() override;

 private:
  Seconds time_of_day_;
  Seconds monotonic_;
  bool started_ = false;
  double day_start_ = 0.0;        // the wall clock's reading at the first reading
  double monotonic_start_ = 0.0;  // the monotonic clock's at the same moment
};

}  // namespace trotix
