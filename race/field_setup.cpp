#include "field_setup.h"

#include <cmath>

#include "odds.h"

namespace trotix {

namespace {

// A rating in [10, 100): the mean of two draws, so it peaks at 55.
double RandomRating(RandomSource& random) {
  const double first = static_cast<double>(random.Next()) * 90.0;
  const double second = static_cast<double>(random.Next()) * 90.0;
  return (first + second) / 2.0 + 10.0;
}

double RandomEffort(RandomSource& random) { return static_cast<double>(random.Next()) * 30.0 + 35.0; }

// floor(r x n) + 1, in 1..n.
std::int32_t RandomOneTo(RandomSource& random, double n) {
  return static_cast<std::int32_t>(std::floor(static_cast<double>(random.Next()) * n)) + 1;
}

void PlaceAtStart(Horse& horse, std::size_t i) {
  horse.Index = static_cast<std::int32_t>(i);
  horse.StaminaLeft = horse.Stamina;
  horse.Position = 0.0;
  horse.ScreenX = kStartScreenX;
  horse.ScreenY = static_cast<float>(i) * 120.0f + 750.0f;
  horse.Finished = kFalse;
}

}  // namespace

void SetUpField(RaceState& race, RandomSource& random, const FieldRecords* file) {
  race.Phase = kPhaseReady;
  race.RailToggle = kTrue;
  race.FinishCount = 0;

  for (std::size_t i = 0; i < kHorseCount; ++i) {
    Horse& horse = race.Horses[i];
    if (file != nullptr) {
      horse.Speed = (*file)[i].Speed;
      horse.Stamina = (*file)[i].Stamina;
      horse.Effort = RandomEffort(random);
      horse.Style = (*file)[i].Style;
    } else {
      horse.Speed = RandomRating(random);
      horse.Stamina = RandomRating(random);
      horse.Effort = RandomEffort(random);
      horse.Style = RandomOneTo(random, 4.0);
    }
    horse.Frame = RandomOneTo(random, 3.0);
    PlaceAtStart(horse, i);
  }
  ComputeWinOdds(race);

  race.TailPosition = 0.0;
  race.LeadPosition = 0.0;
}

}  // namespace trotix
