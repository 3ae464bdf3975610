#include "clock.h"

namespace trotix {

float ElapsedSeconds(float start, float now) {
  float elapsed = now - start;
  if (elapsed < 0.0f) elapsed += kSecondsPerDay;
  return elapsed;
}

}  // namespace trotix
