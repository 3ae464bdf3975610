#include "sim_main.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "chart_svg.h"
#include "field_file_reader.h"
#include "random_field.h"
#include "report.h"
#include "sim_options.h"
#include "simulation.h"
#include "terminal_text.h"
#include "whole_file.h"

namespace trotix::sim {

std::uint64_t SeedFromClock() {
  const auto ticks = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  return ticks % kExactSeedLimit;
}

namespace {

unsigned HardwareThreads() { return std::max(1u, std::thread::hardware_concurrency()); }

// Races done, races per second and time left, over itself on one line.
Progress TerminalProgress(std::ostream& err, std::uint64_t races) {
  return [&err, races](std::uint64_t done, double seconds) {
    const double per_second = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
    const double left = per_second > 0.0 ? static_cast<double>(races - done) / per_second : 0.0;
    err << "\r" << done << " of " << races << " races, " << std::llround(per_second) << " races/s, "
        << std::llround(std::ceil(left)) << " s left\x1b[K" << std::flush;
  };
}

// Text that did not get out (a full disk, a closed pipe) is a failure.
int Delivered(std::ostream& out, std::ostream& err, const char* what) {
  if (out.flush()) return kExitOk;
  err << "trotix-sim: " << what << " could not be written\n";
  return kExitWriteFailed;
}

int ChartNotWritten(std::ostream& err, const std::string& path, const WholeFileTarget& chart) {
  err << "trotix-sim: the chart could not be written to " << TerminalSafe(path) << " ("
      << TerminalSafe(FileProblem(chart)) << ")\n";
  return kExitWriteFailed;
}

bool SameFile(const std::string& path, const struct stat& other) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && st.st_dev == other.st_dev && st.st_ino == other.st_ino;
}

}  // namespace

int SimMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err, bool err_is_terminal) {
  const ParsedOptions parsed = ParseOptions(args);
  if (!parsed.error.empty()) {
    err << "trotix-sim: " << TerminalSafe(parsed.error) << "\n";
    return kExitBadInput;
  }
  const SimOptions& options = parsed.options;
  if (options.help) {
    out << kHelpText;
    return Delivered(out, err, "the help text");
  }

  RunSetup setup;
  setup.seed = options.seed.value_or(SeedFromClock());
  setup.races = options.races;
  setup.random_fields = options.random_fields;
  RunInfo run;
  if (options.file) {
    const FieldFileRead read = ReadFieldFile(*options.file);
    if (read.status != FieldFileStatus::kRead) {
      err << "trotix-sim: "
          << TerminalSafe(read.status == FieldFileStatus::kAbsent ? *options.file + ": no such file" : read.message) << "\n";
      return kExitBadInput;
    }
    setup.field = read.horses;
    run.field = std::string("field from ").append(*options.file);
  } else if (options.random_fields) {
    run.field = "a fresh random field for every race";
  } else {
    setup.field = DrawRandomField(setup.seed);
    run.field = "random field drawn from the seed";
  }

  // The chart's place is checked before a run that may take minutes; it is
  // written as the game writes its position file.
  if (options.svg) {
    const WholeFileTarget chart = CheckWholeFileTarget(*options.svg);
    if (chart.status != FileStatus::kOk) return ChartNotWritten(err, *options.svg, chart);
    if (options.file && chart.exists && SameFile(*options.file, chart.st)) {
      err << "trotix-sim: the chart would replace the horse data file " << TerminalSafe(*options.file) << "\n";
      return kExitBadInput;
    }
  }

  const Progress progress = err_is_terminal ? TerminalProgress(err, setup.races) : Progress();
  const RunResult result = Simulate(setup, options.threads != 0 ? options.threads : HardwareThreads(), progress);
  if (err_is_terminal) err << "\r\x1b[K" << std::flush;
  if (!result.thread_error.empty()) {
    err << "trotix-sim: " << result.threads << (result.threads == 1 ? " thread" : " threads")
        << " could not be started (" << result.thread_error << "); try fewer with --threads\n";
    return kExitNoResources;
  }

  run.threads = result.threads;
  run.seconds = result.seconds;
  const Figures figures = ComputeFigures(setup, result.tally);
  if (options.svg) {
    const WholeFileTarget chart = WriteWholeFile(*options.svg, ChartSvg(figures));
    if (chart.status != FileStatus::kOk) return ChartNotWritten(err, *options.svg, chart);
  }
  if (options.json) {
    WriteJson(out, figures, run);
  } else {
    WriteText(out, figures, run);
  }
  return Delivered(out, err, "the report");
}

}  // namespace trotix::sim
