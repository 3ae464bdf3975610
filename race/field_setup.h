// Building the field for one race, from the horse data file or at random.
#pragma once

#include "field_file.h"
#include "race_state.h"
#include "random_source.h"

namespace trotix {

// Resets what the phase machine starts from and fills all six horses with
// their win odds. `file` holds the horse data file's six horses, or is null
// for a random field. A random field draws seven numbers per horse (speed
// twice, stamina twice, effort, style, frame), a file field two (effort,
// frame), horse 0 first. Scene, FinishOrder, the times and the quinella
// table keep what the last race left.
void SetUpField(RaceState& race, RandomSource& random, const FieldRecords* file);

}  // namespace trotix
