// The report of a run: a readable table, or JSON for scripts.
#pragma once

#include <ostream>
#include <string>

#include "figures.h"
#include "text_table.h"

namespace trotix::sim {

struct RunInfo {
  std::string field;  // where the field came from, in words
  unsigned threads = 0;
  double seconds = 0.0;
};

// Everything but one line is fixed by the seed, the races and the field;
// that one line tells the threads used and the time taken.
void WriteText(std::ostream& out, const Figures& figures, const RunInfo& run);
void WriteJson(std::ostream& out, const Figures& figures, const RunInfo& run);

// The field's tables as the text report shows them: one row a horse, one
// row a quinella pair.
TextTable HorseTable(const Figures& figures);
TextTable PairTable(const Figures& figures);

// The same two tables as JSON, cell for cell, for a page to show:
// {"horses": {"headers": [...], "rows": [[{"text": "1", "kind": "label"},
// ...], ...]}, "quinella": {...}, "winner_time": "median 1:54.8, 5% 1:53.8,
// 95% 1:55.6"}. A cell's kind says how it is shown: "label" (the row's
// horse or pair), "number", "style" (the game's glyph, in Japanese), and the
// verdict's "underpriced", "overpriced" or "within"; the Bet column's
// "pays" (one unit staked returns more than the unit on average) or "costs".
void WriteTablesJson(std::ostream& out, const Figures& figures);

// A number as JSON: the shortest text that reads back as the same value
// (12.5, 0.0005, 80), null for what JSON cannot hold.
std::string JsonNumber(double value);
std::string JsonNumber(float value);

// `text` as a JSON string, valid UTF-8 whatever its bytes.
std::string JsonString(const std::string& text);

// A share 0..1 as a bar of block characters, `cells` wide for the whole.
std::string Bar(double share, int cells);

}  // namespace trotix::sim
