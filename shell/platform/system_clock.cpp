#include "system_clock.h"

#include <QTime>

#include <chrono>

namespace trotix {

namespace {

double WallSecondsSinceMidnight() { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

std::uint64_t ClockSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

SystemClock::SystemClock() : SteadyDayClock(WallSecondsSinceMidnight, SteadySeconds) {}

}  // namespace trotix
