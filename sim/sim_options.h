// The command line of trotix-sim.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace trotix::sim {

inline constexpr std::uint64_t kDefaultRaces = 100000;
// Counts stay exact in 64 bits well beyond this (the chance sums take
// 10^9 units per horse and race).
inline constexpr std::uint64_t kMaxRaces = 1000000000;
inline constexpr std::uint64_t kMaxThreads = 1024;
// The page's lab runs at most this many workers, each a WebAssembly instance
// of its own; a browser that reports more cores (a two-socket server says
// 384) gets this many, not a refusal.
inline constexpr std::uint64_t kMaxLabWorkers = 256;
// Seeds taken from the clock stay below 2^53, where every JSON reader (jq,
// JavaScript) reads the number exactly and so can run the same races again.
inline constexpr std::uint64_t kExactSeedLimit = std::uint64_t{1} << 53;

struct SimOptions {
  std::uint64_t races = kDefaultRaces;
  std::optional<std::uint64_t> seed;  // none: taken from the clock
  unsigned threads = 0;               // 0: all hardware threads
  bool random_fields = false;         // --random: a fresh field for every race
  bool json = false;
  bool help = false;
  std::optional<std::string> file;    // the horse data file, if one is named
  std::optional<std::string> svg;     // where to write the chart, if anywhere
};

struct ParsedOptions {
  SimOptions options;
  std::string error;  // empty when the command line is good
};

// Reads the arguments after the program name. "--races N" and
// "--races=N" are both understood; numbers are plain decimal digits.
ParsedOptions ParseOptions(std::span<const std::string_view> args);

extern const char* const kHelpText;

}  // namespace trotix::sim
