// Everything the window needs from the world outside the program, handed
// in so tests can script the clock and the random draws and watch the rest.
#pragma once

#include <cstdint>

#include "clock.h"
#include "dialogs.h"
#include "file_locations.h"
#include "process_priority.h"
#include "random_source.h"

namespace trotix {

struct Platform {
  Clock& clock;
  RandomSource& random;
  std::uint64_t random_seed;  // seeds `random` once, at load: every start differs
  ProcessPriority& priority;
  Dialogs& dialogs;
  FileLocations files;  // where horsedat.txt and Trotix.ini live
};

}  // namespace trotix
