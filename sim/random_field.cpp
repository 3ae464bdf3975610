#include "random_field.h"

#include "field_setup.h"

namespace trotix::sim {

FieldRecords DrawRandomField(std::uint64_t seed) {
  Pcg32Random random(seed);
  RaceState race;
  SetUpField(race, random, nullptr);
  FieldRecords field{};
  for (std::size_t h = 0; h < kHorseCount; ++h) {
    field[h] = {race.Horses[h].Speed, race.Horses[h].Stamina, race.Horses[h].Style};
  }
  return field;
}

}  // namespace trotix::sim
