#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "figure_text.h"
#include "report.h"
#include "utf8.h"

namespace trotix::sim {

namespace {

// The shortest text that reads back as the same number; null for what JSON
// cannot hold. Tried digit by digit with printf rather than std::to_chars,
// which the page's WebAssembly library lacks for reals: the lab in the page
// writes the same text for the same figures.
template <typename Real>
std::string Number(Real value) {
  if (!std::isfinite(value)) return "null";
  const auto v = static_cast<double>(value);
  char buffer[48];
  int digits = 1;
  for (; digits < 17; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, v);
    const Real back = std::is_same_v<Real, float> ? static_cast<Real>(std::strtof(buffer, nullptr))
                                                  : static_cast<Real>(std::strtod(buffer, nullptr));
    if (back == value) break;
  }
  std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, v);
  // Those digits without an exponent where that is no longer: 80, 0.0005.
  const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
  if (exponent >= -5 && exponent < 17) std::snprintf(buffer, sizeof buffer, "%.*f", std::max(0, digits - 1 - exponent), v);
  return buffer;
}

std::string Number(const std::optional<double>& value) { return value ? Number(*value) : std::string("null"); }

}  // namespace

std::string JsonNumber(double value) { return Number(value); }
std::string JsonNumber(float value) { return Number(value); }

// A file's name need not be UTF-8: a byte that is not gives U+FFFD.
std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    bool valid = false;
    const char32_t c = NextUtf8(text, pos, &valid);
    if (!valid) {
      out += "\\ufffd";
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      out += escape;
    } else {
      out.append(text, start, pos - start);
    }
  }
  return out + "\"";
}

namespace {

void WriteTableJson(std::ostream& out, const TextTable& table) {
  out << "{\"headers\": [";
  for (std::size_t c = 0; c < table.columns().size(); ++c) out << (c ? ", " : "") << JsonString(table.columns()[c].header);
  out << "], \"rows\": [";
  for (std::size_t r = 0; r < table.row_count(); ++r) {
    out << (r ? ",\n    [" : "\n    [");
    for (std::size_t c = 0; c < table.cells(r).size(); ++c) {
      out << (c ? ", " : "") << "{\"text\": " << JsonString(table.cells(r)[c]) << ", \"kind\": "
          << JsonString(table.kind(r, c)) << "}";
    }
    out << "]";
  }
  out << "]}";
}

std::string IntervalFields(const Interval& i) {
  return std::string("\"low_95\": ") + Number(i.low) + ", \"high_95\": " + Number(i.high);
}

std::string ChanceFields(const Chance& c) {
  return std::string("\"hits\": ").append(std::to_string(c.hits)) + ", \"share\": " + Number(c.share) +
         ", " + IntervalFields(c.interval) + ", \"fair_odds\": " + Number(c.fair_odds) +
         ", \"posted_odds\": " + Number(c.posted_odds) + ", \"implied\": " + Number(c.implied) +
         ", \"return\": " + Number(c.stake_return) + ", \"return_low_95\": " + Number(c.return_interval.low) +
         ", \"return_high_95\": " + Number(c.return_interval.high) +
         ", \"pays\": " + (PayoffOf(c) == Payoff::kPays ? "true" : "false");
}

void WriteField(std::ostream& out, const Figures& f) {
  out << "  \"horses\": [\n";
  for (const HorseFigures& h : f.horses) {
    out << "    {\"number\": " << h.number << ", \"speed\": " << Number(h.speed) << ", \"stamina\": "
        << Number(h.stamina) << ", \"style\": " << h.style << ", " << ChanceFields(h.win)
        << ", \"mean_place\": " << Number(h.mean_place) << "}" << (h.number < 6 ? "," : "") << "\n";
  }
  out << "  ],\n  \"quinella\": [\n";
  for (std::size_t i = 0; i < f.pairs.size(); ++i) {
    const PairFigures& p = f.pairs[i];
    out << "    {\"pair\": " << JsonString(p.label) << ", " << ChanceFields(p.hit) << "}"
        << (i + 1 < f.pairs.size() ? "," : "") << "\n";
  }
  out << "  ],\n";
}

void WriteCalibration(std::ostream& out, const Figures& f) {
  out << "  \"implied_bins\": [\n";
  for (std::size_t i = 0; i < f.bins.size(); ++i) {
    const BinFigures& b = f.bins[i];
    out << "    {\"from\": " << Number(b.from_percent / 100.0) << ", \"to\": " << Number(b.to_percent / 100.0)
        << ", \"horses\": " << b.horses << ", \"wins\": " << b.wins << ", \"win_rate\": " << Number(b.win_rate)
        << "}" << (i + 1 < f.bins.size() ? "," : "") << "\n";
  }
  out << "  ],\n  \"favourite\": {\"wins\": " << f.favourite.hits << ", \"share\": " << Number(f.favourite.share)
      << ", " << IntervalFields(f.favourite.interval) << "},\n  \"styles\": [\n";
  for (std::size_t i = 0; i < f.styles.size(); ++i) {
    const StyleFigures& s = f.styles[i];
    out << "    {\"style\": " << s.style << ", \"horses\": " << s.horses << ", \"wins\": " << s.wins
        << ", \"win_share\": " << Number(s.win_share) << ", \"implied_share\": " << Number(s.implied_share) << "}"
        << (i + 1 < f.styles.size() ? "," : "") << "\n";
  }
  out << "  ],\n";
}

}  // namespace

void WriteTablesJson(std::ostream& out, const Figures& f) {
  out << "{\"horses\": ";
  WriteTableJson(out, HorseTable(f));
  out << ",\n \"quinella\": ";
  WriteTableJson(out, PairTable(f));
  out << ",\n \"winner_time\": " << JsonString(WinnerTimeText(f.winner_time)) << "}\n";
}

void WriteJson(std::ostream& out, const Figures& f, const RunInfo& run) {
  // The seed also as a string: a JSON reader that keeps numbers as doubles
  // reads a seed above 2^53 as another one.
  out << "{\n  \"seed\": " << f.seed << ",\n  \"seed_text\": \"" << f.seed << "\",\n  \"races\": " << f.races << ",\n  \"field\": " << JsonString(run.field)
      << ",\n  \"random_fields\": " << (f.random_fields ? "true" : "false") << ",\n";
  if (f.random_fields) {
    WriteCalibration(out, f);
  } else {
    WriteField(out, f);
  }
  out << "  \"winner_seconds\": {\"p5\": " << Number(f.winner_time.fastest5)
      << ", \"median\": " << Number(f.winner_time.median) << ", \"p95\": " << Number(f.winner_time.slowest5)
      << "},\n";
  out << "  \"run\": {\"threads\": " << run.threads << ", \"seconds\": " << Number(run.seconds) << "}\n}\n";
}

}  // namespace trotix::sim
