#include "sim_options.h"

#include <charconv>

namespace trotix::sim {

const char* const kHelpText =
    "Usage: trotix-sim [options] [HORSEDAT]\n"
    "\n"
    "Runs the game's own race many times over, headless, and shows how often\n"
    "each horse really wins against what its posted odds imply.\n"
    "\n"
    "With HORSEDAT it races that field (six lines of speed, stamina and style,\n"
    "tab-separated, read as the game reads horsedat.txt). Without it, one\n"
    "random field is drawn from the seed and raced.\n"
    "\n"
    "  --races N    races to run (default 100000)\n"
    "  --seed S     seed of the run (default from the clock; always printed)\n"
    "  --threads T  threads to use (default: all hardware threads); the\n"
    "               figures are the same for any T\n"
    "  --random     a fresh random field for every race: how well the odds\n"
    "               formula predicts the winner, by implied chance and style\n"
    "  --json       the same figures as JSON\n"
    "  --svg FILE   also write the field's chart to FILE: every horse's true\n"
    "               chance with its 95% interval against what its odds imply,\n"
    "               and the quinella\n"
    "  --help       this text\n"
    "\n"
    "Exit status: 0 on success; 1 when the report or this text could not be\n"
    "written; 2 for a bad command line or a horse data file that is missing or\n"
    "refused; 3 when the system would not give the threads or the memory the\n"
    "run needs.\n";

namespace {

// Plain decimal digits in [low, high], nothing else.
std::optional<std::uint64_t> WholeNumber(std::string_view text, std::uint64_t low, std::uint64_t high) {
  std::uint64_t value = 0;
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

struct NumberOption {
  std::string_view name;
  std::uint64_t low;
  std::uint64_t high;
};

constexpr NumberOption kRaces{"--races", 1, kMaxRaces};
constexpr NumberOption kSeed{"--seed", 0, UINT64_MAX};
constexpr NumberOption kThreads{"--threads", 1, kMaxThreads};

std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  quoted += text;
  return quoted += "'";
}

}  // namespace

ParsedOptions ParseOptions(std::span<const std::string_view> args) {
  ParsedOptions parsed;
  SimOptions& o = parsed.options;
  auto fail = [&parsed](std::string message) {
    parsed.error = std::move(message);
    return parsed;
  };

  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    std::optional<std::string_view> inline_value;
    if (arg.starts_with("--")) {
      if (const auto eq = arg.find('='); eq != std::string_view::npos) {
        inline_value = arg.substr(eq + 1);
        arg = arg.substr(0, eq);
      }
    }

    const NumberOption* number = nullptr;
    for (const NumberOption* candidate : {&kRaces, &kSeed, &kThreads}) {
      if (arg == candidate->name) number = candidate;
    }
    if (number != nullptr) {
      if (!inline_value && i + 1 == args.size()) return fail(std::string(arg) + " needs a number");
      const std::string_view text = inline_value ? *inline_value : args[++i];
      const auto value = WholeNumber(text, number->low, number->high);
      if (!value) {
        return fail(std::string(arg) + ": " + Quoted(text) + " is not a whole number from " +
                    std::to_string(number->low) + " to " + std::to_string(number->high));
      }
      if (number == &kRaces) o.races = *value;
      if (number == &kSeed) o.seed = *value;
      if (number == &kThreads) o.threads = static_cast<unsigned>(*value);
      continue;
    }

    if (arg == "--svg") {
      if (!inline_value && i + 1 == args.size()) return fail("--svg needs a file name");
      o.svg = std::string(inline_value ? *inline_value : args[++i]);
      if (o.svg->empty()) return fail("--svg needs a file name");
      continue;
    }

    const bool is_switch = arg == "--random" || arg == "--json" || arg == "--help";
    if (is_switch && inline_value) return fail(std::string(arg) + " takes no value");
    if (arg == "--random") {
      o.random_fields = true;
    } else if (arg == "--json") {
      o.json = true;
    } else if (arg == "--help") {
      o.help = true;
    } else if (arg.size() > 1 && arg.front() == '-') {
      return fail(std::string("unknown option ").append(Quoted(args[i])).append(" (see --help)"));
    } else if (o.file) {
      return fail(std::string("more than one horse data file: ").append(Quoted(*o.file)).append(" and ").append(Quoted(arg)));
    } else {
      o.file = std::string(arg);
    }
  }
  if (o.random_fields && o.file && !o.help) {
    return fail("--random races a fresh field every time and takes no horse data file");
  }
  if (o.random_fields && o.svg && !o.help) return fail("--svg draws one field and cannot be used with --random");
  return parsed;
}

}  // namespace trotix::sim
