#include "simulation.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace trotix::sim {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(100);

}  // namespace

RunResult Simulate(const RunSetup& setup, unsigned threads, const Progress& progress, std::stop_token stop) {
  const auto start = std::chrono::steady_clock::now();
  const auto seconds_since_start = [start] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  const std::uint64_t blocks = BlockCount(setup);
  const auto workers = static_cast<unsigned>(std::clamp<std::uint64_t>(threads, 1, std::max<std::uint64_t>(blocks, 1)));

  std::vector<Tally> tallies(workers);
  std::atomic<std::uint64_t> next_block{0};
  std::atomic<std::uint64_t> done{0};
  std::mutex mutex;
  std::condition_variable finished;
  unsigned running = workers;

  auto work = [&](Tally& tally) {
    RaceState race;
    for (;;) {
      const std::uint64_t block = next_block.fetch_add(1, std::memory_order_relaxed);
      if (block >= blocks || stop.stop_requested()) break;
      done.fetch_add(SimulateBlock(setup, block, race, tally), std::memory_order_relaxed);
    }
    const std::lock_guard lock(mutex);
    --running;
    finished.notify_one();
  };

  std::vector<std::jthread> pool;
  pool.reserve(workers);
  RunResult result;
  result.threads = workers;
  try {
    for (Tally& tally : tallies) pool.emplace_back(work, std::ref(tally));
  } catch (const std::system_error& e) {
    // The system would not give them all (a limit on processes or on
    // address space): the threads already running stop after their block.
    next_block.store(blocks);
    pool.clear();  // joins
    result.thread_error = e.code().message();
    result.seconds = seconds_since_start();
    return result;
  }
  {
    std::unique_lock lock(mutex);
    while (!finished.wait_for(lock, kProgressInterval, [&] { return running == 0; })) {
      if (progress) {
        lock.unlock();
        progress(done.load(std::memory_order_relaxed), seconds_since_start());
        lock.lock();
      }
    }
  }
  pool.clear();  // joins

  for (const Tally& tally : tallies) result.tally.Add(tally);
  result.stopped = result.tally.races < setup.races;
  result.seconds = seconds_since_start();
  return result;
}

}  // namespace trotix::sim
