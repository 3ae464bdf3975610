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

std::string IntervalText(const Interval& i) {
  // A hair's tolerance keeps 50% from becoming 50.01%.
  constexpr double kHair = 1e-9;
  const double low = std::floor(i.low * 10000.0 + kHair) / 100.0;
  const double high = std::ceil(i.high * 10000.0 - kHair) / 100.0;
  return FormatMask(low, "0.00") + "–" + FormatMask(high, "0.00") + "%";
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

}  // namespace trotix::sim
