#include "mid_race.h"

namespace trotix {

RaceState MidRace() {
  RaceState race;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    Horse& h = race.Horses[i];
    h = Horse{static_cast<std::int32_t>(i), 60, 70, 80, 50, 2, 700.0 - 3.0 * static_cast<double>(i),
              static_cast<float>(i) * 90.0f, static_cast<float>(i) * 120.0f + 750.0f, 4.2, 1, kFalse};
  }
  race.Phase = kPhaseRunning;
  race.Scene = kSceneRunning;
  race.LeadPosition = 700.0;  // the pole is in the picture
  race.StartTime = 40000.0f;
  return race;
}

const SpriteCatalogue& Sprites() {
  static const SpriteCatalogue sprites;
  return sprites;
}

}  // namespace trotix
