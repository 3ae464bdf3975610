// One random field, drawn by the game's own setup.
#pragma once

#include <cstdint>

#include "field_file.h"

namespace trotix::sim {

// The random field the game would build from a generator seeded with `seed`:
// its speeds, staminas and styles.
FieldRecords DrawRandomField(std::uint64_t seed);

}  // namespace trotix::sim
