// trotix-sim as a whole, apart from the process: arguments in, report out.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string_view>

namespace trotix::sim {

inline constexpr int kExitOk = 0;
inline constexpr int kExitWriteFailed = 1;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitNoResources = 3;  // the system refused the threads or the memory

// A seed from the clock, below kExactSeedLimit.
std::uint64_t SeedFromClock();

// Runs the command line `args` (without the program's name). The report goes
// to `out`; a bad command line or field file gives one line on `err` and
// kExitBadInput, threads that cannot be started one line and
// kExitNoResources, a report or help text that cannot be written one line
// and kExitWriteFailed. Progress goes to `err` only when `err_is_terminal`.
int SimMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err, bool err_is_terminal);

}  // namespace trotix::sim
