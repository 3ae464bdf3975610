#include "system_clock.h"

#include <QTime>

namespace trotix {

float SystemClock::SecondsSinceMidnight() {
  return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

}  // namespace trotix
