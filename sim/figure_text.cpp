#include "figure_text.h"

#include <cmath>

#include "numbers.h"
#include "texts.h"

namespace trotix::sim {

std::string Percent(double share) { return FormatMask(share * 100.0, "0.00") + "%"; }

std::string Odds(double odds) {
  if (!std::isfinite(odds)) return "-";
  std::string text = "x";
  return text += FormatMask(odds, "0.0");
}

std::string Fixed2(double value) { return std::isfinite(value) ? FormatMask(value, "0.00") : "-"; }

namespace {

// A hair's tolerance keeps 50% from becoming 50.01%.
constexpr double kHair = 1e-9;

// low–high in hundredths of a unit, rounded outwards: `scale` 100 for the
// number itself, 10000 for a share in per cent.
std::string OutwardHundredths(const Interval& i, double scale) {
  return FormatMask(std::floor(i.low * scale + kHair) / 100.0, "0.00") + "–" +
         FormatMask(std::ceil(i.high * scale - kHair) / 100.0, "0.00");
}

}  // namespace

std::string IntervalText(const Interval& i) { return OutwardHundredths(i, 10000.0) + "%"; }

std::string ReturnIntervalText(const Interval& i) {
  if (!std::isfinite(i.low) || !std::isfinite(i.high)) return "-";
  return OutwardHundredths(i, 100.0);
}

std::string FairText(const Chance& c) { return c.fair_odds ? Odds(*c.fair_odds) : "-"; }

std::string Grouped(std::uint64_t n) {
  const std::string digits = std::to_string(n);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string WinnerTimeText(const TimeFigures& t) {
  return "median " + BoardTimeText(t.median) + ", 5% " + BoardTimeText(t.fastest5) + ", 95% " +
         BoardTimeText(t.slowest5);
}

std::string PricingText(Pricing pricing) {
  if (pricing == Pricing::kUnderpriced) return "underpriced";
  if (pricing == Pricing::kOverpriced) return "overpriced";
  return "";
}

std::string PricingKind(Pricing pricing) {
  const std::string words = PricingText(pricing);
  return words.empty() ? "within" : words;
}

std::string PayoffText(Payoff payoff) { return payoff == Payoff::kPays ? "pays" : ""; }

std::string PayoffKind(Payoff payoff) { return payoff == Payoff::kPays ? "pays" : "costs"; }

}  // namespace trotix::sim
