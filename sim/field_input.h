// The field a run races: a horse data file read by the game's own parser, or
// one random field drawn by the game's own setup.
#pragma once

#include <cstdint>
#include <string>

#include "field_file.h"

namespace trotix::sim {

struct FieldInput {
  bool ok = false;
  FieldRecords horses{};
  std::string error;  // when not ok: one line naming the file and the fault
};

// Reads `path` as the game reads horsedat.txt, with the same refusals. A
// missing file, one that is not an ordinary file, one that cannot be read
// and one the game would refuse are all errors here.
FieldInput ReadFieldFile(const std::string& path);

// The random field the game would build from a generator seeded with `seed`:
// its speeds, staminas and styles.
FieldRecords DrawRandomField(std::uint64_t seed);

}  // namespace trotix::sim
