// Who leads, and the clock reading stamped when the winner reaches the line.
#pragma once

#include <cstddef>

#include "race_state.h"

namespace trotix {

// The leading horse, found horse by horse in index order as a drawing meets
// them: the furthest, and the lowest index among equals; horse 0 when none
// is past 0.
class LeaderSoFar {
 public:
  void See(const RaceState& race, std::size_t index);
  int index() const { return index_; }

 private:
  double best_ = 0.0;
  int index_ = 0;
};

// The leader of the field as it stands.
int LeaderIndex(const RaceState& race);

// In the drawing after the phase machine has set WinnerCrossed, the winner's
// time (`now`, that drawing's clock reading) and the horse in front
// (`leader`) are stamped, once, and the flag is cleared. Whether it stamped.
bool StampFinish(RaceState& race, int leader, float now);

}  // namespace trotix
