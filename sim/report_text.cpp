#include <algorithm>
#include <cmath>
#include <cstdio>

#include "numbers.h"
#include "figure_text.h"
#include "report.h"
#include "terminal_text.h"
#include "text_table.h"
#include "texts.h"

namespace trotix::sim {

namespace {

constexpr int kBarCells = 20;

std::string Right(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// The bar at the end of a row, if there is anything to draw.
std::string BarColumn(double share) {
  const std::string bar = Bar(share, kBarCells);
  return bar.empty() ? bar : "  " + bar;
}

std::string StyleCell(std::int32_t style) {
  const std::string glyph(StyleGlyph(style));
  return glyph == " " ? "" : glyph;
}

// A row's kinds: its last cell, the verdict, is "underpriced", "overpriced"
// or "within", and the Bet cell "pays" or "costs", so a page colours them by
// the figures, not by their words.
std::vector<std::string> VerdictKinds(const TextTable& table, const Chance& chance) {
  std::vector<std::string> kinds(table.columns().size());
  kinds.back() = PricingKind(PricingOf(chance));
  for (std::size_t c = 0; c < kinds.size(); ++c) {
    if (table.columns()[c].header == "Bet") kinds[c] = PayoffKind(PayoffOf(chance));
  }
  return kinds;
}

void WriteField(std::ostream& out, const Figures& f) {
  HorseTable(f).Write(out);
  out << "\n";
  PairTable(f).Write(out);
}

void WriteCalibration(std::ostream& out, const Figures& f) {
  TextTable bins({{"Implied chance (0.7 / odds)", 0, true}, {"Horses", 10}, {"Wins", 10}, {"Win rate", 10}});
  for (const BinFigures& b : f.bins) {
    if (b.horses == 0) continue;
    bins.AddRow({Right(std::to_string(b.from_percent), 10) + "% to " + Right(std::to_string(b.to_percent), 3) + "%",
                 Grouped(b.horses), Grouped(b.wins), Percent(*b.win_rate)},
                BarColumn(*b.win_rate));
  }
  bins.Write(out);
  out << "\nThe favourite (shortest odds, the lower number on a tie) won " << Percent(f.favourite.share)
      << " (95%: " << IntervalText(f.favourite.interval) << ") of the races.\n\n";
  TextTable styles({{"Style", 5, true}, {"Horses", 9}, {"Wins", 10}, {"Win share", 11}, {"Implied", 10},
                    {"Win / implied", 15}});
  for (const StyleFigures& s : f.styles) {
    const bool seen = s.win_share && s.implied_share;
    styles.AddRow({Right(std::to_string(s.style), 3) + " " + std::string(StyleGlyph(s.style)), Grouped(s.horses), Grouped(s.wins),
                   seen ? Percent(*s.win_share) : "-", seen ? Percent(*s.implied_share) : "-",
                   seen && *s.implied_share > 0.0 ? Fixed2(*s.win_share / *s.implied_share) : "-"});
  }
  styles.Write(out);
}

}  // namespace

// The widths are those of the usual figures; larger ones widen a column.
TextTable HorseTable(const Figures& f) {
  TextTable horses({{"No", 3, false, "label"}, {"Sp", 5}, {"St", 5}, {"Style", 7, false, "style"}, {"Odds", 7},
                    {"Implied", 9}, {"Win", 9}, {"95% interval", 16}, {"Fair", 11}, {"Return", 8},
                    {"Return 95%", 12}, {"Bet", 5}, {"Place", 7}, {"Pricing", 13}});
  for (const HorseFigures& h : f.horses) {
    const Pricing pricing = PricingOf(h.win);
    horses.AddRow({std::to_string(h.number), FormatMask(h.speed, "000"), FormatMask(h.stamina, "000"),
                   StyleCell(h.style), Odds(h.win.posted_odds), Percent(h.win.implied), Percent(h.win.share),
                   IntervalText(h.win.interval), FairText(h.win), Fixed2(h.win.stake_return),
                   ReturnIntervalText(h.win.return_interval), PayoffText(PayoffOf(h.win)), Fixed2(h.mean_place),
                   PricingText(pricing)},
                  BarColumn(h.win.share), VerdictKinds(horses, h.win));
  }
  return horses;
}

TextTable PairTable(const Figures& f) {
  TextTable pairs({{"Quinella", 6, true, "label"}, {"Odds", 8}, {"Implied", 9}, {"First two", 11},
                   {"95% interval", 16}, {"Fair", 11}, {"Return", 8}, {"Return 95%", 12}, {"Bet", 5},
                   {"Pricing", 13}});
  for (const PairFigures& p : f.pairs) {
    const Pricing pricing = PricingOf(p.hit);
    pairs.AddRow({"   " + p.label, Odds(p.hit.posted_odds), Percent(p.hit.implied), Percent(p.hit.share),
                  IntervalText(p.hit.interval), FairText(p.hit), Fixed2(p.hit.stake_return),
                  ReturnIntervalText(p.hit.return_interval), PayoffText(PayoffOf(p.hit)), PricingText(pricing)},
                 BarColumn(p.hit.share), VerdictKinds(pairs, p.hit));
  }
  return pairs;
}

std::string Bar(double share, int cells) {
  static constexpr const char* kEighths[] = {"", "▏", "▎", "▍", "▌", "▋", "▊", "▉"};
  if (!(share > 0.0)) return "";
  const auto eighths = static_cast<long>(std::lround(std::min(share, 1.0) * cells * 8));
  std::string bar;
  for (long i = 0; i < eighths / 8; ++i) bar += "█";
  return bar + kEighths[eighths % 8];
}

void WriteText(std::ostream& out, const Figures& f, const RunInfo& run) {
  out << "trotix-sim: " << TerminalSafe(run.field) << ", " << Grouped(f.races) << " races, seed " << f.seed << "\n\n";
  if (f.random_fields) {
    WriteCalibration(out, f);
  } else {
    WriteField(out, f);
  }
  out << "\nWinner's time on the board (200 ms ticks): " << WinnerTimeText(f.winner_time) << "\n";
  char speed[32];
  std::snprintf(speed, sizeof speed, "%.1f s", run.seconds);
  const double per_second = run.seconds > 0.0 ? static_cast<double>(f.races) / run.seconds : 0.0;
  out << "Ran on " << run.threads << (run.threads == 1 ? " thread" : " threads") << " in " << speed << ", "
      << Grouped(static_cast<std::uint64_t>(per_second)) << " races per second\n";
}

}  // namespace trotix::sim
