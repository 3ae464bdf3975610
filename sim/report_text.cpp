#include <algorithm>
#include <cmath>
#include <cstdio>

#include "numbers.h"
#include "report.h"
#include "texts.h"

namespace trotix::sim {

namespace {

constexpr int kBarCells = 20;

std::string Right(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string Percent(double share) { return FormatMask(share * 100.0, "0.00") + "%"; }

std::string Odds(double odds) {
  if (!std::isfinite(odds)) return "-";
  std::string text = "x";
  return text += FormatMask(odds, "0.0");
}

std::string Fixed2(double value) { return std::isfinite(value) ? FormatMask(value, "0.00") : "-"; }

std::string Chances(const Chance& c) { return Right(Percent(c.share), 7) + " ±" + Right(Percent(c.half_width), 7); }

std::string Fair(const Chance& c) { return c.fair_odds ? Odds(*c.fair_odds) : "-"; }

// The bar at the end of a row, if there is anything to draw.
std::string BarColumn(double share) {
  const std::string bar = Bar(share, kBarCells);
  return bar.empty() ? bar : "  " + bar;
}

// Thousands separated by commas, for counts read by eye.
std::string Grouped(std::uint64_t n) {
  const std::string digits = std::to_string(n);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

// The style glyph in a cell two columns wide (the glyphs are full-width).
std::string StyleCell(std::int32_t style) {
  const std::string glyph(StyleGlyph(style));
  return glyph == " " ? "  " : glyph;
}

void WriteField(std::ostream& out, const Figures& f) {
  out << " No   Sp   St  Style   Odds   Win share ± 95%       Fair  Return  Place\n";
  for (const HorseFigures& h : f.horses) {
    out << Right(std::to_string(h.number), 3) << Right(FormatMask(h.speed, "000"), 5)
        << Right(FormatMask(h.stamina, "000"), 5) << "    " << StyleCell(h.style) << Right(Odds(h.win.posted_odds), 7)
        << "  " << Chances(h.win) << Right(Fair(h.win), 11) << Right(Fixed2(h.win.stake_return), 8)
        << Right(Fixed2(h.mean_place), 7) << BarColumn(h.win.share) << "\n";
  }
  out << "\nQuinella   Odds  First two ± 95%       Fair  Return\n";
  for (const PairFigures& p : f.pairs) {
    out << Right(p.label, 6) << Right(Odds(p.hit.posted_odds), 9) << "  " << Chances(p.hit) << Right(Fair(p.hit), 11)
        << Right(Fixed2(p.hit.stake_return), 8) << BarColumn(p.hit.share) << "\n";
  }
}

void WriteCalibration(std::ostream& out, const Figures& f) {
  out << "Implied chance (0.7 / odds)   Horses      Wins  Win rate\n";
  for (const BinFigures& b : f.bins) {
    if (b.horses == 0) continue;
    out << Right(std::to_string(b.from_percent), 10) << "% to " << Right(std::to_string(b.to_percent), 3) << "%"
        << Right(Grouped(b.horses), 15) << Right(Grouped(b.wins), 10) << Right(Percent(*b.win_rate), 10)
        << BarColumn(*b.win_rate) << "\n";
  }
  out << "\nThe favourite (shortest odds, the lower number on a tie) won " << Percent(f.favourite.share) << " ± "
      << Percent(f.favourite.half_width) << " of the races.\n";
  out << "\nStyle        Horses      Wins  Win share   Implied  Win / implied\n";
  for (const StyleFigures& s : f.styles) {
    const bool seen = s.win_share && s.implied_share;
    out << Right(std::to_string(s.style), 3) << " " << StyleGlyph(s.style) << Right(Grouped(s.horses), 14)
        << Right(Grouped(s.wins), 10) << Right(seen ? Percent(*s.win_share) : "-", 11)
        << Right(seen ? Percent(*s.implied_share) : "-", 10)
        << Right(seen && *s.implied_share > 0.0 ? Fixed2(*s.win_share / *s.implied_share) : "-", 15) << "\n";
  }
}

}  // namespace

std::string Bar(double share, int cells) {
  static constexpr const char* kEighths[] = {"", "▏", "▎", "▍", "▌", "▋", "▊", "▉"};
  if (!(share > 0.0)) return "";
  const auto eighths = static_cast<long>(std::lround(std::min(share, 1.0) * cells * 8));
  std::string bar;
  for (long i = 0; i < eighths / 8; ++i) bar += "█";
  return bar + kEighths[eighths % 8];
}

void WriteText(std::ostream& out, const Figures& f, const RunInfo& run) {
  out << "trotix-sim: " << run.field << ", " << Grouped(f.races) << " races, seed " << f.seed << "\n\n";
  if (f.random_fields) {
    WriteCalibration(out, f);
  } else {
    WriteField(out, f);
  }
  out << "\nWinner's time on the board (200 ms ticks): median "
      << FormatRaceTime(f.winner_time.median, 1) << ", 5% " << FormatRaceTime(f.winner_time.fastest5, 1)
      << ", 95% " << FormatRaceTime(f.winner_time.slowest5, 1) << "\n";
  char speed[32];
  std::snprintf(speed, sizeof speed, "%.1f s", run.seconds);
  const double per_second = run.seconds > 0.0 ? static_cast<double>(f.races) / run.seconds : 0.0;
  out << "Ran on " << run.threads << (run.threads == 1 ? " thread" : " threads") << " in " << speed << ", "
      << Grouped(static_cast<std::uint64_t>(per_second)) << " races per second\n";
}

}  // namespace trotix::sim
