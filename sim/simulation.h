// Many races of one setup, spread over threads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "race_blocks.h"

namespace trotix::sim {

struct RunResult {
  Tally tally;
  unsigned threads = 0;  // the threads that actually ran races
  double seconds = 0.0;
  // Why the threads could not all be started, if they could not; the run is
  // then abandoned and the tally is empty.
  std::string thread_error;
};

// Told from the calling thread, at most ten times a second, while the races
// run: races done so far and seconds since the start.
using Progress = std::function<void(std::uint64_t done, double seconds)>;

// Runs every race of `setup` on up to `threads` threads. Races are handed out
// in blocks; the counts are the same whatever thread ran a block.
RunResult Simulate(const RunSetup& setup, unsigned threads, const Progress& progress);

}  // namespace trotix::sim
