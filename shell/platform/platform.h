// Everything the window needs from the world outside the program, handed
// in so tests can script the clock and the random draws and watch the rest.
#pragma once

#include "clock.h"
#include "dialogs.h"
#include "file_locations.h"
#include "process_priority.h"
#include "random_source.h"

namespace trotix {

struct Platform {
  Clock& clock;
  RandomSource& random;
  ProcessPriority& priority;
  Dialogs& dialogs;
  FileLocations files;  // where horsedat.txt and Trotix.ini live
};

}  // namespace trotix
