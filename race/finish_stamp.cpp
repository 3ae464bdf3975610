#include "finish_stamp.h"

namespace trotix {

void LeaderSoFar::See(const RaceState& race, std::size_t index) {
  if (race.Horses[index].Position > best_) {
    best_ = race.Horses[index].Position;
    index_ = static_cast<int>(index);
  }
}

int LeaderIndex(const RaceState& race) {
  LeaderSoFar leader;
  for (std::size_t i = 0; i < kHorseCount; ++i) leader.See(race, i);
  return leader.index();
}

bool StampFinish(RaceState& race, int leader, float now) {
  if (race.WinnerCrossed == kFalse) return false;
  race.WinnerCrossed = kFalse;
  race.FinishTime = now;
  race.WinnerIndex = leader;
  return true;
}

}  // namespace trotix
