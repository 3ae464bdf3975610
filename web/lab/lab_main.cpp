// The page's lab: trotix-sim's races, counts, figures and chart, built into
// WebAssembly for the page's workers. Each worker runs the blocks of races
// the page hands it into a tally of its own; one of them adds all the
// tallies up and writes the figures, the tables and the chart. Races are
// numbered and seeded as trotix-sim numbers and seeds them, so the counts are
// the same for any number of workers.
#include <emscripten.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "chart_svg.h"
#include "race_blocks.h"
#include "report.h"
#include "sim_options.h"

namespace trotix::sim {
namespace {

// The field as the page hands it in: six speeds, six staminas, six styles.
double field_in[3 * kHorseCount];
RunSetup setup;
Tally tally;
Tally incoming;  // another worker's tally, copied in by the page
RaceState race;
std::string text;

}  // namespace
}  // namespace trotix::sim

using namespace trotix::sim;

extern "C" {

EMSCRIPTEN_KEEPALIVE double* trotix_lab_field() { return field_in; }

// The bounds of a run as trotix-sim takes them, for the page to ask for no
// more: workers (the page runs min(cores, this)), races, and the seed's
// exact limit (seeds are below it).
EMSCRIPTEN_KEEPALIVE int trotix_lab_max_workers() { return static_cast<int>(kMaxLabWorkers); }
EMSCRIPTEN_KEEPALIVE double trotix_lab_max_races() { return static_cast<double>(kMaxRaces); }
EMSCRIPTEN_KEEPALIVE double trotix_lab_seed_limit() { return static_cast<double>(kExactSeedLimit); }

// A new run of `races` races seeded with `seed` (exact below 2^53) on the
// field in trotix_lab_field(); returns its number of blocks.
EMSCRIPTEN_KEEPALIVE double trotix_lab_begin(double seed, double races) {
  setup = RunSetup{};
  setup.seed = static_cast<std::uint64_t>(seed);
  setup.races = static_cast<std::uint64_t>(races);
  for (std::size_t h = 0; h < trotix::kHorseCount; ++h) {
    setup.field[h] = {field_in[h], field_in[trotix::kHorseCount + h],
                      static_cast<std::int32_t>(field_in[2 * trotix::kHorseCount + h])};
  }
  tally = Tally{};
  return static_cast<double>(BlockCount(setup));
}

// Runs block `block` of the run; returns how many races it held.
EMSCRIPTEN_KEEPALIVE double trotix_lab_run_block(double block) {
  return static_cast<double>(SimulateBlock(setup, static_cast<std::uint64_t>(block), race, tally));
}

// This worker's tally as bytes, and room for another's, added by add_tally.
EMSCRIPTEN_KEEPALIVE const Tally* trotix_lab_tally() { return &tally; }
EMSCRIPTEN_KEEPALIVE int trotix_lab_tally_bytes() { return static_cast<int>(sizeof(Tally)); }
EMSCRIPTEN_KEEPALIVE Tally* trotix_lab_tally_room() { return &incoming; }
EMSCRIPTEN_KEEPALIVE void trotix_lab_add_tally() { tally.Add(incoming); }

// The figures of the tally as trotix-sim --json writes them, `field` saying
// where the field came from and `workers` and `seconds` how it ran.
EMSCRIPTEN_KEEPALIVE const char* trotix_lab_json(const char* field, int workers, double seconds) {
  std::ostringstream out;
  WriteJson(out, ComputeFigures(setup, tally), {field, static_cast<unsigned>(workers), seconds});
  text = out.str();
  return text.c_str();
}

// The tables of the terminal's report, cell for cell, each cell with the
// kind that says how it is shown (WriteTablesJson).
EMSCRIPTEN_KEEPALIVE const char* trotix_lab_tables() {
  std::ostringstream out;
  WriteTablesJson(out, ComputeFigures(setup, tally));
  text = out.str();
  return text.c_str();
}

// The chart as trotix-sim --svg draws it, 640 wide; and narrow, 360 wide,
// for a phone, its smallest text 12 CSS px when shown at that width.
EMSCRIPTEN_KEEPALIVE const char* trotix_lab_chart() {
  text = ChartSvg(ComputeFigures(setup, tally));
  return text.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* trotix_lab_chart_narrow() {
  text = ChartSvg(ComputeFigures(setup, tally), ChartLayout::kNarrow);
  return text.c_str();
}

}
