#include "field_file.h"

#include <cmath>

#include "numbers.h"
#include "odds.h"

namespace trotix {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The piece of `line` between the (column-1)-th and column-th tab, if the
// line has that many columns.
bool Column(std::string_view line, int column, std::string_view& piece) {
  for (int c = 1; c < column; ++c) {
    const auto tab = line.find('\t');
    if (tab == std::string_view::npos) return false;
    line.remove_prefix(tab + 1);
  }
  piece = line.substr(0, line.find('\t'));
  return true;
}

FieldFileParse Refuse(int line, std::string problem) {
  FieldFileParse result;
  result.line = line;
  result.problem = std::move(problem);
  return result;
}

bool UsableOdds(double odds) { return odds > 0.0 && odds < kOddsLimit; }  // NaN fails both

// The first horse whose win odds, or whose quinella odds beside another
// horse, would not be a positive number below kOddsLimit; -1 when every one is. Of a
// failing pair the weaker horse is named: its tiny strength is what broke
// the odds. Worked out exactly as the race will work them out.
int FirstHorseWithUnusableOdds(const FieldRecords& records) {
  std::array<Horse, kHorseCount> horses{};
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    horses[i].Speed = records[i].Speed;
    horses[i].Stamina = records[i].Stamina;
  }
  ComputeWinOdds(horses);
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    if (!UsableOdds(horses[i].WinOdds)) return static_cast<int>(i);
  }
  const PairOdds quinella = QuinellaOddsOf(horses);
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    for (std::size_t j = i + 1; j < kHorseCount; ++j) {
      if (UsableOdds(quinella[i][j])) continue;
      return static_cast<int>(Strength(horses[j]) < Strength(horses[i]) ? j : i);
    }
  }
  return -1;
}

}  // namespace

FieldFileParse ParseFieldFile(std::string_view head, bool whole_file) {
  if (head.starts_with(kUtf8ByteOrderMark)) head.remove_prefix(kUtf8ByteOrderMark.size());

  FieldFileParse result;
  for (int n = 1; n <= static_cast<int>(kHorseCount); ++n) {
    const auto lf = head.find('\n');
    if (lf == std::string_view::npos && !whole_file) {
      return Refuse(n, "is longer than " + std::to_string(kFieldFileReadLimit) + " bytes");
    }
    if (head.empty()) {
      return Refuse(n, "is missing: the file has " + std::to_string(n - 1) + " lines, six are needed");
    }
    std::string_view line = head.substr(0, lf);
    head.remove_prefix(lf == std::string_view::npos ? head.size() : lf + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);

    std::string_view speed, stamina, style;
    if (!Column(line, 1, speed) || !Column(line, 2, stamina) || !Column(line, 3, style)) {
      return Refuse(n, "has fewer than three tab-separated columns");
    }
    FieldFileHorse& horse = result.horses[static_cast<std::size_t>(n - 1)];
    horse.Speed = LeadingNumber(speed);
    horse.Stamina = LeadingNumber(stamina);
    // Written so that an infinity (1e999) fails too.
    if (!(std::fabs(horse.Speed) <= kRatingLimit && std::fabs(horse.Stamina) <= kRatingLimit)) {
      return Refuse(n, "has a speed or stamina outside -1000000..1000000");
    }
    const double strength = horse.Speed * horse.Stamina;
    // The odds divide by the strength and take square roots of it.
    if (!(std::isfinite(strength) && strength > 0.0)) {
      return Refuse(n, "gives a speed x stamina that is not a positive number");
    }
    const auto rounded_style = RoundHalfEvenToInt16(LeadingNumber(style));
    if (!rounded_style) return Refuse(n, "has a running style outside -32768..32767");
    horse.Style = *rounded_style;
  }
  const int weak = FirstHorseWithUnusableOdds(result.horses);
  if (weak >= 0) return Refuse(weak + 1, "gives odds that are not a positive number below 10^16");
  result.ok = true;
  return result;
}

FieldFileParse ParseFieldFileStart(std::string_view first_bytes) {
  const bool whole_file = first_bytes.size() <= kFieldFileReadLimit;
  return ParseFieldFile(first_bytes.substr(0, kFieldFileReadLimit), whole_file);
}

std::string FieldFileRefusal(std::string_view name, const FieldFileParse& parsed) {
  std::string line(name);
  line += ", line ";
  line += std::to_string(parsed.line);
  line += ' ';
  line += parsed.problem;
  return line;
}

std::string FieldFileUnreadable(std::string_view name, std::string_view why) {
  std::string line(name);
  line += " cannot be read (";
  line += why;
  line += ')';
  return line;
}

}  // namespace trotix
