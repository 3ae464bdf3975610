// Many races of one setup, spread over threads.
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
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
  // Stopped by its caller before every race had run: the tally is partial.
  bool stopped = false;
};

// Told from the calling thread, at most ten times a second, while the races
// run: races done so far and seconds since the start.
using Progress = std::function<void(std::uint64_t done, double seconds)>;

// Runs every race of `setup` on up to `threads` threads. Races are handed out
// in blocks; the counts are the same whatever thread ran a block. A stop
// asked for through `stop` (a window closing on a measurement) ends the run
// once each thread's block in hand is done.
RunResult Simulate(const RunSetup& setup, unsigned threads, const Progress& progress, std::stop_token stop = {});

}  // namespace trotix::sim
